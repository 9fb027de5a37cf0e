#include "obf/ObfImporter.h"

#include "audio/WavWriter.h"
#include "config/Windows1252.h"
#include "config/LayoutFile.h"
#include "grid/TableShape.h"
#include "obf/ObfMedia.h"
#include "obf/ObfStaging.h"
#include "obf/ZipArchive.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>

#include <algorithm>
#include <array>
#include <vector>

namespace {
constexpr int MaxTextLength = 254;
constexpr int MaxBaseName = 40;
constexpr qint64 MaxBoardFileBytes = ZipArchive::MaxEntryBytes;

// A file name the layout files can record: Windows-1252 letters and a few signs.
QString SafeBaseName(const QString& name) {
    QString base;
    for (const QChar c : name.simplified()) {
        const bool kept = (c.isLetterOrNumber() || QStringLiteral(" -_'()").contains(c)) &&
                          Windows1252::Decode(Windows1252::Encode(QString(c))) == QString(c);
        base += kept ? c : QLatin1Char('_');
    }
    base = base.left(MaxBaseName).trimmed();
    return base.isEmpty() ? QStringLiteral("tabella") : base;
}

QString ZipFault(ZipArchive::Fault fault) {
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

bool Fail(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

QString KeyText(const ObfButton& button) {
    QString text = button.vocalization.trimmed().isEmpty() ? button.label : button.vocalization;
    return text.simplified().left(MaxTextLength);
}
} // namespace

ObfImporter::ObfImporter(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

ObfImporter::~ObfImporter() = default;

bool ObfImporter::Import(const QString& file, ObfReport& report, QString* error) {
    m_staging = std::make_unique<ObfStaging>();
    m_zip.reset();
    m_boards.clear();
    m_boardByPath.clear();
    m_written.clear();
    m_refused.clear();
    m_filler.clear();
    m_silence.clear();
    m_fatal.clear();
    QString reason;
    if (!LoadSet(file, &reason)) {
        return Fail(error, QStringLiteral("Impossibile importare «%1»:\n%2.\nNessun file è stato scritto.")
                               .arg(QFileInfo(file).fileName(), reason));
    }
    PlanLayouts();
    ObfReport made;
    for (const Board& board : std::as_const(m_boards)) {
        if (!WriteBoard(board, made)) {
            return Fail(error,
                        QStringLiteral("Impossibile importare «%1»:\n%2.\nNessun file è stato scritto.")
                            .arg(QFileInfo(file).fileName(),
                                 m_fatal.isEmpty() ? QStringLiteral("la cartella dei dati non è scrivibile")
                                                   : m_fatal));
        }
    }
    if (!m_staging->commit()) {
        return Fail(error,
                    QStringLiteral("Impossibile importare «%1»:\nla cartella dei dati non è scrivibile.\n"
                                   "Nessun file è stato scritto.")
                        .arg(QFileInfo(file).fileName()));
    }
    report = made;
    return true;
}

bool ObfImporter::LoadSet(const QString& file, QString* error) {
    const QFileInfo info(file);
    if (!info.isFile()) {
        return Fail(error, QStringLiteral("il file non esiste o non è un file"));
    }
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        return Fail(error, QStringLiteral("il file non si può leggere"));
    }
    const bool zip =
        source.peek(2) == "PK" || info.suffix().compare(QLatin1String("obz"), Qt::CaseInsensitive) == 0;
    if (!zip) {
        if (info.size() > MaxBoardFileBytes) {
            return Fail(error, QStringLiteral("il file è troppo grande per essere una tabella"));
        }
        const std::optional<ObfBoard> board = ObfBoard::Parse(source.readAll(), error);
        if (!board) {
            return false;
        }
        m_boards << Board{*board, QString(), {}, {}, {}};
        return LoadLinked(error);
    }
    source.close();
    m_zip = std::make_unique<ZipArchive>();
    if (!m_zip->open(file)) {
        return Fail(error, ZipFault(m_zip->fault()));
    }
    const std::optional<QByteArray> manifestBytes = m_zip->read(QStringLiteral("manifest.json"));
    if (!manifestBytes) {
        return Fail(error, m_zip->fault() == ZipArchive::Fault::MissingEntry
                               ? QStringLiteral("l'archivio non contiene «manifest.json»")
                               : ZipFault(m_zip->fault()));
    }
    QJsonParseError parseError;
    const QJsonDocument manifest = QJsonDocument::fromJson(*manifestBytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !manifest.isObject()) {
        return Fail(error,
                    QStringLiteral("«manifest.json» non è JSON valido (%1)").arg(parseError.errorString()));
    }
    const QString root = manifest.object().value(QLatin1String("root")).toString();
    if (root.isEmpty()) {
        return Fail(error, QStringLiteral("«manifest.json» non indica la tabella principale"));
    }
    if (!LoadBoard(root, error)) {
        return false;
    }
    if (!LoadLinked(error)) {
        return false;
    }
    // Boards of the set that no link reaches still belong to it.
    const QJsonObject boards =
        manifest.object().value(QLatin1String("paths")).toObject().value(QLatin1String("boards")).toObject();
    for (auto it = boards.begin(); it != boards.end(); ++it) {
        const std::optional<QString> path = ZipArchive::CleanName(it.value().toString());
        if (path && !m_boardByPath.contains(*path) && !LoadBoard(*path, error)) {
            return false;
        }
    }
    return LoadLinked(error);
}

bool ObfImporter::LoadBoard(const QString& path, QString* error) {
    const std::optional<QString> clean = ZipArchive::CleanName(path);
    if (!clean) {
        return Fail(error, ZipFault(ZipArchive::Fault::UnsafeName));
    }
    const std::optional<QByteArray> bytes = m_zip->read(*clean);
    if (!bytes) {
        return Fail(error, m_zip->fault() == ZipArchive::Fault::MissingEntry
                               ? QStringLiteral("l'archivio non contiene la tabella «%1»").arg(*clean)
                               : ZipFault(m_zip->fault()));
    }
    QString reason;
    const std::optional<ObfBoard> board = ObfBoard::Parse(*bytes, &reason);
    if (!board) {
        return Fail(error, QStringLiteral("la tabella «%1» non si può leggere: %2").arg(*clean, reason));
    }
    m_boardByPath.insert(*clean, int(m_boards.size()));
    m_boards << Board{*board, *clean, {}, {}, {}};
    return true;
}

// Reads the boards the loaded ones link to, and sorts each board's buttons
// into keys and function-key links.
bool ObfImporter::LoadLinked(QString* error) {
    for (int i = 0; i < m_boards.size(); ++i) {
        if (!m_boards[i].keys.isEmpty()) {
            continue;
        }
        QList<ObfButton> links;
        for (const ObfButton& button : m_boards[i].board.buttons) {
            if (button.link && button.functionKey > 0) {
                links << button;
            }
        }
        for (const ObfButton& button : m_boards[i].board.Ordered()) {
            if (button.functionKey <= 0) {
                m_boards[i].keys << button;
                if (button.link) {
                    links << button;
                }
            }
        }
        if (m_boards[i].keys.isEmpty()) {
            return Fail(error, QStringLiteral("la tabella «%1» non ha tasti").arg(BoardTitle(m_boards[i])));
        }
        for (const ObfButton& link : std::as_const(links)) {
            const std::optional<QString> path =
                m_zip && !link.linkPath.isEmpty() ? ZipArchive::CleanName(link.linkPath) : std::nullopt;
            if (m_zip && !link.linkPath.isEmpty() && !path) {
                return Fail(error, ZipFault(ZipArchive::Fault::UnsafeName));
            }
            // A board missing from the set leaves its link unresolved, to be reported.
            if (path && !m_boardByPath.contains(*path) && !LoadBoard(*path, error) &&
                m_zip->fault() != ZipArchive::Fault::MissingEntry) {
                return false;
            }
            m_boards[i].links << Link{link.functionKey, path.value_or(QString()), link.linkName};
        }
    }
    return true;
}

void ObfImporter::PlanLayouts() {
    const QString folder = m_dataFolder + QStringLiteral("/layout");
    for (Board& board : m_boards) {
        const QString base = SafeBaseName(BoardTitle(board));
        const int pages = int((board.keys.size() + LayoutContent::MaxKeys - 1) / LayoutContent::MaxKeys);
        for (int page = 1; page <= pages; ++page) {
            board.layouts << m_staging->reserve(
                folder, page == 1 ? base : QStringLiteral("%1 - %2").arg(base).arg(page),
                QStringLiteral("ini"));
        }
    }
}

QString ObfImporter::BoardTitle(const Board& board) const {
    if (!board.board.name.isEmpty()) {
        return board.board.name;
    }
    return board.board.id.isEmpty() ? QFileInfo(board.path).completeBaseName() : board.board.id;
}

bool ObfImporter::WriteBoard(const Board& board, ObfReport& report) {
    const QString title = BoardTitle(board);
    const int pages = int(board.layouts.size());
    if (pages > 1) {
        report.add(ObfReport::Issue::Split, title, QStringLiteral("%1 layout").arg(pages));
    }
    // Links first to the function keys they name, the others in order; a
    // board split over several layouts keeps F12 for the next of them.
    std::array<QString, LayoutContent::FunctionKeys> functionKeys;
    const int usable = pages > 1 ? LayoutContent::FunctionKeys - 1 : LayoutContent::FunctionKeys;
    QList<Link> links = board.links;
    std::stable_sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
        return (a.functionKey > 0 ? a.functionKey : 100) < (b.functionKey > 0 ? b.functionKey : 100);
    });
    for (const Link& link : std::as_const(links)) {
        const QString& path = link.path;
        const QString& name = link.name;
        const int wanted = link.functionKey;
        if (!m_boardByPath.contains(path)) {
            report.add(ObfReport::Issue::MissingLink, title, name.isEmpty() ? path : name);
            continue;
        }
        const QString target = m_boards[m_boardByPath.value(path)].layouts.first();
        if (std::find(functionKeys.begin(), functionKeys.end(), target) != functionKeys.end()) {
            continue;
        }
        int slot = wanted > 0 && wanted <= usable && functionKeys[wanted - 1].isEmpty() ? wanted - 1 : -1;
        for (int f = 0; slot < 0 && f < usable; ++f) {
            slot = functionKeys[f].isEmpty() ? f : -1;
        }
        if (slot < 0) {
            report.add(ObfReport::Issue::ExtraLink, title, name.isEmpty() ? path : name);
            continue;
        }
        functionKeys[slot] = target;
    }
    // The source programs always offer a way home; here the last free
    // function key of every other board leads back to the set's first one.
    // A set this program exported describes its function keys itself.
    const QString home = m_boards.first().layouts.first();
    if (&board != &m_boards.first() && !board.board.functionKeysComplete &&
        std::find(functionKeys.begin(), functionKeys.end(), home) == functionKeys.end()) {
        for (int f = usable - 1; f >= 0; --f) {
            if (functionKeys[f].isEmpty()) {
                functionKeys[f] = home;
                break;
            }
        }
    }
    for (int page = 0; page < pages; ++page) {
        const QString layout = board.layouts[page];
        const QString base = QFileInfo(layout).completeBaseName();
        const QList<ObfButton> keys = board.keys.mid(page * LayoutContent::MaxKeys, LayoutContent::MaxKeys);
        LayoutContent content;
        content.KeyCount = qint16(AllowedKeyCountFor(int(keys.size())));
        content.Section3On = 1;
        content.FunctionKeyLayouts = functionKeys;
        if (pages > 1) {
            content.FunctionKeyLayouts[LayoutContent::FunctionKeys - 1] = board.layouts[(page + 1) % pages];
        }
        for (int k = 0; k < keys.size(); ++k) {
            const ObfButton& button = keys[k];
            const QString text = KeyText(button);
            for (const QString& action : button.actions) {
                report.add(ObfReport::Issue::Action, title,
                           QStringLiteral("«%1» (%2)").arg(button.label, action));
            }
            content.Texts[k] = text;
            content.Pictures[k] = KeyPicture(board, button, base + QStringLiteral(" %1").arg(k + 1), report);
            content.Sounds[k] = KeySound(board, button, base + QStringLiteral(" %1").arg(k + 1), report);
            if (!m_fatal.isEmpty() || content.Pictures[k].isEmpty()) {
                return false;
            }
            content.Section2On = content.Sounds[k].isEmpty() ? content.Section2On : qint16(1);
        }
        for (int k = int(keys.size()); k < content.KeyCount; ++k) {
            content.Pictures[k] = FillerPicture();
        }
        // A layout that plays sounds needs one for every key.
        for (int k = 0; content.Section2On == 1 && k < content.KeyCount; ++k) {
            content.Sounds[k] = content.Sounds[k].isEmpty() ? SilentSound() : content.Sounds[k];
        }
        const auto missing = [&content](const auto& paths) {
            return std::any_of(paths.begin(), paths.begin() + content.KeyCount,
                               [](const QString& path) { return path.isEmpty(); });
        };
        const bool complete =
            !missing(content.Pictures) && (content.Section2On == 0 || !missing(content.Sounds));
        if (!complete || !m_staging->stage(layout, LayoutFile::Encode(content))) {
            return false;
        }
        report.addLayout(title, layout, int(keys.size()));
    }
    return true;
}

