#include "fakes/RuntimeTestProgram.h"

#include "fakes/TestSupport.h"

#include <QDataStream>
#include <QDir>
#include <QImage>
#include <QRegularExpression>

RuntimeTestProgram::RuntimeTestProgram() {
    QDir(m_dir.path()).mkpath(QStringLiteral("layout"));
    QDir(m_dir.path()).mkpath(QStringLiteral("immagini"));
    QDir(m_dir.path()).mkpath(QStringLiteral("suoni"));
}

void RuntimeTestProgram::writeCfg(const QString& layout) {
    const QString file = QDir::isAbsolutePath(layout) ? layout : path(layout);
    const QString text =
        QStringLiteral("[KeyProgram]\r\nKey=<$$-COMUNICATORE-$$>\r\nFile=%1\r\nIsProgramInstalled=1\r\n")
            .arg(file);
    TestSupport::writeFile(path(QStringLiteral("cfg.ini")), text.toLatin1());
}

QString RuntimeTestProgram::writeLayout(const QString& relative, const Layout& l) {
    QStringList lines;
    lines << "[KeyProgram]"
          << "Key=<$$-COMUNICATORE-$$>"
          << ""
          << "[Impostazioni]"
          << QStringLiteral("Tasti=%1").arg(l.tasti.isEmpty() ? QString::number(l.keys) : l.tasti)
          << "IsSezione1=1" << QStringLiteral("IsSezione2=%1").arg(l.sound ? 1 : 0)
          << QStringLiteral("IsSezione3=%1").arg(l.text ? 1 : 0) << ""
          << "[Input Obbligato]" << QStringLiteral("IsInput=%1").arg(l.forced ? 1 : 0) << ""
          << "[Sequenza]";
    for (int i = 1; i <= 21; ++i) {
        lines << QStringLiteral("SequenzaInput%1=%2")
                     .arg(i)
                     .arg(i <= l.sequence.size() ? QString::number(l.sequence[i - 1]) : QString());
    }
    lines << ""
          << "[Bonus]" << QStringLiteral("File1=%1").arg(l.bonus) << ""
          << "[Sezione Immagini]";
    const QString base = QFileInfo(relative).completeBaseName();
    for (int i = 1; i <= 21; ++i) {
        QString picture;
        if (i <= l.keys) {
            picture =
                i <= l.pictures.size()
                    ? l.pictures[i - 1]
                    : writePicture(QStringLiteral("immagini/%1_%2.png").arg(base).arg(i), {8, 8}, Qt::white);
        }
        lines << QStringLiteral("Immagine%1=%2").arg(i).arg(picture);
    }
    lines << ""
          << "[Sezione Sonoro]";
    for (int i = 1; i <= 21; ++i) {
        QString sound;
        if (i <= l.keys) {
            sound = writeTone(QStringLiteral("suoni/%1.wav").arg(i), qint16(1000 * i));
        }
        lines << QStringLiteral("Sonoro%1=%2").arg(i).arg(sound);
    }
    lines << ""
          << "[Sezione Testo]";
    for (int i = 1; i <= 21; ++i) {
        lines << QStringLiteral("Testo%1=%2").arg(i).arg(i <= l.texts.size() ? l.texts[i - 1] : QString());
    }
    lines << ""
          << "[Tasti Funzione]";
    for (int i = 1; i <= 12; ++i) {
        lines << QStringLiteral("F%1=%2").arg(i).arg(i <= l.functionKeys.size() ? l.functionKeys[i - 1]
                                                                                : QString());
    }
    const QString full = path(relative);
    TestSupport::writeFile(full, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    return full;
}

QString RuntimeTestProgram::writePicture(const QString& relative, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    img.save(full);
    return full;
}

QString RuntimeTestProgram::writeTone(const QString& relative, qint16 value) {
    const int samples = 441;
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataBytes = quint32(samples) * 2;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (int i = 0; i < samples; ++i) {
        out << value;
    }
    const QString full = path(relative);
    TestSupport::writeFile(full, wav);
    return full;
}

QString RuntimeTestProgram::cfgFileValue() const {
    const QString text = QString::fromLatin1(TestSupport::readFile(path(QStringLiteral("cfg.ini"))));
    const auto m = QRegularExpression(QStringLiteral("(?m)^File=([^\\r\\n]*)")).match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}
