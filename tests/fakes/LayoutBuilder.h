#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    QStringList links; // per key; the link section only when not empty
    QString voice;     // the voice section only when not empty
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
        if (!links.isEmpty()) {
            text += QStringLiteral("\r\n") + numbered("Collegamenti", "Collegamento", links, 21);
        }
        if (!voice.isEmpty()) {
            text += QStringLiteral("\r\n[%1]\r\n%2=%3\r\n").arg(name("Voce"), name("Nome"), voice);
        }
        return text.toLatin1();
    }
};
