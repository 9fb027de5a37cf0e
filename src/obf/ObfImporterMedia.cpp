// The pictures and sounds of an import: each read once from the set,
// converted on every core, and stored once however many keys show it.
#include "obf/ObfImporter.h"

#include "obf/IImportProgress.h"
#include "obf/ObfStaging.h"
#include "obf/ZipArchive.h"

#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <thread>

namespace {
// Jobs read and converted together: enough to keep every core busy, few
// enough that their bytes never weigh much, whatever the size of the set.
constexpr std::size_t JobsAtOnce = 64;

} // namespace

QString ObfImporter::PictureKey(const Board& board, const ObfButton& button) const {
    const auto media = board.board.images.constFind(button.imageId);
    if (button.imageId.isEmpty() || media == board.board.images.constEnd()) {
        return QString();
    }
    return media->path.isEmpty() || !m_zip ? board.path + QLatin1Char('#') + media->id
                                           : ZipArchive::CleanName(media->path).value_or(media->path);
}

QString ObfImporter::SoundKey(const Board& board, const ObfButton& button) const {
    const auto media = board.board.sounds.constFind(button.soundId);
    if (button.soundId.isEmpty() || media == board.board.sounds.constEnd()) {
        return QString();
    }
    return QStringLiteral("sound:") + (media->path.isEmpty() || !m_zip
                                           ? board.path + QLatin1Char('#') + media->id
                                           : ZipArchive::CleanName(media->path).value_or(media->path));
}

bool ObfImporter::ConvertMedia() {
    std::vector<Job> jobs;
    QSet<QString> queued;
    const auto queue = [&](MediaJob::Kind kind, const QString& key, const ObfMedia& media,
                           const QString& name) {
        if (!key.isEmpty() && !queued.contains(key)) {
            queued.insert(key);
            const QString folder =
                kind == MediaJob::Kind::Sound ? QStringLiteral("/suoni") : QStringLiteral("/immagini");
            jobs.push_back(Job{MediaJob{kind, {}, {}, {}, {}}, key, media, m_dataFolder + folder, name});
        }
    };
    for (const Board& board : std::as_const(m_boards)) {
        for (int p = 0; p < board.pages.size(); ++p) {
            const QString base = QFileInfo(board.layouts[p]).completeBaseName();
            for (int k = 0; k < board.pages[p].count; ++k) {
                const ObfButton& button = board.keys[board.pages[p].first + k];
                const QString name = base + QStringLiteral(" %1").arg(k + 1);
                queue(MediaJob::Kind::Picture, PictureKey(board, button),
                      board.board.images.value(button.imageId), name);
                queue(MediaJob::Kind::Sound, SoundKey(board, button),
                      board.board.sounds.value(button.soundId), name);
            }
        }
    }
    m_pictures = int(jobs.size());
    if (!RunJobs(jobs)) {
        return false;
    }
    // Labels drawn as pictures: for keys whose picture could not be carried,
    // for the link keys added, and a blank for the cells no key fills.
    std::vector<Job> labels;
    const auto label = [&](const QString& text, const QString& name) {
        if (!queued.contains(QLatin1Char('\n') + text)) {
            queued.insert(QLatin1Char('\n') + text);
            labels.push_back(Job{MediaJob{MediaJob::Kind::Label, {}, {}, text, {}},
                                 text,
                                 {},
                                 m_dataFolder + QStringLiteral("/immagini"),
                                 name});
        }
    };
    const QString first = QFileInfo(m_boards.first().layouts.first()).completeBaseName();
    label(QString(), first + QStringLiteral(" vuoto"));
    label(BackText, first + QStringLiteral(" indietro"));
    label(NextText, first + QStringLiteral(" avanti"));
    for (const Board& board : std::as_const(m_boards)) {
        for (int p = 0; p < board.pages.size(); ++p) {
            const QString base = QFileInfo(board.layouts[p]).completeBaseName();
            for (int k = 0; k < board.pages[p].count; ++k) {
                const ObfButton& button = board.keys[board.pages[p].first + k];
                const QString key = PictureKey(board, button);
                if (key.isEmpty() || m_media.value(key).path.isEmpty()) {
                    label(button.label, base + QStringLiteral(" %1").arg(k + 1));
                }
            }
        }
    }
    m_pictures += int(labels.size());
    return RunJobs(labels);
}

