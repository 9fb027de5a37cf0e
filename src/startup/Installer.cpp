#include "startup/Installer.h"

#include "config/ConfigFile.h"
#include "config/DurableFile.h"
#include "config/FileExists.h"
#include "config/LayoutFile.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"
#include "platform/RegularFile.h"
#include "platform/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>

#include <array>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {
// The sixteen default keys: the picture's name (lower case on disk, with a
// capital in the layouts) and the key's text.
const std::array<const char*, 16> KeyNames = {
    "Arancia", "Banana",  "Befana",  "Casa", "Contadino", "Elicottero", "Gallo",   "Lettera",
    "Mela",    "Missile", "Pallone", "Pera", "Postino",   "Sedia",      "Tamburo", "Torta"};
// The key count of each default layout lay1.ini to lay12.ini.
const std::array<int, 12> DefaultKeyCounts = {1, 2, 3, 4, 6, 8, 9, 10, 12, 14, 15, 16};
constexpr int FirstResource = 111;
constexpr int ApplauseResource = 127;
// Backups of edited default layouts: layN.ini.bak, then .bak2 up to this.
constexpr int MaxBackups = 99;

// The content of a file a default layout may replace; nothing for one that
// cannot be read whole, which then counts as a user's edit never to be lost.
std::optional<QByteArray> ReadAll(const QString& path) {
    return ReadRegularFile(path, 64 * 1024 * 1024);
}
} // namespace

Installer::Installer(QString programFolder) : m_programFolder(std::move(programFolder)) {}

Outcome Installer::Install() {
    const WaitCursor hourglass;
    ConfigFile::Remove(m_programFolder);
    for (const char* folder : {"immagini", "suoni", "layout"}) {
        QDir().mkpath(m_programFolder + QLatin1Char('/') + QLatin1String(folder));
    }
    if (const Outcome written = WriteResources(); !written) {
        return written;
    }
    WriteDefaultLayouts();
    return WriteConfiguration();
}

Outcome Installer::WriteResources() {
    for (int i = 1; i <= static_cast<int>(KeyNames.size()); ++i) {
        const int number = FirstResource + i - 1;
        const QString sound = QStringLiteral(":/R1_AUDIO/%1.wav").arg(number);
        const QString picture = QStringLiteral(":/R2_PICTURE/%1.gif").arg(number);
        const QString pictureName = QString::fromLatin1(KeyNames[i - 1]).toLower();
        if (const Outcome written =
                WriteResource(sound, m_programFolder + QStringLiteral("/suoni/%1.wav").arg(i));
            !written) {
            return written;
        }
        if (const Outcome written =
                WriteResource(picture, m_programFolder + QStringLiteral("/immagini/") + pictureName + ".gif");
            !written) {
            return written;
        }
    }
    return WriteResource(QStringLiteral(":/R1_AUDIO/%1.wav").arg(ApplauseResource),
                         m_programFolder + QStringLiteral("/suoni/applauso.wav"));
}

// The file ends up holding exactly the resource's bytes, also where a longer
// file was; it is replaced whole, so a failed write leaves the old one.
Outcome Installer::WriteResource(const QString& resource, const QString& target) {
    QFile in(resource);
    if (!in.open(QIODevice::ReadOnly)) {
        return Outcome::Failed(
            QStringLiteral("Installazione non riuscita: la risorsa %1 manca nel programma.").arg(resource),
            resource + QStringLiteral(": not built in"));
    }
    if (const int failure = DurableFile::Write(target, in.readAll())) {
        return Outcome::Failed(
            QStringLiteral("Installazione non riuscita: impossibile scrivere il file %1 (%2).")
                .arg(target, DurableFile::ErrorText(failure)),
            DurableFile::Detail(target, failure));
    }
    return Outcome::Done();
}

void Installer::WriteDefaultLayouts() {
    for (int n = 1; n <= static_cast<int>(DefaultKeyCounts.size()); ++n) {
        const QString path = ResolveFileCase(m_programFolder + QStringLiteral("/layout/lay%1.ini").arg(n));
        const QByteArray content = DefaultLayout(n);
        if (!KeepUserEdits(path, content)) {
            continue;
        }
        DurableFile::Write(path, content);
    }
}

// True when the layout may be overwritten: it is missing, already holds the
// default content, or its content is safe in a backup beside it.
bool Installer::KeepUserEdits(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return true;
    }
    if (!info.isFile()) {
        return false;
    }
    const std::optional<QByteArray> existing = ReadAll(path);
    if (!existing) {
        return false;
    }
    if (*existing == content) {
        return true;
    }
    for (int k = 1; k <= MaxBackups; ++k) {
        const QString backup = path + QStringLiteral(".bak") + (k > 1 ? QString::number(k) : QString());
        const QFileInfo backupInfo(backup);
        if (!backupInfo.exists() && !backupInfo.isSymLink()) {
            return QFile::copy(path, backup);
        }
        if (backupInfo.isFile() && ReadAll(backup) == *existing) {
            return true;
        }
    }
    return false;
}

Outcome Installer::WriteConfiguration() {
    if (!ConfigFile::WriteInstalled(m_programFolder, m_programFolder + QStringLiteral("/layout/lay1.ini"))) {
        return Outcome::Failed(QStringLiteral("Installazione non riuscita: impossibile scrivere il file %1.")
                                   .arg(ConfigFile::Path(m_programFolder)),
                               ConfigFile::Path(m_programFolder) + QStringLiteral(": not written"));
    }
    return Outcome::Done();
}

QByteArray Installer::DefaultLayout(int n) const {
    const int keys = DefaultKeyCounts.at(n - 1);
    LayoutContent content;
    content.KeyCount = static_cast<qint16>(keys);
    content.Section2On = 1;
    content.Section3On = 1;
    for (int i = 1; i <= keys; ++i) {
        content.Pictures[i - 1] = m_programFolder + QStringLiteral("/immagini/") + KeyNames[i - 1] + ".gif";
        content.Sounds[i - 1] = m_programFolder + QStringLiteral("/suoni/%1.wav").arg(i);
        // The eight-key layout leaves the texts of its last two keys empty.
        if (!(n == 6 && i >= 7)) {
            content.Texts[i - 1] = QString::fromLatin1(KeyNames[i - 1]);
        }
    }
    for (int f = 1; f <= LayoutContent::FunctionKeys; ++f) {
        content.FunctionKeyLayouts[f - 1] = m_programFolder + QStringLiteral("/layout/lay%1.ini").arg(f);
    }
    return LayoutFile::Encode(content, LayoutFile::Style::Installer);
}

void ReportInstallationFailure(IMessages& messages, const Outcome& failure) {
    Log::Failure(lcFiles, failure);
    messages.showMessage(failure.message(), MsgIcon::Exclamation, AppInfo::Title);
}

bool RepairConfiguration(const QString& programFolder, IMessages& messages) {
    const Outcome installed = Installer(programFolder).Install();
    if (installed) {
        return true;
    }
    ReportInstallationFailure(messages, installed);
    QCoreApplication::exit(EXIT_FAILURE);
    return false;
}
