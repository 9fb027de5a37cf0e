#pragma once

#include "config/LayoutContent.h"

#include <QString>

// The settings window's save: the layout file is written whole or not at all
// (a new file beside it takes its name in one rename), and only after that
// does cfg.ini name it as the active layout.
class LayoutWriter {
public:
    enum class Status {
        Saved,
        LayoutNotWritten,  // nothing was changed
        ConfigNotWritable, // cfg.ini cannot be written: nothing was changed
        ConfigNotUpdated,  // the layout was saved but cfg.ini does not name it
    };
    struct Result {
        Status status = Status::Saved;
        // Why the layout was not written, in Italian ("il disco è pieno").
        QString reason;
    };

    // layoutPath is the name the user gave (cfg.ini records it as given).
    static Result Save(const LayoutContent& content, const QString& layoutPath, const QString& dataFolder);
};
