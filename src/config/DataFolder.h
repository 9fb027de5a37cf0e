#pragma once

#include <QString>

#include <utility>

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
    // Decides the folder and creates it when missing. On failure path() is
    // empty and error() says, in Italian, which folder and why.
    static DataFolder decide(const DataFolderInputs& inputs);

    bool ok() const { return m_error.isEmpty(); }
    // Absolute, without a trailing separator (the root folder is empty):
    // paths are built as path() + "/cfg.ini".
    QString path() const { return m_path; }
    QString error() const { return m_error; }

private:
    DataFolder(QString path, QString error) : m_path(std::move(path)), m_error(std::move(error)) {}
    // Creates the folder when missing and proves it can be written.
    static DataFolder prepared(const QString& folder);

    QString m_path;
    QString m_error;
};
