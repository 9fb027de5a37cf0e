#pragma once

#include <QString>

#include <vector>

// How the voice stands for a stretch of speech, on SAPI's scales: rate -10 to
// 10 (absolute, the voice's own rate included), volume 0 to 100 (percent of
// the voice's volume), pitch -10 to 10 (semitones from the voice's pitch).
struct SpeechLevels {
    int rate = 0;
    int volume = 100;
    int pitch = 0;
    friend bool operator==(const SpeechLevels&, const SpeechLevels&) = default;
};

// A stretch of a key's text with one way of speaking it, or a pause.
struct SpeechPiece {
    QString text;      // what is said, as plain text; empty for a pause
    int silenceMs = 0; // a pause of this length (text empty)
    SpeechLevels levels;
    bool emphasis = false;
    bool spell = false; // read letter by letter
    friend bool operator==(const SpeechPiece&, const SpeechPiece&) = default;
};

// A key's text as every speech engine takes it: tags already read, so that
// no engine ever speaks one aloud.
using SpeechText = std::vector<SpeechPiece>;

// Reads a text written with SAPI 5 speech tags:
//   <silence msec="n"/>                   pause of n milliseconds
//   <rate speed="n"> / <rate absspeed="n"> speed, relative / absolute, -10..10
//   <volume level="n">                    n percent of the voice's volume, 0..100
//   <pitch middle="n"> / absmiddle="n"    pitch, relative / absolute, -10..10
//   <emph>                                emphasis
//   <spell>                               read letter by letter
// Rate, volume and pitch tags written empty (<rate speed="5"/>) change the
// rest of the enclosing text. Other tags are dropped and their text kept.
// Tag and attribute names are matched without regard to case. A text that
// is not well-formed markup (a bare "&" or "<") is read as plain text.
// `voiceRate` is the rate the text starts at.
SpeechText ParseSapiMarkup(const QString& text, int voiceRate);

// The text read as it stands, tags and all.
SpeechText PlainSpeech(const QString& text, int voiceRate);

// The text of every piece, without pauses or levels: what an engine that
// honours no markup says.
QString SpokenWords(const SpeechText& text);

// The text as SSML for engines that read it (espeak-ng, speech-dispatcher).
// Levels are written relative to `voiceRate`; a bare "&" becomes
// `ampersandWord` when one is given (espeak-ng would say the English "and").
// Characters XML does not allow become spaces.
QString SpeechSsml(const SpeechText& text, int voiceRate, const QString& ampersandWord);

// SAPI's rate scale: a rate of r means a speed of 3^(r/10) times the voice's
// default, so -10 is a third and +10 three times the default speed.
double SapiRateFactor(double rate);
