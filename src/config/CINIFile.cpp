#include "config/CINIFile.h"

#include "config/IniEngine.h"

namespace {
QString ToText(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return value.toString();
}
} // namespace

QString CINIFile::GetValue(const QString& valueName, const QString& defaultValue, bool* failed) const {
    const QString value =
        IniEngine::ReadString(m_file, m_section, valueName, defaultValue, IniEngine::ValueBufferSize);
    const bool none = value.isEmpty();
    if (failed) {
        *failed = none;
    }
    return none ? defaultValue : value;
}

void CINIFile::SetValues(const QString& valueName, const QVariant& rValue) {
    IniEngine::WriteString(m_file, m_section, valueName, ToText(rValue));
}

QString CINIFile::File() const {
    return m_file;
}

void CINIFile::SetFile(const QString& rValue) {
    m_file = rValue;
    m_section.clear();
}

void CINIFile::SetSection(const QString& rValue) {
    m_section = rValue;
}

CINIFile& SharedIni() {
    static CINIFile instance;
    return instance;
}

void ResetSharedIni() {
    SharedIni() = CINIFile();
}
