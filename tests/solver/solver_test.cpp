#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>
#include <vector>

#include "app/tables_path.h"
#include "board_text.h"
#include "engine/moves.h"
#include "sanitizer_build.h"
#include "solver/pattern_format.h"
#include "solver/solver.h"
#include "solving/helper_thread.h"

using namespace engine;
using namespace solver;

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
        const std::uint64_t sum = patterns::FileChecksum({reinterpret_cast<const std::uint8_t*>(bytes.data()), data});
        std::memcpy(bytes.data() + data, &sum, sizeof sum);
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Tables the generator makes of `groups` with `options` (it runs in a fraction of a second for
// groups of up to four tiles), at a path of the test's own.
std::string MadeTables(const std::string& options, const std::string& groups) {
    const std::string path = CopyPath() + "_made";
    const std::string command = std::string(PLITON_MAKE_TABLES) + " --machine=2 " + options + " " + path + " " + groups;
    EXPECT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
    return path;
}

// Tables of tiles 1..15 in groups of four (and three), one byte an entry: the moves themselves.
constexpr const char* kSmallGroups = "1,2,3,4/5,6,7,8/9,10,11,12/13,14,15";

// The fewest moves of `tiles` that bring them home, the others being free to pass, by a slow
// search of our own: breadth first over the cells of the tiles and of the blank, a tile of
// the group moved costing 1, any other nothing. Indexed by the cells packed four bits each,
// the blank's last; 0xff for a state that is not one.
std::vector<std::uint8_t> SlowDistances(const std::uint8_t* tiles, int count) {
    const auto pack = [count](const std::array<int, 5>& cells) {
        std::uint32_t key = 0;
        for (int i = count; i >= 0; --i)
            key = key << 4 | static_cast<std::uint32_t>(cells[static_cast<std::size_t>(i)]);
        return key;
    };
    std::vector<std::uint8_t> distance(std::size_t{1} << (4 * (count + 1)), 0xff);
    std::array<int, 5> cells{};
    for (int i = 0; i < count; ++i) cells[static_cast<std::size_t>(i)] = tiles[i] - 1;
    cells[static_cast<std::size_t>(count)] = patterns::kGoalBlankCell;
    std::deque<std::uint32_t> queue{pack(cells)};
    distance[queue.front()] = 0;
    while (!queue.empty()) {
        const std::uint32_t key = queue.front();
        queue.pop_front();
        for (int i = 0; i <= count; ++i) cells[static_cast<std::size_t>(i)] = static_cast<int>((key >> (4 * i)) & 15u);
        const int blank = cells[static_cast<std::size_t>(count)];
        for (int direction = 0; direction < patterns::kDirections; ++direction) {
            const int to = patterns::NeighbourOf(blank, direction);
            if (to < 0) continue;
            std::array<int, 5> next = cells;
            const auto tile = std::find(next.begin(), next.begin() + count, to);
            const int cost = tile != next.begin() + count ? 1 : 0;
            if (cost) *tile = blank;
            next[static_cast<std::size_t>(count)] = to;
            const std::uint32_t child = pack(next);
            if (distance[child] <= distance[key] + cost) continue;
            distance[child] = static_cast<std::uint8_t>(distance[key] + cost);
            if (cost)
                queue.push_back(child);
            else
                queue.push_front(child);
        }
    }
    return distance;
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
    void TearDown() override {
        std::filesystem::remove(CopyPath());
        std::filesystem::remove(CopyPath() + "_made");
    }

    static Solution SolveNow(const Grid& board) {
        const std::atomic<bool> cancel{false};
        HelperThread helper;
        return Solve(board, *tables_, cancel, nullptr, &helper);
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
            const Solution alone = Solve(board, *tables_, cancel);
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
    const struct {
        int length;
        const char* board;
        std::uint64_t nodes;
    } positions[] = {
        {41, "5 10 14 4 / 6 12 11 1 / 9 0 15 7 / 13 2 8 3", 1'470},    // no. 55
        {42, "6 1 15 8 / 5 10 13 0 / 3 4 2 7 / 14 9 11 12", 532},      // no. 42
        {45, "1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2", 1'498},    // no. 12
        {49, "3 5 7 4 / 0 14 12 13 / 15 9 8 1 / 11 6 2 10", 1'528},    // no. 73
        {51, "3 14 4 9 / 7 13 5 6 / 2 15 10 12 / 8 1 0 11", 1'517},    // no. 58
        {53, "14 12 15 10 / 1 13 4 6 / 3 7 2 0 / 8 5 9 11", 1'815},    // no. 94
        {56, "11 4 6 14 / 15 13 9 0 / 7 10 8 1 / 5 12 3 2", 1'896},    // no. 74
        {57, "15 5 14 1 / 0 12 8 6 / 4 9 13 10 / 2 3 7 11", 129'135},  // no. 11
        {58, "12 13 14 2 / 3 10 1 7 / 11 6 0 5 / 4 9 15 8", 48'902},   // no. 37
        {59, "4 0 14 1 / 3 7 12 13 / 6 2 11 5 / 15 8 10 9", 47'738},   // no. 14
        {66, "0 8 10 6 / 11 7 9 1 / 12 4 13 14 / 15 3 2 5", 521'594},  // no. 60
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
struct Watched {
    int helpers = 0, left = 0, highestBound = 0;
};

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

// The positions that need 80 moves, as many as any: the search must go up to that bound. The
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
    const std::uint64_t nodesBeforeLast = 383'882;
#else
    const Grid board = GridOf("0 12 9 13 / 15 11 10 14 / 3 7 2 5 / 4 8 6 1");
    const std::size_t length = 80;
    const std::uint64_t nodesBeforeLast = 25'932'457;
#endif
    const std::atomic<bool> cancel{false};
    std::atomic<int> bound{0};
    Solution solution;
    const Watched shared = Watch(
        [&] {
            HelperThread helper;
            solution = Solve(
                board, *tables_, cancel, [&bound](int moves) { bound = moves; }, &helper);
        },
        bound);
    ASSERT_EQ(solution.Outcome, SolveOutcome::Solved);
    EXPECT_EQ(solution.Tiles.size(), length);
    ExpectSolves(board, solution);
    EXPECT_EQ(static_cast<std::size_t>(bound.load()), length);
    EXPECT_LE(static_cast<std::size_t>(shared.highestBound), length);
    EXPECT_GE(solution.NodesGenerated, nodesBeforeLast);
    EXPECT_EQ(shared.helpers, 1);
    EXPECT_EQ(shared.left, 0);

#ifndef PLITON_UNDER_TSAN
    // The other positions as far from the goal as any.
    ExpectShortest(GridOf("0 12 9 13 / 15 11 10 14 / 3 7 5 6 / 4 8 2 1"), 80);
    ExpectShortest(GridOf("0 12 10 13 / 15 11 14 9 / 7 8 6 2 / 4 3 5 1"), 80);
#endif

    const std::atomic<int> none{0};
    const Watched alone = Watch([&] { solution = Solve(korf60, *tables_, cancel); }, none);
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
        const Solution solution = Solve(board, *tables_, cancel);
        EXPECT_EQ(solution.Outcome, c.outcome);
        EXPECT_TRUE(solution.Tiles.empty());
        EXPECT_EQ(solution.NodesGenerated, 0u);
    }
}

// A flag set before the search leaves it without a node. Set from another thread once the
// search is in its longest iteration (bound 78 of a farthest position), it must stop the
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
        while (bound.load() < 78 && !cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        setAt = std::chrono::steady_clock::now().time_since_epoch().count();
        cancel = true;
    });
    HelperThread helper;
    const Solution solution = Solve(
        kEightyMovesOut, *tables_, cancel, [&bound](int moves) { bound = moves; }, &helper);
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
// 80 moves in a table of bytes, nor of another parity than its tiles' distance, 0 at each
// group's goal in either encoding) and of the machine of duplicate paths. The game's file
// holds tables of two bits an entry; the cases on tables of bytes damage a small file of them
// that the generator makes.
TEST_F(SolverTest, DamagedTableFilesAreRefused) {
    const std::vector<char> intact = TableBytes();
    const auto tables = PatternDatabases::Load(WriteCopy(intact));
    ASSERT_NE(tables, nullptr);
    EXPECT_EQ(tables->Bytes(), intact.size());
    EXPECT_LE(tables->Bytes(), 32u << 20);
    std::ifstream smallFile(MadeTables("--moves", kSmallGroups), std::ios::binary);
    const std::vector<char> small{std::istreambuf_iterator<char>(smallFile), std::istreambuf_iterator<char>()};
    ASSERT_GT(small.size(), sizeof(patterns::FileHeader));

    // The code of entry `index` of table `t` set to 1.
    const auto codeOne = [](const patterns::FileHeader& h, std::vector<char>& b, std::uint32_t t, std::uint32_t index) {
        b[h.Tables[t].Offset + index / 4] =
            static_cast<char>(b[h.Tables[t].Offset + index / 4] | 1 << (2 * (index % 4)));
    };
    // Each damage changes the bytes, or the header that a sealed copy is written with.
    const struct {
        const char* what;
        const char* kind;
        bool sealed;
        bool bytes;  // on the small file of one byte an entry
        std::function<void(patterns::FileHeader&, std::vector<char>&)> damage;
    } cases[] = {
        {"a byte of a table", "bad checksum", false, false, [](auto&, auto& b) { b[b.size() / 2] ^= 0x10; }},
        {"two words of the tables swapped", "bad checksum", false, false,
         [](auto& h, auto& b) {
             std::swap_ranges(&b[h.Tables[0].Offset], &b[h.Tables[0].Offset + 8], &b[h.Tables[1].Offset]);
         }},
        {"a byte of the header", "bad header", false, false, [](auto&, auto& b) { b[20] ^= 0x10; }},
        {"the checksum", "bad checksum", false, false, [](auto&, auto& b) { b.back() ^= 0x10; }},
        {"cut short", "truncated", false, false, [](auto&, auto& b) { b.pop_back(); }},
        {"cut to the header", "truncated", false, false, [](auto&, auto& b) { b.resize(100); }},
        {"empty", "truncated", false, false, [](auto&, auto& b) { b.clear(); }},
        {"the size in the header", "bad header", true, false, [](auto& h, auto&) { h.FileBytes -= 64; }},
        {"a group left out", "bad header", true, false, [](auto& h, auto&) { --h.LookupCount; }},
        {"an unknown encoding", "bad header", true, false,
         [](auto& h, auto&) { h.Tables[1].Encoding = static_cast<patterns::TableEncoding>(2); }},
        {"two bits an entry read as bytes", "bad header", true, false,
         [](auto& h, auto&) { h.Tables[0].Encoding = patterns::TableEncoding::Moves; }},
        {"a reserved byte", "bad header", true, false, [](auto& h, auto&) { h.Tables[0].Reserved[6] = 1; }},
        {"a table moved by 8 bytes", "bad header", true, false, [](auto& h, auto&) { h.Tables[0].Offset += 8; }},
        {"a group's goal not 0", "entry out of range", true, false,
         [&](auto& h, auto& b) { codeOne(h, b, 0, patterns::GoalIndexOf(h.Tables[0])); }},
        {"the last group's goal not 0", "entry out of range", true, false,
         [&](auto& h, auto& b) { codeOne(h, b, h.TableCount - 1, patterns::GoalIndexOf(h.Tables[h.TableCount - 1])); }},
        {"a group's goal not 0, in bytes", "entry out of range", true, true,
         [](auto& h, auto& b) { b[h.Tables[0].Offset + patterns::GoalIndexOf(h.Tables[0])] = 1; }},
        {"an entry of 81", "entry out of range", true, true, [](auto& h, auto& b) { b[h.Tables[1].Offset + 9] = 81; }},
        {"an entry of the wrong parity", "entry out of range", true, true,
         [](auto& h, auto& b) { ++b[h.Tables[1].Offset + 9]; }},
        {"a step of the machine to no state", "entry out of range", true, false,
         [](auto& h, auto& b) { std::memcpy(&b[h.MachineOffset + 8], &h.MachineStates, 4); }},
        // The last of each: the first table's last entry, the last table's, the machine's last step.
        {"an 81 last in the first table", "entry out of range", true, true,
         [](auto& h, auto& b) { b[h.Tables[0].Offset + h.Tables[0].Entries - 1] = 81; }},
        {"an 81 last in the last table", "entry out of range", true, true,
         [](auto& h, auto& b) { b[h.Tables[h.TableCount - 1].Offset + h.Tables[h.TableCount - 1].Entries - 1] = 81; }},
        {"the machine's last step to no state", "entry out of range", true, false,
         [](auto& h, auto& b) {
             std::memcpy(&b[h.MachineOffset + patterns::MachineBytesFor(h.MachineStates) - 4], &h.MachineStates, 4);
         }},
    };
    EXPECT_NE(PatternDatabases::Load(WriteCopy(small)), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> bytes = c.bytes ? small : intact;
        patterns::FileHeader header = HeaderOf(bytes);
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
// a path longer than any position needs. The first bound is the larger of the two sums: on
// the board below only its sum read directly overestimates, on its mirror image only the
// mirrored one, and neither search generates a node.
TEST_F(SolverTest, TablesThatOverestimateEndTheSearchWithoutAnswer) {
    std::ifstream in(MadeTables("--moves", kSmallGroups), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), sizeof(patterns::FileHeader));
    const patterns::FileHeader header = HeaderOf(bytes);
    for (std::uint32_t t = 0; t < 2; ++t) {
        const patterns::TableRecord& table = header.Tables[t];
        // Each entry raised to 79 or 80, whichever has its parity.
        for (std::uint64_t i = table.Offset; i < table.Offset + table.Entries; ++i)
            bytes[i] = static_cast<char>(bytes[i] + (80 - bytes[i]) / 2 * 2);
        bytes[table.Offset + patterns::GoalIndexOf(table)] = 0;
    }
    const auto wrong = PatternDatabases::Load(WriteCopy(bytes, true));
    ASSERT_NE(wrong, nullptr);
    const std::atomic<bool> cancel{false};
    for (const char* board :
         {"1 2 0 3 / 5 6 7 4 / 9 10 11 8 / 13 14 15 12", "1 2 3 4 / 5 6 7 8 / 0 10 11 12 / 9 13 14 15"}) {
        const Solution solution = Solve(GridOf(board), *wrong, cancel);
        EXPECT_EQ(solution.Outcome, SolveOutcome::Failed) << board;
        EXPECT_TRUE(solution.Tiles.empty());
        EXPECT_EQ(solution.NodesGenerated, 0u) << board;
    }
}

// The generator's tables, in either encoding, hold for every placement of the group's tiles
// what a slow search of our own finds: the moves, or the code of the moves after those of
// placements more than 3 above a neighbour's are lowered to 3 above it. And the search on
// them still finds the shortest solutions.
TEST_F(SolverTest, TablesMatchASlowSearch) {
    for (const char* options : {"", "--moves"}) {
        SCOPED_TRACE(options);
        std::string why;
        const auto made = PatternDatabases::Load(MadeTables(options, kSmallGroups), &why);
        ASSERT_NE(made, nullptr) << why;
        ASSERT_EQ(made->Lookups().size(), 4u);
        for (const PatternLookup& lookup : made->Lookups()) {
            const int count = lookup.TileCount;
            ASSERT_FALSE(lookup.Transposed);
            const std::vector<std::uint8_t> distance = SlowDistances(lookup.Tiles.data(), count);
            std::vector<int> moves(patterns::EntriesFor(count), -1);
            std::vector<std::array<std::uint8_t, 4>> placements(moves.size());
            for (std::uint32_t key = 0; key < (1u << (4 * count)); ++key) {
                std::array<std::uint8_t, 4> cells{};
                unsigned seen = 0;
                for (int i = 0; i < count; ++i) {
                    cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((key >> (4 * i)) & 15u);
                    seen |= 1u << cells[static_cast<std::size_t>(i)];
                }
                if (std::popcount(seen) != count) continue;
                const std::uint32_t index = patterns::IndexOf(cells.data(), count);
                placements[index] = cells;
                moves[index] = 0xff;
                for (std::uint32_t blank = 0; blank < 16; ++blank) {
                    moves[index] = std::min<int>(moves[index], distance[key | blank << (4 * count)]);
                }
            }
            ASSERT_EQ(std::count(moves.begin(), moves.end(), -1), 0);
            std::vector<int> lowered = moves;
            for (bool changed = true; changed;) {
                changed = false;
                for (std::uint32_t index = 0; index < lowered.size(); ++index) {
                    std::array<std::uint8_t, 4> cells = placements[index];
                    for (int i = 0; i < count; ++i) {
                        const std::uint8_t from = cells[static_cast<std::size_t>(i)];
                        for (int direction = 0; direction < patterns::kDirections; ++direction) {
                            const int to = patterns::NeighbourOf(from, direction);
                            if (to < 0 || std::find(cells.begin(), cells.begin() + count, to) != cells.begin() + count)
                                continue;
                            cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(to);
                            const int other = lowered[patterns::IndexOf(cells.data(), count)];
                            cells[static_cast<std::size_t>(i)] = from;
                            if (lowered[index] <= other + 3) continue;
                            lowered[index] = other + 3;
                            changed = true;
                        }
                    }
                }
            }
            for (std::uint32_t index = 0; index < moves.size(); ++index) {
                if (lookup.Encoding == patterns::TableEncoding::Moves) {
                    ASSERT_EQ(lookup.Table[index], moves[index]) << "tile " << int{lookup.Tiles[0]} << "..., " << index;
                } else {
                    ASSERT_EQ(patterns::CyclicCodeAt(lookup.Table, index), patterns::CyclicCodeOf(lowered[index]))
                        << "tile " << int{lookup.Tiles[0]} << "..., " << index;
                }
            }
        }
        const std::atomic<bool> cancel{false};
        EXPECT_EQ(Solve(GridOf("5 10 14 4 / 6 12 11 1 / 9 0 15 7 / 13 2 8 3"), *made, cancel).Tiles.size(), 41u);
    }
    // Groups that leave tiles out make no tables.
    const std::string command = std::string(PLITON_MAKE_TABLES) + " " + CopyPath() + "_made 1,2,3/4,5 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
