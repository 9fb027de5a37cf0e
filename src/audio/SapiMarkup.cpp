#include "audio/SapiMarkup.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace {
const QString WrapOpen = QStringLiteral("<speak>");
const QString WrapClose = QStringLiteral("</speak>");
// A pause tag asking for more than this is cut to it: a mistyped number must
// not keep the program silent and unresponsive for hours.
constexpr int MaxSilenceMs = 60000;

struct VoiceLevels {
    int rate = 0;     // SAPI units, -10..10
    int volume = 100; // percent of the voice's volume
    int pitch = 0;    // SAPI units, -10..10
};

struct Frame {
    VoiceLevels levels;
    // SSML end tags to write when the element of this frame ends, in the order
    // the matching start tags were written.
    QStringList closers;
};

class Writer {
public:
    explicit Writer(const SapiVoiceState& voice) : m_voice(voice) {}

    void markup(const QString& s) {
        m_out.ssml += s;
        m_out.sourceIndex.insert(m_out.sourceIndex.end(), size_t(s.size()), -1);
    }

    // Decoded text whose written form `raw` starts at `rawStart` in the
    // original. Each decoded character is traced back to where it was
    // written: an entity ("&lt;", "&#38;") to its "&", a CR LF pair (read as
    // one line feed) to its CR, a CDATA section past its opening.
    void text(QStringView decoded, QStringView raw, int rawStart, bool markup) {
        const bool cdata = markup && raw.startsWith(u"<![CDATA[");
        const bool entities = markup && !cdata;
        qsizetype r = cdata ? 9 : 0;
        for (qsizetype i = 0; i < decoded.size(); ++i) {
            const int source = rawStart + int(std::min(r, std::max<qsizetype>(raw.size() - 1, 0)));
            const bool paired =
                (decoded[i].isHighSurrogate() && i + 1 < decoded.size() && decoded[i + 1].isLowSurrogate()) ||
                (decoded[i].isLowSurrogate() && i > 0 && decoded[i - 1].isHighSurrogate());
            character(decoded[i].isSurrogate() && !paired ? QChar(u' ') : decoded[i], source);
            if (entities && r < raw.size() && raw[r] == u'&') {
                // One entity may stand for a character outside the 16-bit range.
                if (decoded[i].isHighSurrogate() && i + 1 < decoded.size()) {
                    character(decoded[++i], source);
                }
                const qsizetype semicolon = raw.indexOf(u';', r);
                r = semicolon < 0 ? r + 1 : semicolon + 1;
            } else if (markup && r + 1 < raw.size() && raw[r] == u'\r' && raw[r + 1] == u'\n') {
                r += 2;
            } else {
                ++r;
            }
        }
    }

    SsmlText take() { return std::move(m_out); }

private:
    void character(QChar c, int source) {
        QString piece;
        if (c == u'&') {
            piece = m_voice.ampersandWord.isEmpty() ? QStringLiteral("&amp;")
                                                    : u' ' + m_voice.ampersandWord + u' ';
        } else if (c == u'<') {
            piece = QStringLiteral("&lt;");
        } else if (c == u'>') {
            piece = QStringLiteral("&gt;");
        } else if ((c < u'\x20' && c != u'\t' && c != u'\n' && c != u'\r') || c.unicode() >= 0xFFFE) {
            // Characters XML does not allow: the synthesizer would stop at a
            // NUL or refuse the markup. Each becomes one space, so every
            // position still maps to its own character.
            piece = QStringLiteral(" ");
        } else {
            piece = c;
        }
        m_out.ssml += piece;
        m_out.sourceIndex.insert(m_out.sourceIndex.end(), size_t(piece.size()), source);
    }

    const SapiVoiceState& m_voice;
    SsmlText m_out;
};

QString escapeAttribute(QString value) {
    return value.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'"', QStringLiteral("&quot;"));
}

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

QString stringAttribute(const QXmlStreamAttributes& attributes, QStringView name) {
    for (const QXmlStreamAttribute& a : attributes) {
        if (a.name().compare(name, Qt::CaseInsensitive) == 0) {
            return a.value().toString();
        }
    }
    return {};
}

// The SSML start tag that brings the voice from `from` to `to`, and its end tag.
// espeak-ng reads prosody percentages relative to the enclosing prosody.
std::pair<QString, QString> prosody(const VoiceLevels& from, const VoiceLevels& to) {
    QString attributes;
    if (to.rate != from.rate) {
        const double factor = SapiRateFactor(to.rate) / SapiRateFactor(from.rate);
        attributes += QStringLiteral(" rate=\"%1%\"").arg(qRound(100 * factor));
    }
    if (to.volume != from.volume) {
        const int percent = from.volume == 0 ? 0 : qRound(100.0 * to.volume / from.volume);
        attributes += QStringLiteral(" volume=\"%1%\"").arg(percent);
    }
    if (to.pitch != from.pitch) {
        // One step of the SAPI pitch scale is taken as one semitone.
        const int steps = to.pitch - from.pitch;
        attributes += QStringLiteral(" pitch=\"%1%2st\"").arg(steps > 0 ? "+" : "-").arg(std::abs(steps));
    }
    if (attributes.isEmpty()) {
        return {};
    }
    return {QStringLiteral("<prosody") + attributes + u'>', QStringLiteral("</prosody>")};
}

