#pragma once

#include <cstdlib>

// A fuzz target's check: a broken one ends the run, and libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) std::abort();
}
