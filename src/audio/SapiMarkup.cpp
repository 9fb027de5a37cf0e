#include "audio/SapiMarkup.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
const QString WrapOpen = QStringLiteral("<speak>");
const QString WrapClose = QStringLiteral("</speak>");
// A pause tag asking for more than this is cut to it: a mistyped number must
// not keep the program silent and unresponsive for hours.
constexpr int MaxSilenceMs = 60000;

// How the text inside an element is spoken.
struct Frame {
    SpeechLevels levels;
    bool emphasis = false;
    bool spell = false;
};

std::optional<int> intAttribute(const QXmlStreamAttributes& attributes, QStringView name) {
    for (const QXmlStreamAttribute& a : attributes) {
        if (a.name().compare(name, Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const int value = a.value().trimmed().toInt(&ok);
            if (ok) {
                return value;
            }
        }
    }
    return std::nullopt;
}

// The voice levels a rate, volume or pitch tag asks for; nullopt for other tags.
std::optional<SpeechLevels> changedLevels(const QString& tag, const QXmlStreamAttributes& attributes,
                                          SpeechLevels levels) {
    if (tag == u"rate") {
        if (const auto abs = intAttribute(attributes, u"absspeed")) {
            levels.rate = std::clamp(*abs, -10, 10);
        } else if (const auto rel = intAttribute(attributes, u"speed")) {
            levels.rate = std::clamp(levels.rate + *rel, -10, 10);
        }
    } else if (tag == u"volume") {
        if (const auto level = intAttribute(attributes, u"level")) {
            levels.volume = std::clamp(*level, 0, 100);
        }
    } else if (tag == u"pitch") {
        if (const auto abs = intAttribute(attributes, u"absmiddle")) {
            levels.pitch = std::clamp(*abs, -10, 10);
        } else if (const auto rel = intAttribute(attributes, u"middle")) {
            levels.pitch = std::clamp(levels.pitch + *rel, -10, 10);
        }
    } else {
        return std::nullopt;
    }
    return levels;
}

// Adds text spoken as `frame` says, joined to the last piece when that is spoken alike.
void addText(SpeechText& out, const QString& text, const Frame& frame) {
    if (text.isEmpty()) {
        return;
    }
    if (!out.empty() && out.back().silenceMs == 0 && out.back().levels == frame.levels &&
        out.back().emphasis == frame.emphasis && out.back().spell == frame.spell) {
        out.back().text += text;
        return;
    }
    out.push_back({text, 0, frame.levels, frame.emphasis, frame.spell});
}

class Parser {
public:
    Parser(const QString& text, int voiceRate) : m_wrapped(WrapOpen + text + WrapClose), m_reader(m_wrapped) {
        m_frames.push_back(Frame{{voiceRate, 100, 0}, false, false});
    }

    std::optional<SpeechText> run() {
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::StartElement) {
                startElement(m_reader.characterOffset());
            } else if (token == QXmlStreamReader::EndElement) {
                m_frames.pop_back();
            } else if (token == QXmlStreamReader::Characters) {
                addText(m_out, m_reader.text().toString(), m_frames.back());
            }
        }
        if (m_reader.hasError()) {
            return std::nullopt;
        }
        return std::move(m_out);
    }

private:
    void startElement(qint64 offset) {
        Frame frame = m_frames.back();
        if (m_depth++ == 0) {
            m_frames.push_back(frame);
            return;
        }
        const QString tag = m_reader.name().toString().toLower();
        const QXmlStreamAttributes attributes = m_reader.attributes();
        // "<tag/>": the offset is just past the closing "/>".
        const bool empty = offset >= 2 && m_wrapped.at(offset - 2) == u'/';
        if (const auto levels = changedLevels(tag, attributes, frame.levels)) {
            // Written empty, the tag changes the rest of the enclosing text.
            (empty ? m_frames.back() : frame).levels = *levels;
        } else if (tag == u"silence") {
            if (const auto ms = intAttribute(attributes, u"msec"); ms && *ms > 0) {
                m_out.push_back({{}, std::min(*ms, MaxSilenceMs), frame.levels, false, false});
            }
        } else if (tag == u"emph") {
            frame.emphasis = true;
        } else if (tag == u"spell") {
            frame.spell = true;
        }
        m_frames.push_back(frame);
    }

    QString m_wrapped;
    QXmlStreamReader m_reader;
    std::vector<Frame> m_frames;
    SpeechText m_out;
    int m_depth = 0;
};

