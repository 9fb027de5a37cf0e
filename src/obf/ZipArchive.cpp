#include "obf/ZipArchive.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

#include <algorithm>

namespace {
enum class Fault { NotAZip, TooManyEntries, UnsafeName, TooLarge, Damaged };

// What the fault means, in Italian, for a message about the whole file;
// the fault and the entry for the log.
Outcome Failure(Fault fault, const QString& entry = QString()) {
    QString text;
    const char* name = "";
    switch (fault) {
    case Fault::TooLarge:
        text = QStringLiteral("contiene un elemento troppo grande (oltre 64 MB): potrebbe essere un file "
                              "costruito per riempire il disco");
        name = "entry too large";
        break;
    case Fault::UnsafeName:
        text = QStringLiteral("nomina un file fuori dall'archivio (percorso assoluto o con «..»)");
        name = "unsafe name";
        break;
    case Fault::TooManyEntries:
        text = QStringLiteral("contiene più di %1 file").arg(ZipArchive::MaxEntries);
        name = "too many entries";
        break;
    case Fault::Damaged:
        text = QStringLiteral("l'archivio ZIP è danneggiato");
        name = "damaged entry";
        break;
    case Fault::NotAZip:
        text = QStringLiteral("non è un archivio ZIP valido");
        name = "not a ZIP";
        break;
    }
    return Outcome::Failed(text, QStringLiteral("ZIP: %1%2")
                                     .arg(QLatin1String(name),
                                          entry.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(entry)));
}
} // namespace

ZipArchive::~ZipArchive() {
    if (m_zip != nullptr) {
        zip_discard(m_zip);
    }
}

Outcome ZipArchive::open(const QString& path) {
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (m_zip == nullptr) {
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    }
    if (m_zip == nullptr) {
        return Failure(Fault::NotAZip, QStringLiteral("libzip error %1").arg(error));
    }
    if (zip_get_num_entries(m_zip, 0) > MaxEntries) {
        return Failure(Fault::TooManyEntries);
    }
    return Outcome::Done();
}

std::optional<QString> ZipArchive::CleanName(const QString& name) {
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1Char('/')) || (path.size() > 1 && path.at(1) == QLatin1Char(':'))) {
        return std::nullopt;
    }
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            return std::nullopt;
        }
        if (part != QLatin1String(".")) {
            parts << part;
        }
    }
    if (parts.isEmpty()) {
        return std::nullopt;
    }
    return parts.join(QLatin1Char('/'));
}

Result<std::optional<QByteArray>> ZipArchive::read(const QString& name) {
    const std::optional<QString> clean = CleanName(name);
    if (!clean) {
        return UnsafeName(name);
    }
    const QByteArray utf8 = clean->toUtf8();
    zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), 0);
    if (index < 0) {
        index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    }
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0) {
        return std::optional<QByteArray>();
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(MaxEntryBytes)) {
        return Failure(Fault::TooLarge, *clean);
    }
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (file == nullptr) {
        return Failure(Fault::Damaged, *clean);
    }
    // The declared size may lie: read at most one byte past the limit.
    QByteArray bytes;
    bytes.resize(qsizetype((stat.valid & ZIP_STAT_SIZE) ? stat.size : 0) + 1);
    qint64 total = 0;
    while (true) {
        if (total == bytes.size()) {
            if (total > MaxEntryBytes) {
                break;
            }
            bytes.resize(qsizetype(std::min<qint64>(total * 2 + 4096, MaxEntryBytes + 1)));
        }
        const zip_int64_t got = zip_fread(file, bytes.data() + total, zip_uint64_t(bytes.size() - total));
        if (got < 0) {
            zip_fclose(file);
            return Failure(Fault::Damaged, *clean);
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    zip_fclose(file);
    if (total > MaxEntryBytes) {
        return Failure(Fault::TooLarge, *clean);
    }
    bytes.resize(qsizetype(total));
    return std::optional<QByteArray>(std::move(bytes));
}

Outcome ZipArchive::UnsafeName(const QString& name) {
    return Failure(Fault::UnsafeName, name);
}
