#pragma once

#include <QFileInfo>

namespace WriteProtection {
// A file without any write permission is left alone, also by a user (root)
// who could override it: a carer write-protects a file to keep it as it is.
inline bool IsWriteProtected(const QFileInfo& info) {
    return !info.isWritable() || !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                                                         QFileDevice::WriteOther));
}
} // namespace WriteProtection
