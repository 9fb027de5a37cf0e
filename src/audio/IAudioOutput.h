#pragma once

#include <QtGlobal>

#include <span>

// The shape of the samples an output takes: interleaved signed 16-bit samples
// in native byte order, at this rate and channel count.
struct AudioFormat {
    int sampleRate = 22050;
    int channels = 1;
};

// The one place where sound leaves the program. Recorded sounds and speech go
// through the same output, one after the other, so they never overlap: what
// is queued plays strictly in the order it was queued.
// Used from the user-interface thread only.
class IAudioOutput {
public:
    virtual ~IAudioOutput() = default;

    // Gets ready to play without delay (opens a device, say) without making
    // the caller wait; the other members wait for it when they need it.
    virtual void prepare() {}
    // The format every call of enqueue() must use.
    virtual AudioFormat format() const = 0;
    // Queues samples behind whatever is already queued and returns at once.
    virtual void enqueue(std::span<const qint16> samples) = 0;
    // Returns when everything queued so far has been heard, the device's own
    // latency included. Returns at once when nothing is queued or when there
    // is no device.
    virtual void drain() = 0;
    // Returns once at most `samples` queued samples are still waiting for the
    // device, so that a long sound can be converted while it plays, a little
    // ahead of it. Returns at once when there is no device. False when the device stopped taking samples:
    // then everything queued has been dropped.
    virtual bool waitUntilQueuedAtMost(qsizetype samples) {
        Q_UNUSED(samples);
        return true;
    }
    // Drops everything queued that has not been heard yet.
    virtual void purge() = 0;
    // True while queued samples have not all been heard.
    virtual bool isPlaying() const = 0;

    // Plays the samples after what is queued and returns when they have been heard.
    void play(std::span<const qint16> samples) {
        enqueue(samples);
        drain();
    }
};
