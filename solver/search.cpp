#include "search.h"

#include <algorithm>
#include <limits>

namespace solver {

using namespace patterns;

namespace {

// The search reads its stop flags once per this many generated nodes (a power of two).
constexpr std::uint64_t kPollInterval = 1024;

constexpr ZeroBasedBoard kGoal = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};

struct Around {
    std::array<std::uint8_t, kDirections> Cells{};
    // The direction of the blank's step to each, as the machine of duplicate paths numbers them.
    std::array<std::uint8_t, kDirections> Directions{};
    std::size_t Count = 0;
};

// The cells next to each cell.
constexpr std::array<Around, kCells> kAround = [] {
    std::array<Around, kCells> around{};
    for (int cell = 0; cell < kCells; ++cell) {
        Around& a = around[static_cast<std::size_t>(cell)];
        for (std::uint8_t direction = 0; direction < kDirections; ++direction) {
            const int next = NeighbourOf(cell, direction);
            if (next < 0) continue;
            a.Cells[a.Count] = static_cast<std::uint8_t>(next);
            a.Directions[a.Count++] = direction;
        }
    }
    return around;
}();

}  // namespace

Search::Search(const engine::Grid& board, const PatternDatabases& tables, const Stop& stop)
    : board_(ZeroBasedCells(board)), stop_(stop), steps_(tables.DuplicatePaths().Steps) {
    blank_ = static_cast<std::size_t>(std::find(board_.begin(), board_.end(), 0) - board_.begin());
    estimate_.Reset(board_, tables.Lookups());
}

void Search::Restart(const Search& root, std::span<const std::uint8_t> tiles) {
    board_ = root.board_;
    blank_ = root.blank_;
    estimate_ = root.estimate_;
    for (const std::uint8_t tile : tiles) {
        const auto from = static_cast<std::size_t>(std::find(board_.begin(), board_.end(), tile) - board_.begin());
        TileMove move = estimate_.Move(tile, blank_);
        estimate_.After(move, std::numeric_limits<int>::max());
        estimate_.Make(move);
        board_[blank_] = tile;
        board_[from] = 0;
        blank_ = from;
    }
}

bool Search::Iterate(int bound, std::span<const std::uint8_t> tiles, std::uint32_t machine,
                     std::vector<Subtree>* split) {
    bound_ = bound;
    split_ = split;
    std::copy(tiles.begin(), tiles.end(), path_.begin());
    return Descend(tiles.size(), machine);
}

// The children that the machine of duplicate paths allows, into `children`; first their
// groups' indices, the reads of their entries started together, for Keep() to read.
std::size_t Search::Generate(std::uint32_t machine, Children& children) const {
    const Around& around = kAround[blank_];
    std::size_t count = 0;
    for (std::size_t k = 0; k < around.Count; ++k) {
        const std::uint8_t from = around.Cells[k];
        const MachineStep step = steps_[machine * kDirections + around.Directions[k]];
        if (EndsForbidden(step, from)) continue;  // another path does it first
        // The tile moves from `from` into the blank's cell: only its two groups change.
        Child& child = children[count++];
        child.From = from;
        child.Tile = board_[from];
        child.Machine = NextState(step);
        __builtin_prefetch(steps_ + child.Machine * kDirections);
        child.Move = estimate_.Move(child.Tile, blank_);
    }
    return count;
}

// Counts the `generated` children as generated nodes, and puts in `order` the places of those
// whose estimate is at most `allowed`, lowest estimate first, among equals in the order of
// the directions: the last iteration, which ends at its first solution, then finds it sooner.
// The machine forbids by move string alone, so the order does not matter to it. Returns how
// many it kept; none when the search must stop.
std::size_t Search::Keep(Children& children, std::size_t generated, int allowed, Order& order) {
    std::array<int, kDirections> estimates{};
    std::size_t count = 0;
    for (std::size_t k = 0; k < generated; ++k) {
        if ((++nodes_ & (kPollInterval - 1)) == 0 && stop_.Now()) {
            stopped_ = true;
            return 0;
        }
        const int estimate = estimate_.After(children[k].Move, allowed);
        if (estimate > allowed) continue;
        std::size_t i = count++;
        for (; i > 0 && estimates[i - 1] > estimate; --i) {
            estimates[i] = estimates[i - 1];
            order[i] = order[i - 1];
        }
        estimates[i] = estimate;
        order[i] = static_cast<std::uint8_t>(k);
    }
    return count;
}

// Makes the move to `child`, the path's move `depth`; returns what undoes it in the estimate.
TileMove Search::Enter(const Child& child, std::size_t depth) {
    board_[blank_] = child.Tile;
    board_[child.From] = 0;
    blank_ = child.From;
    path_[depth] = child.Tile;
    return estimate_.Make(child.Move);
}

// Takes back the move to `child`, made from the node whose blank was on `blank`.
void Search::Leave(const Child& child, const TileMove& back, std::size_t blank) {
    blank_ = blank;
    board_[child.From] = child.Tile;
    board_[blank] = 0;
    estimate_.Undo(back);
}

bool Search::Descend(std::size_t depth, std::uint32_t machine) {
    if (estimate_.AtHome() && board_ == kGoal) {
        pathLength_ = depth;
        return true;
    }
    if (split_ && depth == kSplitDepth) {
        ListSubtree(machine);
        return false;
    }
    Children children;
    Order order;
    const std::size_t generated = Generate(machine, children);
    // The largest estimate a child may have.
    const std::size_t kept = Keep(children, generated, bound_ - static_cast<int>(depth) - 1, order);
    if (stopped_) return false;
    const std::size_t blank = blank_;
    for (std::size_t k = 0; k < kept; ++k) {
        const Child& child = children[order[k]];
        const TileMove back = Enter(child, depth);
        if (Descend(depth + 1, child.Machine)) return true;
        if (stopped_) return false;
        Leave(child, back, blank);
    }
    return false;
}

void Search::ListSubtree(std::uint32_t machine) {
    Subtree& subtree = split_->emplace_back();
    std::copy_n(path_.begin(), kSplitDepth, subtree.Tiles.begin());
    subtree.Machine = machine;
}

}  // namespace solver
