#pragma once

#include <QString>

// Where an import tells how far it has gone and learns whether its user wants
// it stopped: a bar with "Annulla" in the settings window, standard error and
// Ctrl+C on the command line, a script in the tests.
class IImportProgress {
public:
    virtual ~IImportProgress() = default;
    // Boards and pictures done, each out of how many (the pictures' total can
    // grow once, when the labels to draw are known).
    virtual void advanced(int boardsDone, int boards, int picturesDone, int pictures) = 0;
    // A board's layouts are made.
    virtual void boardDone(const QString& board, int layouts) = 0;
    // The import has ended, well or not: the progress is no longer shown.
    virtual void finished() = 0;
    // True once the user asked to stop; the import then ends with nothing written.
    virtual bool cancelled() = 0;
};
