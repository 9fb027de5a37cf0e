#include "config/ProgramFolder.h"

#include <QCoreApplication>

QString ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    // Only the root folder comes with a trailing separator; paths are then built as folder + "/cfg.ini".
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}
