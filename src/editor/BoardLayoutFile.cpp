#include "editor/BoardLayoutFile.h"

#include "config/ConfigFile.h"
#include "config/LayoutFile.h"
#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>

bool WriteBoardLayout(const LayoutContent& content, const QString& layoutPath, const QString& dataFolder,
                      bool activate) {
    QDir().mkpath(QFileInfo(layoutPath).absolutePath());
    if (const Outcome written = LayoutFile::Write(content, layoutPath); !written) {
        Log::Failure(lcFiles, written);
        return false;
    }
    return !activate || ConfigFile::SetActiveLayout(dataFolder, layoutPath);
}
