#pragma once

#include <cstdint>

#include "grid.h"

namespace engine {

// The whole state of the puzzle. The game plays from one of these for the whole run;
// it starts zero-filled, so the board is all blanks until a layout is written.
struct PuzzleState {
    Grid Board;      // the layout in play
    Grid BoardCopy;  // snapshot of Board on which the parity sum was counted
    Grid CheckGrid;  // the last arrangement read for a parity check only
    Pool DealPool;   // values not yet dealt; a read arrangement in row-major order

    // The blank's cell, true only right after DealBoard or LocateBlank.
    std::uint8_t BlankRow = 0, BlankCol = 0;
    // Where the deal put tiles 14 and 15 (before any parity correction).
    std::uint8_t Row14 = 0, Col14 = 0;
    std::uint8_t Row15 = 0, Col15 = 0;

    // 2 + inversions + BlankRow, as counted by provchet.
    std::int32_t ParitySum = 0;

    // Cells found by the last TryMove: the clicked tile (10 = not found) and the blank (0 = not found).
    std::uint8_t ClickTileRow = 0, ClickTileCol = 0;
    std::uint8_t ClickGapRow = 0, ClickGapCol = 0;

    bool operator==(const PuzzleState&) const = default;
};

}  // namespace engine
