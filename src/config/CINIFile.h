#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <utility>

// Access to one INI file and one current section. Nothing is cached: every
// call reads or writes the file, so two instances always see each other's writes.
// Files are Windows-1252 text with CR LF line ends.
class CINIFile {
public:
    // Reads a value of the current section; *failed is true when no characters came back.
    QString GetValue(const QString& valueName, const QString& defaultValue = QString(),
                     bool* failed = nullptr) const;
    void AddSection(const QString& name, bool setAsCurrent = false);
    // The enumerations return the number of entries, or -1 with a null (nullopt) result.
    qint16 EnumSectionKeys(std::optional<QStringList>& arrayResult) const;
    qint16 EnumSectionValues(std::optional<QStringList>& arrayResult) const;
    qint16 EnumSections(std::optional<QStringList>& arrayResult) const;
    void DeleteSection(const QString& sectionName);
    void DeleteKey(const QString& keyName);
    qint16 EnumSectionValuePairs(std::optional<std::pair<QStringList, QStringList>>& arrayResult) const;
    void Flush();
    QString Values(const QString& valueName) const;                   // Values (read)
    void SetValues(const QString& valueName, const QVariant& rValue); // Values (write)
    QString File() const;
    void SetFile(const QString& rValue); // also empties Section
    QString Section() const;
    void SetSection(const QString& rValue);
    // Replaces the current section's lines; does nothing unless rValue holds a list of strings.
    void WriteSection(const QVariant& rValue);
    // Appends one empty line at the end of the file: 1 on success, 0 on failure.
    qint32 InsertRow();

private:
    QString m_file;
    QString m_section;
};

// The one program-wide instance.
CINIFile& SharedIni();
// Gives the program-wide instance a fresh start (empty File and Section).
void ResetSharedIni();
