#pragma once

#include "grid.h"

namespace engine {

enum class Solvability { Solvable, Unsolvable, NotABoard };

// The pairs of tiles, blank left out, that stand in row-major order before a lower tile.
int InversionsOf(const Grid& grid);

// 2 + inversions among the tiles in row-major order + the blank's row (the last blank
// found). Even exactly when a layout holding each of 0..15 once can be solved.
int ParitySumOf(const Grid& grid);

// Instant, needs no tables: NotABoard unless the 16 cells hold each of 0..15 once;
// Unsolvable when the parity sum is odd.
Solvability CheckSolvable(const Grid& board);

}  // namespace engine
