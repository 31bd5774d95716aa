#include <gtest/gtest.h>

#include <array>

#include "board_text.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "seeded_random.h"

using namespace engine;

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
