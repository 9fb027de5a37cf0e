#include "audio/VoiceAttributes.h"

#include <QStringList>

#include <array>
#include <utility>

VoiceAttributes ParseVoiceAttributes(const QString& attributes) {
    VoiceAttributes result;
    const QStringList parts = attributes.split(u';', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const qsizetype equals = part.indexOf(u'=');
        if (equals < 0) {
            continue;
        }
        const QString key = part.left(equals).trimmed().toLower();
        const QString value = part.mid(equals + 1).trimmed();
        if (key == u"name") {
            result.name = value;
        } else if (key == u"language") {
            result.language = value;
        } else if (key == u"vendor") {
            result.vendor = value;
        }
    }
    return result;
}

QString EspeakLanguageForWindowsCode(const QString& hexCode) {
    bool ok = false;
    const uint code = hexCode.trimmed().toUInt(&ok, 16);
    if (!ok || code == 0) {
        return {};
    }
    // Regional variants espeak-ng has a voice of its own for.
    static constexpr std::array<std::pair<uint, const char*>, 6> regional{{
        {0x0409, "en-us"},
        {0x0809, "en-gb"},
        {0x0416, "pt-br"},
        {0x0816, "pt"},
        {0x080A, "es-419"},
        {0x0C0C, "fr-ca"},
    }};
    for (const auto& [lcid, language] : regional) {
        if (lcid == code) {
            return QString::fromLatin1(language);
        }
    }
    // Otherwise the primary language, the low ten bits of the code.
    static constexpr std::array<std::pair<uint, const char*>, 31> primary{{
        {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "cmn"}, {0x05, "cs"}, {0x06, "da"}, {0x07, "de"},
        {0x08, "el"}, {0x09, "en"}, {0x0A, "es"}, {0x0B, "fi"},  {0x0C, "fr"}, {0x0D, "he"}, {0x0E, "hu"},
        {0x0F, "is"}, {0x10, "it"}, {0x11, "ja"}, {0x12, "ko"},  {0x13, "nl"}, {0x14, "nb"}, {0x15, "pl"},
        {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"}, {0x1A, "hr"},  {0x1B, "sk"}, {0x1D, "sv"}, {0x1F, "tr"},
        {0x22, "uk"}, {0x24, "sl"}, {0x25, "et"},
    }};
    const uint language = code & 0x3FF;
    for (const auto& [id, name] : primary) {
        if (id == language) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}
