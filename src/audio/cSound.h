#pragma once

#include "audio/IAudioOutput.h"
#include "platform/Outcome.h"

#include <QByteArray>
#include <QString>

// Plays recorded sounds (WAV files) for the runtime: a key's own sound and the
// bonus sound of a completed sequence. The object remembers a file name and
// plays the file through the program's one audio output,
// the same output speech uses, so a sound and the speech after it never
// overlap.
//
// No member reports an error: a missing or empty name, a file that is not a
// valid WAV, a path to something that is not a regular file, or no audio
// device at all play nothing and return at once. No default sound replaces a
// sound that cannot be played. A named file that gives no sound leaves a
// line in the log.
class cSound {
public:
    // Flag bits of PlayFile, with the values users of the class know from
    // the classic sound call. Bits not listed are ignored.
    enum Flag : quint32 {
        // Play and return only once the whole sound has been heard.
        SND_SYNC = 0x0000,
        // Queue the sound and return at once.
        SND_ASYNC = 0x0001,
        // Never play a default sound (we never do anyway).
        SND_NODEFAULT = 0x0002,
        // Play again and again; not supported: the sound is played once.
        SND_LOOP = 0x0008,
        // Queue the sound behind what is playing, never stopping it, and return at once.
        SND_QUEUE = 0x0100,
    };

    // The output is shared with the speech object and must outlive this one.
    explicit cSound(IAudioOutput& output);
    // Release: empties FileName, then StopSound.
    ~cSound();
    cSound(const cSound&) = delete;
    cSound& operator=(const cSound&) = delete;

    // Stops whatever is playing or queued on the output.
    void StopSound();

    // The sound to play, normally the full path of a WAV file. Letters of the
    // name are matched without regard to case against the files on disk.
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }

    // Plays the file named by FileName with the given flags; with 0 it
    // returns only after the last sample has been heard.
    void PlayFile(quint32 flags);

private:
    // How far a sound played with flags 0 is converted ahead of the device:
    // a second, so that a busy machine that leaves us without the processor
    // for a while still does not let it run dry.
    static constexpr int ConvertAheadMs = 1000;

    // A failure, saying why, when the bytes give no sound at all.
    Outcome play(const QByteArray& wav, quint32 flags);

    IAudioOutput& m_output;
    QString m_fileName;
};
