// A broken invariant ends the fuzzing run with the message and the input saved.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, message)                                                \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "invariant broken: %s (%s)\n", message, #condition); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)
