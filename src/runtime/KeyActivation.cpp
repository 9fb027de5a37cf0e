#include "runtime/KeyActivation.h"

#include "audio/SpeechEngines.h"
#include "audio/VoiceSettings.h"
#include "audio/cSound.h"
#include "audio/cVoce.h"
#include "config/LayoutData.h"
#include "platform/Log.h"

#include <utility>

KeyActivation::KeyActivation(Services services)
    : m_services(std::move(services)), m_sound(std::make_unique<cSound>(m_services.audio)) {}

KeyActivation::~KeyActivation() = default;

void KeyActivation::Activate(const LayoutData& layout, int k, bool link,
                             const std::function<bool(bool sequenceStep)>& passed) {
    if (!m_sound) {
        return;
    }
    const bool gated = layout.ForcedInput == 1 && !link;
    if (gated && !m_gate.Gate(layout.InputSequence, k)) {
        return;
    }
    const bool heard = !passed || passed(gated);
    if (heard && layout.SectionOn[2]) {
        // The sound player reports nothing: a missing or broken file is simply not heard.
        m_sound->setFileName(layout.SoundPaths.value(k));
        m_sound->PlayFile(0);
    }
    if (heard && layout.SectionOn[3]) {
        // A failed text is reported and the activation goes on with its next step.
        if (const Outcome spoken = Voice(layout.Voice).Speak(layout.KeyTexts.value(k)); !spoken) {
            Log::Failure(lcAudio, spoken);
            m_services.showError(spoken.message());
        }
    }
    if (gated && m_gate.Completed(layout.KeyCount)) {
        m_sound->setFileName(layout.BonusPath);
        m_sound->PlayFile(0);
    }
}

cVoce& KeyActivation::Voice(const QString& layoutVoice) {
    if (!m_userVoice) {
        m_userVoice = VoiceSettings::Load(m_services.dataFolder);
    }
    // A voice the layout names but no engine could have is the user's.
    const VoiceChoice wanted = VoiceChoice::parse(layoutVoice, *m_userVoice).value_or(*m_userVoice);
    if (!m_voice || m_voiceFor != wanted) {
        m_voice.reset();
        if (m_services.engines != nullptr) {
            m_voice = std::make_unique<cVoce>(m_services.audio, ResolveVoice(wanted, *m_services.engines));
        } else {
            m_voice = std::make_unique<cVoce>(m_services.audio, wanted, m_services.voiceAttributes);
        }
        m_voiceFor = wanted;
        // A voice that is not there gives way to espeak-ng's Italian; the log says which.
        if (!m_voice->notice().isEmpty()) {
            qCWarning(lcAudio).noquote() << m_voice->notice();
        }
    }
    return *m_voice;
}

void KeyActivation::ForgetVoice() {
    m_voice.reset();
    m_userVoice.reset();
}

void KeyActivation::Release() {
    m_sound.reset();
    m_voice.reset();
}
