#include "config/DataFolder.h"

#include "config/FileExists.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryFile>

namespace {
QString WithoutTrailingSeparator(QString folder) {
    // Only the root folder keeps a separator after cleaning; the data paths add their own.
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

// Tries a real write: access() tells root every folder is writable, and a
// folder under /proc or on a read-only mount says nothing true about itself.
bool CanWriteIn(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.mirelva-XXXXXX"));
    return probe.open();
}

// /usr belongs to the package manager and may be mounted read-only; even root
// must not leave data beside an installed executable.
bool IsSystemFolder(const QString& folder) {
    return folder == QLatin1String("/usr") || folder.startsWith(QLatin1String("/usr/"));
}

} // namespace

Result<QString> DataFolder::prepared(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        return Outcome::Failed(QStringLiteral("Impossibile creare la cartella dei dati %1.").arg(folder),
                               folder + QStringLiteral(": cannot make the folder"));
    }
    if (!CanWriteIn(folder)) {
        return Outcome::Failed(QStringLiteral("Impossibile scrivere nella cartella dei dati %1.").arg(folder),
                               folder + QStringLiteral(": no file can be made there"));
    }
    return folder;
}

DataFolderInputs DataFolderInputs::fromProcess(const QString& requested) {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    return {QCoreApplication::applicationDirPath(), requested,
            environment.value(QStringLiteral("XDG_DATA_HOME")), QDir::homePath()};
}

Result<QString> DataFolder::decide(const DataFolderInputs& inputs) {
    if (!inputs.requested.isEmpty()) {
        return prepared(WithoutTrailingSeparator(QDir::cleanPath(QDir(inputs.requested).absolutePath())));
    }
    const QString program = WithoutTrailingSeparator(inputs.programFolder);
    if (FileExists(program + QStringLiteral("/cfg.ini")) ||
        (!IsSystemFolder(program) && CanWriteIn(program))) {
        return program;
    }
    // The XDG base directory rules ignore a relative XDG_DATA_HOME.
    const QString base = QDir::isAbsolutePath(inputs.xdgDataHome)
                             ? inputs.xdgDataHome
                             : inputs.home + QStringLiteral("/.local/share");
    return prepared(QDir::cleanPath(base + QStringLiteral("/mirelva")));
}
