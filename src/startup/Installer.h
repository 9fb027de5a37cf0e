#pragma once

#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

class IMessages;

// The first-run installation: writes the default pictures and sounds from the
// program's resources into the data folders, the twelve default layouts and a
// fresh cfg.ini whose active layout is lay1.ini. It also repairs a damaged
// cfg.ini. Paths are built on the program folder it is given.
class Installer {
public:
    explicit Installer(QString programFolder);

    // The whole installation, under the hourglass pointer. A failure, naming
    // the file and why, when a resource file or cfg.ini could not be written;
    // the caller then ends the program (ReportInstallationFailure).
    Outcome Install();

    // Writes lay1.ini to lay12.ini, ignoring errors. A default layout that
    // differs from what would be written (a user's edits) is first kept
    // beside it as layN.ini.bak (layN.ini.bak2, ... when that name is taken by
    // other content); when it cannot be kept, the layout is left as it is.
    void WriteDefaultLayouts();

    // The bytes of default layout n (1 to 12): CR LF line ends, encoded as
    // every INI file (Windows-1252 unless the folder's name needs UTF-8).
    QByteArray DefaultLayout(int n) const;

    QString ProgramFolder() const { return m_programFolder; }

private:
    Outcome WriteResources();
    Outcome WriteResource(const QString& resource, const QString& target);
    Outcome WriteConfiguration();
    bool KeepUserEdits(const QString& path, const QByteArray& content);

    QString m_programFolder;
};

// Tells the user that the installation failed, in the log (and so on the
// terminal) and in a message box; the caller then ends the program.
void ReportInstallationFailure(IMessages& messages, const Outcome& failure);

// The repair of a damaged cfg.ini found when the table is started: the whole
// installation. When it fails, the user is told and the program's event
// loop is asked to end (nothing can work without the default files).
bool RepairConfiguration(const QString& programFolder, IMessages& messages);
