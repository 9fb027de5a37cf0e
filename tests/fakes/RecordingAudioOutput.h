#pragma once

#include "audio/IAudioOutput.h"

#include <QList>
#include <QString>

#include <vector>

// An audio output that plays nothing and records what it was asked to do:
// every call in order, and the samples in the order they were queued.
class RecordingAudioOutput : public IAudioOutput {
public:
    enum class Call { Enqueue, Drain, Purge };

    explicit RecordingAudioOutput(AudioFormat format = {22050, 1}) : m_format(format) {}

    AudioFormat format() const override { return m_format; }
    void enqueue(std::span<const qint16> s) override {
        calls.append(Call::Enqueue);
        pending.insert(pending.end(), s.begin(), s.end());
    }
    void drain() override {
        calls.append(Call::Drain);
        heard.push_back(std::move(pending));
        pending.clear();
    }
    void purge() override {
        calls.append(Call::Purge);
        pending.clear();
    }
    bool isPlaying() const override { return !pending.empty(); }

    // Every sample that was queued and then waited for, in one list.
    std::vector<qint16> allHeard() const {
        std::vector<qint16> all;
        for (const auto& h : heard) {
            all.insert(all.end(), h.begin(), h.end());
        }
        return all;
    }
    // Milliseconds of sound in a number of samples of this output's format.
    double durationMs(size_t samples) const {
        return 1000.0 * double(samples) / (double(m_format.sampleRate) * m_format.channels);
    }

    QList<Call> calls;
    // Queued samples not yet waited for.
    std::vector<qint16> pending;
    // One entry per drain that found samples waiting: what was heard then.
    std::vector<std::vector<qint16>> heard;

private:
    AudioFormat m_format;
};
