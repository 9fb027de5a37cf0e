#include "editor/PathRules.h"

#include <QDir>

#include <algorithm>

namespace {
qsizetype LastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}
} // namespace

namespace PathRules {
QString FileNameOf(const QString& path) {
    QString p = path;
    if (p.endsWith(QLatin1Char('/')) || p.endsWith(QLatin1Char('\\'))) {
        p.chop(1);
    }
    return p.mid(LastSeparator(p) + 1);
}

bool IsConfigFile(const QString& path) {
    return FileNameOf(path).compare(QStringLiteral("cfg.ini"), Qt::CaseInsensitive) == 0;
}

QString WithIniExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && path.mid(dot + 1).compare(QStringLiteral("ini"), Qt::CaseInsensitive) == 0) {
        return path;
    }
    const qsizetype separator = LastSeparator(path);
    const QString folder = path.left(separator + 1);
    const QString name = path.mid(separator + 1);
    const qsizetype nameDot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = nameDot >= 0 ? name.left(nameDot) : name;
    return folder + base + QStringLiteral(".ini");
}

QString LayoutFilePath(const QString& name, const QString& programFolder) {
    if (name.isEmpty() || QDir::isAbsolutePath(name)) {
        return name;
    }
    return QDir::cleanPath(programFolder + QStringLiteral("/layout/") + name);
}
} // namespace PathRules
