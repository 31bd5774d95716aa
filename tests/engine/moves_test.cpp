#include <gtest/gtest.h>

#include "board_text.h"
#include "engine/moves.h"

using namespace engine;

namespace {

PuzzleState StateWith(const std::string& layout) {
    PuzzleState state;
    state.Board = GridOf(layout);
    return state;
}

}  // namespace

TEST(FixedLayouts, OrderedIsSolvedAndNearSolvedIsNot) {
    PuzzleState state;
    SetOrderedLayout(state);
    EXPECT_EQ(state.Board, kOrdered);
    EXPECT_TRUE(IsSolved(state));

    SetNearSolvedLayout(state);
    EXPECT_EQ(state.Board, kNearSolved);
    EXPECT_FALSE(IsSolved(state));
}

TEST(FixedLayouts, WriteOnlyTheBoard) {
    PuzzleState state;
    state.BlankRow = 2; state.BlankCol = 3; state.Row14 = 1; state.Col14 = 4; state.Row15 = 3; state.Col15 = 1;
    state.ParitySum = 77; state.BoardCopy.at(5) = 9; state.DealPool[7] = 3; state.CheckGrid.at(2) = 8;
    state.ClickTileRow = 10; state.ClickGapCol = 4;

    PuzzleState expected = state;
    SetOrderedLayout(state);
    expected.Board = kOrdered;
    EXPECT_EQ(state, expected);

    SetNearSolvedLayout(state);
    expected.Board = kNearSolved;
    EXPECT_EQ(state, expected);
}

TEST(SolvedTest, IgnoresTheLastCell) {
    PuzzleState state = StateWith("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 9");
    EXPECT_TRUE(IsSolved(state));
    state.Board(1, 1) = 0;
    EXPECT_FALSE(IsSolved(state));
    PuzzleState empty;
    EXPECT_FALSE(IsSolved(empty));
}

TEST(MoveRule, NearSolvedFifteenSlidesLeftAndSolves) {
    PuzzleState state;
    SetNearSolvedLayout(state);
    EXPECT_EQ(TryMove(state, 15), (MoveResult{true, SlideDirection::SlideLeft}));
    EXPECT_EQ(state.Board, kOrdered);
    EXPECT_TRUE(IsSolved(state));
    // The click fields keep the cells from before the exchange.
    EXPECT_EQ(state.ClickTileRow, 4); EXPECT_EQ(state.ClickTileCol, 4);
    EXPECT_EQ(state.ClickGapRow, 4); EXPECT_EQ(state.ClickGapCol, 3);
}

TEST(MoveRule, EachDirectionIntoTheBlank) {
    // Blank in the middle at (2,2); its four neighbours are 2 (above), 10 (below),
    // 5 (left) and 7 (right).
    const std::string layout = "1 2 3 4 / 5 0 7 8 / 9 10 11 12 / 13 14 15 6";
    struct Case { std::uint8_t tile; SlideDirection direction; int row, col; };
    for (const Case c : {Case{2, SlideDirection::SlideDown, 1, 2}, Case{10, SlideDirection::SlideUp, 3, 2},
                         Case{5, SlideDirection::SlideRight, 2, 1}, Case{7, SlideDirection::SlideLeft, 2, 3}}) {
        PuzzleState state = StateWith(layout);
        EXPECT_EQ(TileToSlide(state.Board, c.direction), c.tile);  // what an arrow key plays
        EXPECT_EQ(TryMove(state, c.tile), (MoveResult{true, c.direction})) << int(c.tile);
        EXPECT_EQ(state.Board(2, 2), c.tile);
        EXPECT_EQ(state.Board(c.row, c.col), 0);
    }
}

