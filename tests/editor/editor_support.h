#pragma once

// Shared by the settings-window tests: a program folder with cfg.ini, picture
// and sound files, layout files in the installer's format, and the window.

#include "SetupFakes.h"
#include "config/CINIFile.h"
#include "editor/SetupState.h"
#include "editor/frmSetup.h"
#include "fakes/LayoutBuilder.h"
#include "fakes/RecordingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestSupport.h"

#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <memory>

// A value of a layout file, read through the INI engine.
inline QString LayoutValue(const QString& file, const QString& section, const QString& key) {
    CINIFile ini;
    ini.SetFile(file);
    ini.SetSection(section);
    return ini.GetValue(key);
}

class SetupFixture {
public:
    SetupFixture() {
        for (int k = 1; k <= 21; ++k) {
            TestSupport::writeFile(picture(k), "GIF89a");
            TestSupport::writeFile(sound(k), "RIFF");
        }
        ResetSharedIni();
    }

    QString picture(int k) const { return P + QStringLiteral("/immagini/%1.gif").arg(k); }
    QString sound(int k) const { return P + QStringLiteral("/suoni/%1.wav").arg(k); }
    QString config() const { return P + QStringLiteral("/cfg.ini"); }
    QString layout(int n) const { return P + QStringLiteral("/layout/lay%1.ini").arg(n); }
    static QByteArray configBytes(const QString& file) {
        return "[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=" + file.toLatin1() +
               "\r\nIsProgramInstalled=1\r\n";
    }

    // A layout of `keys` pictures with sounds and texts, forced input 1..keys when `forced`.
    TestLayout standard(int keys, bool forced = false) const {
        TestLayout layout;
        layout.keys = QString::number(keys);
        layout.forcedInput = forced ? "1" : "0";
        for (int k = 1; k <= keys; ++k) {
            layout.pictures << picture(k);
            layout.sounds << sound(k);
            layout.texts << QStringLiteral("parola %1").arg(k);
            layout.sequence << (forced ? QString::number(k) : QString());
        }
        for (int f = 1; f <= 12; ++f) {
            layout.functionKeys << this->layout(f);
        }
        return layout;
    }

    // Makes the layout the active one in cfg.ini; a null layout is left missing.
    void activate(const QString& layoutPath, const QByteArray& layoutBytes) {
        QVERIFY(TestSupport::writeFile(config(), configBytes(layoutPath)));
        QVERIFY(layoutBytes.isNull() || TestSupport::writeFile(layoutPath, layoutBytes));
    }
    frmSetup& open() {
        form = std::make_unique<frmSetup>(P, state, picker, messages, tools);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) {
            qWarning("the settings window did not become active");
        }
        return *form;
    }
    // The window over the active 4-key layout lay1.ini.
    frmSetup& openStandard(bool forced = false) {
        activate(layout(1), standard(4, forced).bytes());
        return open();
    }
    void close() { form.reset(); }

    template <typename T> T* get(const QString& name) const { return form->findChild<T*>(name); }
    QLineEdit* box(int section, int key) const {
        return get<QLineEdit>(QStringLiteral("txtSez%1_%2").arg(section).arg(key - 1));
    }
    QPushButton* toggle(int k) const { return get<QPushButton>(QStringLiteral("chkNum_%1").arg(k)); }
    QCheckBox* check(const char* name) const { return get<QCheckBox>(QLatin1String(name)); }
    QPushButton* button(const char* name) const { return get<QPushButton>(QLatin1String(name)); }
    QLineEdit* path() const { return get<QLineEdit>(QStringLiteral("txtPathLayout")); }
    QString keyCount() const { return get<QLabel>(QStringLiteral("lblTasti"))->text(); }

    // The sequence labels up to the last filled one.
    QStringList steps() const {
        QStringList out;
        for (int k = 1; k <= 21; ++k) {
            out << get<QLabel>(QStringLiteral("lblInput_%1").arg(k))->text();
        }
        while (!out.isEmpty() && out.last().isEmpty()) {
            out.removeLast();
        }
        return out;
    }
    // The toggles that are pressed, or enabled.
    QList<int> toggles(bool enabled) const {
        QList<int> out;
        for (int k = 1; k <= 21; ++k) {
            if (enabled ? toggle(k)->isEnabled() : toggle(k)->isChecked()) {
                out << k;
            }
        }
        return out;
    }

    // Double-clicks a box, so that its picker opens with the queued answer.
    void doubleClick(QLineEdit* box, const QString& answer) {
        picker.openAnswers.enqueue(answer);
        picker.saveAnswers.enqueue(answer);
        QTest::mouseDClick(box, Qt::LeftButton);
        picker.openAnswers.clear();
        picker.saveAnswers.clear();
    }
    // A check box reacts only on its box and caption, at its left end.
    void click(QAbstractButton* button) {
        const bool isCheckBox = qobject_cast<QCheckBox*>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {},
                          isCheckBox ? QPoint(8, button->height() / 2) : button->rect().center());
    }

    QTemporaryDir m_dir;
    QString P = m_dir.path() + QStringLiteral("/prog");
    SetupState state;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    RecordingAudioOutput audio{{22050, 1}};
    FakeCaptureSource mic;
    SetupTools tools{audio, mic, {}, {}};
    // Last, so that the window goes before the fakes it uses.
    std::unique_ptr<frmSetup> form;
};
