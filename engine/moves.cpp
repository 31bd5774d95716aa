#include "moves.h"

namespace engine {

namespace {

constexpr std::uint8_t kTileNotFound = 10;
constexpr std::uint8_t kGapNotFound = 0;

}  // namespace

Grid Slid(const Grid& board, std::uint8_t value) {
    const int tile = value == 0 ? 0 : LastCellHolding(board, value);
    const int gap = LastBlankCell(board);
    if (tile == 0 || gap == 0) return board;
    const int rows = RowOf(tile) - RowOf(gap), columns = ColumnOf(tile) - ColumnOf(gap);
    if (rows * rows + columns * columns != 1) return board;
    Grid after = board;
    after.at(gap) = value;
    after.at(tile) = 0;
    return after;
}

bool IsSolved(const Grid& board) {
    for (int cell = 1; cell < kCells; ++cell) {
        if (board.at(cell) != cell) return false;
    }
    return true;
}

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

    const Grid after = Slid(state.Board, value);
    if (after == state.Board) return {};
    state.Board = after;
    // The tile travels towards the blank's cell, its neighbour.
    if (state.ClickTileRow < state.ClickGapRow) return {true, SlideDirection::SlideDown};
    if (state.ClickTileRow > state.ClickGapRow) return {true, SlideDirection::SlideUp};
    if (state.ClickTileCol > state.ClickGapCol) return {true, SlideDirection::SlideLeft};
    return {true, SlideDirection::SlideRight};
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

bool IsSolved(const PuzzleState& state) { return IsSolved(state.Board); }

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