std::optional<QByteArray> ObfImporter::MediaBytes(const ObfMedia& media, QString* contentType,
                                                  QString* problem) {
    *contentType = media.contentType;
    if (!media.data.isEmpty()) {
        QString named;
        std::optional<QByteArray> bytes = DecodeDataUri(media.data, &named);
        if (!bytes) {
            *problem = QStringLiteral("dati base64 non validi");
            return std::nullopt;
        }
        *contentType = contentType->isEmpty() ? named : *contentType;
        return bytes;
    }
    if (!media.path.isEmpty()) {
        if (!m_zip) {
            *problem = QStringLiteral("file esterno «%1» non incluso").arg(media.path);
            return std::nullopt;
        }
        std::optional<QByteArray> bytes = m_zip->read(media.path);
        if (!bytes && m_zip->fault() != ZipArchive::Fault::MissingEntry) {
            m_fatal = ZipFault(m_zip->fault());
        }
        if (!bytes) {
            *problem = QStringLiteral("«%1» manca nell'archivio").arg(media.path);
        }
        return bytes;
    }
    *problem = media.url.isEmpty()
                   ? (media.symbol ? QStringLiteral("simbolo") : QStringLiteral("nessun dato"))
                   : media.url;
    return std::nullopt;
}

QString ObfImporter::KeyPicture(const Board& board, const ObfButton& button, const QString& name,
                                ObfReport& report) {
    const QString title = BoardTitle(board);
    const QString what = QStringLiteral("«%1»").arg(button.label);
    if (!button.imageId.isEmpty()) {
        const auto media = board.board.images.constFind(button.imageId);
        if (media == board.board.images.constEnd()) {
            report.add(ObfReport::Issue::BadPicture, title,
                       what + QStringLiteral(" (immagine non descritta)"));
        } else {
            const QString key = media->path.isEmpty() || !m_zip
                                    ? board.path + QLatin1Char('#') + media->id
                                    : ZipArchive::CleanName(media->path).value_or(media->path);
            if (m_written.contains(key)) {
                return m_written.value(key);
            }
            if (!m_refused.contains(key)) {
                QString type;
                QString problem;
                const std::optional<QByteArray> bytes = MediaBytes(*media, &type, &problem);
                const std::optional<ConvertedFile> picture =
                    bytes ? ConvertPicture(*bytes, type) : std::nullopt;
                if (picture) {
                    const QString path = m_staging->reserve(m_dataFolder + QStringLiteral("/immagini"), name,
                                                            picture->extension);
                    if (!m_staging->stage(path, picture->bytes)) {
                        return QString();
                    }
                    m_written.insert(key, path);
                    return path;
                }
                const ObfReport::Issue issue =
                    bytes || media->data.size() || media->path.size() ? ObfReport::Issue::BadPicture
                    : media->url.isEmpty() && media->symbol           ? ObfReport::Issue::SymbolPicture
                    : media->url.isEmpty()                            ? ObfReport::Issue::BadPicture
                                                                      : ObfReport::Issue::RemotePicture;
                m_refused.insert(key, Refusal{issue, problem});
            }
            ReportRefused(key, title, what, report);
        }
    }
    const QString path =
        m_staging->reserve(m_dataFolder + QStringLiteral("/immagini"), name, QStringLiteral("bmp"));
    return m_staging->stage(path, EncodeBmp(LabelPicture(button.label))) ? path : QString();
}

