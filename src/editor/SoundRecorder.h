#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// Collects what the microphone hears while a key's sound is recorded, tells
// how loud it is now (for the level meter), and gives the recording back
// without the silence before the first word and after the last one.
class SoundRecorder {
public:
    // A recording stops by itself after this long: a forgotten one must not fill the disk.
    static constexpr int MaxSeconds = 60;

    explicit SoundRecorder(int sampleRate);

    int sampleRate() const { return m_rate; }
    // Adds samples in the order they were heard; beyond MaxSeconds they are dropped.
    void feed(std::span<const qint16> samples);
    // The loudest of the samples fed last, from 0 (silence) to 1 (full scale).
    double level() const { return m_level; }
    bool isFull() const;
    // The recording from shortly before the first sound to shortly after the
    // last; empty when nothing louder than the microphone's hiss was heard.
    std::vector<qint16> trimmed() const;

private:
    int m_rate;
    std::vector<qint16> m_samples;
    double m_level = 0;
};
