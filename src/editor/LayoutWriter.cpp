#include "editor/LayoutWriter.h"

#include "config/ConfigFile.h"
#include "config/LayoutFile.h"
#include "platform/Log.h"

LayoutWriter::Result LayoutWriter::Save(const LayoutContent& content, const QString& layoutPath,
                                        const QString& dataFolder) {
    if (!ConfigFile::Writable(dataFolder)) {
        qCWarning(lcFiles) << "cfg.ini cannot be written:" << ConfigFile::Path(dataFolder);
        return {Status::ConfigNotWritable, QString()};
    }
    if (const Outcome written = LayoutFile::Write(content, layoutPath); !written) {
        Log::Failure(lcFiles, written);
        return {Status::LayoutNotWritten, written.message()};
    }
    if (!ConfigFile::SetActiveLayout(dataFolder, layoutPath)) {
        qCWarning(lcFiles) << "cfg.ini was not updated:" << ConfigFile::Path(dataFolder);
        return {Status::ConfigNotUpdated, QString()};
    }
    return {};
}
