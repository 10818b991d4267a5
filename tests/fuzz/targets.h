// The fuzz targets: each feeds one buffer through the reader the game uses for that kind of file, then
// through the code that uses what was read. libFuzzer runs one target per executable (fuzz_main.cpp);
// the unit tests replay the kept inputs of tests/fuzz/regressions/<name>/ through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

struct FuzzTarget {
    const char* name;
    void (*run)(const uint8_t* data, size_t size);
};

const FuzzTarget* fuzzTargets(int* count);
const FuzzTarget* findFuzzTarget(const char* name); // null for an unknown name

// A process-wide set-up: temporary per-user and data folders, a headless graphics backend, no message
// boxes and no process exit on a fatal loading error. Called once before the first input.
void fuzzSetUp();
void fuzzTearDown(); // removes the temporary folders (unit tests)
