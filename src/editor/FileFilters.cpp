#include "editor/FileFilters.h"

#include <QImageReader>
#include <QStringList>

namespace {
QString Filter(const QString& description, const QString& patterns) {
    return description + QChar(u'\0') + patterns;
}
} // namespace

namespace FileFilters {
QString Pictures() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format).toLower();
    }
    patterns.removeDuplicates();
    return Filter(QStringLiteral("Immagini"), patterns.join(QLatin1Char(';')));
}

QString Sounds() {
    return Filter(QStringLiteral("Suoni WAV"), QStringLiteral("*.wav"));
}

QString Layouts() {
    return Filter(QStringLiteral("Layout"), QStringLiteral("*.ini"));
}
} // namespace FileFilters
