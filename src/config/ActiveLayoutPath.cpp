#include "config/ActiveLayoutPath.h"

namespace {
QString& Storage() {
    static QString path;
    return path;
}
} // namespace

QString ActiveLayoutPath() {
    return Storage();
}

void SetActiveLayoutPath(const QString& path) {
    Storage() = path;
}
