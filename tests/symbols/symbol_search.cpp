#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolCatalog.h"
#include "symbols/SymbolIndex.h"
#include "symbols/SymbolLibrary.h"
#include "symbols/SymbolText.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
Symbol Make(const QString& label, const QStringList& tags = {}) {
    Symbol symbol;
    symbol.label = label;
    symbol.tags = tags;
    symbol.file = QStringLiteral(":/none/") + label + QStringLiteral(".svg");
    symbol.key = label;
    return symbol;
}

// A library small enough to know every answer.
std::vector<Symbol> SmallLibrary() {
    return {Make("melanzana", {"verdura"}),
            Make("mela rossa", {"frutta", "mela"}),
            Make("mela verde", {"frutta", "mela"}),
            Make("pera", {"frutta"}),
            Make("banana", {"frutta"}),
            Make("panino", {"cibo"}),
            Make("panettone"),
            Make("toast", {"pane in cassetta"}),
            Make("pane"),
            Make("gatto nero", {"gatto"}),
            Make("gatto", {"animale"}),
            Make("amico"),
            Make("caffè", {"bevanda"}),
            Make("perché", {"domanda"}),
            Make("bufalo d’acqua", {"animale"}),
            Make("re")};
}

QStringList Labels(const std::vector<SymbolCatalog::Result>& results) {
    QStringList labels;
    for (const auto& result : results) {
        labels << result.symbol.label;
    }
    return labels;
}
} // namespace

class TstSymbolSearch : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(m_data.isValid());
        m_catalog = std::make_unique<SymbolCatalog>(std::make_shared<const SymbolIndex>(SmallLibrary()),
                                                    std::make_unique<PictureFolderIndex>(m_data.path()));
    }

    // The results in order: "=" means exactly these, "^" these first, "~" these among them.
    void search_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* query, const char* expected) {
            QTest::addRow("%s", name) << QString::fromUtf8(query) << QString::fromUtf8(expected);
        };
        row("case does not matter", "PERA", "=pera");
        row("accent typed, none in name", "pèra", "=pera");
        row("accent in name, none typed", "caffe", "=caffè");
        row("typographic apostrophe in name", "acqua", "=bufalo d’acqua");
        row("plural finds the singular", "mele", "^mela rossa|mela verde");
        row("feminine finds the masculine", "gatta", "^gatto|gatto nero");
        row("plural with a hard c", "amiche", "=amico");
        row("tag widens", "frutta", "~mela rossa|mela verde|pera|banana");
        row("whole name before a word of a name", "gatto", "^gatto|gatto nero");
        row("exact word before tag before partial", "pane", "=pane|toast|panettone");
        row("word before partial", "mela", "=mela rossa|mela verde|melanzana");
        row("partial start of a word", "melan", "=melanzana");
        row("short word is no form of a longer one", "mel", "=melanzana|mela rossa|mela verde");
        row("partials by length", "pan", "=pane|panino|panettone|toast");
        row("two words must both match", "mela verde", "=mela verde");
        row("two words in any order", "verde mela", "=mela verde");
        row("short words stay whole", "re", "^re");
        row("empty query", "", "=");
        row("blanks only", "  ,  ", "=");
        row("no match", "astronave", "=");
        row("one word of two unmatched", "mela astronave", "=");
    }
    void search() {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        const QStringList labels = Labels(m_catalog->search(query, 50));
        const QStringList wanted = expected.mid(1).split('|', Qt::SkipEmptyParts);
        switch (expected.at(0).toLatin1()) {
        case '=':
            QCOMPARE(labels, wanted);
            break;
        case '^':
            QCOMPARE(labels.mid(0, wanted.size()), wanted);
            break;
        default:
            for (const QString& label : wanted) {
                QVERIFY2(labels.contains(label), qPrintable(label + " missing from " + labels.join(", ")));
            }
        }
    }

    // A folder's file names are searched with the library; at the same rank the library comes first.
    void folderNamesSearchedTogether() {
        const QString folder = m_data.filePath("foto");
        for (const char* name : {"Mela_della_nonna.jpg", "mare/Gatto-Fufi.png", "nonna.JPG", "note.txt"}) {
            QVERIFY(TestSupport::writeFile(folder + "/" + name, QByteArray()));
        }
        QVERIFY(m_catalog->folders().setFolders({folder}));
        QVERIFY(m_catalog->folders().waitForWalks(5000));
        QCOMPARE(Labels(m_catalog->search("mela", 10)),
                 QStringList({"mela rossa", "mela verde", "Mela_della_nonna", "melanzana"}));
        QCOMPARE(Labels(m_catalog->search("nonna", 10)), QStringList({"nonna", "Mela_della_nonna"}));
        // The folder a picture lies in is one of its tags.
        QCOMPARE(Labels(m_catalog->search("mare", 10)), QStringList({"Gatto-Fufi"}));
        QCOMPARE(Labels(m_catalog->search("note", 10)), QStringList());
    }

    void stems_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("stem");
        const auto row = [](const char* name, const char* word, const char* stem) {
            QTest::addRow("%s", name) << QString(word) << QString(stem);
        };
        row("feminine plural", "case", "cas");
        row("hard g plural", "laghi", "lag");
        row("soft c before a", "camicia", "camic");
        row("soft c plural", "camicie", "camic");
        row("no vowel ending", "sport", "sport");
        row("three letters", "blu", "blu");
    }
    void stems() {
        QFETCH(QString, word);
        QTEST(SymbolText::Stem(word), "stem");
    }

