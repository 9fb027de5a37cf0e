#include "obf/ObfImporter.h"

#include "config/Windows1252.h"
#include "obf/IImportProgress.h"
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

} // namespace

ObfImporter::ObfImporter(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

ObfImporter::~ObfImporter() = default;

Result<ObfReport> ObfImporter::Import(const QString& file, IImportProgress* progress) {
    m_progress = progress;
    m_staging = std::make_unique<ObfStaging>();
    m_zip.reset();
    m_boards.clear();
    m_boardByPath.clear();
    m_unreadable.clear();
    m_skipped.clear();
    m_media.clear();
    m_labels.clear();
    m_silence.clear();
    m_fatal = Outcome::Done();
    m_cancelled = false;
    m_boardsDone = m_picturesDone = m_pictures = 0;
    const auto refuse = [&](const Outcome& why) {
        m_staging.reset();
        return Outcome::Failed(
            QStringLiteral("Impossibile importare «%1»:\n%2.\nNessun file è stato scritto.")
                .arg(QFileInfo(file).fileName(), why.message()),
            file + QStringLiteral(": ") + (why.detail().isEmpty() ? why.message() : why.detail()));
    };
    if (const Outcome loaded = LoadSet(file); !loaded) {
        return refuse(loaded);
    }
    DropEmptyBoards();
    if (m_boards.isEmpty()) {
        return refuse(Outcome::Failed(
            m_skipped.size() == 1
                ? m_skipped.first().detail
                : QStringLiteral("nessuna delle sue %1 tabelle ha tasti da mostrare").arg(m_skipped.size()),
            QStringLiteral("no board with keys among %1").arg(m_skipped.size())));
    }
    PlanLayouts();
    const bool converted = ConvertMedia();
    ObfReport made;
    for (const ObfReport::Entry& skipped : std::as_const(m_skipped)) {
        made.add(skipped.issue, skipped.board, skipped.detail);
    }
    bool written = converted;
    for (int b = 0; written && !m_cancelled && b < m_boards.size(); ++b) {
        written = WriteBoard(m_boards[b], made);
        ++m_boardsDone;
        if (written && m_progress != nullptr) {
            m_progress->boardDone(BoardTitle(m_boards[b]), int(m_boards[b].layouts.size()));
        }
        Advance();
    }
    if (m_cancelled) {
        m_staging.reset();
        return Outcome::Failed(QStringLiteral("Importazione di «%1» annullata.\nNessun file è stato scritto.")
                                   .arg(QFileInfo(file).fileName()),
                               file + QStringLiteral(": cancelled"));
    }
    const Outcome unwritable = Outcome::Failed(QStringLiteral("la cartella dei dati non è scrivibile"),
                                               QStringLiteral("cannot stage in ") + m_dataFolder);
    if (!written) {
        return refuse(m_fatal.ok() ? unwritable : m_fatal);
    }
    Outcome finished = WriteReport(made);
    if (finished) {
        finished = m_staging->commit();
    }
    if (!finished) {
        return refuse(finished);
    }
    return made;
}

void ObfImporter::Advance() {
    if (m_progress == nullptr) {
        return;
    }
    m_progress->advanced(m_boardsDone, int(m_boards.size()), m_picturesDone, m_pictures);
    m_cancelled = m_cancelled || m_progress->cancelled();
}

Outcome ObfImporter::LoadSet(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile()) {
        return Outcome::Failed(QStringLiteral("il file non esiste o non è un file"),
                               info.exists() ? QStringLiteral("not a regular file")
                                             : QStringLiteral("no such file"));
    }
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        return Outcome::Failed(QStringLiteral("il file non si può leggere"), source.errorString());
    }
    const bool zip =
        source.peek(2) == "PK" || info.suffix().compare(QLatin1String("obz"), Qt::CaseInsensitive) == 0;
    if (!zip) {
        if (info.size() > MaxBoardFileBytes) {
            return Outcome::Failed(
                QStringLiteral("il file è troppo grande per essere una tabella"),
                QStringLiteral("%1 bytes, at most %2").arg(info.size()).arg(MaxBoardFileBytes));
        }
        const Result<ObfBoard> board = ObfBoard::Parse(source.readAll());
        if (!board) {
            return board.failure();
        }
        m_boards << Board{*board, QString(), {}, {}, {}, {}, false};
        return LoadLinked();
    }
    source.close();
    m_zip = std::make_unique<ZipArchive>();
    if (const Outcome opened = m_zip->open(file); !opened) {
        return opened;
    }
    const Result<std::optional<QByteArray>> manifestBytes = m_zip->read(QStringLiteral("manifest.json"));
    if (!manifestBytes) {
        return manifestBytes.failure();
    }
    if (!*manifestBytes) {
        return Outcome::Failed(QStringLiteral("l'archivio non contiene «manifest.json»"),
                               QStringLiteral("ZIP: no manifest.json"));
    }
    QJsonParseError parseError;
    const QJsonDocument manifest = QJsonDocument::fromJson(**manifestBytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !manifest.isObject()) {
        return Outcome::Failed(
            QStringLiteral("«manifest.json» non è JSON valido (%1)").arg(parseError.errorString()),
            QStringLiteral("manifest.json: JSON error %1 at byte %2")
                .arg(int(parseError.error))
                .arg(parseError.offset));
    }
    const QString root = manifest.object().value(QLatin1String("root")).toString();
    if (root.isEmpty()) {
        return Outcome::Failed(QStringLiteral("«manifest.json» non indica la tabella principale"),
                               QStringLiteral("manifest.json: no root"));
    }
    if (const Outcome loaded = LoadBoard(root); !loaded) {
        return loaded;
    }
    if (const Outcome linked = LoadLinked(); !linked) {
        return linked;
    }
    // Boards of the set that no link reaches still belong to it.
    const QJsonObject boards =
        manifest.object().value(QLatin1String("paths")).toObject().value(QLatin1String("boards")).toObject();
    for (auto it = boards.begin(); it != boards.end(); ++it) {
        const std::optional<QString> path = ZipArchive::CleanName(it.value().toString());
        if (path && !m_boardByPath.contains(*path)) {
            if (const Outcome loaded = LoadBoard(*path); !loaded) {
                return loaded;
            }
        }
    }
    return LoadLinked();
}

