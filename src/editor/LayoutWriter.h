#pragma once

#include "config/LayoutContent.h"
#include "platform/Outcome.h"

#include <QString>

// The settings window's save: the layout file is written whole or not at all
// (a new file beside it takes its name in one rename), and only after that
// does cfg.ini name it as the active layout.
class LayoutWriter {
public:
    // layoutPath is the name the user gave (cfg.ini records it as given). A
    // failure tells the user what was and was not changed: cfg.ini that
    // cannot be written (nothing changed), the layout not written (nothing
    // changed), or the layout saved but cfg.ini not naming it.
    static Outcome Save(const LayoutContent& content, const QString& layoutPath, const QString& dataFolder);

    // The message for a layout file that could not be written, for the
    // reason LayoutFile::Write gave (a full disk is called a full disk).
    static QString NotWrittenMessage(const QString& path, const QString& reason);
};
