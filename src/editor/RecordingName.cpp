#include "editor/RecordingName.h"

#include "config/FileExists.h"

namespace {
// Long enough to tell words apart, short enough for any file system.
constexpr int MaxBaseLength = 40;

// Letters without accents, digits, and one "_" for every run of anything else:
// the name works on every system and in a Windows-1252 layout file.
QString BaseName(const QString& text) {
    QString base;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.isMark()) {
            continue;
        }
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            base += c.toLower();
        } else if (!base.isEmpty() && !base.endsWith(QLatin1Char('_'))) {
            base += QLatin1Char('_');
        }
    }
    base.truncate(MaxBaseLength);
    while (base.endsWith(QLatin1Char('_'))) {
        base.chop(1);
    }
    return base;
}
} // namespace

QString RecordingFileName(const QString& folder, const QString& keyText, int key) {
    QString base = BaseName(keyText);
    if (base.isEmpty()) {
        base = QStringLiteral("tasto%1").arg(key);
    }
    QString path = folder + QLatin1Char('/') + base + QStringLiteral(".wav");
    for (int n = 2; FileExists(path); ++n) {
        path = folder + QLatin1Char('/') + base + QStringLiteral("_%1.wav").arg(n);
    }
    return path;
}
