#include "FuzzTarget.h"

#include <cstddef>
#include <cstdint>

// A libFuzzer executable holds exactly one target.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartQt();
    return FuzzTargets().size() == 1 ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzTargets().front().run(QByteArrayView(data, qsizetype(size)));
    return 0;
}
