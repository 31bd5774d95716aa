#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>
#include <vector>

#include "board_text.h"
#include "sanitizer_build.h"
#include "engine/moves.h"
#include "engine/pattern_format.h"
#include "engine/solver.h"

using namespace engine;

namespace {

// The tables the game finds beside its executable in the build folder.
std::string TablesPath() { return TablesPathFor(PLITON_TEST_PROGRAM_DIR); }

std::vector<char> TableBytes() {
    std::ifstream in(TablesPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

patterns::FileHeader HeaderOf(const std::vector<char>& bytes) {
    patterns::FileHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

// The test's own copy of the tables, removed after each test.
std::string CopyPath() {
    return (std::filesystem::path(testing::TempDir()) / ("solver_test_tables_" + std::to_string(getpid()))).string();
}

// Writes `bytes` to the test's own copy and returns its path; `sealed`, with the checksum at
// the end made to match the bytes before it.
std::string WriteCopy(std::vector<char> bytes, bool sealed = false) {
    const std::string path = CopyPath();
    if (sealed) {
        const std::size_t data = bytes.size() - patterns::kChecksumBytes;
        const std::uint64_t sum = patterns::Fnv1a({reinterpret_cast<const std::uint8_t*>(bytes.data()), data});
        std::memcpy(bytes.data() + data, &sum, sizeof sum);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

class SolverTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string why;
        tables_ = PatternDatabases::Load(TablesPath(), &why).release();
        if (!tables_) std::fprintf(stderr, "cannot load the tables: %s\n", why.c_str());
    }
    static void TearDownTestSuite() { delete tables_; }
    void SetUp() override { ASSERT_NE(tables_, nullptr) << "no tables at " << TablesPath(); }
    void TearDown() override { std::filesystem::remove(CopyPath()); }

    static Solution SolveNow(const Grid& board) {
        const std::atomic<bool> cancel{false};
        return Solve(board, *tables_, cancel);
    }

    // Solves `board` in `length` moves; and, when `nodes` is given, the search kept on one
    // thread, whose count does not depend on the machine's load, generates at most a quarter more.
    static void ExpectShortest(const Grid& board, int length, std::uint64_t nodes = 0) {
        SCOPED_TRACE(TextOf(board));
        const Solution solution = SolveNow(board);
        ASSERT_EQ(solution.Outcome, SolveOutcome::Solved);
        EXPECT_EQ(static_cast<int>(solution.Tiles.size()), length);
        if (nodes > 0) {
            const std::atomic<bool> cancel{false};
            const Solution alone = SolveOnThisThread(board, *tables_, cancel);
            EXPECT_EQ(alone.Tiles.size(), solution.Tiles.size());
            EXPECT_LE(alone.NodesGenerated, nodes + nodes / 4);
        }
        ExpectSolves(board, solution);
    }

    // Sliding the answer's tiles one by one, as a player's clicks would, ends on the goal.
    static void ExpectSolves(const Grid& board, const Solution& solution) {
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
// the shortest to some of the longest; the listed lengths are the proven optima. The nodes
// are those the search generates on one thread (the same on every machine): a search that
// does more work, by a weaker estimate, a bound that rises too slowly or paths it should
// prune, fails here.
TEST_F(SolverTest, KorfPositionsGetTheirOptimalLength) {
    const struct { int length; const char* board; std::uint64_t nodes; } positions[] = {
        {41, "5 10 14 4 / 6 12 11 1 / 9 0 15 7 / 13 2 8 3", 2'978},        // no. 55
        {42, "6 1 15 8 / 5 10 13 0 / 3 4 2 7 / 14 9 11 12", 795},          // no. 42
        {45, "1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2", 1'888},        // no. 12
        {49, "3 5 7 4 / 0 14 12 13 / 15 9 8 1 / 11 6 2 10", 3'022},        // no. 73
        {51, "3 14 4 9 / 7 13 5 6 / 2 15 10 12 / 8 1 0 11", 13'082},       // no. 58
        {53, "14 12 15 10 / 1 13 4 6 / 3 7 2 0 / 8 5 9 11", 4'151},        // no. 94
        {56, "11 4 6 14 / 15 13 9 0 / 7 10 8 1 / 5 12 3 2", 22'165},       // no. 74
        {57, "15 5 14 1 / 0 12 8 6 / 4 9 13 10 / 2 3 7 11", 99'846},       // no. 11
        {58, "12 13 14 2 / 3 10 1 7 / 11 6 0 5 / 4 9 15 8", 133'451},      // no. 37
        {59, "4 0 14 1 / 3 7 12 13 / 6 2 11 5 / 15 8 10 9", 139'243},      // no. 14
        {66, "0 8 10 6 / 11 7 9 1 / 12 4 13 14 / 15 3 2 5", 1'703'374},    // no. 60
    };
    for (const auto& p : positions) ExpectShortest(GridOf(p.board), p.length, p.nodes);
}

namespace {

// The threads of this process.
int ThreadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

// What a search did, watched from another thread every millisecond: the most threads it
// ran beside the caller's, the threads it left behind, and the highest bound it reported.
struct Watched { int helpers = 0, left = 0, highestBound = 0; };

Watched Watch(const std::function<void()>& search, const std::atomic<int>& bound) {
    const int before = ThreadCount();
    std::atomic<bool> done{false};
    Watched watched;
    std::thread watcher([&] {
        for (; !done.load(); std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
            watched.helpers = std::max(watched.helpers, ThreadCount() - before - 1);
            watched.highestBound = std::max(watched.highestBound, bound.load());
        }
    });
    search();
    watched.left = ThreadCount() - before - 1;
    done = true;
    watcher.join();
    return watched;
}

}  // namespace

// A position that needs 80 moves, as many as any: the search must go up to that bound. The
// bound reported rises to the answer's length, never past it. Past its first iterations the
// search takes one helper thread, whose nodes count with the caller's: the iterations before
// the last, which every run searches whole, generate as many nodes as on one thread. A search
// kept on one thread takes no helper, and neither leaves a thread behind. ThreadSanitizer
// slows the search tenfold and more: there Korf's no. 60 (66 moves) stands in for it.
TEST_F(SolverTest, ALongSearchRisesToItsAnswerOnTwoThreads) {
    const Grid korf60 = GridOf("0 8 10 6 / 11 7 9 1 / 12 4 13 14 / 15 3 2 5");
#ifdef PLITON_UNDER_TSAN
    const Grid board = korf60;
    const std::size_t length = 66;
    const std::uint64_t nodesBeforeLast = 1'308'584;
#else
    const Grid board = GridOf("0 12 9 13 / 15 11 10 14 / 3 7 2 5 / 4 8 6 1");
    const std::size_t length = 80;
    const std::uint64_t nodesBeforeLast = 290'019'937;
#endif
    const std::atomic<bool> cancel{false};
    std::atomic<int> bound{0};
    Solution solution;
    const Watched shared = Watch([&] { solution = Solve(board, *tables_, cancel, &bound); }, bound);
    ASSERT_EQ(solution.Outcome, SolveOutcome::Solved);
    EXPECT_EQ(solution.Tiles.size(), length);
    ExpectSolves(board, solution);
    EXPECT_EQ(static_cast<std::size_t>(bound.load()), length);
    EXPECT_LE(static_cast<std::size_t>(shared.highestBound), length);
    EXPECT_GE(solution.NodesGenerated, nodesBeforeLast);
    EXPECT_EQ(shared.helpers, 1);
    EXPECT_EQ(shared.left, 0);

    const std::atomic<int> none{0};
    const Watched alone = Watch([&] { solution = SolveOnThisThread(korf60, *tables_, cancel); }, none);
    EXPECT_EQ(solution.Tiles.size(), 66u);
    EXPECT_EQ(alone.helpers, 0);
    EXPECT_EQ(alone.left, 0);
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

// Boards the search must never see. Should one slip through, the watchdog's cancel makes
// the test fail in seconds instead of spinning until the test's timeout.
TEST_F(SolverTest, UnsolvableAndMalformedBoardsAreAnsweredWithoutSearch) {
    std::atomic<bool> cancel{false};
    const std::jthread watchdog([&cancel](std::stop_token stop) {
        for (int waited = 0; waited < 500 && !stop.stop_requested(); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        cancel = true;
    });
    const struct { const char* board; Solvability solvability; SolveOutcome outcome; } cases[] = {
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
        const Solution solution = Solve(board, *tables_, cancel);
        EXPECT_EQ(solution.Outcome, c.outcome);
        EXPECT_TRUE(solution.Tiles.empty());
        EXPECT_EQ(solution.NodesGenerated, 0u);
    }
}

// A flag set before the search leaves it without a node. Set from another thread once the
// search is in an iteration of seconds (bound 76 of the farthest position), it must stop the
// search within milliseconds, not at the iteration's end.
TEST_F(SolverTest, CancelFromAnotherThreadEndsTheSearchPromptly) {
    std::atomic<bool> cancel{true};
    const Solution before = Solve(kEightyMovesOut, *tables_, cancel);
    EXPECT_EQ(before.Outcome, SolveOutcome::Cancelled);
    EXPECT_EQ(before.NodesGenerated, 0u);

    cancel = false;
    std::atomic<int> bound{0};
    std::atomic<std::int64_t> setAt{0};
    std::thread canceller([&] {
        while (bound.load() < 76 && !cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        setAt = std::chrono::steady_clock::now().time_since_epoch().count();
        cancel = true;
    });
    const Solution solution = Solve(kEightyMovesOut, *tables_, cancel, &bound);
    const auto returnedAt = std::chrono::steady_clock::now().time_since_epoch().count();
    cancel = true;
    canceller.join();
    EXPECT_EQ(solution.Outcome, SolveOutcome::Cancelled);
    EXPECT_TRUE(solution.Tiles.empty());
    // Polling stops the search within a millisecond; the margin is for a busy machine.
    EXPECT_LT(std::chrono::steady_clock::duration(returnedAt - setAt.load()), std::chrono::milliseconds(250));
}

// A file that is missing, cut short or changed in any byte is refused, with its path and
// what is wrong, and never read as tables. A change sealed with a matching checksum is
// refused by the checks behind the checksum: of the header, of the entries (none beyond
// 80 moves, 0 at each group's goal) and of the machine of duplicate paths.
TEST_F(SolverTest, DamagedTableFilesAreRefused) {
    const std::vector<char> intact = TableBytes();
    const auto tables = PatternDatabases::Load(WriteCopy(intact));
    ASSERT_NE(tables, nullptr);
    EXPECT_EQ(tables->Bytes(), intact.size());
    EXPECT_LE(tables->Bytes(), 32u << 20);

    // Each damage changes the bytes, or the header that a sealed copy is written with.
    const struct {
        const char* what;
        const char* kind;
        bool sealed;
        std::function<void(patterns::FileHeader&, std::vector<char>&)> damage;
    } cases[] = {
        {"a byte of a table", "bad checksum", false, [](auto&, auto& b) { b[b.size() / 2] ^= 0x10; }},
        {"a byte of the header", "bad header", false, [](auto&, auto& b) { b[20] ^= 0x10; }},
        {"the checksum", "bad checksum", false, [](auto&, auto& b) { b.back() ^= 0x10; }},
        {"cut short", "truncated", false, [](auto&, auto& b) { b.pop_back(); }},
        {"cut to the header", "truncated", false, [](auto&, auto& b) { b.resize(100); }},
        {"empty", "truncated", false, [](auto&, auto& b) { b.clear(); }},
        {"the size in the header", "bad header", true, [](auto& h, auto&) { h.FileBytes -= 64; }},
        {"a group left out", "bad header", true, [](auto& h, auto&) { --h.LookupCount; }},
        {"an entry of 81", "entry out of range", true, [](auto& h, auto& b) { b[h.Tables[1].Offset + 9] = 81; }},
        {"a group's goal not 0", "entry out of range", true,
         [](auto& h, auto& b) { b[h.Tables[0].Offset + patterns::GoalIndexOf(h.Tables[0])] = 1; }},
        {"a step of the machine to no state", "entry out of range", true,
         [](auto& h, auto& b) { std::memcpy(&b[h.MachineOffset + 8], &h.MachineStates, 4); }},
        // The last of each: the first table's last entry, the last table's, the machine's last step.
        {"an 81 last in the first table", "entry out of range", true,
         [](auto& h, auto& b) { b[h.Tables[0].Offset + h.Tables[0].Entries - 1] = 81; }},
        {"an 81 last in the last table", "entry out of range", true,
         [](auto& h, auto& b) { b[h.Tables[h.TableCount - 1].Offset + h.Tables[h.TableCount - 1].Entries - 1] = 81; }},
        {"the machine's last step to no state", "entry out of range", true,
         [](auto& h, auto& b) {
             std::memcpy(&b[h.MachineOffset + patterns::MachineBytesFor(h.MachineStates) - 4], &h.MachineStates, 4);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> bytes = intact;
        patterns::FileHeader header = HeaderOf(intact);
        c.damage(header, bytes);
        if (c.sealed) std::memcpy(bytes.data(), &header, sizeof header);
        const std::string copy = WriteCopy(bytes, c.sealed);
        std::string why;
        EXPECT_EQ(PatternDatabases::Load(copy, &why), nullptr);
        EXPECT_NE(why.find(copy + ": " + c.kind), std::string::npos) << why;
    }
    const std::string missing = CopyPath();
    std::filesystem::remove(missing);
    std::string why;
    EXPECT_EQ(PatternDatabases::Load(missing, &why), nullptr);
    EXPECT_NE(why.find(missing + ": missing"), std::string::npos) << why;
}

// Tables that overestimate, in range but far beyond the true moves, would make the search's
// first bound exceed any path; it must answer Failed, never write past its path, never answer
// a path longer than any position needs.
TEST_F(SolverTest, TablesThatOverestimateEndTheSearchWithoutAnswer) {
    std::vector<char> bytes = TableBytes();
    const patterns::FileHeader header = HeaderOf(bytes);
    for (int t = 0; t < 2; ++t) {
        const patterns::TableRecord& table = header.Tables[static_cast<std::size_t>(t)];
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(table.Offset), table.Entries, char{80});
        bytes[table.Offset + patterns::GoalIndexOf(table)] = 0;
    }
    const auto wrong = PatternDatabases::Load(WriteCopy(bytes, true));
    ASSERT_NE(wrong, nullptr);
    const std::atomic<bool> cancel{false};
    const Solution solution = Solve(GridOf("1 2 0 3 / 5 6 7 4 / 9 10 11 8 / 13 14 15 12"), *wrong, cancel);
    EXPECT_EQ(solution.Outcome, SolveOutcome::Failed);
    EXPECT_TRUE(solution.Tiles.empty());
}
