// Fuzzed code: audio/SapiMarkup.cpp
#include "FuzzTarget.h"

#include "audio/SapiMarkup.h"

#include <QXmlStreamReader>

// A key's text, with or without speech tags: the SSML handed to the
// synthesizer is well-formed, and every position it reports back (Word and
// Sentence events) lies within the text, 0 to its length.
MIRELVA_FUZZ_TARGET(markup) {
    const QString text = QString::fromUtf8(data);
    SapiVoiceState voice;
    voice.ampersandWord = text.size() % 2 == 0 ? QStringLiteral("e") : QString();
    const SsmlText out = TranslateSapiMarkup(text, voice);
    const int length = int(out.ssml.size());
    FUZZ_CHECK(out.sourceIndex.size() == size_t(length), out.ssml);
    const auto checkPosition = [&](int position) {
        const int source = out.toSource(position);
        FUZZ_CHECK(
            source >= 0 && source <= text.size(),
            QStringLiteral("position %1 maps to %2, text of %3").arg(position).arg(source).arg(text.size()));
    };
    // Within a run of added characters every position maps alike: its ends stand for it.
    for (int p = 0; p < length; ++p) {
        FUZZ_CHECK(out.sourceIndex[size_t(p)] >= -1 && out.sourceIndex[size_t(p)] < text.size(), out.ssml);
        const bool added = out.sourceIndex[size_t(p)] < 0;
        const bool runEdge = p == 0 || p + 1 == length || out.sourceIndex[size_t(p - 1)] >= 0 ||
                             out.sourceIndex[size_t(p + 1)] >= 0;
        if (!added || runEdge) {
            checkPosition(p);
        }
    }
    // Past the end of what is spoken is the end of the text.
    for (const int end : {length, length + 1}) {
        FUZZ_CHECK(out.toSource(end) == text.size(),
                   QStringLiteral("the end maps to %1, text of %2").arg(out.toSource(end)).arg(text.size()));
    }

    QXmlStreamReader reader(out.ssml);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    FUZZ_CHECK(!reader.hasError(), reader.errorString() + QStringLiteral(": ") + out.ssml);
}
