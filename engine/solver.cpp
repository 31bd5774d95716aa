#include "solver.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

using namespace patterns;

constexpr int kMaxGroups = 2 * kMaxLookups;
// The search reads the cancel flag once per this many generated nodes (a power of two).
constexpr std::uint64_t kPollInterval = 1024;

struct Around {
    std::array<std::int8_t, 4> Cells{};
    std::array<std::int8_t, 4> Directions{};  // of the blank's step to each, as DuplicatePaths numbers them
    int Count = 0;
};

// The cells next to each cell.
constexpr std::array<Around, 16> kAround = [] {
    std::array<Around, 16> around{};
    for (int cell = 0; cell < 16; ++cell) {
        Around& a = around[static_cast<std::size_t>(cell)];
        const int row = cell / 4, column = cell % 4;
        auto add = [&a](int c, int direction) {
            a.Cells[static_cast<std::size_t>(a.Count)] = static_cast<std::int8_t>(c);
            a.Directions[static_cast<std::size_t>(a.Count++)] = static_cast<std::int8_t>(direction);
        };
        if (row > 0) add(cell - 4, 0);
        if (column > 0) add(cell - 1, 1);
        if (column < 3) add(cell + 1, 2);
        if (row < 3) add(cell + 4, 3);
    }
    return around;
}();

