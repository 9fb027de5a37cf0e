#pragma once

#include "config/CINIFile.h"
#include "fakes/LoggingAudioOutput.h"
#include "fakes/RecordingMessages.h"
#include "fakes/RuntimeTestProgram.h"
#include "grid/cGriglia.h"
#include "runtime/F_GO.h"
#include "startup/Installer.h"

#include <QCursor>
#include <QImage>
#include <QtTest>

#include <memory>

// What the runtime window tests share: a window over a test program folder.
namespace RuntimeHarness {
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb White = 0xFFFFFFFF;

inline QPoint CentreOf(const GridRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// A layout of n keys; key k plays tone 1000 * k unless the sounds are off.
inline RuntimeTestProgram::Layout Keys(int n, bool sound = true) {
    RuntimeTestProgram::Layout l;
    l.keys = n;
    l.sound = sound;
    return l;
}

// A runtime window over a test program folder, with recording fakes.
struct Runtime {
    RuntimeTestProgram program;
    RecordingMessages messages;
    NullFilePicker picker;
    LoggingAudioOutput audio;
    RecordingRuntimeWindows windows;
    std::unique_ptr<F_GO> window;

    void open(QSize size = {1024, 768}, const QString& voice = F_GO::DefaultVoiceAttributes()) {
        window = std::make_unique<F_GO>(
            program.folder(), F_GO::Services{messages, picker, audio, windows, voice, [this] {
                                                 return RepairConfiguration(program.folder(), messages);
                                             }});
        window->resize(size);
    }
    // Writes the layout, makes it the active one and opens the window; Enter starts the table.
    void start(const RuntimeTestProgram::Layout& l, bool table = true, QSize size = {1024, 768},
               const QString& voice = F_GO::DefaultVoiceAttributes()) {
        program.writeCfg(program.writeLayout(QStringLiteral("layout/prova.ini"), l));
        open(size, voice);
        if (table) {
            window->Form_KeyPress(13);
        }
    }
    GridRect cell(int key) const {
        const cGriglia* g = window->Grid();
        const int columns = g->LastCol() + 1;
        return g->CellRect((key - 1) / columns, (key - 1) % columns);
    }
    void clickKey(int key) {
        QCursor::setPos(window->mapToGlobal(CentreOf(cell(key))));
        QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, CentreOf(cell(key)));
    }
    QRgb pixel(QPoint p) { return window->canvas().pixel(p); }
    // A pixel of the blue frame: on the left edge of the cell, half way down.
    QRgb framePixel(int key) {
        const GridRect r = cell(key);
        return pixel({r.Left + 1, (r.Top + r.Bottom) / 2});
    }
};
} // namespace RuntimeHarness
