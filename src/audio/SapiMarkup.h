#pragma once

#include <QString>

#include <vector>

// A text ready for espeak-ng's SSML mode, with, for every character of it,
// the index of the character of the original text it came from (-1 for
// characters we added), so that positions reported during speech can be
// given back in terms of the text the caller passed.
struct SsmlText {
    QString ssml;
    std::vector<int> sourceIndex;
    // The length of the original text.
    int sourceLength = 0;

    // The index in the original text for a 0-based position in ssml; the end
    // of the original text (its length) for positions past the end. Always
    // within 0 to sourceLength, also for a text of tags only.
    int toSource(int ssmlPosition) const;
};

// How the voice stands before the text's own tags change it.
struct SapiVoiceState {
    // Rate on the SAPI scale, -10 to 10, relative to the voice's default speed.
    int rate = 0;
    // When not empty, a bare "&" is read as this word (Italian reads "Pane &
    // latte" as "Pane e latte"; the synthesizer would say the English "and").
    QString ampersandWord;
};

// Translates a text written with SAPI 5 speech tags into espeak-ng SSML:
//   <silence msec="n"/>                   pause of n milliseconds
//   <rate speed="n"> / <rate absspeed="n"> speed, relative / absolute, -10..10
//   <volume level="n">                    n percent of the voice's volume, 0..100
//   <pitch middle="n"> / absmiddle="n"    pitch, relative / absolute, -10..10
//   <emph>                                emphasis
//   <spell>                               read letter by letter
//   <bookmark mark="x"/>                  reported while speaking
// Rate, volume and pitch tags written empty (<rate speed="5"/>) change the
// rest of the enclosing text. Other tags are dropped and their text kept.
// Tag and attribute names are matched without regard to case. A text that
// is not well-formed markup (a bare "&" or "<") is read as plain text.
SsmlText TranslateSapiMarkup(const QString& text, const SapiVoiceState& voice);

// The text read as it stands, every character escaped.
SsmlText PlainTextAsSsml(const QString& text, const SapiVoiceState& voice);

// SAPI's rate scale: a rate of r means a speed of 3^(r/10) times the voice's
// default, so -10 is a third and +10 three times the default speed.
double SapiRateFactor(double rate);
