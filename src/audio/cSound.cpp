#include "audio/cSound.h"

#include "audio/WavDecoder.h"
#include "audio/WavSource.h"
#include "config/FileExists.h"
#include "platform/Log.h"
#include "platform/RegularFile.h"

cSound::cSound(IAudioOutput& output) : m_output(output) {}

cSound::~cSound() {
    m_fileName.clear();
    StopSound();
}

void cSound::StopSound() {
    m_output.purge();
}

void cSound::PlayFile(quint32 flags) {
    // Layouts written on another system name files with letters in any case.
    const std::optional<QByteArray> wav = ReadRegularFile(ResolveFileCase(m_fileName), MaxSoundFileBytes);
    const Outcome played = play(wav.value_or(QByteArray()), flags);
    if (played || m_fileName.isEmpty()) {
        return;
    }
    // Nothing is shown, as always: the log keeps the trace for whoever helps.
    const QString why = !wav ? QStringLiteral("missing, not a regular file or too large") : played.detail();
    Log::Failure(lcAudio,
                 Outcome::Failed(QStringLiteral("Impossibile riprodurre il suono «%1».").arg(m_fileName),
                                 m_fileName + QStringLiteral(": ") + why));
}

// One sound at a time, as with the classic sound call: a new sound stops the
// one still playing.
Outcome cSound::play(const QByteArray& wav, quint32 flags) {
    // Each piece is queued as soon as it is converted, so the sound starts
    // before the rest is ready; a file that gives nothing leaves alone what
    // is playing.
    WavDecoder decoder(wav, m_output.format());
    std::vector<qint16> piece = decoder.next();
    if (piece.empty()) {
        return decoder.status().ok()
                   ? Outcome::Failed(decoder.status().message(), QStringLiteral("no samples"))
                   : decoder.status();
    }
    const bool queue = (flags & SND_QUEUE) != 0;
    if (!queue) {
        m_output.purge();
    }
    const bool sync = (flags & (SND_ASYNC | SND_QUEUE)) == 0;
    const AudioFormat format = m_output.format();
    const qsizetype ahead = qsizetype(format.sampleRate) * format.channels * ConvertAheadMs / 1000;
    do {
        m_output.enqueue(piece);
        // Waiting anyway, we convert the rest while the sound plays, only a
        // little ahead of the device: the device never runs dry behind the
        // first piece, and a long sound never sits in memory whole.
        if (sync && !m_output.waitUntilQueuedAtMost(ahead)) {
            return Outcome::Done();
        }
        piece = decoder.next();
    } while (!piece.empty());
    if (sync) {
        m_output.drain();
    }
    return Outcome::Done();
}
