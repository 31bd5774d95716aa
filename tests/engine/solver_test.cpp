#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <vector>

#include "board_text.h"
#include "engine/moves.h"
#include "engine/solver.h"

using namespace engine;

namespace {

// The tables the game finds beside its executable in the build folder.
std::string TablesPath() { return TablesPathFor(PLITON_TEST_PROGRAM_DIR); }

class SolverTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string why;
        tables_ = PatternDatabases::Load(TablesPath(), &why).release();
        if (!tables_) std::fprintf(stderr, "cannot load the tables: %s\n", why.c_str());
    }
    static void TearDownTestSuite() {
        delete tables_;
        tables_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(tables_, nullptr) << "no tables at " << TablesPath(); }

    static Solution SolveNow(const Grid& board) {
        const std::atomic<bool> cancel{false};
        return Solve(board, *tables_, cancel);
    }

    // Solves `board` and checks that the answer has `length` moves and that sliding its tiles
    // one by one, as a player's clicks would, ends on the goal.
    static void ExpectShortest(const Grid& board, int length) {
        SCOPED_TRACE(TextOf(board));
        const Solution solution = SolveNow(board);
        ASSERT_EQ(solution.Outcome, SolveOutcome::Solved);
        EXPECT_EQ(static_cast<int>(solution.Tiles.size()), length);
        PuzzleState state;
        state.Board = board;
        for (const std::uint8_t tile : solution.Tiles) ASSERT_TRUE(TryMove(state, tile).Moved) << int{tile};
        EXPECT_EQ(state.Board, kOrdered);
    }

    static const PatternDatabases* tables_;
};

const PatternDatabases* SolverTest::tables_ = nullptr;

}  // namespace

// A slice of Korf's 100 (tests/data/korf100.txt, where the benchmark solves all of them), from
// the shortest to some of the longest; the listed lengths are the proven optima.
TEST_F(SolverTest, KorfPositionsGetTheirOptimalLength) {
    const struct {
        int length;
        const char* board;
    } positions[] = {
        {41, "5 10 14 4 / 6 12 11 1 / 9 0 15 7 / 13 2 8 3"},  // no. 55
        {42, "6 1 15 8 / 5 10 13 0 / 3 4 2 7 / 14 9 11 12"},  // no. 42
        {45, "1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2"},  // no. 12
        {49, "3 5 7 4 / 0 14 12 13 / 15 9 8 1 / 11 6 2 10"},  // no. 73
        {51, "3 14 4 9 / 7 13 5 6 / 2 15 10 12 / 8 1 0 11"},  // no. 58
        {53, "14 12 15 10 / 1 13 4 6 / 3 7 2 0 / 8 5 9 11"},  // no. 94
        {56, "11 4 6 14 / 15 13 9 0 / 7 10 8 1 / 5 12 3 2"},  // no. 74
        {57, "15 5 14 1 / 0 12 8 6 / 4 9 13 10 / 2 3 7 11"},  // no. 11
        {58, "12 13 14 2 / 3 10 1 7 / 11 6 0 5 / 4 9 15 8"},  // no. 37
        {59, "4 0 14 1 / 3 7 12 13 / 6 2 11 5 / 15 8 10 9"},  // no. 14
        {66, "0 8 10 6 / 11 7 9 1 / 12 4 13 14 / 15 3 2 5"},  // no. 60
    };
    for (const auto& position : positions) ExpectShortest(GridOf(position.board), position.length);
}

// Every position within ten moves of the goal, with its distance found by a breadth-first
// search, solved in exactly that many moves: every blank cell, and the goal itself with no moves.
TEST_F(SolverTest, EveryPositionNearTheGoalGetsItsDistance) {
    std::map<Grid, int, decltype([](const Grid& a, const Grid& b) { return a.cells < b.cells; })> distance{
        {kOrdered, 0}};
    std::vector<Grid> frontier{kOrdered};
    for (int depth = 1; depth <= 10; ++depth) {
        std::vector<Grid> next;
        for (const Grid& board : frontier) {
            for (std::uint8_t tile = 1; tile <= 15; ++tile) {
                PuzzleState state;
                state.Board = board;
                if (TryMove(state, tile).Moved && distance.emplace(state.Board, depth).second) {
                    next.push_back(state.Board);
                }
            }
        }
        frontier = std::move(next);
    }
    ASSERT_GT(distance.size(), 1000u);
    for (const auto& [board, moves] : distance) ExpectShortest(board, moves);

    const Solution solved = SolveNow(kOrdered);
    EXPECT_EQ(solved.Outcome, SolveOutcome::Solved);
    EXPECT_TRUE(solved.Tiles.empty());
}

