#include "config/ActiveLayoutPath.h"
#include "config/CINIFile.h"
#include "config/frmApriFile.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {
QByteArray ConfigWithFile(const QString& layout) {
    return "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + layout.toLatin1() +
           "\r\nIsProgramInstalled=1\r\n";
}
} // namespace

class TstApri : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString P;
    QString m_config;
    RecordingMessages m_messages;
    ScriptedFilePicker m_picker;
    std::unique_ptr<frmApriFile> m_form;

    QLineEdit* path() const { return m_form->findChild<QLineEdit*>(QStringLiteral("txtPathLayout")); }
    QPushButton* button(const char* name) const {
        return m_form->findChild<QPushButton*>(QLatin1String(name));
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        P = m_dir.path() + QStringLiteral("/prog");
        m_config = P + QStringLiteral("/cfg.ini");
        QVERIFY(TestSupport::writeFile(m_config, ConfigWithFile(P + QStringLiteral("/layout/lay1.ini"))));
        QVERIFY(TestSupport::writeFile(P + QStringLiteral("/layout/lay1.ini"), "[KeyProgram]\r\n"));
        QVERIFY(TestSupport::writeFile(P + QStringLiteral("/layout/lay2.ini"), "[KeyProgram]\r\n"));
        ResetSharedIni();
        SetActiveLayoutPath(P + QStringLiteral("/layout/lay1.ini"));
        m_messages.shown.clear();
        m_picker = ScriptedFilePicker();
        m_form = std::make_unique<frmApriFile>(P, m_picker, m_messages);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void cleanup() { m_form.reset(); }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        // At 96 dpi: left, top, width and height in twips divided by 15.
        QTest::addRow("Label2") << "Label2"
                                << "Layout:" << QRect(8, 8, 57, 25);
        QTest::addRow("txtPathLayout") << "txtPathLayout"
                                       << "" << QRect(72, 8, 625, 27);
        QTest::addRow("cmdTxtDblClick") << "cmdTxtDblClick"
                                        << "..." << QRect(704, 8, 33, 25);
        QTest::addRow("cmdApri") << "cmdApri"
                                 << "Apri ..." << QRect(72, 40, 105, 25);
        QTest::addRow("Command1") << "Command1"
                                  << "Annullla" << QRect(184, 40, 105, 25);
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QCOMPARE(m_form->logicalDpiX(), 96);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Apri file..."));
        QCOMPARE(m_form->size(), QSize(745, 71));
        auto* widget = m_form->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        QVERIFY(!widget->accessibleName().isEmpty() || qobject_cast<QLabel*>(widget));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), caption);
        } else if (auto* pushButton = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(pushButton->text(), caption);
        } else {
            QCOMPARE(qobject_cast<QLineEdit*>(widget)->text(), caption);
        }
        QVERIFY(widget->font().bold());
        QCOMPARE(widget->font().pointSizeF(), 9.75);
    }

    // The picker's answer goes into the box unless it is empty (cancelled)
    // or names the configuration file, in any letter case and any folder.
    void pick_data() {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        const QString earlier = QStringLiteral("/earlier/text.ini");
        const QString lay2 = m_dir.path() + QStringLiteral("/prog/layout/lay2.ini");
        QTest::addRow("button, layout chosen") << false << lay2 << lay2;
        QTest::addRow("double click, layout chosen") << true << lay2 << lay2;
        QTest::addRow("cancel keeps the text") << false << "" << earlier;
        QTest::addRow("cfg.ini ignored") << true << m_dir.path() + QStringLiteral("/prog/cfg.ini") << earlier;
        QTest::addRow("CFG.INI ignored")
            << false << m_dir.path() + QStringLiteral("/prog/CFG.INI") << earlier;
        QTest::addRow("Cfg.Ini elsewhere ignored") << false << QStringLiteral("/altro/Cfg.Ini") << earlier;
        QTest::addRow("cfg.ini.bak taken")
            << false << QStringLiteral("/altro/cfg.ini.bak") << QStringLiteral("/altro/cfg.ini.bak");
    }
    void pick() {
        QFETCH(bool, doubleClick);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QVERIFY(path()->text().isEmpty());
        path()->setText(QStringLiteral("/earlier/text.ini"));
        m_picker.openAnswers.enqueue(answer);
        if (doubleClick) {
            QTest::mouseDClick(path(), Qt::LeftButton);
        } else {
            QTest::mouseClick(button("cmdTxtDblClick"), Qt::LeftButton);
        }
        QCOMPARE(m_picker.calls.size(), 1);
        QCOMPARE(m_picker.calls[0].kind, ScriptedFilePicker::Kind::Open);
        QCOMPARE(m_picker.calls[0].owner, m_form.get());
        QCOMPARE(m_picker.calls[0].filter, QStringLiteral("Layout Files (*.ini)") + QChar(u'\0') + "*.ini");
        QCOMPARE(path()->text(), expected);
        QVERIFY(m_messages.shown.isEmpty());
        QVERIFY(m_form->isVisible());
    }

    // What exists, file or folder, becomes the active layout; the rest of
    // cfg.ini stays as it was.
    void openExisting_data() {
        QTest::addColumn<QString>("typed");
        QTest::addRow("layout file") << m_dir.path() + QStringLiteral("/prog/layout/lay2.ini");
        QTest::addRow("name in other letter case") << m_dir.path() + QStringLiteral("/prog/LAYOUT/Lay2.INI");
        QTest::addRow("folder") << m_dir.path() + QStringLiteral("/prog/layout");
    }
    void openExisting() {
        QFETCH(QString, typed);
        QTest::keyClicks(path(), typed);
        QTest::mouseClick(button("cmdApri"), Qt::LeftButton);
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(TestSupport::readFile(m_config), ConfigWithFile(typed));
        QCOMPARE(ActiveLayoutPath(), typed);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Accepted));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void openMissing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addRow("missing file") << m_dir.path() + QStringLiteral("/prog/layout/lay9.ini");
        QTest::addRow("empty box") << "";
        QTest::addRow("missing folder") << QStringLiteral("/nessuna/cartella/lay1.ini");
    }
    void openMissing() {
        QFETCH(QString, typed);
        const QByteArray before = TestSupport::readFile(m_config);
        path()->setText(typed);
        QTest::mouseClick(button("cmdApri"), Qt::LeftButton);
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_messages.shown[0].text,
                 QStringLiteral("Il file «") + typed + QStringLiteral("» è inesistente."));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(m_messages.shown[0].title, QStringLiteral("Mirelva"));
        QCOMPARE(TestSupport::readFile(m_config), before);
        QCOMPARE(ActiveLayoutPath(), m_dir.path() + QStringLiteral("/prog/layout/lay1.ini"));
        QVERIFY(m_form->isVisible());
        QCOMPARE(path()->text(), typed);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void closesWithoutWriting_data() {
        QTest::addColumn<bool>("escape");
        QTest::addRow("Esc in the text box") << true;
        QTest::addRow("Annullla") << false;
    }
    void closesWithoutWriting() {
        QFETCH(bool, escape);
        const QByteArray before = TestSupport::readFile(m_config);
        path()->setText(m_dir.path() + QStringLiteral("/prog/layout/lay2.ini"));
        if (escape) {
            path()->setFocus();
            QTest::keyClick(path(), Qt::Key_Escape);
        } else {
            QTest::mouseClick(button("Command1"), Qt::LeftButton);
        }
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Rejected));
        QCOMPARE(TestSupport::readFile(m_config), before);
        QCOMPARE(ActiveLayoutPath(), m_dir.path() + QStringLiteral("/prog/layout/lay1.ini"));
    }
};

MIRELVA_TEST(TstApri)
#include "open_layout_dialog.moc"
