#pragma once

#include "audio/IAudioOutput.h"
#include "platform/IFilePicker.h"
#include "runtime/IRuntimeWindows.h"

// What the benchmarks hand to the windows where a person or a device would
// answer: no file chosen, no window opened, no sound heard.
class NoPicker : public IFilePicker {
public:
    QString ShowOpenDialog(QWidget*, const QString&) override { return {}; }
    QString ShowSaveDialog(QWidget*, const QString&) override { return {}; }
};

class NoWindows : public IRuntimeWindows {
public:
    void ShowOpenLayout(QWidget*, IMessages&, IFilePicker&) override {}
    void ShowSettings(QWidget*, IMessages&, IFilePicker&) override {}
    void ShowPrintPreview(QWidget*, IMessages&, IFilePicker&, const QImage&) override {}
    bool ShowAccessOptions(QWidget*, IMessages&) override { return false; }
};

class SilentAudio : public IAudioOutput {
public:
    AudioFormat format() const override { return {}; }
    void enqueue(std::span<const qint16>) override {}
    void drain() override {}
    void purge() override {}
    bool isPlaying() const override { return false; }
};
