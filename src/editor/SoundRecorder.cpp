#include "editor/SoundRecorder.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Below this (about -36 dBFS) a sample is the microphone's own hiss.
constexpr int SilenceFloor = 500;
// A block counts as sound when it reaches a tenth of the loudest peak, so a
// noisy microphone does not keep its hiss at the ends.
constexpr int PeakFraction = 10;
// Kept before the first and after the last loud block, so that soft starts
// ("s", "f") and fading word ends are not cut off.
constexpr int LeadMs = 100;
constexpr int TailMs = 150;
constexpr int BlockMs = 10;

int Peak(std::span<const qint16> samples) {
    int peak = 0;
    for (const qint16 s : samples) {
        peak = std::max(peak, std::abs(int(s)));
    }
    return peak;
}
} // namespace

SoundRecorder::SoundRecorder(int sampleRate) : m_rate(std::max(sampleRate, 1)) {}

void SoundRecorder::feed(std::span<const qint16> samples) {
    if (samples.empty()) {
        return; // the level stays until the microphone says more
    }
    m_level = std::min(1.0, Peak(samples) / 32768.0);
    const std::size_t room =
        std::size_t(m_rate) * MaxSeconds - std::min(m_samples.size(), std::size_t(m_rate) * MaxSeconds);
    const std::size_t taken = std::min(room, samples.size());
    m_samples.insert(m_samples.end(), samples.begin(), samples.begin() + std::ptrdiff_t(taken));
}

bool SoundRecorder::isFull() const {
    return m_samples.size() >= std::size_t(m_rate) * MaxSeconds;
}

std::vector<qint16> SoundRecorder::trimmed() const {
    const int threshold = std::max(SilenceFloor, Peak(m_samples) / PeakFraction);
    const std::size_t block = std::max<std::size_t>(1, std::size_t(m_rate) * BlockMs / 1000);
    std::size_t first = m_samples.size();
    std::size_t last = 0;
    for (std::size_t at = 0; at < m_samples.size(); at += block) {
        const std::size_t end = std::min(at + block, m_samples.size());
        if (Peak(std::span(m_samples).subspan(at, end - at)) >= threshold) {
            first = std::min(first, at);
            last = end;
        }
    }
    if (first >= last) {
        return {};
    }
    const std::size_t lead = std::size_t(m_rate) * LeadMs / 1000;
    const std::size_t tail = std::size_t(m_rate) * TailMs / 1000;
    const std::size_t from = first > lead ? first - lead : 0;
    const std::size_t to = std::min(m_samples.size(), last + tail);
    return {m_samples.begin() + std::ptrdiff_t(from), m_samples.begin() + std::ptrdiff_t(to)};
}
