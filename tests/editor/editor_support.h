#pragma once

// Shared by the settings-window tests: a program folder with cfg.ini, picture
// and sound files, layout files in the installer's format, and the window.

#include "config/CINIFile.h"
#include "editor/SetupState.h"
#include "editor/frmSetup.h"
#include "fakes/RecordingMessages.h"
#include "fakes/ScriptedFilePicker.h"
#include "fakes/TestSupport.h"

#include <QtTest>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <memory>

// A layout as the installer writes it (blanks around "=" in the settings).
// Numbers are text, so that a test can put anything there.
struct TestLayout {
    QString marker = QStringLiteral("<$$-COMUNICATORE-$$>");
    QString keys = QStringLiteral("4");
    QString section1 = QStringLiteral("1");
    QString section2 = QStringLiteral("1");
    QString section3 = QStringLiteral("1");
    QString forcedInput = QStringLiteral("0");
    QStringList sequence;
    QString bonus;
    QStringList pictures;
    QStringList sounds;
    QStringList texts;
    QStringList functionKeys;
    bool lowerCaseNames = false;

    QByteArray bytes() const {
        const auto name = [this](const char* text) {
            return lowerCaseNames ? QString::fromLatin1(text).toLower() : QString::fromLatin1(text);
        };
        const auto numbered = [&](const char* section, const char* prefix, const QStringList& values,
                                  int count) {
            QString out = QStringLiteral("[%1]\r\n").arg(name(section));
            for (int n = 1; n <= count; ++n) {
                out += QStringLiteral("%1%2=%3\r\n").arg(name(prefix)).arg(n).arg(values.value(n - 1));
            }
            return out;
        };
        QString text = QStringLiteral("[%1]\r\n%2=%3\r\n\r\n").arg(name("KeyProgram"), name("Key"), marker);
        text += QStringLiteral("[%1]\r\n%2 = %3\r\n%4 = %5\r\n%6 = %7\r\n%8 = %9\r\n\r\n")
                    .arg(name("Impostazioni"), name("Tasti"), keys, name("IsSezione1"), section1,
                         name("IsSezione2"), section2, name("IsSezione3"), section3);
        text += QStringLiteral("[%1]\r\n%2 = %3\r\n\r\n")
                    .arg(name("Input Obbligato"), name("IsInput"), forcedInput);
        text += numbered("Sequenza", "SequenzaInput", sequence, 21) + QStringLiteral("\r\n");
        text += QStringLiteral("[%1]\r\n%2=%3\r\n\r\n").arg(name("Bonus"), name("File1"), bonus);
        text += numbered("Sezione Immagini", "Immagine", pictures, 21) + QStringLiteral("\r\n");
        text += numbered("Sezione Sonoro", "Sonoro", sounds, 21) + QStringLiteral("\r\n");
        text += numbered("Sezione Testo", "Testo", texts, 21) + QStringLiteral("\r\n");
        text += numbered("Tasti Funzione", "F", functionKeys, 12);
        return text.toLatin1();
    }
};

class SetupFixture {
public:
    SetupFixture() {
        P = m_dir.path() + QStringLiteral("/prog");
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

    // A layout of `keys` pictures with sounds and texts, active in cfg.ini.
    TestLayout standard(int keys) const { return standardIn(P, keys); }
    // The same for a program folder named later: "@P@" is replaced by fill().
    static TestLayout standardIn(const QString& P, int keys) {
        TestLayout layout;
        layout.keys = QString::number(keys);
        for (int k = 1; k <= keys; ++k) {
            layout.pictures << P + QStringLiteral("/immagini/%1.gif").arg(k);
            layout.sounds << P + QStringLiteral("/suoni/%1.wav").arg(k);
            layout.texts << QStringLiteral("parola %1").arg(k);
        }
        for (int f = 1; f <= 12; ++f) {
            layout.functionKeys << P + QStringLiteral("/layout/lay%1.ini").arg(f);
        }
        return layout;
    }

    QByteArray fill(QByteArray bytes) const { return bytes.replace("@P@", P.toLatin1()); }

    void activate(const QString& layoutPath, const QByteArray& layoutBytes) {
        QVERIFY(TestSupport::writeFile(config(), configBytes(layoutPath)));
        if (!layoutBytes.isNull()) {
            QVERIFY(TestSupport::writeFile(layoutPath, layoutBytes));
        }
    }

    frmSetup& open() {
        form = std::make_unique<frmSetup>(P, state, picker, messages);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) {
            qWarning("the settings window did not become active");
        }
        return *form;
    }
    void close() { form.reset(); }

    template <typename T> T* get(const QString& name) const {
        T* widget = form->findChild<T*>(name);
        if (!widget) {
            qWarning("no control %s", qPrintable(name));
        }
        return widget;
    }
    QLineEdit* box(int section, int key) const {
        return get<QLineEdit>(QStringLiteral("txtSez%1_%2").arg(section).arg(key - 1));
    }
    QLineEdit* functionKey(int f) const { return get<QLineEdit>(QStringLiteral("txtTF_%1").arg(f - 1)); }
    QPushButton* toggle(int k) const { return get<QPushButton>(QStringLiteral("chkNum_%1").arg(k)); }
    QLabel* step(int k) const { return get<QLabel>(QStringLiteral("lblInput_%1").arg(k)); }
    QCheckBox* check(const char* name) const { return get<QCheckBox>(QLatin1String(name)); }
    QPushButton* button(const char* name) const { return get<QPushButton>(QLatin1String(name)); }
    QLineEdit* path() const { return get<QLineEdit>(QStringLiteral("txtPathLayout")); }
    QString keyCount() const { return get<QLabel>(QStringLiteral("lblTasti"))->text(); }
    int page() const { return get<QStackedWidget>(QStringLiteral("Pages"))->currentIndex(); }

    QStringList steps() const {
        QStringList out;
        for (int k = 1; k <= 21; ++k) {
            out << step(k)->text();
        }
        while (!out.isEmpty() && out.last().isEmpty()) {
            out.removeLast();
        }
        return out;
    }
    QList<int> pressed() const {
        QList<int> out;
        for (int k = 1; k <= 21; ++k) {
            if (toggle(k)->isChecked()) {
                out << k;
            }
        }
        return out;
    }
    QList<int> enabledToggles() const {
        QList<int> out;
        for (int k = 1; k <= 21; ++k) {
            if (toggle(k)->isEnabled()) {
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
    QString P;
    SetupState state;
    ScriptedFilePicker picker;
    RecordingMessages messages;
    std::unique_ptr<frmSetup> form;
};
