#include "platform/WriteProtected.h"

#include <QFileInfo>

bool WriteProtected(const QFileInfo& info) {
    return !info.isWritable() || !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                                                         QFileDevice::WriteOther));
}
