#pragma once

#include <QString>
#include <QVariant>

// Access to one INI file and one current section. Nothing is cached: every
// call reads or writes the file, so two instances always see each other's writes.
// Files are Windows-1252 text with CR LF line ends.
class CINIFile {
public:
    // Reads a value of the current section; *failed is true when no characters came back.
    QString GetValue(const QString& valueName, const QString& defaultValue = QString(),
                     bool* failed = nullptr) const;
    void SetValues(const QString& valueName, const QVariant& rValue); // Values (write)
    QString File() const;
    void SetFile(const QString& rValue); // also empties Section
    void SetSection(const QString& rValue);

private:
    QString m_file;
    QString m_section;
};

// The one program-wide instance.
CINIFile& SharedIni();
// Gives the program-wide instance a fresh start (empty File and Section).
void ResetSharedIni();
