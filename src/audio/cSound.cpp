#include "audio/cSound.h"

#include "audio/WavSource.h"
#include "config/FileExists.h"

cSound::cSound(IAudioOutput& output) : m_output(output) {}

cSound::~cSound() {
    m_fileName.clear();
    m_soundData.clear();
    StopSound();
}

void cSound::StopSound() {
    m_output.purge();
}

void cSound::PlayBuffer(quint32 flags) {
    play(m_soundData, flags);
}

void cSound::PlayFile(quint32 flags) {
    if ((flags & SND_PURGE) != 0) {
        play({}, flags);
        return;
    }
    // Layouts written on another system name files with letters in any case.
    const std::optional<QByteArray> wav = ReadRegularFile(ResolveFileCase(m_fileName));
    play(wav.value_or(QByteArray()), flags);
}

// One sound at a time, as with the classic sound call: a new sound stops the
// one still playing unless SND_NOSTOP asks to leave it alone.
void cSound::play(const QByteArray& wav, quint32 flags) {
    if ((flags & SND_PURGE) != 0) {
        m_output.purge();
        return;
    }
    if ((flags & SND_NOSTOP) != 0 && m_output.isPlaying()) {
        return;
    }
    const std::vector<qint16> samples = DecodeWav(wav, m_output.format());
    if (samples.empty()) {
        return;
    }
    m_output.purge();
    m_output.enqueue(samples);
    if ((flags & SND_ASYNC) == 0) {
        m_output.drain();
    }
}
