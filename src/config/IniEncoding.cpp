#include "config/IniEncoding.h"

#include "config/Windows1252.h"

#include <QStringDecoder>

#include <array>

namespace {
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray InForm(const QString& text, IniEncoding::Form form) {
    switch (form) {
    case IniEncoding::Form::Windows1252:
        return Windows1252::Encode(text);
    case IniEncoding::Form::MarkedWindows1252:
        return Utf8Bom + Windows1252::Encode(text);
    case IniEncoding::Form::Utf8:
        break;
    }
    return Utf8Bom + text.toUtf8();
}
} // namespace

namespace IniEncoding {
Decoded Decode(QByteArray bytes) {
    Decoded decoded;
    if (bytes.startsWith(Utf8Bom)) {
        decoded.form = Form::MarkedWindows1252;
        bytes.remove(0, Utf8Bom.size());
        // The mark is gone already: a second one is text, kept so that a
        // rewrite gives back the same text.
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        QString text = decoder.decode(bytes);
        if (!decoder.hasError()) {
            decoded.text = std::move(text);
            decoded.form = Form::Utf8;
            return decoded;
        }
    }
    decoded.text = Windows1252::Decode(bytes);
    return decoded;
}

QByteArray Encode(const QString& text, Form preferred) {
    // A character Windows-1252 lacks comes back as '?', and Windows-1252
    // bytes that happen to be valid UTF-8 behind a mark come back as other
    // letters: both fail the comparison.
    for (const Form form : std::array{preferred, Form::Windows1252}) {
        QByteArray bytes = InForm(text, form);
        if (Decode(bytes).text == text) {
            return bytes;
        }
    }
    return InForm(text, Form::Utf8);
}
} // namespace IniEncoding
