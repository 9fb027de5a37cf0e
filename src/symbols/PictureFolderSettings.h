#pragma once

#include <QString>
#include <QStringList>

// The family's picture folders ("Cartelle di immagini"), kept in a file of
// their own in the data folder, cartelle_immagini.json, so cfg.ini and the
// layouts keep their format. A missing or unreadable file means no folders.
namespace PictureFolderSettings {

inline const QString FileName = QStringLiteral("cartelle_immagini.json");

QStringList Load(const QString& dataFolder);
// False when the file could not be written.
bool Save(const QString& dataFolder, const QStringList& folders);

} // namespace PictureFolderSettings
