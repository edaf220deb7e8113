#pragma once
#include <cstdio>
#include <cstdlib>

// A broken property ends the run as a crash does, so libFuzzer keeps the
// input that broke it and the test fails.
#define FUZZ_CHECK(condition)                                                       \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)
