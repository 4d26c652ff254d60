#pragma once
// A failed invariant in a fuzz target: say which, then abort so libFuzzer
// keeps the input.
#include <cstdio>
#include <cstdlib>

#define CHECK(cond)                                                                  \
    do {                                                                             \
        if (!(cond)) {                                                               \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                            \
        }                                                                            \
    } while (0)
