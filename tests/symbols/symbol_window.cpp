#include "editor/ISymbolChooser.h"
#include "editor/KeyTools.h"
#include "editor/SymbolSearchDialog.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"
#include "symbols/PictureFolderIndex.h"
#include "symbols/SymbolCatalog.h"
#include "editor/IFolderPicker.h"

#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray Svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 36 36'>"
                       "<circle cx='18' cy='18' r='16' fill='#dd2e44'/></svg>";

class ScriptedChooser : public ISymbolChooser {
public:
    std::optional<Symbol> choose(QWidget*, const QString& query) override {
        queries << query;
        return answer;
    }
    QStringList queries;
    std::optional<Symbol> answer;
};

class NoFolders : public IFolderPicker {
public:
    QString chooseFolder(QWidget*) override { return {}; }
};
} // namespace

class TstSymbolWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_chooser = ScriptedChooser();
        m_messages = RecordingMessages();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(TestSupport::writeFile(m_dir->filePath("simboli/mela.svg"), Svg));
        m_window = std::make_unique<QWidget>();
        for (auto* boxes : {&m_pictures, &m_sounds, &m_texts}) {
            auto* page = new QWidget(m_window.get());
            for (int i = 0; i < KeyTools::Rows; ++i) {
                (*boxes)[std::size_t(i)] = new QLineEdit(page);
                (*boxes)[std::size_t(i)]->setObjectName(QString("box_%1_%2").arg(qintptr(boxes)).arg(i));
            }
        }
        m_tools = new KeyTools(*m_window, m_dir->path(), m_pictures, m_sounds, m_texts, m_messages,
                               std::nullopt, &m_chooser);
    }
    void cleanup() { m_window.reset(); }

    // "Cerca simbolo…" asks with the key's text and fills the row with a picture written into immagini.
    void searchFillsRow_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("readable");
        QTest::addRow("chosen") << true << true;
        QTest::addRow("cancelled") << false << true;
        QTest::addRow("unreadable") << true << false;
    }
    void searchFillsRow() {
        QFETCH(bool, chosen);
        QFETCH(bool, readable);
        if (chosen) {
            Symbol symbol;
            symbol.label = "mela rossa";
            symbol.file = m_dir->filePath(readable ? "simboli/mela.svg" : "simboli/manca.svg");
            symbol.key = "1f34e";
            m_chooser.answer = symbol;
        }
        m_texts[2]->setText(" mela ");
        m_pictures[2]->setText("/vecchia.gif");
        QSignalSpy filled(m_tools, &KeyTools::picturesDropped);
        auto* search = m_window->findChild<QPushButton*>(m_pictures[2]->objectName() + "_search");
        QVERIFY(search != nullptr);
        search->click();
        QCOMPARE(m_chooser.queries, QStringList({"mela"}));
        const QString expected = m_dir->filePath("immagini/1f34e_mela-rossa.bmp");
        QCOMPARE(m_pictures[2]->text(), chosen && readable ? expected : QString("/vecchia.gif"));
        QCOMPARE(QFileInfo::exists(expected), chosen && readable);
        QCOMPARE(filled.count(), chosen && readable ? 1 : 0);
        QCOMPARE(m_messages.shown.size(), chosen && !readable ? 1 : 0);
    }

    // Dropped PNG and SVG files become BMP pictures; the kinds the table draws are taken as they are.
    void dropConverts() {
        const QString svg = m_dir->filePath("stella.svg");
        const QString gif = m_dir->filePath("cane.gif");
        QVERIFY(TestSupport::writeFile(svg, Svg));
        QVERIFY(TestSupport::writeFile(
            gif, QByteArray::fromBase64("R0lGODlhAQABAIAAAAAA/////yH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==")));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(svg), QUrl::fromLocalFile(gif)});
        // A drop is delivered only where the drag was let in.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pictures[0], &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pictures[0], &drop);
        QVERIFY(m_pictures[0]->text().startsWith(m_dir->filePath("immagini/file-")));
        QVERIFY(m_pictures[0]->text().endsWith("_stella.bmp"));
        QCOMPARE(m_pictures[1]->text(), gif);
    }

    // The search window by keyboard: typing searches, Down enters the grid, arrows move, Enter chooses.
    void searchByKeyboard() {
        QTemporaryDir data;
        std::vector<Symbol> symbols;
        for (const char* label : {"pera", "mela rossa", "mela verde", "banana"}) {
            Symbol symbol;
            symbol.label = label;
            symbol.tags = {"frutta"};
            symbol.file = m_dir->filePath("simboli/mela.svg");
            symbol.key = label;
            symbols.push_back(symbol);
        }
        SymbolCatalog catalog(std::make_shared<const SymbolIndex>(symbols),
                              std::make_unique<PictureFolderIndex>(data.path()));
        ScriptedFilePicker picker;
        NoFolders folders;
        SymbolSearchDialog dialog(catalog, m_messages, picker, folders, QString());
        dialog.show();
        auto* query = dialog.findChild<QLineEdit*>("SymbolQuery");
        auto* grid = dialog.findChild<QListView*>("SymbolGrid");
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        query->setFocus();
        QTest::keyClicks(query, "mele");
        QCOMPARE(grid->model()->rowCount(), 2);
        QTest::keyClick(query, Qt::Key_Down);
        QVERIFY(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_Right);
        // Letters typed in the grid go on into the words.
        QTest::keyClick(grid, Qt::Key_Backspace);
        QTest::keyClicks(grid, "a verde");
        QCOMPARE(query->text(), QString("mela verde"));
        QCOMPARE(grid->model()->rowCount(), 1);
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.chosen()->label, QString("mela verde"));
        dialog.waitForThumbnails();
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_window;
    KeyTools::Boxes m_pictures{};
    KeyTools::Boxes m_sounds{};
    KeyTools::Boxes m_texts{};
    RecordingMessages m_messages;
    ScriptedChooser m_chooser;
    KeyTools* m_tools = nullptr;
};
MIRELVA_TEST(TstSymbolWindow)

#include "symbol_window.moc"