TEST(MoveRule, OrderedLayoutMovesOnlyTheBlanksNeighbours) {
    PuzzleState state;
    SetOrderedLayout(state);
    EXPECT_EQ(TryMove(state, 12), (MoveResult{true, SlideDirection::SlideDown}));
    EXPECT_EQ(state.Board(4, 4), 12);
    EXPECT_EQ(state.Board(3, 4), 0);

    SetOrderedLayout(state);
    EXPECT_EQ(TryMove(state, 15), (MoveResult{true, SlideDirection::SlideRight}));

    // From the corner nothing can travel left or up, and a board without a blank has no move.
    SetOrderedLayout(state);
    EXPECT_EQ(TileToSlide(state.Board, SlideDirection::SlideLeft), 0);
    EXPECT_EQ(TileToSlide(state.Board, SlideDirection::SlideUp), 0);
    EXPECT_EQ(TileToSlide(state.Board, SlideDirection::SlideRight), 15);
    EXPECT_EQ(TileToSlide(GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 9"), SlideDirection::SlideDown), 0);
}

TEST(MoveRule, NonNeighboursDoNotMove) {
    struct Case { const char* layout; std::uint8_t tile; };
    const Case cases[] = {
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 0", 11},  // diagonal, up and left
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 0 15", 12},  // diagonal, up and right
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 0", 4},   // same column, three rows up
        {"1 2 3 4 / 0 6 7 8 / 9 10 11 12 / 13 14 15 5", 4},   // consecutive cells across a row end
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 0", 0},   // the blank itself
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 0", 99},  // a number not on the board
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 16", 15}, // no blank at all
    };
    for (const Case& c : cases) {
        PuzzleState state = StateWith(c.layout);
        const Grid before = state.Board;
        EXPECT_FALSE(TryMove(state, c.tile).Moved) << c.layout << " tile " << int(c.tile);
        EXPECT_EQ(state.Board, before);
    }
}

TEST(MoveRule, EmptyBoardFindsNoTileAndTheLastBlank) {
    PuzzleState state;
    EXPECT_FALSE(TryMove(state, 5).Moved);
    EXPECT_EQ(state.ClickTileRow, 10); EXPECT_EQ(state.ClickTileCol, 10);
    EXPECT_EQ(state.ClickGapRow, 4); EXPECT_EQ(state.ClickGapCol, 4);
    EXPECT_EQ(state.Board, Grid{});
}

TEST(MoveRule, EdgeTileAtRowFourDoesNotWrap) {
    // Tile at (4,4), blank not found: the markers must not wrap into a match.
    PuzzleState state = StateWith("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 16");
    EXPECT_FALSE(TryMove(state, 16).Moved);
    EXPECT_EQ(state.ClickGapRow, 0);
    EXPECT_EQ(state.ClickTileRow, 4);
}

TEST(MoveRule, DuplicateTileUsesItsLastOccurrence) {
    // Two 5s: the one at (3,1) is the last in row-major order and lies below the blank.
    PuzzleState state = StateWith("5 2 3 4 / 0 6 7 8 / 5 10 11 12 / 13 14 15 1");
    EXPECT_EQ(TryMove(state, 5), (MoveResult{true, SlideDirection::SlideUp}));
    EXPECT_EQ(state.Board(2, 1), 5);
    EXPECT_EQ(state.Board(3, 1), 0);
    EXPECT_EQ(state.Board(1, 1), 5);
}

TEST(LocateBlank, RecordsTheLastBlankOrKeepsTheOldCell) {
    PuzzleState state = StateWith("1 2 3 4 / 5 6 7 8 / 9 10 0 12 / 13 14 15 11");
    LocateBlank(state);
    EXPECT_EQ(state.BlankRow, 3); EXPECT_EQ(state.BlankCol, 3);

    state.Board(3, 3) = 16;
    LocateBlank(state);
    EXPECT_EQ(state.BlankRow, 3); EXPECT_EQ(state.BlankCol, 3);

    PuzzleState empty;
    LocateBlank(empty);
    EXPECT_EQ(empty.BlankRow, 4); EXPECT_EQ(empty.BlankCol, 4);
}

TEST(CellAddressing, CellIndexIsRowMajorFromOne) {
    EXPECT_EQ(CellIndex(1, 1), 1);
    EXPECT_EQ(CellIndex(2, 1), 5);
    EXPECT_EQ(CellIndex(4, 3), 15);
    EXPECT_EQ(CellIndex(4, 4), 16);
}
