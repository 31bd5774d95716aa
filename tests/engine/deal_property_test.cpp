#include <gtest/gtest.h>

#include <array>

#include "board_text.h"
#include "engine/deal.h"
#include "engine/moves.h"
#include "seeded_random.h"

using namespace engine;

namespace {

// Inversions counted the plain way, independently of the engine.
int FreshParitySum(const Grid& board) {
    int sum = 2;
    for (int p = 1; p <= kCells; ++p) {
        if (board.at(p) == 0) {
            sum += (p - 1) / kSide + 1;
            continue;
        }
        for (int q = p + 1; q <= kCells; ++q) sum += board.at(q) != 0 && board.at(q) < board.at(p);
    }
    return sum;
}

}  // namespace

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
        ASSERT_EQ(FreshParitySum(board) % 2, 0) << TextOf(board);
        ++blankCellCounts[CellIndex(state.BlankRow, state.BlankCol) - 1];
    }
    // The blank lands everywhere, (1,1) more often because of the tile-1 rule.
    for (int count : blankCellCounts) EXPECT_GT(count, kDeals / 32);
}
