#pragma once

#include "access/AccessOptions.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class IAudioOutput;
class IMessages;
class VoiceOptionsWidget;

// "Opzioni di accesso": how the user chooses keys (click, dwell, scanning,
// arrows), the highlight, auditory scanning and the tremor filters. "Salva"
// writes the option file; "Annulla" and Esc leave everything as it was.
class AccessOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // With an audio output the window also has the "Voce" part, heard through it.
    AccessOptionsDialog(const QString& dataFolder, IMessages& messages, QWidget* parent = nullptr,
                        IAudioOutput* audio = nullptr);

    // The options as the controls show them now.
    AccessOptions options() const;

private:
    void save();

    QString m_dataFolder;
    IMessages& m_messages;
    AccessOptions m_loaded;
    // Each control writes its value into the options.
    std::vector<std::function<void(AccessOptions&)>> m_readers;
    VoiceOptionsWidget* m_voice = nullptr;
};
