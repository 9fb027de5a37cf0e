#pragma once

#include "platform/Outcome.h"

#include <QLoggingCategory>
#include <QString>

// Where warnings and failures are written: the categories below, on standard
// error as Qt writes them and, once Install has run, also in mirelva.log in
// the data folder, so that a carer can send the file to whoever helps.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)  // layouts, cfg.ini, the data folder
Q_DECLARE_LOGGING_CATEGORY(lcAudio)  // sounds, speech, recording
Q_DECLARE_LOGGING_CATEGORY(lcImport) // board import and export

namespace Log {
// The log file grows to this size; then it becomes mirelva.log.1 (replacing
// an older one) and a new mirelva.log starts, so both together stay under
// twice this size.
inline constexpr qint64 MaxFileSize = 256 * 1024;

// Sends warnings, criticals and fatals to `dataFolder`/mirelva.log as well as
// to standard error. Lines read "2026-12-07 17:20:01 warning mirelva.files: ...".
void Install(const QString& dataFolder);
// Stops writing the file (standard error goes on as before).
void Uninstall();
QString FilePath(const QString& dataFolder);

// Writes a failure with its technical detail.
void Failure(const QLoggingCategory& (*category)(), const Outcome& failure);
} // namespace Log