constexpr std::array<std::uint8_t, 16> kSameCell = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr std::array<std::uint8_t, 16> kTransposedCell = [] {
    std::array<std::uint8_t, 16> cells{};
    for (int cell = 0; cell < 16; ++cell) {
        cells[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(TransposedCell(cell));
    }
    return cells;
}();

// A lookup as the search keeps it: the indexing cells of its tiles on the current board and
// the entry they give.
struct Group {
    const std::uint8_t* Table = nullptr;
    const std::uint8_t* CellMap = nullptr;  // board cell -> indexing cell
    int TileCount = 0;
    std::array<std::uint8_t, kMaxPatternTiles> Cells{};
    int Value = 0;

    int Entry() const {
        // The two sizes of a 6-6-3 split get their loops written out.
        switch (TileCount) {
            case 6: return Table[FixedIndexOf<6>(Cells.data())];
            case 3: return Table[FixedIndexOf<3>(Cells.data())];
            default: return Table[IndexOf(Cells.data(), TileCount)];
        }
    }
};

// Where a tile's cell is kept: its group and its place in the group.
struct Slot {
    std::uint8_t Group = 0;
    std::uint8_t Index = 0;
};

// A move seen by one group of the moved tile: the group with the tile's new cell in place,
// the entry that gives, and the cell to put back.
struct GroupStep {
    Group& Changed;
    std::uint8_t Index;
    std::uint8_t Was;
    int Value;

    void Undo() const { Changed.Cells[Index] = Was; }
};

class Search {
public:
    Search(const Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel);
    Solution Run(std::atomic<int>* lowerBound);

private:
    void AddGroups(std::span<const PatternLookup> lookups, bool mirrored, std::array<Slot, 16>& slots);
    bool Descend(int depth, std::uint32_t moves);
    // Moves the tile of `slot` into the blank's cell `blank`, in its group only.
    GroupStep Step(Slot slot, int blank) {
        Group& group = groups_[slot.Group];
        const std::uint8_t was = group.Cells[slot.Index];
        group.Cells[slot.Index] = group.CellMap[blank];
        return {group, slot.Index, was, group.Entry()};
    }

    std::array<std::uint8_t, 16> board_{};
    int blank_ = 0;
    std::array<Group, kMaxGroups> groups_{};
    int groupCount_ = 0;
    // The groups each tile belongs to: in the sum over the board and in the sum over the
    // board mirrored about its main diagonal.
    std::array<Slot, 16> direct_{};
    std::array<Slot, 16> mirrored_{};
    int directSum_ = 0;
    int mirroredSum_ = 0;

    int bound_ = 0;
    std::uint64_t nodes_ = 0;
    const std::atomic<bool>& cancel_;
    bool cancelled_ = false;
    const DuplicatePathMachine& duplicates_;
    // The bound never exceeds kMaxMoves, and a child is made at `depth` only while its
    // estimate, at least 0, fits in bound - depth - 1: the path never holds more.
    std::array<std::uint8_t, kMaxMoves> path_{};
    int pathLength_ = 0;
};

Search::Search(const Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel)
    : cancel_(cancel), duplicates_(tables.DuplicatePaths()) {
    for (int cell = 0; cell < 16; ++cell) {
        board_[static_cast<std::size_t>(cell)] = board.at(cell + 1);
        if (board_[static_cast<std::size_t>(cell)] == 0) blank_ = cell;
    }
    AddGroups(tables.Lookups(), false, direct_);
    AddGroups(tables.Lookups(), true, mirrored_);
    for (int g = 0; g < groupCount_; ++g) {
        Group& group = groups_[static_cast<std::size_t>(g)];
        group.Value = group.Entry();
    }
    for (int tile = 1; tile < 16; ++tile) {
        const auto t = static_cast<std::size_t>(tile);
        // Each group's value is added once: where its first tile is met.
        if (direct_[t].Index == 0) directSum_ += groups_[direct_[t].Group].Value;
        if (mirrored_[t].Index == 0) mirroredSum_ += groups_[mirrored_[t].Group].Value;
    }
}

// The mirrored board has tile TransposedTile(t) on cell TransposedCell(c) where the board has
// t on c, and the goal is its own mirror image; so a lookup read on the mirrored board is the
// same table read through the transposed tiles with the transposition undone.
void Search::AddGroups(std::span<const PatternLookup> lookups, bool mirrored, std::array<Slot, 16>& slots) {
    std::array<int, 16> cellOf{};
    for (int cell = 0; cell < 16; ++cell) cellOf[board_[static_cast<std::size_t>(cell)]] = cell;
    for (const PatternLookup& lookup : lookups) {
        const bool transposed = lookup.Transposed != mirrored;
        Group& group = groups_[static_cast<std::size_t>(groupCount_)];
        group.Table = lookup.Table;
        group.CellMap = transposed ? kTransposedCell.data() : kSameCell.data();
        group.TileCount = lookup.TileCount;
        for (int i = 0; i < lookup.TileCount; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            const int tile = mirrored ? TransposedTile(lookup.Tiles[slot]) : lookup.Tiles[slot];
            group.Cells[slot] = group.CellMap[cellOf[static_cast<std::size_t>(tile)]];
            slots[static_cast<std::size_t>(tile)] = {static_cast<std::uint8_t>(groupCount_), static_cast<std::uint8_t>(i)};
        }
        ++groupCount_;
    }
}

Solution Search::Run(std::atomic<int>* lowerBound) {
    Solution solution;
    // Every move carries the blank one cell, so the length of every solution has the parity
    // of the blank's distance from its goal cell.
    const int blankDistance = (3 - blank_ / 4) + (3 - blank_ % 4);
    const int estimate = std::max(directSum_, mirroredSum_);
    bound_ = estimate + ((estimate ^ blankDistance) & 1);
    for (; bound_ <= kMaxMoves; bound_ += 2) {
        if (cancel_.load(std::memory_order_relaxed)) break;
        if (lowerBound) lowerBound->store(bound_, std::memory_order_relaxed);
        if (Descend(0, 0)) {
            solution.Outcome = SolveOutcome::Solved;
            solution.Tiles.assign(path_.begin(), path_.begin() + pathLength_);
            break;
        }
        if (cancelled_) break;
        // A child's estimate exceeds its parent's by at most one, so every node cut off has
        // f = bound + 1 or bound + 2, and only bound + 2 has the solutions' parity.
    }
    // No position needs more than kMaxMoves: only tables that overestimate get here.
    if (bound_ > kMaxMoves) solution.Outcome = SolveOutcome::Failed;
    solution.NodesGenerated = nodes_;
    return solution;
}

bool Search::Descend(int depth, std::uint32_t moves) {
    if (directSum_ == 0) {  // every group's tiles are home
        pathLength_ = depth;
        return true;
    }
    const int blank = blank_;
    const int allowed = bound_ - depth - 1;  // the largest estimate a child may have
    const Around& around = kAround[static_cast<std::size_t>(blank)];
    for (int k = 0; k < around.Count; ++k) {
        const int from = around.Cells[static_cast<std::size_t>(k)];
        const std::uint32_t nextMoves = duplicates_.Next[moves * 4 + static_cast<std::uint32_t>(around.Directions[static_cast<std::size_t>(k)])];
        if ((duplicates_.EndsAt[nextMoves] >> from) & 1u) continue;  // another path does it first
        if ((++nodes_ & (kPollInterval - 1)) == 0 && cancel_.load(std::memory_order_relaxed)) {
            cancelled_ = true;
            return false;
        }
        const std::uint8_t tile = board_[static_cast<std::size_t>(from)];

        // The tile moves from `from` into the blank's cell: only its two groups change.
        const GroupStep d = Step(direct_[tile], blank);
        const int directSum = directSum_ - d.Changed.Value + d.Value;
        if (directSum > allowed) {
            d.Undo();
            continue;
        }
        const GroupStep m = Step(mirrored_[tile], blank);
        const int mirroredSum = mirroredSum_ - m.Changed.Value + m.Value;
        if (mirroredSum > allowed) {
            d.Undo();
            m.Undo();
            continue;
        }

        const int dOld = d.Changed.Value, mOld = m.Changed.Value;
        const int directOld = directSum_, mirroredOld = mirroredSum_;
        d.Changed.Value = d.Value;
        m.Changed.Value = m.Value;
        directSum_ = directSum;
        mirroredSum_ = mirroredSum;
        board_[static_cast<std::size_t>(blank)] = tile;
        board_[static_cast<std::size_t>(from)] = 0;
        blank_ = from;
        path_[static_cast<std::size_t>(depth)] = tile;

        if (Descend(depth + 1, nextMoves)) return true;
        if (cancelled_) return false;

        blank_ = blank;
        board_[static_cast<std::size_t>(from)] = tile;
        board_[static_cast<std::size_t>(blank)] = 0;
        directSum_ = directOld;
        mirroredSum_ = mirroredOld;
        d.Changed.Value = dOld;
        m.Changed.Value = mOld;
        d.Undo();
        m.Undo();
    }
    return false;
}

}  // namespace

Solution Solve(const Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel,
               std::atomic<int>* lowerBound) {
    switch (CheckSolvable(board)) {
        case Solvability::NotABoard: return {SolveOutcome::NotABoard, {}, 0};
        case Solvability::Unsolvable: return {SolveOutcome::Unsolvable, {}, 0};
        case Solvability::Solvable: break;
    }
    return Search(board, tables, cancel).Run(lowerBound);
}

}  // namespace engine
