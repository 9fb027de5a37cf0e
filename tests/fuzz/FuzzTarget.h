#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// One fuzz target is one function over the bytes of one input. Written once
// with MIRELVA_FUZZ_TARGET, it becomes LLVMFuzzerTestOneInput in its own
// libFuzzer executable (make fuzz) and is called by the replay test of the
// ordinary build over its seeds and every saved regression input.
using FuzzFunction = void (*)(QByteArrayView data);

struct FuzzTargetEntry {
    const char* name;
    FuzzFunction run;
};

bool RegisterFuzzTarget(const char* name, FuzzFunction run);
const std::vector<FuzzTargetEntry>& FuzzTargets();

// QGuiApplication on the offscreen platform, made once before the first input.
void StartQt();
// A private folder for the files a target needs, removed when the process ends.
QString FuzzScratchFolder();
// Replaces the file's content with the input.
void WriteFuzzFile(const QString& path, QByteArrayView data);

// A broken property ends the process with a message, as a crash does: libFuzzer
// keeps the input, the replay test fails.
[[noreturn]] void FuzzFailure(const char* condition, const char* file, int line, const QString& detail);

#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            FuzzFailure(#condition, __FILE__, __LINE__, detail);                                             \
        }                                                                                                    \
    } while (false)

#define MIRELVA_FUZZ_TARGET(name)                                                                            \
    static void name##FuzzOne(QByteArrayView data);                                                          \
    [[maybe_unused]] static const bool name##Registered = RegisterFuzzTarget(#name, name##FuzzOne);          \
    static void name##FuzzOne(QByteArrayView data)
