#include "editor/BoardLayoutFile.h"

#include "editor/LayoutWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

bool WriteBoardLayout(const LayoutContent& content, const QString& layoutPath, const QString& dataFolder,
                      bool activate) {
    QDir().mkpath(QFileInfo(layoutPath).absolutePath());
    if (activate) {
        return LayoutWriter::Save(content, layoutPath, dataFolder + QStringLiteral("/cfg.ini")) ==
               LayoutWriter::Outcome::Saved;
    }
    // The writer always names what it saved in a cfg.ini: here a throwaway
    // one inside the data folder, so the family's cfg.ini keeps its layout.
    QTemporaryDir scratch(dataFolder + QStringLiteral("/.tabella-XXXXXX"));
    if (!scratch.isValid()) {
        return false;
    }
    const LayoutWriter::Outcome outcome =
        LayoutWriter::Save(content, layoutPath, scratch.filePath(QStringLiteral("cfg.ini")));
    return outcome == LayoutWriter::Outcome::Saved || outcome == LayoutWriter::Outcome::ConfigNotUpdated;
}
