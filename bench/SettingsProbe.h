#pragma once

#include <benchmark/benchmark.h>

// Opening the settings window over a layout of 21 keys whose pictures are
// large photographs (3000 x 2250 JPEG): from the window's construction to
// its first paint. The floor opens the same window over the same layout with
// no picture files, so nothing is decoded.
void BM_OpenSettings(benchmark::State& state);
void BM_OpenSettingsFloor(benchmark::State& state);