// The voice levels a rate, volume or pitch tag asks for; nullopt for other tags.
std::optional<VoiceLevels> changedLevels(const QString& tag, const QXmlStreamAttributes& attributes,
                                         VoiceLevels levels) {
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

class Translator {
public:
    Translator(const QString& text, const SapiVoiceState& voice)
        : m_wrapped(WrapOpen + text + WrapClose), m_reader(m_wrapped), m_writer(voice) {
        m_root.levels.rate = voice.rate;
    }

    std::optional<SsmlText> run() {
        qint64 previousOffset = 0;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            const qint64 offset = m_reader.characterOffset();
            if (token == QXmlStreamReader::StartElement) {
                startElement(offset);
            } else if (token == QXmlStreamReader::EndElement) {
                endElement();
            } else if (token == QXmlStreamReader::Characters) {
                const QStringView raw = QStringView(m_wrapped).mid(previousOffset, offset - previousOffset);
                m_writer.text(m_reader.text(), raw, int(previousOffset) - int(WrapOpen.size()), true);
            }
            previousOffset = offset;
        }
        if (m_reader.hasError()) {
            return std::nullopt;
        }
        return m_writer.take();
    }

private:
    Frame& top() { return m_frames.empty() ? m_root : m_frames.back(); }

    void startElement(qint64 offset) {
        if (m_depth++ == 0) {
            m_writer.markup(WrapOpen);
            return;
        }
        const QString tag = m_reader.name().toString().toLower();
        const QXmlStreamAttributes attributes = m_reader.attributes();
        // "<tag/>": the offset is just past the closing "/>".
        const bool empty = offset >= 2 && m_wrapped.at(offset - 2) == u'/';
        Frame frame{top().levels, {}};
        if (const auto levels = changedLevels(tag, attributes, top().levels)) {
            const auto [open, close] = prosody(top().levels, *levels);
            if (!open.isEmpty()) {
                m_writer.markup(open);
                // Written empty, the tag changes the rest of the enclosing text.
                (empty ? top() : frame).closers.append(close);
                if (empty) {
                    top().levels = *levels;
                }
                frame.levels = *levels;
            }
        } else if (tag == u"silence") {
            if (const auto ms = intAttribute(attributes, u"msec"); ms && *ms > 0) {
                m_writer.markup(QStringLiteral("<break time=\"%1ms\"/>").arg(std::min(*ms, MaxSilenceMs)));
            }
        } else if (tag == u"bookmark") {
            m_writer.markup(QStringLiteral("<mark name=\"%1\"/>")
                                .arg(escapeAttribute(stringAttribute(attributes, u"mark"))));
        } else if (tag == u"emph" && !empty) {
            m_writer.markup(QStringLiteral("<emphasis>"));
            frame.closers.append(QStringLiteral("</emphasis>"));
        } else if (tag == u"spell" && !empty) {
            m_writer.markup(QStringLiteral("<say-as interpret-as=\"characters\">"));
            frame.closers.append(QStringLiteral("</say-as>"));
        }
        m_frames.push_back(frame);
    }

    void endElement() {
        --m_depth;
        Frame& frame = top();
        for (auto it = frame.closers.crbegin(); it != frame.closers.crend(); ++it) {
            m_writer.markup(*it);
        }
        if (m_frames.empty()) {
            m_writer.markup(WrapClose);
        } else {
            m_frames.pop_back();
        }
    }

    QString m_wrapped;
    QXmlStreamReader m_reader;
    Writer m_writer;
    Frame m_root;
    std::vector<Frame> m_frames;
    int m_depth = 0;
};
} // namespace

int SsmlText::toSource(int ssmlPosition) const {
    int last = 0;
    for (int i = std::min<int>(ssmlPosition, int(sourceIndex.size()) - 1); i >= 0; --i) {
        if (sourceIndex[size_t(i)] >= 0) {
            last = sourceIndex[size_t(i)];
            break;
        }
    }
    return ssmlPosition >= int(sourceIndex.size()) ? sourceLength : last;
}

double SapiRateFactor(double rate) {
    return std::pow(3.0, rate / 10.0);
}

SsmlText TranslateSapiMarkup(const QString& text, const SapiVoiceState& voice) {
    Translator translator(text, voice);
    if (auto ssml = translator.run()) {
        ssml->sourceLength = int(text.size());
        return std::move(*ssml);
    }
    return PlainTextAsSsml(text, voice);
}

SsmlText PlainTextAsSsml(const QString& text, const SapiVoiceState& voice) {
    Writer writer(voice);
    writer.markup(WrapOpen);
    writer.text(text, text, 0, false);
    writer.markup(WrapClose);
    SsmlText out = writer.take();
    out.sourceLength = int(text.size());
    return out;
}
