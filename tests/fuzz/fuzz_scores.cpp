// fuzz_scores.cpp -- libFuzzer target: any bytes as Scores.txt.
#include <stdlib.h>

#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    atexit(FuzzTearDown);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScores(data, size);
    return 0;
}
