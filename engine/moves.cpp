#include "moves.h"

namespace engine {

namespace {

constexpr std::uint8_t kTileNotFound = 10;
constexpr std::uint8_t kGapNotFound = 0;

}  // namespace

MoveResult TryMove(PuzzleState& state, std::uint8_t value) {
    state.ClickTileRow = state.ClickTileCol = kTileNotFound;
    state.ClickGapRow = state.ClickGapCol = kGapNotFound;

    // The scan never stops early: where a value occurs twice, the last occurrence counts.
    for (int row = 1; row <= kSide; ++row) {
        for (int column = 1; column <= kSide; ++column) {
            const std::uint8_t cell = state.Board(row, column);
            if (cell == value) {
                state.ClickTileRow = static_cast<std::uint8_t>(row);
                state.ClickTileCol = static_cast<std::uint8_t>(column);
            }
            if (cell == 0) {
                state.ClickGapRow = static_cast<std::uint8_t>(row);
                state.ClickGapCol = static_cast<std::uint8_t>(column);
            }
        }
    }

    // Whole-number arithmetic: the "not found" markers can never satisfy a test.
    const int tileRow = state.ClickTileRow, tileCol = state.ClickTileCol;
    const int gapRow = state.ClickGapRow, gapCol = state.ClickGapCol;

    MoveResult result;
    if (gapRow == tileRow + 1 && tileCol == gapCol) {
        result = {true, SlideDirection::SlideDown};
    } else if (gapRow + 1 == tileRow && tileCol == gapCol) {
        result = {true, SlideDirection::SlideUp};
    } else if (gapRow == tileRow && tileCol == gapCol + 1) {
        result = {true, SlideDirection::SlideLeft};
    } else if (gapRow == tileRow && tileCol + 1 == gapCol) {
        result = {true, SlideDirection::SlideRight};
    } else {
        return {};
    }

    state.Board(gapRow, gapCol) = state.Board(tileRow, tileCol);
    state.Board(tileRow, tileCol) = 0;
    return result;
}

std::uint8_t TileToSlide(const Grid& board, SlideDirection direction) {
    int blankRow = 0, blankCol = 0;
    for (int cell = 1; cell <= kCells; ++cell) {
        if (board.at(cell) == 0) {
            blankRow = (cell - 1) / kSide + 1;
            blankCol = (cell - 1) % kSide + 1;
        }
    }
    if (blankRow == 0) return 0;

    // The tile comes from the side opposite to its travel.
    int row = blankRow, column = blankCol;
    switch (direction) {
        case SlideDirection::SlideDown: --row; break;
        case SlideDirection::SlideUp: ++row; break;
        case SlideDirection::SlideLeft: ++column; break;
        case SlideDirection::SlideRight: --column; break;
    }
    if (row < 1 || row > kSide || column < 1 || column > kSide) return 0;
    return board(row, column);
}

bool IsSolved(const PuzzleState& state) {
    for (int cell = 1; cell < kCells; ++cell) {
        if (state.Board.at(cell) != cell) return false;
    }
    return true;
}

void SetOrderedLayout(PuzzleState& state) {
    for (int cell = 1; cell < kCells; ++cell) state.Board.at(cell) = static_cast<std::uint8_t>(cell);
    state.Board.at(kCells) = 0;
}

void SetNearSolvedLayout(PuzzleState& state) {
    SetOrderedLayout(state);
    state.Board(4, 3) = 0;
    state.Board(4, 4) = 15;
}

void LocateBlank(PuzzleState& state) {
    for (int row = 1; row <= kSide; ++row) {
        for (int column = 1; column <= kSide; ++column) {
            if (state.Board(row, column) == 0) {
                state.BlankRow = static_cast<std::uint8_t>(row);
                state.BlankCol = static_cast<std::uint8_t>(column);
            }
        }
    }
}

}  // namespace engine
