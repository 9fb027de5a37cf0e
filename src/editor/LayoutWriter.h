#pragma once

#include "editor/LayoutContent.h"

#include <QString>

class CINIFile;

// Saves a layout without ever leaving a half-written file behind: the
// sections go into a new file beside the layout, which then replaces the
// layout in one rename; only after that does cfg.ini name the layout.
class LayoutWriter {
public:
    enum class Outcome {
        Saved,
        LayoutNotWritten,  // nothing was changed
        ConfigNotWritable, // cfg.ini cannot be written: nothing was changed
        ConfigNotUpdated,  // the layout was saved but cfg.ini does not name it
    };

    // layoutPath is the name the user gave; configPath is the program's cfg.ini.
    static Outcome Save(const LayoutContent& content, const QString& layoutPath, const QString& configPath);

    // Writes every section and key in the layout's fixed order into the
    // file ini points at, through the INI engine, with one empty line after
    // each section but the last. False when an empty line could not be added.
    static bool WriteSections(CINIFile& ini, const LayoutContent& content);

    // True when the file ini points at holds every section and key that
    // WriteSections writes.
    static bool HasAllSections(CINIFile& ini);
};
