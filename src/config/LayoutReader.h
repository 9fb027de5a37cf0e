#pragma once

#include "config/LayoutData.h"

#include <QString>

#include <optional>

class IMessages;

// Checks the active layout (the one cfg.ini names) and loads it into the
// runtime's LayoutData. Every operation returns true when it FAILED, after
// showing its messages; it never writes a file. Reads go through SharedIni.
class LayoutReader {
public:
    LayoutReader(QString programFolder, IMessages& messages, LayoutData& data);

    // The whole check-and-load, stopping at the first fault; a fault is
    // followed by the closing report (a conversion error's number and
    // description, or the general loading message).
    bool ReadLayout();

    // The per-key loaders read keys 1 to KeyCount of the layout file SharedIni
    // points at. Pictures and sounds fail at the first missing file, the
    // sequence at the first value outside 1 to 21 (with a message) or that is
    // no number (without one); texts are taken as they are.
    bool LoadSequence();
    bool LoadPictures();
    bool LoadSounds();
    bool LoadTexts();

private:
    enum class Step { Loaded, Failed };

    Step Check();
    Step CheckSections();
    Step RunLoaders();
    void ReadLinks();
    // Reads a number of the current section; nullopt on a conversion error,
    // whose number is kept for the closing report.
    std::optional<qint16> ReadNumber(const QString& key);
    bool LoadPaths(const QString& section, const QString& keyPrefix, QStringList& paths, const QString& text,
                   const QString& titleSuffix);
    void ShowClosingReport();
    QString Title() const;
    int Keys() const;

    QString m_programFolder;
    IMessages& m_messages;
    LayoutData& m_data;
    int m_conversionError = 0;
};
