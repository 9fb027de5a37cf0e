#include "config/CINIFile.h"
#include "editor/BoardFromWords.h"
#include "editor/BoardLayoutFile.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolCatalog.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
Symbol Make(const QString& label, const QStringList& tags = {}) {
    Symbol symbol;
    symbol.label = label;
    symbol.tags = tags;
    symbol.file = ":/x/" + label;
    symbol.key = label;
    return symbol;
}

// The value of a key in an INI file, read through the program's INI engine.
QString Value(const QString& file, const QString& section, const QString& key) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    return ini.GetValue(key);
}
} // namespace

class TstBoardFromWords : public QObject {
    Q_OBJECT
private slots:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("dropped");
        QTest::addRow("lines and semicolons, blanks")
            << "  acqua\r\n\npane ;; mela,\tcasa  " << QStringList{"acqua", "pane", "mela", "casa"} << 0;
        QTest::addRow("phrases kept whole, inner blanks squeezed")
            << "voglio   bere, ho fame" << QStringList{"voglio bere", "ho fame"} << 0;
        QTest::addRow("nothing") << " , ;\n" << QStringList{} << 0;
        QStringList many;
        for (int i = 1; i <= 25; ++i) {
            many << QString("p%1").arg(i);
        }
        QTest::addRow("more than 21") << many.join(",") << many.mid(0, 21) << 4;
    }
    void split() {
        QFETCH(QString, text);
        int extra = -1;
        QTEST(BoardFromWords::SplitWords(text, &extra), "words");
        QTEST(extra, "dropped");
    }

    void keyCounts_data() {
        QTest::addColumn<int>("keys");
        QTest::addColumn<QList<int>>("counts");
        QTest::addRow("five needs six") << 5 << QList<int>{6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21};
        QTest::addRow("seventeen") << 17 << QList<int>{18, 20, 21};
        QTest::addRow("twenty-one") << 21 << QList<int>{21};
        QTest::addRow("one") << 1 << QList<int>{1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16, 18, 20, 21};
    }
    void keyCounts() {
        QFETCH(int, keys);
        QTEST(BoardFromWords::KeyCountsFor(keys), "counts");
    }

    // Only a symbol for the word itself, a form of it or a tag counts; a word merely begun does not.
    void propose() {
        QTemporaryDir data;
        SymbolCatalog catalog(std::make_shared<const SymbolIndex>(std::vector<Symbol>{
                                  Make("mela rossa", {"frutta"}), Make("gatto"), Make("melanzana"),
                                  Make("bicchiere d’acqua", {"bere"})}),
                              std::make_unique<PictureFolderIndex>(data.path()));
        const auto keys = BoardFromWords::Propose({"mele", "gatta", "mel", "bere", "astronave"}, catalog);
        QStringList chosen;
        for (const auto& key : keys) {
            chosen << (key.symbol ? key.symbol->label : "-");
        }
        QCOMPARE(chosen, QStringList({"mela rossa", "gatto", "-", "bicchiere d’acqua", "-"}));
        QCOMPARE(BoardFromWords::Unmatched(keys), QStringList({"mel", "astronave"}));
        QCOMPARE(keys[1].text, QString("gatta"));
    }

    void content() {
        const LayoutContent content = BoardFromWords::Content({"/i/a.bmp", "/i/b.bmp", "/i/c.bmp"},
                                                              {"acqua", "pane", "mela"}, 4, "/i/vuoto.bmp");
        QCOMPARE(int(content.KeyCount), 4);
        QCOMPARE(int(content.Section1On), 1);
        QCOMPARE(int(content.Section2On), 0);
        QCOMPARE(int(content.Section3On), 1);
        QCOMPARE(int(content.ForcedInput), 0);
        QCOMPARE(content.Pictures[2], QString("/i/c.bmp"));
        QCOMPARE(content.Texts[2], QString("mela"));
        QCOMPARE(content.Pictures[3], QString("/i/vuoto.bmp"));
        QCOMPARE(content.Texts[3], QString());
        QCOMPARE(content.Pictures[4], QString());
    }

    void layoutPath_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        const auto row = [](const char* tag, const QString& name, const QString& file) {
            QTest::addRow("%s", tag) << name << file;
        };
        row("plain", "merenda", "/d/layout/merenda.ini");
        row("ini kept", "merenda.INI", "/d/layout/merenda.INI");
        row("separators replaced", "a/b\\c:d", "/d/layout/a-b-c-d.ini");
        row("no climbing out", "../../cfg", "/d/layout/-..-cfg.ini");
        row("blanks only", "   ", "");
        row("dots only", "...", "");
    }
    void layoutPath() {
        QFETCH(QString, name);
        QTEST(BoardFromWords::LayoutPathFor("/d", name), "file");
    }

    // Saved through the program's writer; cfg.ini names it only when asked.
    void write_data() {
        QTest::addColumn<bool>("activate");
        QTest::addRow("made active") << true;
        QTest::addRow("not made active") << false;
    }
    void write() {
        QFETCH(bool, activate);
        QTemporaryDir data;
        const QString config = data.filePath("cfg.ini");
        QVERIFY(TestSupport::writeFile(
            config, "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=/x/vecchio.ini\r\n"));
        const QString layout = BoardFromWords::LayoutPathFor(data.path(), "merenda");
        const LayoutContent content =
            BoardFromWords::Content({"/i/a.bmp", "/i/b.bmp"}, {"acqua", "pane"}, 2, {});
        QVERIFY(WriteBoardLayout(content, layout, data.path(), activate));
        QCOMPARE(Value(layout, "Impostazioni", "Tasti"), QString("2"));
        QCOMPARE(Value(layout, "Sezione Testo", "Testo2"), QString("pane"));
        QCOMPARE(Value(config, "KeyProgram", "File"), activate ? layout : QString("/x/vecchio.ini"));
        // No scratch folder is left behind.
        QCOMPARE(QDir(data.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"cfg.ini", "layout"}));
    }
};
MIRELVA_TEST(TstBoardFromWords)

#include "board_from_words.moc"
