#include "solver.h"

#include <vector>

#include "search.h"
#include "shared_iteration.h"

namespace solver {

namespace {

using namespace patterns;

// An iteration after one that generated this many nodes is shared with the helper
// (SharedIteration). Iterations grow some sixfold, so the first shared one takes about a
// millisecond, some twenty times what waking the helper costs; a few hundred subtrees at
// kSplitDepth moves keep the two threads' shares within a few per cent of each other, and
// listing them costs a few hundred nodes.
constexpr std::uint64_t kShareFrom = 5'000;

// IDA*: iterations of rising bound, each searched to its end unless it finds a solution.
// Once an iteration has generated kShareFrom nodes, the next ones are shared with the
// helper, when there is one.
class Iterations {
public:
    Iterations(const engine::Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel,
               Worker* helper)
        : helper_(helper), stop_{cancel, found_}, root_(board, tables, stop_) {}

    Solution Run(const BoundReached& boundReached);

private:
    // One iteration; true when it found a solution, then in answer_.
    bool Iterate(int bound, bool share);

    Worker* const helper_;
    std::atomic<bool> found_{false};
    const Stop stop_;
    Search root_;
    std::uint64_t sharedNodes_ = 0;  // those of the shared iterations below their split
    std::vector<std::uint8_t> answer_;
};

Solution Iterations::Run(const BoundReached& boundReached) {
    Solution solution;
    // The first bound is the estimate. Each group's moves have the parity of its tiles'
    // Manhattan distance (the loader refuses a table of other entries), so each sum has the
    // parity of the tiles' whole distance, which every move changes by one: the parity of
    // every solution's length.
    bool share = false, solved = false;
    int bound = root_.Estimate();
    // A child's estimate exceeds its parent's by at most one, so every node cut off has
    // f = bound + 1 or bound + 2, and only bound + 2 has the solutions' parity.
    for (; bound <= kMaxMoves; bound += 2) {
        if (stop_.Cancel.load(std::memory_order_relaxed)) break;
        if (boundReached) boundReached(bound);
        const std::uint64_t before = root_.Nodes() + sharedNodes_;
        solved = Iterate(bound, share);
        if (solved || stop_.Now()) break;
        share = share || (helper_ && root_.Nodes() + sharedNodes_ - before >= kShareFrom);
    }
    solution.NodesGenerated = root_.Nodes() + sharedNodes_;
    if (solved) {
        solution.Outcome = SolveOutcome::Solved;
        solution.Tiles = std::move(answer_);
    } else if (bound > kMaxMoves) {
        // No position needs more than kMaxMoves: only tables that overestimate get here.
        solution.Outcome = SolveOutcome::Failed;
    }
    return solution;
}

bool Iterations::Iterate(int bound, bool share) {
    if (share) return SharedIteration(root_, found_, *helper_).Run(bound, answer_, sharedNodes_);
    if (!root_.Iterate(bound, {}, 0)) return false;
    answer_.assign(root_.Path().begin(), root_.Path().end());
    return true;
}

}  // namespace

Solution Solve(const engine::Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel,
               const BoundReached& boundReached, Worker* helper) {
    switch (engine::CheckSolvable(board)) {
        case engine::Solvability::NotABoard: return {SolveOutcome::NotABoard, {}, 0};
        case engine::Solvability::Unsolvable: return {SolveOutcome::Unsolvable, {}, 0};
        case engine::Solvability::Solvable: break;
    }
    return Iterations(board, tables, cancel, helper).Run(boundReached);
}

}  // namespace solver
