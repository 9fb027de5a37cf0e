#pragma once

#include "audio/IAudioOutput.h"
#include "audio/SdlAudioOutput.h"

#include <QByteArray>
#include <QString>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

using BenchClock = std::chrono::steady_clock;

// The program's SDL output with a tally of the bytes it queued. Queued minus
// still waiting is what the device has taken, so a watcher thread can see the
// moment a sample is handed to the device (the callback that takes it).
class ProbedOutput : public IAudioOutput {
public:
    ProbedOutput();
    ~ProbedOutput() override;
    ProbedOutput(const ProbedOutput&) = delete;
    ProbedOutput& operator=(const ProbedOutput&) = delete;

    bool usable() const { return m_device != 0; }

    AudioFormat format() const override { return m_real.format(); }
    void enqueue(std::span<const qint16> samples) override;
    void prepare() override { m_real.prepare(); }
    void drain() override;
    bool waitUntilQueuedAtMost(qsizetype samples) override { return m_real.waitUntilQueuedAtMost(samples); }
    void purge() override;
    bool isPlaying() const override { return m_real.isPlaying(); }

    // Bytes the device has taken so far.
    qint64 taken() const;
    // Bytes queued so far.
    qint64 queuedTotal() const;
    // The queued total when the first wait for the output follows arm(): the
    // end of the key's sound, which cSound queues (in pieces, as it converts
    // it) and then waits for, before the speech is queued.
    void arm();
    std::optional<qint64> soundEnd() const;

private:
    SdlAudioOutput m_real;
    SDL_AudioDeviceID m_device = 0;
    qint64 m_total = 0;
    std::atomic<qint64> m_firstEnd{-1};
    std::atomic<bool> m_armed{false};
};

// What one click produced, measured on the device side.
struct ClickTimes {
    double clickToSoundMs = -1;  // the click until the first sample of the WAV is taken
    double soundToSpeechMs = -1; // the last sample of the WAV until the first of the speech
};

// Runs `click` (which returns once the key's output has been heard) while a
// thread watches the device take the samples.
ClickTimes MeasureClick(ProbedOutput& output, const std::function<void()>& click);

// What a sound played with flags 0 gave the device, read back from the file
// of SDL's disk driver.
struct PlayedSound {
    double firstSampleMs = -1; // the call until the device takes the first sample
    double longestGapMs = -1;  // the longest run of exact zeros inside the sound
};
PlayedSound MeasureSound(ProbedOutput& output, const QString& wavPath, const QString& diskFile);

// A 0.6 s stereo tone at `rate`, in 16-bit PCM or in 32-bit float.
QByteArray StereoToneWav(int rate, bool asFloat);

// The device's own share: samples already in memory queued on an idle device
// until the device takes the first of them.
double MeasureDeviceTakeMs(ProbedOutput& output);

// Prints, `count` times, how long espeak-ng takes to hand over its first
// samples of "Mela" and how many leading samples are silent; 1 when it cannot speak.
int ProfileSynthesis(int count);