TEST_F(SolverTest, UnsolvableAndMalformedBoardsAreAnsweredWithoutSearch) {
    const struct {
        const char* board;
        Solvability solvability;
        SolveOutcome outcome;
    } cases[] = {
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 15 14 0", Solvability::Unsolvable, SolveOutcome::Unsolvable},
        {"0 12 9 13 / 15 11 10 14 / 3 7 5 6 / 4 8 1 2", Solvability::Unsolvable, SolveOutcome::Unsolvable},
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 14 0", Solvability::NotABoard, SolveOutcome::NotABoard},
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 16 0", Solvability::NotABoard, SolveOutcome::NotABoard},
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 255", Solvability::NotABoard, SolveOutcome::NotABoard},
        {"1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 0 0", Solvability::NotABoard, SolveOutcome::NotABoard},
        {"0 0 0 0 / 0 0 0 0 / 0 0 0 0 / 0 0 0 0", Solvability::NotABoard, SolveOutcome::NotABoard},
        {"0 12 9 13 / 15 11 10 14 / 3 7 5 6 / 4 8 2 1", Solvability::Solvable, SolveOutcome::Solved},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        const Grid board = GridOf(c.board);
        EXPECT_EQ(CheckSolvable(board), c.solvability);
        if (c.outcome == SolveOutcome::Solved) continue;  // the farthest position: too long to solve here
        const Solution solution = SolveNow(board);
        EXPECT_EQ(solution.Outcome, c.outcome);
        EXPECT_TRUE(solution.Tiles.empty());
        EXPECT_EQ(solution.NodesGenerated, 0u);
    }
}

// The search runs on the caller's thread; another thread sets the flag and the search must
// give up within milliseconds, from the farthest position that takes seconds to solve.
TEST_F(SolverTest, CancelFromAnotherThreadEndsTheSearchPromptly) {
    std::atomic<bool> cancel{true};
    const Solution before = Solve(kEightyMovesOut, *tables_, cancel);
    EXPECT_EQ(before.Outcome, SolveOutcome::Cancelled);

    cancel = false;
    std::atomic<std::int64_t> setAt{0};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        setAt = std::chrono::steady_clock::now().time_since_epoch().count();
        cancel = true;
    });
    const Solution solution = Solve(kEightyMovesOut, *tables_, cancel);
    const auto returnedAt = std::chrono::steady_clock::now().time_since_epoch().count();
    canceller.join();
    EXPECT_EQ(solution.Outcome, SolveOutcome::Cancelled);
    EXPECT_TRUE(solution.Tiles.empty());
    EXPECT_GT(solution.NodesGenerated, 0u);
    const auto latency = std::chrono::steady_clock::duration(returnedAt - setAt.load());
    // Polling stops the search within a millisecond; the margin is for a busy machine.
    EXPECT_LT(latency, std::chrono::milliseconds(250));
}

// A file that is missing, cut short or changed in any byte is refused, with a reason, and
// never read as tables.
TEST_F(SolverTest, DamagedTableFilesAreRefused) {
    namespace fs = std::filesystem;
    const fs::path copy =
        fs::path(testing::TempDir()) / ("solver_test_tables_" + std::to_string(getpid()) + ".bin");
    const auto bytes = fs::file_size(TablesPath());
    const auto check = [&copy](const char* what, auto damage) {
        SCOPED_TRACE(what);
        fs::copy_file(TablesPath(), copy, fs::copy_options::overwrite_existing);
        damage();
        std::string why;
        EXPECT_EQ(PatternDatabases::Load(copy.string(), &why), nullptr);
        EXPECT_NE(why.find(copy.string()), std::string::npos) << why;
    };
    const auto flip = [&copy](std::uintmax_t offset) {
        std::fstream file(copy, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(static_cast<std::streamoff>(offset));
        const char byte = static_cast<char>(file.get() ^ 0x10);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(byte);
    };

    fs::copy_file(TablesPath(), copy, fs::copy_options::overwrite_existing);
    const auto intact = PatternDatabases::Load(copy.string());
    ASSERT_NE(intact, nullptr);
    EXPECT_EQ(intact->Bytes(), bytes);
    EXPECT_LE(intact->Bytes(), 16u << 20);

    check("a byte of a table", [&] { flip(bytes / 2); });
    check("a byte of the header", [&] { flip(20); });
    check("the checksum", [&] { flip(bytes - 1); });
    check("cut short", [&] { fs::resize_file(copy, bytes - 1); });
    check("cut to the header", [&] { fs::resize_file(copy, 100); });
    check("empty", [&] { fs::resize_file(copy, 0); });
    check("missing", [&] { fs::remove(copy); });
    fs::remove(copy);
}
