#pragma once

class IAudioOutput;
class ICaptureSource;

// The services with which the settings window lets its user hear, record
// and be asked: handed in by main() through the window's opener.
struct SetupTools {
    // The program's one audio output: the rows' sounds and texts are heard through it.
    IAudioOutput& audio;
    // Records the keys' sounds.
    ICaptureSource& microphone;
};
