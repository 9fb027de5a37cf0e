#include "config/CINIFile.h"

#include "config/IniEngine.h"

#include <functional>

namespace {
constexpr int EnumerationAttempts = 4;

struct SectionText {
    QString buffer; // empty when even the largest buffer was too small
    int length = 0;
};

// Reads a section (or the section names) into a buffer of 2047 characters,
// then 4095, 8191 and 16383 while the platform reports it too small.
SectionText ReadGrowing(const std::function<int(QString&, int)>& read) {
    SectionText result;
    int size = 1024;
    for (int attempt = 0; attempt < EnumerationAttempts; ++attempt) {
        size = size * 2 - 1;
        result.length = read(result.buffer, size);
        if (result.length != size - 2) {
            return result;
        }
        result.buffer.clear();
        size += 1;
    }
    return result;
}

// Splits the working text into its NUL-terminated entries while it is longer
// than three characters, as the enumerations always have (so a last entry of
// one character is not taken). nullopt when an entry has no NUL.
std::optional<QStringList> TakeEntries(QString working) {
    QStringList entries;
    while (working.size() > 3) {
        const qsizetype nul = working.indexOf(QChar(0));
        if (nul < 0) {
            return std::nullopt;
        }
        entries << working.left(nul);
        working.remove(0, nul + 1);
    }
    return entries;
}

enum class Part { Key, Value };

QString PartOf(const QString& entry, Part part) {
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    if (entry.isEmpty() || equals < 0) {
        return {};
    }
    return part == Part::Key ? entry.left(equals) : entry.mid(equals + 1);
}

qint16 Finish(const std::optional<QStringList>& entries, std::optional<QStringList>& arrayResult) {
    if (!entries || entries->isEmpty()) {
        arrayResult.reset();
        return -1;
    }
    arrayResult = *entries;
    return static_cast<qint16>(entries->size());
}

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

void CINIFile::AddSection(const QString& name, bool setAsCurrent) {
    IniEngine::WriteString(m_file, name, QStringLiteral("Dummy"), QStringLiteral("Val"));
    IniEngine::DeleteKey(m_file, name, QStringLiteral("Dummy"));
    if (setAsCurrent) {
        m_section = name;
    }
}

qint16 CINIFile::EnumSectionKeys(std::optional<QStringList>& arrayResult) const {
    const SectionText text = ReadGrowing([this](QString& buffer, int size) {
        return IniEngine::ReadSection(m_file, m_section, buffer, size);
    });
    std::optional<QStringList> entries = QStringList();
    if (text.buffer.size() > 3) {
        entries = TakeEntries(text.buffer.left(text.length + 1));
    }
    if (entries) {
        for (QString& entry : *entries) {
            entry = PartOf(entry, Part::Key);
        }
    }
    return Finish(entries, arrayResult);
}

qint16 CINIFile::EnumSectionValues(std::optional<QStringList>& arrayResult) const {
    const SectionText text = ReadGrowing([this](QString& buffer, int size) {
        return IniEngine::ReadSection(m_file, m_section, buffer, size);
    });
    std::optional<QStringList> entries = QStringList();
    if (!text.buffer.isEmpty() && text.length != 0) {
        entries = TakeEntries(text.buffer.left(text.length - 1) + QChar(0));
    }
    if (entries) {
        for (QString& entry : *entries) {
            entry = PartOf(entry, Part::Value);
        }
    }
    return Finish(entries, arrayResult);
}

qint16 CINIFile::EnumSections(std::optional<QStringList>& arrayResult) const {
    const SectionText text = ReadGrowing(
        [this](QString& buffer, int size) { return IniEngine::ReadSectionNames(m_file, buffer, size); });
    std::optional<QStringList> entries = QStringList();
    if (!text.buffer.isEmpty() && text.length != 0) {
        entries = TakeEntries(text.buffer.left(text.length + 1));
    }
    return Finish(entries, arrayResult);
}

void CINIFile::DeleteSection(const QString& sectionName) {
    IniEngine::DeleteSection(m_file, sectionName);
}

void CINIFile::DeleteKey(const QString& keyName) {
    IniEngine::DeleteKey(m_file, m_section, keyName);
}

qint16
CINIFile::EnumSectionValuePairs(std::optional<std::pair<QStringList, QStringList>>& arrayResult) const {
    const SectionText text = ReadGrowing([this](QString& buffer, int size) {
        return IniEngine::ReadSection(m_file, m_section, buffer, size);
    });
    std::optional<QStringList> entries = QStringList();
    if (!text.buffer.isEmpty() && text.length != 0) {
        entries = TakeEntries(text.buffer.left(text.length));
    }
    if (!entries || entries->isEmpty()) {
        arrayResult.reset();
        return -1;
    }
    std::pair<QStringList, QStringList> pairs;
    for (const QString& entry : *entries) {
        pairs.first << PartOf(entry, Part::Key);
        pairs.second << PartOf(entry, Part::Value);
    }
    arrayResult = pairs;
    return static_cast<qint16>(entries->size());
}

void CINIFile::Flush() {
    IniEngine::Flush(m_file);
}

QString CINIFile::Values(const QString& valueName) const {
    return GetValue(valueName);
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

QString CINIFile::Section() const {
    return m_section;
}

void CINIFile::SetSection(const QString& rValue) {
    m_section = rValue;
}

void CINIFile::WriteSection(const QVariant& rValue) {
    QStringList lines;
    if (rValue.typeId() == QMetaType::QStringList) {
        lines = rValue.toStringList();
    } else if (rValue.typeId() == QMetaType::QVariantList) {
        for (const QVariant& element : rValue.toList()) {
            if (element.typeId() != QMetaType::QString) {
                return;
            }
            lines << element.toString();
        }
    } else {
        return;
    }
    QString block;
    for (const QString& line : lines) {
        block += line + QChar(0);
    }
    block += QChar(0);
    block += QChar(0);
    IniEngine::WriteSection(m_file, m_section, block);
}

qint32 CINIFile::InsertRow() {
    return IniEngine::AppendEmptyLine(m_file) ? 1 : 0;
}

CINIFile& SharedIni() {
    static CINIFile instance;
    return instance;
}

void ResetSharedIni() {
    SharedIni() = CINIFile();
}