// One character as SSML text.
QString escaped(QChar c, bool pairedSurrogate, const QString& ampersandWord) {
    if (c == u'&') {
        return ampersandWord.isEmpty() ? QStringLiteral("&amp;") : u' ' + ampersandWord + u' ';
    }
    QString piece;
    if (c == u'<') {
        piece = QStringLiteral("&lt;");
    } else if (c == u'>') {
        piece = QStringLiteral("&gt;");
    } else if ((c < u'\x20' && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() >= 0xFFFE ||
               (c.isSurrogate() && !pairedSurrogate)) {
        // Characters XML does not allow: the synthesizer would stop at a NUL
        // or refuse the markup.
        piece = QStringLiteral(" ");
    } else {
        piece = c;
    }
    return piece;
}

QString escapedText(const QString& text, const QString& ampersandWord) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool paired = (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ||
                            (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        out += escaped(c, paired, ampersandWord);
    }
    return out;
}

// The SSML start tag that brings the voice from its own levels to `to`, and its end tag.
std::pair<QString, QString> prosody(int voiceRate, const SpeechLevels& to) {
    QString attributes;
    if (to.rate != voiceRate) {
        const double factor = SapiRateFactor(to.rate) / SapiRateFactor(voiceRate);
        attributes += QStringLiteral(" rate=\"%1%\"").arg(qRound(100 * factor));
    }
    if (to.volume != 100) {
        attributes += QStringLiteral(" volume=\"%1%\"").arg(to.volume);
    }
    if (const int steps = to.pitch; steps != 0) {
        // One step of the SAPI pitch scale is taken as one semitone.
        attributes += QStringLiteral(" pitch=\"%1%2st\"").arg(steps > 0 ? "+" : "-").arg(std::abs(steps));
    }
    if (attributes.isEmpty()) {
        return {};
    }
    return {QStringLiteral("<prosody") + attributes + u'>', QStringLiteral("</prosody>")};
}
} // namespace

double SapiRateFactor(double rate) {
    return std::pow(3.0, rate / 10.0);
}

SpeechText ParseSapiMarkup(const QString& text, int voiceRate) {
    Parser parser(text, voiceRate);
    if (auto pieces = parser.run()) {
        return std::move(*pieces);
    }
    return PlainSpeech(text, voiceRate);
}

SpeechText PlainSpeech(const QString& text, int voiceRate) {
    SpeechText out;
    addText(out, text, Frame{{voiceRate, 100, 0}, false, false});
    return out;
}

QString SpokenWords(const SpeechText& text) {
    QString words;
    for (const SpeechPiece& piece : text) {
        words += piece.text;
    }
    return words;
}

QString SpeechSsml(const SpeechText& text, int voiceRate, const QString& ampersandWord) {
    QString ssml = WrapOpen;
    for (const SpeechPiece& piece : text) {
        if (piece.text.isEmpty()) {
            ssml += QStringLiteral("<break time=\"%1ms\"/>").arg(piece.silenceMs);
            continue;
        }
        const auto [open, close] = prosody(voiceRate, piece.levels);
        QString closers = close;
        ssml += open;
        if (piece.emphasis) {
            ssml += QStringLiteral("<emphasis>");
            closers.prepend(QStringLiteral("</emphasis>"));
        }
        if (piece.spell) {
            ssml += QStringLiteral("<say-as interpret-as=\"characters\">");
            closers.prepend(QStringLiteral("</say-as>"));
        }
        ssml += escapedText(piece.text, ampersandWord) + closers;
    }
    return ssml + WrapClose;
}
