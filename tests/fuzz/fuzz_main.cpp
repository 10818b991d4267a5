// One libFuzzer executable per target of targets.cpp, chosen at build time by PC_FUZZ_TARGET.
#include <cstdio>
#include <cstdlib>

#include "fuzz/targets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!findFuzzTarget(PC_FUZZ_TARGET)) {
        std::fprintf(stderr, "no fuzz target named %s\n", PC_FUZZ_TARGET);
        std::abort();
    }
    fuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTarget* target = findFuzzTarget(PC_FUZZ_TARGET);
    target->run(data, size);
    return 0;
}
