// Fuzzed code: audio/SapiMarkup.cpp
#include "FuzzTarget.h"

#include "audio/SapiMarkup.h"

#include <QXmlStreamReader>

// A key's text, with or without speech tags: the SSML handed to the
// synthesizers is well-formed, and no piece of what is said holds a tag the
// text did not write as plain words.
MIRELVA_FUZZ_TARGET(markup) {
    const QString text = QString::fromUtf8(data);
    const QString ampersand = text.size() % 2 == 0 ? QStringLiteral("e") : QString();
    const SpeechText speech = ParseSapiMarkup(text, -4);
    for (const SpeechPiece& piece : speech) {
        FUZZ_CHECK(piece.silenceMs >= 0 && piece.silenceMs <= 60000, QString::number(piece.silenceMs));
        FUZZ_CHECK(piece.levels.rate >= -10 && piece.levels.rate <= 10, QString::number(piece.levels.rate));
    }
    const QString ssml = SpeechSsml(speech, -4, ampersand);
    QXmlStreamReader reader(ssml);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    FUZZ_CHECK(!reader.hasError(), reader.errorString() + QStringLiteral(": ") + ssml);
}
