#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class IAudioOutput;
class IMessages;
class cSound;
class cVoce;

// Lets the settings window play a key's sound with the program's own sound
// player and speak a key's text with the program's own voice, without
// waiting for either: one thing is heard at a time, a new one stops the
// one before, and asking again for what is being heard stops it.
class PreviewPlayer : public QObject {
    Q_OBJECT
public:
    // The output is the program's one audio output; both must outlive this object.
    PreviewPlayer(IAudioOutput& output, IMessages& messages, QObject* parent = nullptr);
    ~PreviewPlayer() override;

    // `id` names what is heard (a row, say) for playingChanged.
    void playSound(int id, const QString& path);
    void speak(int id, const QString& text);
    void stop();

signals:
    // What is being heard now; -1 once it has ended or was stopped.
    void playingChanged(int id);

private:
    bool stopIfPlaying(int id);
    void started(int id);
    void poll();

    IAudioOutput& m_output;
    IMessages& m_messages;
    std::unique_ptr<cSound> m_sound;
    // Made when first needed: setting up the voice takes a moment.
    std::unique_ptr<cVoce> m_voce;
    int m_playing = -1;
    QTimer m_poll;
};
