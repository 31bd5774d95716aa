#pragma once

#include <cstdint>

#include "puzzle_state.h"

namespace engine {

// The clicked tile's direction of travel on the screen.
enum class SlideDirection { SlideDown, SlideUp, SlideLeft, SlideRight };

struct MoveResult {
    bool Moved = false;
    SlideDirection Direction = SlideDirection::SlideDown;  // meaningful only when Moved

    bool operator==(const MoveResult&) const = default;
};

// The board after tile `value` slides into the blank, when the two are neighbours in a row or
// a column (where a value occurs twice, the last occurrence in row-major order counts); the
// board as it is otherwise.
Grid Slid(const Grid& board, std::uint8_t value);

// True when cells 1..15 hold 1..15; cell 16 is not examined.
bool IsSolved(const Grid& board);

// Slides tile `value` into the blank when the two are neighbours in a row or a column, as
// Slid does. Always records the tile's and the blank's cells (last match in row-major order) in the
// click fields; changes Board only on a move. Never fails.
MoveResult TryMove(PuzzleState& state, std::uint8_t value);

// The tile that would travel in `direction` into the blank (the last blank in row-major
// order): for SlideLeft the tile right of the blank, for SlideDown the one above it. 0 when
// the blank has no neighbour on that side, or the board no blank.
std::uint8_t TileToSlide(const Grid& board, SlideDirection direction);

// IsSolved of Board.
bool IsSolved(const PuzzleState& state);

// Writes 1..15 into cells 1..15 and the blank into cell 16. Touches nothing but Board.
void SetOrderedLayout(PuzzleState& state);

// Writes 1..14 into cells 1..14, the blank into cell 15 and 15 into cell 16: one move from
// solved. Touches nothing but Board.
void SetNearSolvedLayout(PuzzleState& state);

// Records the last blank of Board (row-major order) in BlankRow/BlankCol; with no blank
// on the board both keep their values.
void LocateBlank(PuzzleState& state);

}  // namespace engine
