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

Outcome SentenceSpeaker::speakOrCut(cVoce& voice, const QList<SentencePart>& parts) {
    if (speaking()) {
        cut(voice);
        return Outcome::Done();
    }
    // Whatever a key left playing gives way to the sentence; the parts then queue one behind the other.
    voice.StopSpeech();
    m_sound.StopSound();
    const qint32 flags = voice.SpeakFlags();
    voice.setSpeakFlags(cVoce::SetFlag(false, flags | cVoce::SVSFlagsAsync, cVoce::SVSFPurgeBeforeSpeak));
    Outcome failure = Outcome::Done();
    for (const SentencePart& part : parts) {
        if (!part.sound.isEmpty()) {
            m_sound.setFileName(part.sound);
            m_sound.PlayFile(cSound::SND_QUEUE);
        } else if (Outcome spoken = voice.SpeakJoined(part.texts); !spoken && failure.ok()) {
            failure = std::move(spoken);
        }
    }
    voice.setSpeakFlags(flags);
    m_started = true;
    return failure;
}
