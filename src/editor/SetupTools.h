#pragma once

#include <QString>

#include <functional>

class IAudioOutput;
class ICaptureSource;
class IFilePicker;
class IMessages;
class QWidget;

// The services with which the settings window lets its user hear, record
// and be asked: handed in by main() through the window's opener.
struct SetupTools {
    // The program's one audio output: the rows' sounds and texts are heard through it.
    IAudioOutput& audio;
    // Records the keys' sounds.
    ICaptureSource& microphone;
    // "Importa...": asks for a board file and imports it; true when the active layout changed.
    std::function<bool(QWidget* owner, IFilePicker& picker, IMessages& messages)> importBoards;
    // "Esporta...": exports the saved layout at `layout`.
    std::function<void(QWidget* owner, const QString& layout, IFilePicker& picker, IMessages& messages)>
        exportBoards;
};
