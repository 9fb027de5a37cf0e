#include "runtime/FileNameOf.h"

QString FileNameOf(const QString& path) {
    QString p = path;
    if (p.endsWith(QLatin1Char('\\')) || p.endsWith(QLatin1Char('/'))) {
        p.chop(1);
    }
    const qsizetype cut = qMax(p.lastIndexOf(QLatin1Char('\\')), p.lastIndexOf(QLatin1Char('/')));
    return p.mid(cut + 1);
}
