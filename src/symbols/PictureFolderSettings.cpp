#include "symbols/PictureFolderSettings.h"

#include "platform/RegularFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {
const QString FoldersKey = QStringLiteral("cartelle");
// A settings file is a few lines; anything larger is not ours.
constexpr qint64 MaxBytes = 1024 * 1024;
} // namespace

namespace PictureFolderSettings {

QStringList Load(const QString& dataFolder) {
    const auto bytes = ReadRegularFile(dataFolder + QLatin1Char('/') + FileName, MaxBytes);
    if (!bytes) {
        return {};
    }
    QStringList folders;
    for (const QJsonValue& value : QJsonDocument::fromJson(*bytes).object().value(FoldersKey).toArray()) {
        const QString folder = value.toString();
        if (!folder.isEmpty() && !folders.contains(folder)) {
            folders << folder;
        }
    }
    return folders;
}

bool Save(const QString& dataFolder, const QStringList& folders) {
    QSaveFile file(dataFolder + QLatin1Char('/') + FileName);
    const QJsonObject root{{FoldersKey, QJsonArray::fromStringList(folders)}};
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(root).toJson()) >= 0 && file.commit();
}

} // namespace PictureFolderSettings
