#include "editor/PreviewPlayer.h"

#include "audio/IAudioOutput.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

namespace {
// How often the end of a sound is looked for, to put the play button back.
constexpr int PollMs = 100;
} // namespace

PreviewPlayer::PreviewPlayer(IAudioOutput& output, IMessages& messages, QObject* parent)
    : QObject(parent), m_output(output), m_messages(messages), m_sound(std::make_unique<cSound>(output)) {
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &PreviewPlayer::poll);
}

PreviewPlayer::~PreviewPlayer() {
    stop();
}

bool PreviewPlayer::stopIfPlaying(int id) {
    const bool same = m_playing == id && m_output.isPlaying();
    stop();
    return same;
}

void PreviewPlayer::playSound(int id, const QString& path) {
    if (stopIfPlaying(id)) {
        return;
    }
    m_sound->setFileName(path);
    m_sound->PlayFile(cSound::SND_ASYNC);
    started(id);
}

void PreviewPlayer::speak(int id, const QString& text) {
    if (stopIfPlaying(id)) {
        return;
    }
    if (!m_voce) {
        m_voce = std::make_unique<cVoce>(m_output);
        m_voce->setSpeakFlags(cVoce::SetFlag(true, m_voce->SpeakFlags(), cVoce::SVSFlagsAsync));
    }
    if (const Outcome spoken = m_voce->Speak(text); !spoken) {
        Log::Failure(lcAudio, spoken);
        m_messages.showMessage(QStringLiteral("Il testo non può essere letto: ") + spoken.message(),
                               MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    started(id);
}

void PreviewPlayer::stop() {
    m_sound->StopSound();
    if (m_playing >= 0) {
        m_playing = -1;
        m_poll.stop();
        emit playingChanged(-1);
    }
}

void PreviewPlayer::started(int id) {
    if (!m_output.isPlaying()) {
        return; // nothing to hear: a missing file, an empty text
    }
    m_playing = id;
    m_poll.start();
    emit playingChanged(id);
}

void PreviewPlayer::poll() {
    if (!m_output.isPlaying()) {
        stop();
    }
}