QString ObfImporter::KeySound(const Board& board, const ObfButton& button, const QString& name,
                              ObfReport& report) {
    if (button.soundId.isEmpty()) {
        return QString();
    }
    const QString title = BoardTitle(board);
    const QString what = QStringLiteral("«%1»").arg(button.label);
    const auto media = board.board.sounds.constFind(button.soundId);
    if (media == board.board.sounds.constEnd()) {
        report.add(ObfReport::Issue::BadSound, title, what + QStringLiteral(" (suono non descritto)"));
        return QString();
    }
    const QString key =
        QStringLiteral("sound:") + (media->path.isEmpty() || !m_zip
                                        ? board.path + QLatin1Char('#') + media->id
                                        : ZipArchive::CleanName(media->path).value_or(media->path));
    if (m_written.contains(key)) {
        return m_written.value(key);
    }
    std::optional<QByteArray> wav;
    if (!m_refused.contains(key)) {
        QString type;
        QString problem;
        const std::optional<QByteArray> bytes = MediaBytes(*media, &type, &problem);
        wav = bytes ? ConvertSound(*bytes) : std::nullopt;
        if (!wav) {
            const bool remote =
                !bytes && media->data.isEmpty() && media->path.isEmpty() && !media->url.isEmpty();
            m_refused.insert(
                key, Refusal{remote ? ObfReport::Issue::RemoteSound : ObfReport::Issue::BadSound, problem});
        }
    }
    if (!wav) {
        ReportRefused(key, title, what, report);
        return QString();
    }
    const QString path =
        m_staging->reserve(m_dataFolder + QStringLiteral("/suoni"), name, QStringLiteral("wav"));
    if (!m_staging->stage(path, *wav)) {
        m_fatal = QStringLiteral("la cartella dei suoni non è scrivibile");
        return QString();
    }
    m_written.insert(key, path);
    return path;
}

