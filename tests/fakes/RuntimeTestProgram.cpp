#include "fakes/RuntimeTestProgram.h"

#include "fakes/LayoutBuilder.h"
#include "fakes/TestSupport.h"
#include "fakes/WavTestFiles.h"

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
    TestLayout layout;
    layout.keys = l.tasti.isEmpty() ? QString::number(l.keys) : l.tasti;
    layout.section2 = QString::number(l.sound ? 1 : 0);
    layout.section3 = QString::number(l.text ? 1 : 0);
    layout.forcedInput = QString::number(l.forced ? 1 : 0);
    for (const int step : l.sequence) {
        layout.sequence << QString::number(step);
    }
    layout.bonus = l.bonus;
    layout.texts = l.texts;
    layout.functionKeys = l.functionKeys;
    layout.links = l.links;
    layout.voice = l.voice;
    const QString base = QFileInfo(relative).completeBaseName();
    for (int i = 1; i <= l.keys; ++i) {
        layout.pictures << (i <= l.pictures.size()
                                ? l.pictures[i - 1]
                                : writePicture(QStringLiteral("immagini/%1_%2.png").arg(base).arg(i), {8, 8},
                                               Qt::white));
        layout.sounds << writeTone(QStringLiteral("suoni/%1.wav").arg(i), qint16(1000 * i));
    }
    const QString full = path(relative);
    TestSupport::writeFile(full, layout.bytes());
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
    const QString full = path(relative);
    TestSupport::writeFile(
        full, WavTestFiles::wav(std::vector<qint16>(441, value), 1, 22050, WavTestFiles::Encoding::Pcm16));
    return full;
}

QString RuntimeTestProgram::cfgFileValue() const {
    const QString text = QString::fromLatin1(TestSupport::readFile(path(QStringLiteral("cfg.ini"))));
    const auto m = QRegularExpression(QStringLiteral("(?m)^File=([^\\r\\n]*)")).match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}
