#include "platform/AppInfo.h"

// The build defines MIRELVA_VERSION for this file alone, so a new version recompiles one file.
QString AppInfo::Version() {
    return QStringLiteral(MIRELVA_VERSION);
}
