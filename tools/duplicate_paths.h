#pragma once

#include <cstdint>
#include <vector>

// The finite-state machine of forbidden move strings (Taylor and Korf, 1993) that the
// solver's search runs beside each path: see solver/pattern_format.h for what it means and
// how the table file stores it, each step packed with the forbidden cells of its state.
struct DuplicatePaths {
    std::vector<std::uint32_t> Next;    // state * 4 + direction -> state
    std::vector<std::uint16_t> EndsAt;  // state -> cells on which a forbidden string ends
};

// The machine for the forbidden strings of up to `maxLength` moves.
DuplicatePaths MakeDuplicatePaths(int maxLength);
