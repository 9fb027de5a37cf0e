#pragma once

#include <QString>

// The required attributes a voice is chosen by, as in
// "Name=Some Voice;Language=410;Vendor=Some Vendor". Names of the attributes
// are matched without regard to case; blanks around names and values are
// dropped; unknown attributes are ignored.
struct VoiceAttributes {
    QString name;
    // A Windows language code in hexadecimal: 410 is Italian, 409 US English.
    QString language;
    QString vendor;
};

VoiceAttributes ParseVoiceAttributes(const QString& attributes);

// The espeak-ng language name for a hexadecimal Windows language code
// ("410" gives "it", "409" gives "en-us"); empty when the code is unknown.
QString EspeakLanguageForWindowsCode(const QString& hexCode);
