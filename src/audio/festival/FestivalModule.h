#pragma once

// The functions of the Festival module (mirelva-festival.so), which holds
// Festival's library and is opened only when a Festival voice is chosen:
// Festival brings sound servers and display libraries along that nobody else
// needs. Plain C, looked up by name with dlsym.
extern "C" {
// Bumped whenever a function below changes.
constexpr int MirelvaFestivalApi = 1;
// All samples come out at this rate, mono, signed 16-bit.
constexpr int MirelvaFestivalRate = 16000;

using MirelvaFestivalSink = void (*)(const short* samples, int count, void* context);

int mirelva_festival_api();
// Starts Festival, once per process: 0, or -1 with a reason in `error`
// (at most errorSize bytes with the NUL).
int mirelva_festival_start(char* error, int errorSize);
// The voices as "name\tlanguage\tgender\n" lines, at most size bytes with the
// NUL; returns the length of the whole list.
int mirelva_festival_voices(char* buffer, int size);
// Makes a voice of the list the one that speaks: 0, or -1.
int mirelva_festival_select(const char* voice);
// Speaks ISO-8859-1 text that holds only letters, digits, blanks and plain
// punctuation, `stretch` times as long and `pitch` times as high as the
// voice's own. The samples go to the sink. 0, or -1 when Festival failed.
int mirelva_festival_speak(const char* text, double stretch, double pitch, MirelvaFestivalSink sink,
                           void* context);
}
