#pragma once

#include "audio/ICaptureSource.h"

#include <QStringList>

#include <cmath>

// A microphone that hears what the test gives it: `rate` 0 is no microphone.
class FakeCaptureSource : public ICaptureSource {
public:
    int start() override {
        started = rate > 0;
        return rate;
    }
    void read(std::vector<qint16>& to) override {
        if (started) {
            to.insert(to.end(), heard.begin(), heard.end());
            heard.clear();
        }
    }
    void stop() override { started = false; }

    // Appends `ms` of a 440 Hz tone of the given amplitude (0: silence).
    void hear(int ms, int amplitude) {
        for (int i = 0; i < rate * ms / 1000; ++i) {
            heard.push_back(qint16(amplitude * std::sin(6.2831853 * 440.0 * i / rate)));
        }
    }

    int rate = 8000;
    bool started = false;
    std::vector<qint16> heard;
};
