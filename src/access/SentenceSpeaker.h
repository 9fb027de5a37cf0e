#pragma once

#include "access/Sentence.h"
#include "platform/Outcome.h"

#include <QString>

class IAudioOutput;
class cSound;
class cVoce;

// "Parla": the sentence given out as one speech, the sounds of keys without a
// text each in its place, without waiting for it to be heard, so that the
// same action can cut it while it plays.
class SentenceSpeaker {
public:
    SentenceSpeaker(IAudioOutput& output, cSound& sound) : m_output(output), m_sound(sound) {}

    // Cuts the sentence while it is heard; otherwise starts it. Fails with the
    // first text that could not be spoken.
    Outcome speakOrCut(cVoce& voice, const QList<SentencePart>& parts);
    // Cuts the sentence if it is still heard.
    void cut(cVoce& voice);
    bool speaking() const;

private:
    IAudioOutput& m_output;
    cSound& m_sound;
    bool m_started = false;
};
