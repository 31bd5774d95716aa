#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/grid.h"
#include "engine/solvability.h"
#include "pattern_database.h"

namespace solver {

// Failed: the search found no solution of up to 80 moves, which every solvable board has;
// only tables that overestimate lead there.
enum class SolveOutcome { Solved, Unsolvable, NotABoard, Cancelled, Failed };

struct Solution {
    SolveOutcome Outcome = SolveOutcome::Cancelled;
    std::vector<std::uint8_t> Tiles;  // the tiles to slide into the blank, in order (empty for a solved board)
    std::uint64_t NodesGenerated = 0;
};

// Another thread that a search may share its work with, which the caller provides: the
// search itself starts none.
class Worker {
public:
    virtual ~Worker() = default;
    // Runs `work` on another thread; false, without running it, when no thread can be had.
    virtual bool Start(std::function<void()> work) = 0;
    // Returns once the work last started has ended.
    virtual void Wait() = 0;
};

// Told, on the search's thread, the bound of each iteration as it starts: a number of moves
// that every solution is proved to need at least.
using BoundReached = std::function<void(int moves)>;

// A shortest solution: IDA* on the larger of two sums of pattern-database lookups, one on
// the board and one on the board mirrored about its main diagonal, never making a move
// string that the tables' machine of duplicate paths forbids, and trying each node's
// children lowest estimate first. Answers Unsolvable or NotABoard at once, without
// searching. Runs on the caller's thread; with a `helper`, once an iteration has generated a
// few thousand nodes, each later one is shared with the helper's thread, so that the search
// uses a second core. Polls `cancel` often enough to return within a few milliseconds of it
// being set; then the outcome is Cancelled and Tiles is empty. Any shortest solution may be
// the answer.
//
// Without a helper, the answer and NodesGenerated are the same on every run, as a measure of
// the search's work needs them. With one, NodesGenerated may differ from run to run when the
// last iteration was shared: on a busy machine one thread may search most of that iteration
// while the other, holding the subtree with the answer, waits for a core.
//
// `boundReached`, when given, is told each bound, to show the search's progress.
Solution Solve(const engine::Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel,
               const BoundReached& boundReached = {}, Worker* helper = nullptr);

}  // namespace solver
