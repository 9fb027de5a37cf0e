#pragma once

#include "audio/IAudioOutput.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// An audio output that plays nothing and logs what it was given. Every
// enqueued chunk is logged as "tone N" when all its samples hold the value N
// other than 0 (the test WAV files are such tones) and as "speech" otherwise; every
// drain() that had something to wait for is logged as "end". Callbacks let a
// test look at the window at the moment a sound starts or ends.
class LoggingAudioOutput : public IAudioOutput {
public:
    AudioFormat format() const override { return {22050, 1}; }

    void enqueue(std::span<const qint16> samples) override {
        if (samples.empty()) {
            return;
        }
        QString entry = QStringLiteral("speech");
        const qint16 first = samples.front();
        bool constant = true;
        for (qint16 s : samples) {
            if (s != first) {
                constant = false;
                break;
            }
        }
        // Silence (all zeros) comes with speech; test tones are never 0.
        if (constant && first != 0) {
            entry = QStringLiteral("tone %1").arg(first);
        }
        // Speech arrives in many pieces; one entry stands for a run of them.
        if (!(entry == QStringLiteral("speech") && !log.isEmpty() && log.last() == entry)) {
            log << entry;
        }
        pending = true;
        if (onEnqueue) {
            onEnqueue(entry);
        }
    }
    void drain() override {
        if (!pending) {
            return;
        }
        pending = false;
        log << QStringLiteral("end");
        if (onDrain) {
            onDrain();
        }
    }
    void purge() override { pending = false; }
    bool isPlaying() const override { return pending; }

    // The tones heard, in order, without the speech and the ends.
    QStringList tones() const {
        QStringList out;
        for (const QString& e : log) {
            if (e.startsWith(QStringLiteral("tone"))) {
                out << e;
            }
        }
        return out;
    }

    QStringList log;
    bool pending = false;
    std::function<void(const QString&)> onEnqueue;
    std::function<void()> onDrain;
};
