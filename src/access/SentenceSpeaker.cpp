#include "access/SentenceSpeaker.h"

#include "audio/IAudioOutput.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"

bool SentenceSpeaker::speaking() const {
    return m_started && m_output.isPlaying();
}

void SentenceSpeaker::cut(cVoce& voice) {
    if (speaking()) {
        voice.StopSpeech();
        m_sound.StopSound();
    }
    m_started = false;
}

std::optional<QString> SentenceSpeaker::speakOrCut(cVoce& voice, const QList<SentencePart>& parts) {
    if (speaking()) {
        cut(voice);
        return std::nullopt;
    }
    // Whatever a key left playing gives way to the sentence; the parts then queue one behind the other.
    voice.StopSpeech();
    m_sound.StopSound();
    const qint32 flags = voice.SpeakFlags();
    voice.setSpeakFlags(cVoce::SetFlag(false, flags | cVoce::SVSFlagsAsync, cVoce::SVSFPurgeBeforeSpeak));
    std::optional<QString> failure;
    for (const SentencePart& part : parts) {
        if (!part.sound.isEmpty()) {
            m_sound.setFileName(part.sound);
            m_sound.PlayFile(cSound::SND_QUEUE);
        } else if (const auto error = voice.SpeakJoined(part.texts); error && !failure) {
            failure = error->description;
        }
    }
    voice.setSpeakFlags(flags);
    m_started = true;
    return failure;
}
