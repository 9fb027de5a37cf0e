#pragma once

#include "config/LayoutData.h"

#include <QString>

class IMessages;

// Checks the active layout (the one cfg.ini names) with the table's rules and
// loads it into the runtime's LayoutData, telling the user what is wrong.
class LayoutReader {
public:
    LayoutReader(QString dataFolder, IMessages& messages, LayoutData& data);

    // True when the layout cannot be used (after its messages and the closing
    // report: a conversion error's number and description, or the general
    // loading message); false when it was loaded. Never writes a file.
    bool ReadLayout();
    // The same for the layout at `layoutPath`, whatever cfg.ini names.
    bool ReadLayoutAt(const QString& layoutPath);

private:
    QString m_dataFolder;
    IMessages& m_messages;
    LayoutData& m_data;
};
