// Fuzzed code: obf/ObfImporter.cpp obf/ObfImporterMedia.cpp obf/ObfImporterLayouts.cpp
// Fuzzed code: obf/ObfBoard.cpp obf/ObfMedia.cpp obf/ObfReport.cpp obf/ObfStaging.cpp
// Fuzzed code: obf/ZipArchive.cpp audio/WavWriter.cpp grid/TableShape.cpp config/*.cpp
// Fuzzed code: startup/Installer.cpp platform/RegularFile.cpp platform/WriteProtected.cpp
// Fuzzed code: platform/WaitCursor.cpp platform/Log.cpp
// Fuzzed libraries: libzip sndfile Qt6::Svg
#include "FuzzTarget.h"

#include "CountingMessages.h"

#include "config/CINIFile.h"
#include "config/LayoutData.h"
#include "config/LayoutReader.h"
#include "obf/ObfImporter.h"
#include "startup/Installer.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>

namespace {
// Every file under the folder, hidden ones included, with its size.
QMap<QString, qint64> Listing(const QString& folder) {
    QMap<QString, qint64> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        files.insert(info.filePath(), info.size());
    }
    return files;
}

// The data folder as the installer leaves it, less the pictures and sounds
// of its resources: the three folders, the twelve default layouts (names an
// import must not take) and cfg.ini.
QString PrepareDataFolder() {
    const QString folder = FuzzScratchFolder() + QStringLiteral("/data");
    for (const char* sub : {"immagini", "suoni", "layout"}) {
        QDir(folder).mkpath(QLatin1String(sub));
    }
    Installer(folder).WriteDefaultLayouts();
    WriteFuzzFile(folder + QStringLiteral("/cfg.ini"), QByteArray("[KeyProgram]\r\nFile=\r\n"));
    return folder;
}

// Puts the folder back as it was before the import, for the next input.
void Restore(const QString& folder, const QMap<QString, qint64>& before) {
    for (const QString& path : Listing(folder).keys()) {
        if (!before.contains(path)) {
            QFile::remove(path);
        }
    }
    for (const char* sub : {"immagini", "suoni", "layout"}) {
        QDir(folder).mkpath(QLatin1String(sub));
    }
}
} // namespace

// Any file as a board (.obf) or a board set (.obz) imported into a data
// folder: a refused import leaves the folder exactly as it was; an accepted
// one adds only files of its own and layouts the table opens without a word.
MIRELVA_FUZZ_TARGET(obf) {
    // An import costs most of a second per layout of 21 keys under the sanitizers: a board
    // of more buttons than one layout holds is slow, not faulty, so inputs naming more ids are left out.
    if (data.count("\"id\"") > 22) {
        return;
    }
    StartQt();
    static const QString folder = PrepareDataFolder();
    static const QMap<QString, qint64> before = Listing(folder);
    const QString input = FuzzScratchFolder() + (data.startsWith("PK") ? QStringLiteral("/input.obz")
                                                                       : QStringLiteral("/input.obf"));
    WriteFuzzFile(input, data);
    const Result<ObfReport> imported = ObfImporter(folder).Import(input);
    QFile::remove(input);
    const QMap<QString, qint64> after = Listing(folder);
    if (!imported) {
        FUZZ_CHECK(!imported.failure().message().isEmpty(), QStringLiteral("refused without a reason"));
        FUZZ_CHECK(after == before, QStringLiteral("a refused import changed the data folder: %1")
                                        .arg(QStringList(after.keys()).join(QLatin1Char(' '))));
        return;
    }
    const ObfReport& report = imported.value();
    FUZZ_CHECK(!report.layouts().isEmpty(), QStringLiteral("imported without a layout"));
    for (auto it = before.begin(); it != before.end(); ++it) {
        FUZZ_CHECK(after.value(it.key(), -1) == it.value(), QStringLiteral("import changed ") + it.key());
    }
    for (const QString& path : after.keys()) {
        FUZZ_CHECK(!QFileInfo(path).fileName().startsWith(QLatin1Char('.')),
                   QStringLiteral("temporary file left: ") + path);
    }
    for (const QString& layout : report.layouts()) {
        FUZZ_CHECK(layout.startsWith(folder + QStringLiteral("/layout/")) && after.contains(layout),
                   QStringLiteral("layout not made in the data folder: ") + layout);
        WriteFuzzFile(folder + QStringLiteral("/cfg.ini"),
                      QByteArray("[KeyProgram]\r\nFile=") + layout.toUtf8() + "\r\n");
        ResetSharedIni();
        CountingMessages messages;
        LayoutData loaded;
        const bool refused = LayoutReader(folder, messages, loaded).ReadLayout();
        FUZZ_CHECK(!refused && messages.shown == 0,
                   QStringLiteral("the table refuses %1 (%2 messages)").arg(layout).arg(messages.shown));
    }
    WriteFuzzFile(folder + QStringLiteral("/cfg.ini"), QByteArray("[KeyProgram]\r\nFile=\r\n"));
    ResetSharedIni();
    Restore(folder, before);
}
