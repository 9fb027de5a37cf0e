#include "editor/LayoutWriter.h"

#include "config/CINIFile.h"
#include "config/DurableFile.h"
#include "config/FileExists.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <optional>

namespace {
const QString Marker = QStringLiteral("<$$-COMUNICATORE-$$>");

struct SectionShape {
    QString name;
    int keys;
};

// The sections of a saved layout, in the order they stand in the file.
const std::array<SectionShape, 9>& Shapes() {
    static const std::array<SectionShape, 9> shapes{{
        {QStringLiteral("KeyProgram"), 1},
        {QStringLiteral("Impostazioni"), 4},
        {QStringLiteral("Input Obbligato"), 1},
        {QStringLiteral("Sequenza"), LayoutContent::MaxKeys},
        {QStringLiteral("Bonus"), 1},
        {QStringLiteral("Sezione Immagini"), LayoutContent::MaxKeys},
        {QStringLiteral("Sezione Sonoro"), LayoutContent::MaxKeys},
        {QStringLiteral("Sezione Testo"), LayoutContent::MaxKeys},
        {QStringLiteral("Tasti Funzione"), LayoutContent::FunctionKeys},
    }};
    return shapes;
}

template <std::size_t N>
void WriteNumbered(CINIFile& ini, const QString& prefix, const std::array<QString, N>& values) {
    for (std::size_t n = 0; n < N; ++n) {
        ini.SetValues(prefix + QString::number(n + 1), values[n]);
    }
}

// A file without any write permission is left alone, also by a user who
// could override it: that is how the INI engine treats it too.
bool WriteProtected(const QFileInfo& info) {
    return !info.isWritable() || !(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                                                         QFileDevice::WriteOther));
}

// cfg.ini is rewritten by the INI engine, which cannot report a failure; a
// cfg.ini that could not be written is found here, before the layout is touched.
bool ConfigWritable(const QString& configPath) {
    const QFileInfo info(configPath);
    if (!info.exists()) {
        return QFileInfo(info.absolutePath()).isDir();
    }
    return info.isFile() && !WriteProtected(info);
}

// The file a save replaces: the existing name in any letter case, the file
// a link points to; nothing when that is not a file that may be replaced.
std::optional<QString> SaveTarget(const QString& layoutPath) {
    QString target = ResolveFileCase(layoutPath);
    QFileInfo info(target);
    if (info.isSymLink() && info.exists()) {
        target = info.canonicalFilePath();
        info = QFileInfo(target);
    }
    if (info.exists() && (!info.isFile() || WriteProtected(info))) {
        return std::nullopt;
    }
    return target;
}

// A new, empty file in the layout's folder, or nothing when the folder
// cannot take one.
std::optional<QString> CreateTemporary(const QString& target) {
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) {
        return std::nullopt;
    }
    file.close();
    return file.fileName();
}

// A new layout gets the permissions of an ordinary new file, a replaced one
// keeps its own.
void GivePermissions(const QString& temporary, const QString& target) {
    const QFileInfo info(target);
    QFile::setPermissions(temporary, info.isFile() ? info.permissions()
                                                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                         QFileDevice::ReadUser | QFileDevice::WriteUser |
                                                         QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

} // namespace

bool LayoutWriter::WriteSections(CINIFile& ini, const LayoutContent& content) {
    bool rowsAdded = true;
    const auto section = [&ini](const QString& name) { ini.AddSection(name, true); };
    const auto emptyLine = [&ini, &rowsAdded]() { rowsAdded = ini.InsertRow() == 1 && rowsAdded; };

    section(QStringLiteral("KeyProgram"));
    ini.SetValues(QStringLiteral("Key"), Marker);
    emptyLine();
    section(QStringLiteral("Impostazioni"));
    ini.SetValues(QStringLiteral("Tasti"), static_cast<int>(content.KeyCount));
    ini.SetValues(QStringLiteral("IsSezione1"), static_cast<int>(content.Section1On));
    ini.SetValues(QStringLiteral("IsSezione2"), static_cast<int>(content.Section2On));
    ini.SetValues(QStringLiteral("IsSezione3"), static_cast<int>(content.Section3On));
    emptyLine();
    section(QStringLiteral("Input Obbligato"));
    ini.SetValues(QStringLiteral("IsInput"), static_cast<int>(content.ForcedInput));
    emptyLine();
    section(QStringLiteral("Sequenza"));
    WriteNumbered(ini, QStringLiteral("SequenzaInput"), content.Sequence);
    emptyLine();
    section(QStringLiteral("Bonus"));
    ini.SetValues(QStringLiteral("File1"), content.Bonus);
    emptyLine();
    section(QStringLiteral("Sezione Immagini"));
    WriteNumbered(ini, QStringLiteral("Immagine"), content.Pictures);
    emptyLine();
    section(QStringLiteral("Sezione Sonoro"));
    WriteNumbered(ini, QStringLiteral("Sonoro"), content.Sounds);
    emptyLine();
    section(QStringLiteral("Sezione Testo"));
    WriteNumbered(ini, QStringLiteral("Testo"), content.Texts);
    emptyLine();
    section(QStringLiteral("Tasti Funzione"));
    WriteNumbered(ini, QStringLiteral("F"), content.FunctionKeyLayouts);
    return rowsAdded;
}

bool LayoutWriter::HasAllSections(CINIFile& ini) {
    std::optional<QStringList> names;
    if (ini.EnumSections(names) != static_cast<qint16>(Shapes().size())) {
        return false;
    }
    for (const SectionShape& shape : Shapes()) {
        ini.SetSection(shape.name);
        std::optional<QStringList> keys;
        if (ini.EnumSectionKeys(keys) != shape.keys) {
            return false;
        }
    }
    ini.SetSection(QStringLiteral("KeyProgram"));
    return ini.Values(QStringLiteral("Key")) == Marker;
}

LayoutWriter::Outcome LayoutWriter::Save(const LayoutContent& content, const QString& layoutPath,
                                         const QString& configPath) {
    const QString config = ResolveFileCase(configPath);
    if (!ConfigWritable(config)) {
        return Outcome::ConfigNotWritable;
    }
    const std::optional<QString> target = SaveTarget(layoutPath);
    if (target) {
        DurableFile::RemoveStaleTemporaries(*target);
    }
    const std::optional<QString> temporary = target ? CreateTemporary(*target) : std::nullopt;
    if (!temporary) {
        return Outcome::LayoutNotWritten;
    }
    CINIFile& ini = SharedIni();
    ini.SetFile(*temporary);
    const bool written = WriteSections(ini, content) && HasAllSections(ini);
    GivePermissions(*temporary, *target);
    if (!written || DurableFile::Replace(*temporary, *target) != 0) {
        QFile::remove(*temporary);
        return Outcome::LayoutNotWritten;
    }

    ini.SetFile(config);
    ini.AddSection(QStringLiteral("KeyProgram"), true);
    ini.SetValues(QStringLiteral("File"), layoutPath);
    if (ini.Values(QStringLiteral("File")) != layoutPath) {
        return Outcome::ConfigNotUpdated;
    }
    return Outcome::Saved;
}
