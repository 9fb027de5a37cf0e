#pragma once

#include "audio/SpeechEngines.h"
#include "audio/VoiceChoice.h"
#include "platform/Outcome.h"

#include <QGroupBox>
#include <QString>

#include <memory>
#include <vector>

class IAudioOutput;
class QComboBox;
class QLabel;
class QSpinBox;

// "Voce": the user's own voice, part of the options window. The engine
// (espeak-ng, Festival, the system's voice), a voice of it, rate, pitch and
// volume; "Prova" speaks a sample sentence with them through the program's
// audio output. A chosen voice that is not on the computer is said once, in
// Italian, with the package that brings it. Nothing is written until save().
class VoiceOptionsWidget : public QGroupBox {
    Q_OBJECT
public:
    // The real engines of this computer.
    VoiceOptionsWidget(const QString& dataFolder, IAudioOutput& output, QWidget* parent = nullptr);
    // Engines from a source of the caller's (which must outlive the widget).
    VoiceOptionsWidget(const QString& dataFolder, IAudioOutput& output, ISpeechEngineSource& engines,
                       QWidget* parent = nullptr);
    ~VoiceOptionsWidget() override;

    static const QString SampleSentence;

    // The choice as the controls show it now.
    VoiceChoice choice() const;
    // What was last said about a missing voice; empty when none is missing.
    QString notice() const;
    // Writes the choice to the voice file; fails when it cannot be written.
    Outcome save() const;
    // Speaks the sample sentence with the choice ("Prova").
    void tryVoice();

private:
    void build(const VoiceChoice& loaded);
    void listVoices(const QString& selected);
    void showNotice(const QString& text);

    QString m_dataFolder;
    IAudioOutput& m_output;
    std::unique_ptr<ISpeechEngineSource> m_ownEngines;
    ISpeechEngineSource& m_engines;
    QComboBox* m_engine = nullptr;
    QComboBox* m_voice = nullptr;
    QSpinBox* m_rate = nullptr;
    QSpinBox* m_pitch = nullptr;
    QSpinBox* m_volume = nullptr;
    QLabel* m_notice = nullptr;
    QString m_lastNotice;
};
