#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/frmApriFile.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QByteArray ConfigWithFile(const QString& layout) {
    return "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layout.toUtf8() +
           "\r\nIsProgramInstalled=1\r\n";
}
} // namespace

class TstApri : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_config;
    RecordingMessages m_messages;
    ScriptedFilePicker m_picker;
    std::unique_ptr<frmApriFile> m_form;

    QLineEdit* path() const { return m_form->findChild<QLineEdit*>("txtPathLayout"); }
    QPushButton* button(const char* name) const { return m_form->findChild<QPushButton*>(name); }
    QString at(const QString& relative) const { return m_dir.filePath("prog/" + relative); }

private slots:
    void init() {
        m_config = at("cfg.ini");
        QVERIFY(TestSupport::writeFile(m_config, ConfigWithFile(at("layout/lay1.ini"))));
        QVERIFY(TestSupport::writeFile(at("layout/lay1.ini"), "[KeyProgram]\r\n"));
        QVERIFY(TestSupport::writeFile(at("layout/lay2.ini"), "[KeyProgram]\r\n"));
        ResetSharedIni();
        SetActiveLayoutPath(at("layout/lay1.ini"));
        m_messages.shown.clear();
        m_picker = ScriptedFilePicker();
        m_form = std::make_unique<frmApriFile>(m_dir.filePath("prog"), m_picker, m_messages);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    // The picker's answer goes into the box unless it is empty (cancelled)
    // or names the configuration file, in any letter case and any folder.
    void pick_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString earlier = "/earlier/text.ini";
        QTest::addRow("button, layout chosen") << false << at("layout/lay2.ini") << at("layout/lay2.ini");
        QTest::addRow("double click, layout chosen")
            << true << at("layout/lay2.ini") << at("layout/lay2.ini");
        QTest::addRow("cancel keeps the text") << false << "" << earlier;
        QTest::addRow("cfg.ini ignored") << true << at("cfg.ini") << earlier;
        QTest::addRow("Cfg.Ini elsewhere ignored") << false << "/altro/Cfg.Ini" << earlier;
        QTest::addRow("cfg.ini.bak taken") << false << "/altro/cfg.ini.bak"
                                           << "/altro/cfg.ini.bak";
    }
    void pick() {
        QFETCH(bool, doubleClick);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        path()->setText("/earlier/text.ini");
        m_picker.openAnswers.enqueue(answer);
        if (doubleClick) {
            QTest::mouseDClick(path(), Qt::LeftButton);
        } else {
            QTest::mouseClick(button("cmdTxtDblClick"), Qt::LeftButton);
        }
        QCOMPARE(m_picker.calls.size(), 1);
        QCOMPARE(m_picker.calls[0].owner, m_form.get());
        QCOMPARE(path()->text(), expected);
        QVERIFY(m_messages.shown.isEmpty());
        QVERIFY(m_form->isVisible());
    }

    // What exists, file or folder, becomes the active layout and the rest of
    // cfg.ini stays; a missing one is refused; Esc and Annullla write nothing.
    void open_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addRow("layout file") << "cmdApri" << at("layout/lay2.ini") << true;
        QTest::addRow("name in other letter case") << "cmdApri" << at("LAYOUT/Lay2.INI") << true;
        QTest::addRow("folder") << "cmdApri" << at("layout") << true;
        QTest::addRow("missing file") << "cmdApri" << at("layout/lay9.ini") << false;
        QTest::addRow("empty box") << "cmdApri"
                                   << "" << false;
        QTest::addRow("missing folder") << "cmdApri"
                                        << "/nessuna/cartella/lay1.ini" << false;
        QTest::addRow("Esc in the text box") << "Esc" << at("layout/lay2.ini") << false;
        QTest::addRow("Annullla") << "Command1" << at("layout/lay2.ini") << false;
    }
    void open() {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        const QByteArray before = TestSupport::readFile(m_config);
        QTest::keyClicks(path(), typed);
        if (action == "Esc") {
            QTest::keyClick(path(), Qt::Key_Escape);
        } else {
            QTest::mouseClick(button(qPrintable(action)), Qt::LeftButton);
        }
        QCOMPARE(TestSupport::readFile(m_config), accepted ? ConfigWithFile(typed) : before);
        QCOMPARE(ActiveLayoutPath(), accepted ? typed : at("layout/lay1.ini"));
        const bool refused = !accepted && action == "cmdApri";
        QCOMPARE(m_messages.texts(),
                 refused ? QStringList{"Il file «" + typed + "» è inesistente."} : QStringList());
        QCOMPARE(m_form->isVisible(), refused);
        if (!refused) {
            QCOMPARE(m_form->result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

MIRELVA_TEST(TstApri)
#include "open_layout_dialog.moc"
