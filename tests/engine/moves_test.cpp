#include <gtest/gtest.h>

#include "board_text.h"
#include "engine/moves.h"
#include "played_state.h"

using namespace engine;

TEST(FixedLayouts, WriteOnlyTheBoardOrderedSolvedAndNearSolvedNot) {
    PuzzleState state = PlayedState();
    PuzzleState expected = state;
    SetOrderedLayout(state);
    expected.Board = kOrdered;
    EXPECT_EQ(state, expected);
    EXPECT_TRUE(IsSolved(state));

    SetNearSolvedLayout(state);
    expected.Board = kNearSolved;
    EXPECT_EQ(state, expected);
    EXPECT_FALSE(IsSolved(state));
}

TEST(SolvedTest, IgnoresTheLastCell) {
    PuzzleState state;
    EXPECT_FALSE(IsSolved(state));
    state.Board = GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 9");
    EXPECT_TRUE(IsSolved(state));
    state.Board(1, 1) = 0;
    EXPECT_FALSE(IsSolved(state));
    EXPECT_TRUE(IsSolved(GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 9")));
    EXPECT_FALSE(IsSolved(kNearSolved));
}

// A click on a tile beside the blank slides it in; any other click changes nothing. Where a
// tile moves, the arrow key of its direction names the same tile.
TEST(MoveRule, OnlyTheBlanksNeighboursMove) {
    const std::string middle = "1 2 3 4 / 5 0 7 8 / 9 10 11 12 / 13 14 15 6";  // neighbours 2, 10, 5, 7
    const struct {
        std::string before;
        std::uint8_t tile;
        MoveResult result;
        std::string after;  // empty: as before
    } cases[] = {
        {middle, 2, {true, SlideDirection::SlideDown}, "1 0 3 4 / 5 2 7 8 / 9 10 11 12 / 13 14 15 6"},
        {middle, 10, {true, SlideDirection::SlideUp}, "1 2 3 4 / 5 10 7 8 / 9 0 11 12 / 13 14 15 6"},
        {middle, 5, {true, SlideDirection::SlideRight}, "1 2 3 4 / 0 5 7 8 / 9 10 11 12 / 13 14 15 6"},
        {middle, 7, {true, SlideDirection::SlideLeft}, "1 2 3 4 / 5 7 0 8 / 9 10 11 12 / 13 14 15 6"},
        {TextOf(kNearSolved), 15, {true, SlideDirection::SlideLeft}, TextOf(kOrdered)},
        {TextOf(kOrdered), 12, {true, SlideDirection::SlideDown}, "1 2 3 4 / 5 6 7 8 / 9 10 11 0 / 13 14 15 12"},
        {TextOf(kOrdered), 15, {true, SlideDirection::SlideRight}, "1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 0 15"},
        // Two 5s: the last in reading order, at (3,1), lies below the blank.
        {"5 2 3 4 / 0 6 7 8 / 5 10 11 12 / 13 14 15 1",
         5,
         {true, SlideDirection::SlideUp},
         "5 2 3 4 / 5 6 7 8 / 0 10 11 12 / 13 14 15 1"},
        {TextOf(kOrdered), 11, {}, ""},                                // diagonal, up and left
        {TextOf(kNearSolved), 12, {}, ""},                             // diagonal, up and right
        {TextOf(kOrdered), 4, {}, ""},                                 // same column, three rows up
        {"1 2 3 4 / 0 6 7 8 / 9 10 11 12 / 13 14 15 5", 4, {}, ""},    // consecutive cells across a row end
        {TextOf(kOrdered), 0, {}, ""},                                 // the blank itself
        {TextOf(kOrdered), 99, {}, ""},                                // a number not on the board
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 16", 15, {}, ""},  // no blank at all
        {"0 0 0 0 / 0 0 0 0 / 0 0 0 0 / 0 0 0 0", 5, {}, ""},          // nothing but blanks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before + " tile " + std::to_string(c.tile));
        PuzzleState state;
        state.Board = GridOf(c.before);
        const MoveResult result = TryMove(state, c.tile);
        EXPECT_EQ(result.Moved, c.result.Moved);
        EXPECT_EQ(TextOf(state.Board), c.after.empty() ? c.before : c.after);
        // The pure move gives the same board and leaves its own alone.
        const Grid before = GridOf(c.before);
        EXPECT_EQ(Slid(before, c.tile), state.Board);
        EXPECT_EQ(TextOf(before), c.before);
        if (!c.result.Moved) continue;
        EXPECT_EQ(result.Direction, c.result.Direction);
        EXPECT_EQ(TileToSlide(GridOf(c.before), c.result.Direction), c.tile);
    }
}

// The cells of the clicked tile (10 when it is not found) and of the blank (0 when there is
// none) stay as found before the exchange; "not found" never wraps into a match.
TEST(MoveRule, RecordsTheCellsItFound) {
    const struct {
        const char* board;
        std::uint8_t tile;
        int tileRow, tileCol, gapRow, gapCol;
    } cases[] = {
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 0 15", 15, 4, 4, 4, 3},
        {"0 0 0 0 / 0 0 0 0 / 0 0 0 0 / 0 0 0 0", 5, 10, 10, 4, 4},
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 16", 16, 4, 4, 0, 0},
    };
    for (const auto& c : cases) {
        PuzzleState state;
        state.Board = GridOf(c.board);
        TryMove(state, c.tile);
        EXPECT_EQ(state.ClickTileRow, c.tileRow) << c.board;
        EXPECT_EQ(state.ClickTileCol, c.tileCol) << c.board;
        EXPECT_EQ(state.ClickGapRow, c.gapRow) << c.board;
        EXPECT_EQ(state.ClickGapCol, c.gapCol) << c.board;
    }
}

TEST(MoveRule, NoTileComesFromOffTheBoardOrWithoutABlank) {
    EXPECT_EQ(TileToSlide(kOrdered, SlideDirection::SlideLeft), 0);
    EXPECT_EQ(TileToSlide(kOrdered, SlideDirection::SlideUp), 0);
    EXPECT_EQ(TileToSlide(GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 9"), SlideDirection::SlideDown), 0);
}

TEST(LocateBlank, RecordsTheLastBlankOrKeepsTheOldCell) {
    PuzzleState state;
    state.Board = GridOf("1 2 3 4 / 5 6 7 8 / 9 10 0 12 / 13 14 15 11");
    LocateBlank(state);
    EXPECT_EQ(state.BlankRow, 3);
    EXPECT_EQ(state.BlankCol, 3);

    state.Board(3, 3) = 16;
    LocateBlank(state);
    EXPECT_EQ(state.BlankRow, 3);
    EXPECT_EQ(state.BlankCol, 3);

    PuzzleState empty;
    LocateBlank(empty);
    EXPECT_EQ(empty.BlankRow, 4);
    EXPECT_EQ(empty.BlankCol, 4);
}

TEST(CellAddressing, CellIndexIsRowMajorFromOne) {
    EXPECT_EQ(CellIndex(1, 1), 1);
    EXPECT_EQ(CellIndex(2, 1), 5);
    EXPECT_EQ(CellIndex(4, 3), 15);
    EXPECT_EQ(CellIndex(4, 4), 16);
}
