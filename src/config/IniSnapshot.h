#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// An INI file read once and looked up many times with the rules every read
// of the program follows (names without regard to case, the first section
// and key of a name win, values cut to 254 characters). A layout load asks
// for about a hundred values: one read of the file instead of a hundred.
class IniSnapshot {
public:
    // The file's text now; a missing, oversized or irregular file reads as
    // one without any value.
    static IniSnapshot FromFile(const QString& path);
    // Bytes as a file would hold them (an encoded layout not yet written).
    static IniSnapshot FromBytes(const QByteArray& bytes);

    // The value, empty when the section or key is missing.
    QString Value(const QString& section, const QString& key) const;
    // False when there was no file to read.
    bool Readable() const { return m_text.has_value(); }

private:
    explicit IniSnapshot(std::optional<QString> text) : m_text(std::move(text)) {}
    std::optional<QString> m_text;
};
