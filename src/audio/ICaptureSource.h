#pragma once

#include <QtGlobal>

#include <vector>

// The microphone: signed 16-bit mono samples, taken by polling, so that
// recording never makes the window wait.
class ICaptureSource {
public:
    virtual ~ICaptureSource() = default;
    // Starts capturing from the default microphone and returns the sample
    // rate it delivers; 0 when there is no microphone to be had.
    virtual int start() = 0;
    // Appends the samples captured since the last call to `to`.
    virtual void read(std::vector<qint16>& to) = 0;
    // Stops capturing and lets the microphone go; safe to call when stopped.
    virtual void stop() = 0;
};
