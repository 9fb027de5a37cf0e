#include "audio/VoiceChoice.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
std::optional<VoiceChoice::Engine> engineNamed(const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == u"espeak" || n == u"espeak-ng") {
        return VoiceChoice::Engine::Espeak;
    }
    if (n == u"festival") {
        return VoiceChoice::Engine::Festival;
    }
    if (n == u"speechd" || n == u"speech-dispatcher") {
        return VoiceChoice::Engine::SpeechDispatcher;
    }
    return std::nullopt;
}

bool usableVoiceName(const QString& voice) {
    return voice.size() <= VoiceChoice::MaxVoiceLength &&
           std::none_of(voice.begin(), voice.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

// A number of the text form, brought into its range; nothing when it is no number.
std::optional<int> number(const QString& text, int low, int high) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || std::isnan(value)) {
        return std::nullopt;
    }
    return int(std::clamp(value, double(low), double(high)));
}
} // namespace

std::optional<VoiceChoice> VoiceChoice::parse(const QString& text, const VoiceChoice& base) {
    const QStringList parts = text.split(u';');
    const QString head = parts.first();
    const qsizetype colon = head.indexOf(u':');
    const std::optional<Engine> engine = engineNamed(colon < 0 ? head : head.left(colon));
    const QString voice = colon < 0 ? QString() : head.mid(colon + 1).trimmed();
    if (!engine || !usableVoiceName(voice)) {
        return std::nullopt;
    }
    VoiceChoice choice{*engine, voice, base.tuning};
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString key = parts[i].section(u'=', 0, 0).trimmed().toLower();
        const QString value = parts[i].section(u'=', 1);
        if (key == u"velocita" || key == u"velocità") {
            choice.tuning.rate = number(value, -10, 10).value_or(choice.tuning.rate);
        } else if (key == u"tono") {
            choice.tuning.pitch = number(value, -10, 10).value_or(choice.tuning.pitch);
        } else if (key == u"volume") {
            choice.tuning.volume = number(value, 0, 100).value_or(choice.tuning.volume);
        }
    }
    return choice;
}

QString VoiceChoice::format() const {
    QString text = engineName(engine);
    if (!voice.isEmpty()) {
        text += u':' + voice;
    }
    return text + QStringLiteral(";velocita=%1;tono=%2;volume=%3")
                      .arg(tuning.rate)
                      .arg(tuning.pitch)
                      .arg(tuning.volume);
}

QString VoiceChoice::engineName(Engine engine) {
    switch (engine) {
    case Engine::Festival:
        return QStringLiteral("festival");
    case Engine::SpeechDispatcher:
        return QStringLiteral("speechd");
    case Engine::Espeak:
        break;
    }
    return QStringLiteral("espeak");
}

QString VoiceChoice::engineTitle(Engine engine) {
    switch (engine) {
    case Engine::Festival:
        return QStringLiteral("Festival");
    case Engine::SpeechDispatcher:
        return QStringLiteral("voce di sistema");
    case Engine::Espeak:
        break;
    }
    return QStringLiteral("espeak-ng");
}