private:
    QTemporaryDir m_data;
    std::unique_ptr<SymbolCatalog> m_catalog;
};
MIRELVA_TEST(TstSymbolSearch)

// The library the program ships, as the build packed it.
class TstSymbolLibrary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString archive = qEnvironmentVariable("MIRELVA_SYMBOLS_ARCHIVE");
        QVERIFY2(QFileInfo(archive).isFile(), qPrintable("no symbol archive at " + archive));
        m_symbols = SymbolLibrary::Open(archive);
        m_index = std::make_shared<const SymbolIndex>(m_symbols);
    }

    void everySymbolHasWordsAndPicture() {
        QVERIFY2(m_symbols.size() > 1500, qPrintable(QString::number(m_symbols.size())));
        for (const Symbol& symbol : m_symbols) {
            QVERIFY2(!SymbolText::Words(symbol.label).isEmpty(), qPrintable(symbol.key));
            QVERIFY2(QFile::exists(symbol.file), qPrintable(symbol.file));
        }
    }

    void italianWords_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("first");
        QTest::addRow("mele") << "mele" << QStringList{"mela rossa", "mela verde"};
        QTest::addRow("cani") << "cani" << QStringList{"cane"};
        QTest::addRow("casa") << "Casa" << QStringList{"casa"};
        QTest::addRow("pane") << "pane" << QStringList{"pane in cassetta"};
    }
    void italianWords() {
        QFETCH(QString, query);
        QFETCH(QStringList, first);
        QStringList labels;
        for (const SymbolIndex::Hit& hit : m_index->search(query, 20)) {
            labels << m_symbols[std::size_t(hit.symbol)].label;
        }
        QCOMPARE(labels.mid(0, first.size()), first);
    }

    void fruitTagFindsFruit() {
        QStringList labels;
        for (const SymbolIndex::Hit& hit : m_index->search("frutta", 200)) {
            labels << m_symbols[std::size_t(hit.symbol)].label;
        }
        for (const char* fruit : {"mela rossa", "pera", "banana"}) {
            QVERIFY2(labels.contains(fruit), fruit);
        }
    }

private:
    std::vector<Symbol> m_symbols;
    std::shared_ptr<const SymbolIndex> m_index;
};
MIRELVA_TEST(TstSymbolLibrary)

#include "symbol_search.moc"
