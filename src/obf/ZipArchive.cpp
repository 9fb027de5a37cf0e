#include "obf/ZipArchive.h"

#include <QFile>
#include <QStringList>

#include <zip.h>

#include <algorithm>

ZipArchive::~ZipArchive() {
    if (m_zip != nullptr) {
        zip_discard(m_zip);
    }
}

bool ZipArchive::open(const QString& path) {
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (m_zip == nullptr) {
        m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    }
    if (m_zip == nullptr) {
        m_fault = Fault::NotAZip;
        return false;
    }
    if (zip_get_num_entries(m_zip, 0) > MaxEntries) {
        m_fault = Fault::TooManyEntries;
        return false;
    }
    return true;
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

std::optional<QByteArray> ZipArchive::read(const QString& name) {
    m_fault = Fault::None;
    const std::optional<QString> clean = CleanName(name);
    if (!clean) {
        m_fault = Fault::UnsafeName;
        return std::nullopt;
    }
    const QByteArray utf8 = clean->toUtf8();
    zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), 0);
    if (index < 0) {
        index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    }
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0) {
        m_fault = Fault::MissingEntry;
        return std::nullopt;
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(MaxEntryBytes)) {
        m_fault = Fault::TooLarge;
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (file == nullptr) {
        m_fault = Fault::Damaged;
        return std::nullopt;
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
            m_fault = Fault::Damaged;
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    zip_fclose(file);
    if (total > MaxEntryBytes) {
        m_fault = Fault::TooLarge;
        return std::nullopt;
    }
    bytes.resize(qsizetype(total));
    return bytes;
}

QString ZipArchive::FaultText(Fault fault) {
    switch (fault) {
    case ZipArchive::Fault::TooLarge:
        return QStringLiteral("contiene un elemento troppo grande (oltre 64 MB): potrebbe essere un file "
                              "costruito per riempire il disco");
    case ZipArchive::Fault::UnsafeName:
        return QStringLiteral("nomina un file fuori dall'archivio (percorso assoluto o con «..»)");
    case ZipArchive::Fault::TooManyEntries:
        return QStringLiteral("contiene più di %1 file").arg(ZipArchive::MaxEntries);
    case ZipArchive::Fault::Damaged:
        return QStringLiteral("l'archivio ZIP è danneggiato");
    case ZipArchive::Fault::NotAZip:
        return QStringLiteral("non è un archivio ZIP valido");
    case ZipArchive::Fault::MissingEntry:
    case ZipArchive::Fault::None:
        break;
    }
    return QStringLiteral("manca un file dell'archivio");
}

Outcome ZipArchive::Failure(Fault fault, const QString& entry) {
    static const char* const names[] = {"no fault",    "not a ZIP",       "too many entries", "missing entry",
                                        "unsafe name", "entry too large", "damaged entry"};
    return Outcome::Failed(FaultText(fault),
                           QStringLiteral("ZIP: %1%2")
                               .arg(QLatin1String(names[int(fault)]),
                                    entry.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(entry)));
}
