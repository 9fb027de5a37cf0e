#pragma once

#include "platform/Outcome.h"

#include <QString>
#include <QStringList>

// Writes layouts as one Open Board set (.obz): a board per layout with its
// keys in the table's rows and columns, pictures and sounds (WAV, as they
// are) inside the ZIP, and the function keys as link buttons, so that other
// programs can navigate the set and this program imports it back to the same
// keys, pictures and sounds.
class ObfExporter {
public:
    // Exports the layout and, with `followLinks`, every layout its function
    // keys reach. The notes on what could not be carried (missing pictures or
    // sounds) when the file was made; the failure, with its Italian message,
    // when the layout cannot be read or the file cannot be written (then no
    // file is made).
    static Result<QStringList> Export(const QString& layoutPath, const QString& outputPath, bool followLinks);
};
