#pragma once

#include "platform/Outcome.h"

#include <QString>

// What decides where cfg.ini, layout, immagini and suoni live.
struct DataFolderInputs {
    QString programFolder; // the folder of the executable
    QString requested;     // --data DIR; empty when not given
    QString xdgDataHome;   // $XDG_DATA_HOME; empty when unset
    QString home;          // the user's home folder

    // The running program's inputs: its own folder and its environment.
    static DataFolderInputs fromProcess(const QString& requested);
};

// The one place that decides the data folder. A developer's build or a
// portable copy keeps its data beside the executable, as it always has; an
// installed program (its folder not writable, or under /usr) uses the user's
// own $XDG_DATA_HOME/mirelva, so users sharing a computer never share data.
// Only main() asks for it; everything else is handed the folder.
class DataFolder {
public:
    // Decides the folder and creates it when missing: absolute, without a
    // trailing separator (the root folder is empty), so paths are built as
    // folder + "/cfg.ini". A failure says, in Italian, which folder and why.
    static Result<QString> decide(const DataFolderInputs& inputs);

private:
    // Creates the folder when missing and proves it can be written.
    static Result<QString> prepared(const QString& folder);
};