// Reads a round of jobs here (the archive is read by one thread), converts
// them on every core, and stores what they made.
bool ObfImporter::RunJobs(std::vector<Job>& jobs) {
    const int threads = std::max(1, QThread::idealThreadCount());
    for (std::size_t start = 0; start < jobs.size() && !m_cancelled; start += JobsAtOnce) {
        const std::size_t end = std::min(jobs.size(), start + JobsAtOnce);
        std::vector<bool> read(end - start, true);
        for (std::size_t i = start; i < end; ++i) {
            Job& job = jobs[i];
            if (job.work.kind == MediaJob::Kind::Label) {
                continue;
            }
            Result<QByteArray> bytes = MediaBytes(job.media, &job.work.type);
            read[i - start] = bytes.ok();
            if (bytes) {
                job.work.bytes = std::move(bytes.value());
                continue;
            }
            const ObfMedia& media = job.media;
            const bool remote = media.data.isEmpty() && media.path.isEmpty() && !media.url.isEmpty();
            const ObfReport::Issue issue =
                job.work.kind == MediaJob::Kind::Sound
                    ? (remote ? ObfReport::Issue::RemoteSound : ObfReport::Issue::BadSound)
                : remote ? ObfReport::Issue::RemotePicture
                : media.data.isEmpty() && media.path.isEmpty() && media.symbol
                    ? ObfReport::Issue::SymbolPicture
                    : ObfReport::Issue::BadPicture;
            m_media.insert(job.key, Media{QString(), issue, bytes.failure().message()});
        }
        if (!m_fatal.ok()) {
            return false;
        }
        std::atomic<std::size_t> next{start};
        const auto convert = [&jobs, &read, &next, start, end] {
            for (std::size_t i = next++; i < end; i = next++) {
                if (read[i - start]) {
                    Convert(jobs[i].work);
                }
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) {
            pool.emplace_back(convert);
        }
        convert();
        for (std::thread& thread : pool) {
            thread.join();
        }
        for (std::size_t i = start; i < end; ++i) {
            Job& job = jobs[i];
            if (!read[i - start]) {
                continue;
            }
            if (!job.work.result) {
                m_media.insert(job.key,
                               Media{QString(),
                                     job.work.kind == MediaJob::Kind::Sound ? ObfReport::Issue::BadSound
                                                                            : ObfReport::Issue::BadPicture,
                                     QString()});
                continue;
            }
            const Result<QString> staged = m_staging->stageShared(
                job.folder, job.name, job.work.result->extension, job.work.result->bytes);
            job.work.result.reset();
            if (!staged) {
                m_fatal = staged.failure();
                return false;
            }
            const QString& path = *staged;
            if (job.work.kind == MediaJob::Kind::Label) {
                m_labels.insert(job.key, path);
            } else {
                m_media.insert(job.key, Media{path, ObfReport::Issue::BadPicture, QString()});
            }
        }
        m_picturesDone += int(end - start);
        Advance();
    }
    return !m_cancelled;
}

Result<QByteArray> ObfImporter::MediaBytes(const ObfMedia& media, QString* contentType) {
    *contentType = media.contentType;
    if (!media.data.isEmpty()) {
        QString named;
        std::optional<QByteArray> bytes = DecodeDataUri(media.data, &named);
        if (!bytes) {
            return Outcome::Failed(QStringLiteral("dati base64 non validi"));
        }
        *contentType = contentType->isEmpty() ? named : *contentType;
        return std::move(*bytes);
    }
    if (!media.path.isEmpty()) {
        if (!m_zip) {
            return Outcome::Failed(QStringLiteral("file esterno «%1» non incluso").arg(media.path));
        }
        Result<std::optional<QByteArray>> bytes = m_zip->read(media.path);
        if (!bytes) {
            m_fatal = bytes.failure();
        }
        if (!bytes || !*bytes) {
            return Outcome::Failed(QStringLiteral("«%1» manca nell'archivio").arg(media.path));
        }
        return std::move(*bytes.value());
    }
    return Outcome::Failed(media.url.isEmpty()
                               ? (media.symbol ? QStringLiteral("simbolo") : QStringLiteral("nessun dato"))
                               : media.url);
}

QString ObfImporter::KeyPicture(const Board& board, const ObfButton& button, ObfReport& report) const {
    const QString what = QStringLiteral("«%1»").arg(button.label);
    if (!button.imageId.isEmpty()) {
        const QString key = PictureKey(board, button);
        const Media media = m_media.value(key);
        if (key.isEmpty()) {
            report.add(ObfReport::Issue::BadPicture, BoardTitle(board),
                       what + QStringLiteral(" (immagine non descritta)"));
        } else if (!media.path.isEmpty()) {
            return media.path;
        } else {
            report.add(
                media.issue, BoardTitle(board),
                what + (media.problem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(media.problem)));
        }
    }
    return m_labels.value(button.label);
}

QString ObfImporter::KeySound(const Board& board, const ObfButton& button, ObfReport& report) const {
    if (button.soundId.isEmpty()) {
        return QString();
    }
    const QString what = QStringLiteral("«%1»").arg(button.label);
    const QString key = SoundKey(board, button);
    if (key.isEmpty()) {
        report.add(ObfReport::Issue::BadSound, BoardTitle(board),
                   what + QStringLiteral(" (suono non descritto)"));
        return QString();
    }
    const Media media = m_media.value(key);
    if (media.path.isEmpty()) {
        report.add(media.issue, BoardTitle(board),
                   what + (media.problem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(media.problem)));
    }
    return media.path;
}
