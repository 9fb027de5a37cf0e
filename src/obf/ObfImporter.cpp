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

bool Fail(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

} // namespace

ObfImporter::ObfImporter(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

ObfImporter::~ObfImporter() = default;

bool ObfImporter::Import(const QString& file, ObfReport& report, QString* error, IImportProgress* progress) {
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
    m_fatal.clear();
    m_cancelled = false;
    m_boardsDone = m_picturesDone = m_pictures = 0;
    const auto refuse = [&](const QString& reason) {
        m_staging.reset();
        return Fail(error, QStringLiteral("Impossibile importare «%1»:\n%2.\nNessun file è stato scritto.")
                               .arg(QFileInfo(file).fileName(), reason));
    };
    QString reason;
    if (!LoadSet(file, &reason)) {
        return refuse(reason);
    }
    DropEmptyBoards();
    if (m_boards.isEmpty()) {
        return refuse(
            m_skipped.size() == 1
                ? m_skipped.first().detail
                : QStringLiteral("nessuna delle sue %1 tabelle ha tasti da mostrare").arg(m_skipped.size()));
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
        return Fail(error, QStringLiteral("Importazione di «%1» annullata.\nNessun file è stato scritto.")
                               .arg(QFileInfo(file).fileName()));
    }
    if (!written) {
        return refuse(m_fatal.isEmpty() ? QStringLiteral("la cartella dei dati non è scrivibile") : m_fatal);
    }
    if (!WriteReport(made) || !m_staging->commit()) {
        return refuse(QStringLiteral("la cartella dei dati non è scrivibile"));
    }
    report = made;
    return true;
}

void ObfImporter::Advance() {
    if (m_progress == nullptr) {
        return;
    }
    m_progress->advanced(m_boardsDone, int(m_boards.size()), m_picturesDone, m_pictures);
    m_cancelled = m_cancelled || m_progress->cancelled();
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
        m_boards << Board{*board, QString(), {}, {}, {}, {}, false};
        return LoadLinked(error);
    }
    source.close();
    m_zip = std::make_unique<ZipArchive>();
    if (!m_zip->open(file)) {
        return Fail(error, ZipArchive::FaultText(m_zip->fault()));
    }
    const std::optional<QByteArray> manifestBytes = m_zip->read(QStringLiteral("manifest.json"));
    if (!manifestBytes) {
        return Fail(error, m_zip->fault() == ZipArchive::Fault::MissingEntry
                               ? QStringLiteral("l'archivio non contiene «manifest.json»")
                               : ZipArchive::FaultText(m_zip->fault()));
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
    if (!LoadBoard(root, error) || !LoadLinked(error)) {
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

// False only for a fault of the whole archive; a board that is missing or
// does not read is noted to be reported, and the set goes on without it.
bool ObfImporter::LoadBoard(const QString& path, QString* error) {
    const std::optional<QString> clean = ZipArchive::CleanName(path);
    if (!clean) {
        return Fail(error, ZipArchive::FaultText(ZipArchive::Fault::UnsafeName));
    }
    if (m_unreadable.contains(*clean)) {
        return true;
    }
    const std::optional<QByteArray> bytes = m_zip->read(*clean);
    if (!bytes && m_zip->fault() != ZipArchive::Fault::MissingEntry) {
        return Fail(error, ZipArchive::FaultText(m_zip->fault()));
    }
    QString reason;
    const std::optional<ObfBoard> board = bytes ? ObfBoard::Parse(*bytes, &reason) : std::nullopt;
    if (!board) {
        m_unreadable.insert(*clean);
        if (bytes) {
            m_skipped << ObfReport::Entry{ObfReport::Issue::SkippedBoard, *clean,
                                          QStringLiteral("non si può leggere: %1").arg(reason)};
        }
        return true;
    }
    m_boardByPath.insert(*clean, int(m_boards.size()));
    m_boards << Board{*board, *clean, {}, {}, {}, {}, false};
    return true;
}

// Reads the boards the loaded ones link to, and sorts each board's buttons
// into keys and function-key links.
bool ObfImporter::LoadLinked(QString* error) {
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
                return Fail(error, ZipArchive::FaultText(ZipArchive::Fault::UnsafeName));
            }
            // A board missing from the set leaves its link unresolved, to be reported.
            if (path && !m_boardByPath.contains(*path) && !LoadBoard(*path, error)) {
                return false;
            }
            // A board this program exported names its function keys itself: its
            // link keys stay keys only (-1).
            const bool own = m_boards[i].board.functionKeysComplete && link.functionKey <= 0;
            m_boards[i].links << Link{own ? -1 : link.functionKey, path.value_or(QString()), link.linkName};
        }
    }
    return true;
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
