#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>

// Qt keeps the fontconfig pattern of every fallback font it has matched (a
// label in another script, an emoji, a control character) in its font engine
// cache and never frees it, not even at exit: a fixed amount for the fonts of
// the machine, the same after a hundred inputs or ten thousand, that the
// leak check at exit would report as the last input's fault.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// A libFuzzer executable holds exactly one target.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartQt();
    return FuzzTargets().size() == 1 ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzTargets().front().run(QByteArrayView(data, qsizetype(size)));
    return 0;
}
