#pragma once

#include "grid.h"

namespace engine {

enum class Solvability { Solvable, Unsolvable, NotABoard };

// Instant, needs no tables: NotABoard unless the 16 cells hold each of 0..15 once;
// Unsolvable when the parity sum is odd.
Solvability CheckSolvable(const Grid& board);

}  // namespace engine
