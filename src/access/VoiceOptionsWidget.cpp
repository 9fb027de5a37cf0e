#include "access/VoiceOptionsWidget.h"

#include "audio/VoiceSettings.h"
#include "audio/cVoce.h"
#include "platform/Log.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {
const VoiceChoice::Engine EngineOrder[] = {VoiceChoice::Engine::Espeak, VoiceChoice::Engine::Festival,
                                           VoiceChoice::Engine::SpeechDispatcher};

// A row of the form: the label's text is also the control's accessible name.
template <typename Control> Control* addRow(QFormLayout* form, const QString& label, Control* control) {
    control->setAccessibleName(label);
    form->addRow(label, control);
    return control;
}

QSpinBox* spin(QFormLayout* form, const QString& label, int min, int max, int value) {
    auto* box = addRow(form, label, new QSpinBox);
    box->setRange(min, max);
    box->setValue(value);
    return box;
}
} // namespace

const QString VoiceOptionsWidget::SampleSentence = QStringLiteral("Ciao! Questa è la mia voce.");

VoiceOptionsWidget::VoiceOptionsWidget(const QString& dataFolder, IAudioOutput& output, QWidget* parent)
    : QGroupBox(QStringLiteral("Voce"), parent), m_dataFolder(dataFolder), m_output(output),
      m_ownEngines(std::make_unique<SystemSpeechEngines>(cVoce::DefaultAttributes)),
      m_engines(*m_ownEngines) {
    build(VoiceSettings::Load(dataFolder));
}

VoiceOptionsWidget::VoiceOptionsWidget(const QString& dataFolder, IAudioOutput& output,
                                       ISpeechEngineSource& engines, QWidget* parent)
    : QGroupBox(QStringLiteral("Voce"), parent), m_dataFolder(dataFolder), m_output(output),
      m_engines(engines) {
    build(VoiceSettings::Load(dataFolder));
}

VoiceOptionsWidget::~VoiceOptionsWidget() = default;

void VoiceOptionsWidget::build(const VoiceChoice& loaded) {
    setAccessibleName(title());
    auto* form = new QFormLayout(this);
    m_engine = addRow(form, QStringLiteral("Sintesi"), new QComboBox);
    for (const VoiceChoice::Engine engine : EngineOrder) {
        m_engine->addItem(VoiceChoice::engineTitle(engine), int(engine));
    }
    m_engine->setCurrentIndex(m_engine->findData(int(loaded.engine)));
    m_voice = addRow(form, QStringLiteral("Voce"), new QComboBox);
    m_rate = spin(form, QStringLiteral("Velocità"), -10, 10, loaded.tuning.rate);
    m_pitch = spin(form, QStringLiteral("Tono"), -10, 10, loaded.tuning.pitch);
    m_volume = spin(form, QStringLiteral("Volume"), 0, 100, loaded.tuning.volume);
    m_volume->setSuffix(QStringLiteral(" %"));
    auto* prova = new QPushButton(QStringLiteral("Prova"));
    prova->setAccessibleName(prova->text());
    form->addRow(prova);
    m_notice = new QLabel;
    m_notice->setWordWrap(true);
    m_notice->setAccessibleName(QStringLiteral("Avviso sulla voce"));
    m_notice->hide();
    form->addRow(m_notice);
    listVoices(loaded.voice);
    connect(m_engine, &QComboBox::currentIndexChanged, this, [this] { listVoices({}); });
    connect(prova, &QPushButton::clicked, this, &VoiceOptionsWidget::tryVoice);
}

// The voices of the engine shown, the first "Italiana" (the engine's own
// Italian voice). A saved voice the engine lacks stays in the list, so that
// saving again does not lose it, and the notice says what is missing.
void VoiceOptionsWidget::listVoices(const QString& selected) {
    m_voice->clear();
    m_voice->addItem(QStringLiteral("Italiana (quella del motore)"), QString());
    const auto engine = VoiceChoice::Engine(m_engine->currentData().toInt());
    QString missing;
    const std::unique_ptr<ISpeechEngine> opened = m_engines.open(engine, missing);
    if (opened) {
        for (const SpeechVoice& v : opened->voices()) {
            const QString gender = v.gender.isEmpty() ? QString() : QStringLiteral(", ") + v.gender;
            m_voice->addItem(QStringLiteral("%1 (%2%3)").arg(v.name, v.language, gender), v.id);
        }
    }
    if (!selected.isEmpty() && m_voice->findData(selected) < 0) {
        m_voice->addItem(selected, selected);
    }
    m_voice->setCurrentIndex(std::max(0, m_voice->findData(selected)));
    const ResolvedVoice resolved = ResolveVoice(choice(), m_engines);
    showNotice(resolved.notice);
}

void VoiceOptionsWidget::showNotice(const QString& text) {
    // Said once: the same notice again is not repeated.
    if (text == m_lastNotice) {
        return;
    }
    m_lastNotice = text;
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

VoiceChoice VoiceOptionsWidget::choice() const {
    return {VoiceChoice::Engine(m_engine->currentData().toInt()), m_voice->currentData().toString(),
            VoiceTuning{m_rate->value(), m_pitch->value(), m_volume->value()}};
}

QString VoiceOptionsWidget::notice() const {
    return m_lastNotice;
}

Outcome VoiceOptionsWidget::save() const {
    return VoiceSettings::Save(m_dataFolder, choice());
}

void VoiceOptionsWidget::tryVoice() {
    cVoce voce(m_output, ResolveVoice(choice(), m_engines));
    showNotice(voce.notice());
    if (const Outcome spoken = voce.Speak(SampleSentence); !spoken) {
        Log::Failure(lcAudio, spoken);
        showNotice(spoken.message());
    }
}
