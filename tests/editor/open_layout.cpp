#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "editor/frmApriFile.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
QByteArray ConfigWithFile(const QString& layout) {
    return "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layout.toUtf8() +
           "\r\nIsProgramInstalled=1\r\n";
}
} // namespace

// The open-layout window: what exists, file or folder, becomes the active layout and the rest of cfg.ini
// stays; a missing one is refused with a message; Esc and Annulla write nothing; Enter opens.
class TstApri : public QObject {
    Q_OBJECT
private slots:
    void open_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed"); // P/ stands for the program folder
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char* name, const char* action, const char* typed, bool accepted) {
            QTest::addRow("%s", name) << QString(action) << QString(typed) << accepted;
        };
        row("layout file", "cmdApri", "P/layout/lay2.ini", true);
        row("name in other letter case", "cmdApri", "P/LAYOUT/Lay2.INI", true);
        row("folder", "cmdApri", "P/layout", true);
        row("missing file", "cmdApri", "P/layout/lay9.ini", false);
        row("empty box", "cmdApri", "", false);
        row("Esc in the text box", "Esc", "P/layout/lay2.ini", false);
        row("Annulla", "Command1", "P/layout/lay2.ini", false);
        row("Enter in the text box", "Enter", "P/layout/lay2.ini", true);
    }
    void open() {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString p = dir.path();
        typed.replace("P/", p + "/");
        QVERIFY(writeFile(p + "/cfg.ini", ConfigWithFile(p + "/layout/lay1.ini")));
        QVERIFY(writeFile(p + "/layout/lay1.ini", "[KeyProgram]\r\n") &&
                writeFile(p + "/layout/lay2.ini", "[KeyProgram]\r\n"));
        ResetSharedIni();
        SetActiveLayoutPath(p + "/layout/lay1.ini");
        RecordingMessages messages;
        ScriptedFilePicker picker; // never asked: the box is typed into
        frmApriFile form(p, picker, messages);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* path = form.findChild<QLineEdit*>("txtPathLayout");
        const QByteArray before = readFile(p + "/cfg.ini");
        QTest::keyClicks(path, typed);
        if (action == "Esc" || action == "Enter") {
            QTest::keyClick(path, action == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        } else {
            QTest::mouseClick(form.findChild<QPushButton*>(action), Qt::LeftButton);
        }
        QCOMPARE(readFile(p + "/cfg.ini"), accepted ? ConfigWithFile(typed) : before);
        QCOMPARE(ActiveLayoutPath(), accepted ? typed : p + "/layout/lay1.ini");
        const bool refused = !accepted && action == "cmdApri";
        QCOMPARE(messages.texts(),
                 refused ? QStringList{"Il file «" + typed + "» è inesistente."} : QStringList());
        QCOMPARE(form.isVisible(), refused);
        QVERIFY(refused || form.result() == (accepted ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};
MIRELVA_TEST(TstApri)
#include "open_layout.moc"
