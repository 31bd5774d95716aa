#include "moves.h"

namespace engine {

namespace {

constexpr std::uint8_t kTileNotFound = 10;
constexpr std::uint8_t kGapNotFound = 0;

}  // namespace

MoveResult TryMove(PuzzleState& state, std::uint8_t value) {
    state.ClickTileRow = state.ClickTileCol = kTileNotFound;
    state.ClickGapRow = state.ClickGapCol = kGapNotFound;

    // Where a value occurs twice, the last occurrence in row-major order counts.
    if (const int tile = LastCellHolding(state.Board, value)) {
        state.ClickTileRow = static_cast<std::uint8_t>(RowOf(tile));
        state.ClickTileCol = static_cast<std::uint8_t>(ColumnOf(tile));
    }
    if (const int gap = LastBlankCell(state.Board)) {
        state.ClickGapRow = static_cast<std::uint8_t>(RowOf(gap));
        state.ClickGapCol = static_cast<std::uint8_t>(ColumnOf(gap));
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
    const int blank = LastBlankCell(board);
    if (blank == 0) return 0;

    // The tile comes from the side opposite to its travel.
    int row = RowOf(blank), column = ColumnOf(blank);
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
    if (const int blank = LastBlankCell(state.Board)) {
        state.BlankRow = static_cast<std::uint8_t>(RowOf(blank));
        state.BlankCol = static_cast<std::uint8_t>(ColumnOf(blank));
    }
}

}  // namespace engine
