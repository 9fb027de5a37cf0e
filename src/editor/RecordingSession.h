#pragma once

#include "editor/SoundRecorder.h"
#include "platform/Outcome.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class ICaptureSource;
class IMessages;
class PreviewPlayer;

// One recording of a key's sound: the microphone is polled on a timer of the
// event loop (the window never waits for it), the level is reported as it
// changes, and finish() writes the trimmed recording as a 16-bit mono WAV
// file under a new name in the sounds folder.
class RecordingSession : public QObject {
    Q_OBJECT
public:
    // The source must outlive the session.
    RecordingSession(ICaptureSource& source, QObject* parent = nullptr);
    ~RecordingSession() override;

    // Starts recording; false when there is no microphone.
    bool start();
    bool isRecording() const { return m_recorder.has_value(); }
    // Stops and writes the recording into `soundsFolder` under a name made
    // from the key's text: the path written, empty when only silence was
    // heard (nothing is written), or the failure that names the file and why.
    Result<QString> finish(const QString& soundsFolder, const QString& keyText, int key);
    // Stops and throws the recording away.
    void cancel();
    // A press of "Registra": with a recording under way, `finish` finishes it
    // (the owner knows where it goes); otherwise what is being heard stops and
    // a recording starts. True when one started; a missing microphone is told.
    bool toggle(PreviewPlayer& player, IMessages& messages, const std::function<void()>& finish);

    // Tells the user what a finished recording gave when it is no sound (and
    // logs a failure); the path of the sound written, empty when there is none.
    static QString Report(const Result<QString>& finished, IMessages& messages);
    static void TellNoMicrophone(IMessages& messages);

signals:
    void levelChanged(double level);
    // The longest recording allowed has been reached; the owner finishes it.
    void limitReached();

private:
    void poll();

    ICaptureSource& m_source;
    std::optional<SoundRecorder> m_recorder;
    QTimer m_timer;
};