// Fails only for a fault of the whole archive; a board that is missing or
// does not read is noted to be reported, and the set goes on without it.
Outcome ObfImporter::LoadBoard(const QString& path) {
    const std::optional<QString> clean = ZipArchive::CleanName(path);
    if (!clean) {
        return ZipArchive::UnsafeName(path);
    }
    if (m_unreadable.contains(*clean)) {
        return Outcome::Done();
    }
    const Result<std::optional<QByteArray>> bytes = m_zip->read(*clean);
    if (!bytes) {
        return bytes.failure();
    }
    if (!*bytes) {
        m_unreadable.insert(*clean);
        return Outcome::Done();
    }
    const Result<ObfBoard> board = ObfBoard::Parse(**bytes);
    if (!board) {
        m_unreadable.insert(*clean);
        m_skipped << ObfReport::Entry{
            ObfReport::Issue::SkippedBoard, *clean,
            QStringLiteral("non si può leggere: %1").arg(board.failure().message())};
        return Outcome::Done();
    }
    m_boardByPath.insert(*clean, int(m_boards.size()));
    m_boards << Board{*board, *clean, {}, {}, {}, {}, false};
    return Outcome::Done();
}

// Reads the boards the loaded ones link to, and sorts each board's buttons
// into keys and function-key links.
Outcome ObfImporter::LoadLinked() {
    for (int i = 0; i < m_boards.size(); ++i) {
        if (!m_boards[i].keys.isEmpty() || !m_boards[i].links.isEmpty()) {
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
        for (const ObfButton& link : std::as_const(links)) {
            const std::optional<QString> path =
                m_zip && !link.linkPath.isEmpty() ? ZipArchive::CleanName(link.linkPath) : std::nullopt;
            if (m_zip && !link.linkPath.isEmpty() && !path) {
                return ZipArchive::UnsafeName(link.linkPath);
            }
            // A board missing from the set leaves its link unresolved, to be reported.
            if (path && !m_boardByPath.contains(*path)) {
                if (const Outcome loaded = LoadBoard(*path); !loaded) {
                    return loaded;
                }
            }
            // A board this program exported names its function keys itself: its
            // link keys stay keys only (-1).
            const bool own = m_boards[i].board.functionKeysComplete && link.functionKey <= 0;
            m_boards[i].links << Link{own ? -1 : link.functionKey, path.value_or(QString()), link.linkName};
        }
    }
    return Outcome::Done();
}

// A board with nothing to show (a dashboard, a toolbar, every button
// hidden) is left out; links to it count as links to a board not in the set.
void ObfImporter::DropEmptyBoards() {
    QList<Board> kept;
    m_boardByPath.clear();
    for (Board& board : m_boards) {
        if (board.keys.isEmpty()) {
            m_skipped << ObfReport::Entry{
                ObfReport::Issue::SkippedBoard, BoardTitle(board),
                QStringLiteral("la tabella «%1» non ha tasti").arg(BoardTitle(board))};
            continue;
        }
        if (!board.path.isEmpty()) {
            m_boardByPath.insert(board.path, int(kept.size()));
        }
        kept << std::move(board);
    }
    m_boards = std::move(kept);
    for (Board& board : m_boards) {
        for (const Link& link : std::as_const(board.links)) {
            const auto target = m_boardByPath.constFind(link.path);
            if (target != m_boardByPath.constEnd() && *target != 0 && link.functionKey <= 0 &&
                !m_boards[*target].board.functionKeysComplete) {
                m_boards[*target].linkedTo = true;
            }
        }
    }
}

// A board reached by a link ends with a key back; a board too large for one
// table is split into parts, each but the last ending with a key to the next.
void ObfImporter::PlanLayouts() {
    const QString folder = m_dataFolder + QStringLiteral("/layout");
    for (Board& board : m_boards) {
        const bool own = board.board.functionKeysComplete;
        const int total = int(board.keys.size());
        for (int first = 0; first < total;) {
            Page page;
            page.first = first;
            page.back = !own && (board.linkedTo || !board.pages.isEmpty());
            const int room = LayoutContent::MaxKeys - (page.back ? 1 : 0);
            page.next = total - first > room;
            page.count = std::min(total - first, room - (page.next && !own ? 1 : 0));
            page.next = page.next && !own;
            board.pages << page;
            first += page.count;
        }
        const QString base = SafeBaseName(BoardTitle(board));
        for (int page = 1; page <= board.pages.size(); ++page) {
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
