#pragma once

// Timing helpers of the benchmarks that measure the first sample of speech.
#include "audio/IAudioOutput.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace BenchTiming {
using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// Takes samples as an idle device would, and notes when the first arrive.
class FirstSampleOutput : public IAudioOutput {
public:
    void start() {
        m_start = Clock::now();
        m_firstMs = -1;
    }
    double firstMs() const { return m_firstMs; }
    AudioFormat format() const override { return {44100, 2}; }
    void enqueue(std::span<const qint16> samples) override {
        if (m_firstMs < 0 && !samples.empty()) {
            m_firstMs = msSince(m_start);
        }
    }
    void drain() override {}
    void purge() override {}
    bool isPlaying() const override { return false; }

private:
    Clock::time_point m_start;
    double m_firstMs = -1;
};
} // namespace BenchTiming