void ObfImporter::ReportRefused(const QString& key, const QString& title, const QString& what,
                                ObfReport& report) const {
    const Refusal refusal = m_refused.value(key);
    report.add(refusal.issue, title,
               what + (refusal.problem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(refusal.problem)));
}

QString ObfImporter::FillerPicture() {
    if (m_filler.isEmpty()) {
        const QString path = m_staging->reserve(
            m_dataFolder + QStringLiteral("/immagini"),
            QFileInfo(m_boards.first().layouts.first()).completeBaseName() + QStringLiteral(" vuoto"),
            QStringLiteral("bmp"));
        m_filler = m_staging->stage(path, EncodeBmp(LabelPicture(QString()))) ? path : QString();
    }
    return m_filler;
}

QString ObfImporter::SilentSound() {
    if (m_silence.isEmpty()) {
        constexpr int Rate = 22050;
        const std::vector<qint16> silence(Rate / 20, 0);
        const QString path = m_staging->reserve(
            m_dataFolder + QStringLiteral("/suoni"),
            QFileInfo(m_boards.first().layouts.first()).completeBaseName() + QStringLiteral(" silenzio"),
            QStringLiteral("wav"));
        m_silence = m_staging->stage(path, EncodeWav16(silence, 1, Rate)) ? path : QString();
    }
    return m_silence;
}
