#pragma once

#include "platform/IFilePicker.h"
#include "runtime/IRuntimeWindows.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// A program folder in a temporary place, with cfg.ini, layouts, pictures and
// sounds written by the test. Sounds are tones: every sample of the WAV file
// holds one value, which LoggingAudioOutput reports as "tone N".
class RuntimeTestProgram {
public:
    struct Layout {
        int keys = 1;
        QString tasti; // written instead of keys when not empty
        bool sound = true;
        bool text = false;
        bool forced = false;
        QList<int> sequence;
        QString bonus;
        QStringList pictures; // per key; empty: a white picture of the key's own; key k sounds tone 1000 * k
        QStringList texts;
        QStringList functionKeys; // F1..F12
        QStringList links;        // per key: a path, "<indietro>", "<inizio>" or empty
        QString voice;            // the layout's own voice
    };

    RuntimeTestProgram();
    QString folder() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // cfg.ini naming the layout (a path relative to the folder, or absolute).
    void writeCfg(const QString& layout);
    // Writes the layout at the relative path and returns its full path.
    QString writeLayout(const QString& relative, const Layout& layout);
    // A solid picture of the given size, format chosen by the suffix.
    QString writePicture(const QString& relative, QSize size, QColor colour);
    // A WAV of 441 16-bit mono samples at 22050 Hz, all holding value.
    QString writeTone(const QString& relative, qint16 value);
    QString cfgFileValue() const;

private:
    QTemporaryDir m_dir;
};

class NullFilePicker : public IFilePicker {
public:
    QString ShowOpenDialog(QWidget*, const QString&) override { return {}; }
    QString ShowSaveDialog(QWidget*, const QString&) override { return {}; }
};

// Records which of the other windows the runtime window opened and runs a
// test's stand-in for what the user does in them.
class RecordingRuntimeWindows : public IRuntimeWindows {
public:
    void ShowOpenLayout(QWidget*, IMessages&, IFilePicker&) override { run(QStringLiteral("open")); }
    void ShowSettings(QWidget*, IMessages&, IFilePicker&) override { run(QStringLiteral("settings")); }
    void ShowPrintPreview(QWidget*, IMessages&, IFilePicker&, const QImage& table) override {
        printed = table;
        run(QStringLiteral("print"));
    }
    bool ShowAccessOptions(QWidget*, IMessages&) override {
        run(QStringLiteral("access"));
        return true;
    }
    void ShowBoardEditor(QWidget*, IMessages&, IFilePicker&) override { run(QStringLiteral("board")); }

    QStringList opened;
    QImage printed;
    std::function<void(const QString&)> whileOpen;

private:
    void run(const QString& which) {
        opened << which;
        if (whileOpen) {
            whileOpen(which);
        }
    }
};
