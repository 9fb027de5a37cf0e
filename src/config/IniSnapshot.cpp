#include "config/IniSnapshot.h"

#include "config/IniEncoding.h"
#include "config/IniEngine.h"

IniSnapshot IniSnapshot::FromFile(const QString& path) {
    return IniSnapshot(IniEngine::ReadFileText(path));
}

IniSnapshot IniSnapshot::FromBytes(const QByteArray& bytes) {
    return IniSnapshot(IniEncoding::Decode(bytes).text);
}

QString IniSnapshot::Value(const QString& section, const QString& key) const {
    return IniEngine::LookUp(m_text, section, key, QString(), IniEngine::ValueBufferSize);
}
