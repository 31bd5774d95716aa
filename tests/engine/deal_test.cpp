#include <gtest/gtest.h>

#include <array>

#include "board_text.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "scripted_random.h"
#include "seeded_random.h"

using namespace engine;

namespace {

struct ScriptedDeal {
    const char* name;
    ScriptedRandom::Script script;
    const char* dealt;  // the layout after the deal, rows top to bottom
    int paritySum;      // as provchet left it, before any exchange of 14 and 15
    int blankRow, blankCol;
};

int Last(int, int n) { return n - 1; }

}  // namespace

TEST(ScriptedDeals, GiveTheListedLayouts) {
    const ScriptedDeal deals[] = {
        {"always first", [](int, int) { return 0; }, "0 15 14 13 / 12 11 10 9 / 8 7 6 5 / 4 3 2 1", 108, 1, 1},
        {"always last", Last, "14 15 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 1 0", 111, 4, 4},
        {"1 then first", [](int call, int) { return call == 0 ? 1 : 0; }, "0 1 15 13 / 12 11 10 9 / 8 7 6 5 / 4 3 2 14",
         81, 1, 1},
        {"last but the second", [](int call, int n) { return call == 1 ? 0 : n - 1; },
         "14 0 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 1 15", 95, 1, 2},
        {"1 then last", [](int call, int n) { return call == 0 ? 1 : n - 1; },
         "0 15 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 14 1", 95, 1, 1},
    };
    for (const ScriptedDeal& deal : deals) {
        SCOPED_TRACE(deal.name);
        ScriptedRandom random(deal.script);
        PuzzleState state;
        DealBoard(state);
        EXPECT_EQ(TextOf(state.Board), deal.dealt);
        EXPECT_EQ(state.ParitySum, deal.paritySum);
        EXPECT_EQ(state.BlankRow, deal.blankRow);
        EXPECT_EQ(state.BlankCol, deal.blankCol);
        EXPECT_EQ(random.requests, (std::vector<int>{16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
        EXPECT_EQ(random.seeds, 0) << "the deal never seeds";
    }
}

TEST(ScriptedDeals, ParityCorrectionKeepsTheDealsRecords) {
    // Always last: 15 goes to (1,1), 14 to (1,2); the odd sum exchanges them, but the
    // records, the snapshot and the sum stay as the deal made them.
    ScriptedRandom random(Last);
    PuzzleState state;
    DealBoard(state);
    EXPECT_EQ(state.Row15, 1);
    EXPECT_EQ(state.Col15, 1);
    EXPECT_EQ(state.Row14, 1);
    EXPECT_EQ(state.Col14, 2);
    EXPECT_EQ(TextOf(state.BoardCopy), "15 14 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 1 0");
    EXPECT_EQ(state.ParitySum % 2, 1);
}

TEST(ScriptedDeals, ANestedSourceGivesTheOuterOneBackWhenItEnds) {
    ScriptedRandom outer(Last);
    {
        ScriptedRandom inner([](int, int) { return 0; });
        PuzzleState ignored;
        DealBoard(ignored);
    }
    PuzzleState state;
    DealBoard(state);
    EXPECT_EQ(TextOf(state.Board), "14 15 13 12 / 11 10 9 8 / 7 6 5 4 / 3 2 1 0");
    EXPECT_EQ(outer.requests.size(), 15u);
}

TEST(ParitySum, CountsOnASnapshotWithTheRecordedBlankRow) {
    const struct {
        Grid board;
        std::uint8_t blankRow;
        int sum;
    } cases[] = {{kOrdered, 4, 6}, {kNearSolved, 4, 6}, {kOrdered, 1, 3}};
    for (const auto& c : cases) {
        PuzzleState state;
        state.Board = c.board;
        state.BlankRow = c.blankRow;
        provchet(state);
        EXPECT_EQ(state.ParitySum, c.sum) << TextOf(c.board);
        EXPECT_EQ(state.BoardCopy, c.board);
    }
}

TEST(RandomDeals, AreAlwaysCompleteSolvableAndUnsolved) {
    constexpr int kDeals = 100'000;
    SeededRandom random(20261207);
    PuzzleState state;
    std::array<int, kCells> blankCellCounts{};
    for (int deal = 0; deal < kDeals; ++deal) {
        DealBoard(state);
        const Grid& board = state.Board;

        std::array<int, kCells> seen{};
        for (std::uint8_t value : board.cells) {
            ASSERT_LT(value, kCells) << TextOf(board);
            ++seen[value];
        }
        for (int count : seen) ASSERT_EQ(count, 1) << TextOf(board);

        ASSERT_NE(board(1, 1), 1) << TextOf(board);
        ASSERT_FALSE(IsSolved(state)) << TextOf(board);
        ASSERT_EQ(board(state.BlankRow, state.BlankCol), 0) << TextOf(board);
        ASSERT_EQ(PlainParitySum(board) % 2, 0) << TextOf(board);
        ++blankCellCounts[SlotOf(CellIndex(state.BlankRow, state.BlankCol))];
    }
    // The blank lands everywhere, (1,1) more often because of the tile-1 rule.
    for (int count : blankCellCounts) EXPECT_GT(count, kDeals / 32);
}
