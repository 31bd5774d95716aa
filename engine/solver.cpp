#include "solver.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace engine {

namespace {

using namespace patterns;

constexpr int kMaxGroups = 2 * kMaxLookups;
// The search reads its stop flags once per this many generated nodes (a power of two).
constexpr std::uint64_t kPollInterval = 1024;
// An iteration after one that generated this many nodes is shared between two threads: the
// nodes kSplitDepth moves from the board are found first, and each thread takes the next
// one and searches below it until all are done or one finds a solution. Iterations grow
// some sixfold, so the first shared one takes about a millisecond, some twenty times what
// waking the helper costs; a few hundred subtrees at 8 moves keep the two threads' shares
// within a few per cent of each other, and listing them costs a few hundred nodes.
constexpr std::uint64_t kShareFrom = 5'000;
constexpr int kSplitDepth = 8;

struct Around {
    std::array<std::int8_t, kDirections> Cells{};
    // The direction of the blank's step to each, as the machine of duplicate paths numbers them.
    std::array<std::int8_t, kDirections> Directions{};
    int Count = 0;
};

// The cells next to each cell.
constexpr std::array<Around, kCells> kAround = [] {
    std::array<Around, kCells> around{};
    for (int cell = 0; cell < kCells; ++cell) {
        Around& a = around[static_cast<std::size_t>(cell)];
        for (int direction = 0; direction < kDirections; ++direction) {
            const int next = NeighbourOf(cell, direction);
            if (next < 0) continue;
            a.Cells[static_cast<std::size_t>(a.Count)] = static_cast<std::int8_t>(next);
            a.Directions[static_cast<std::size_t>(a.Count++)] = static_cast<std::int8_t>(direction);
        }
    }
    return around;
}();

constexpr ZeroBasedBoard kGoal = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0};
constexpr std::array<std::uint8_t, kCells> kSameCell = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr std::array<std::uint8_t, kCells> kTransposedCell = [] {
    std::array<std::uint8_t, kCells> cells{};
    for (int cell = 0; cell < kCells; ++cell) {
        cells[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(TransposedCell(cell));
    }
    return cells;
}();

// Where a tile's cell is kept: its group and its place in the group.
struct Slot {
    std::uint8_t Group = 0;
    std::uint8_t Index = 0;
};

// A lookup as the search keeps it: the indexing cells of its tiles on the current board, the
// index they make and the moves they need. A Cyclic table's code gives the moves of a
// placement one step from one whose moves are known: the search knows each group's.
struct Group {
    const std::uint8_t* Table = nullptr;
    const std::uint8_t* CellMap = nullptr;  // board cell -> indexing cell, and back
    int TileCount = 0;
    bool Cyclic = false;
    int Shift = 0;  // an entry's byte: its index shifted right by this
    std::array<std::uint8_t, kMaxPatternTiles> Cells{};
    std::array<std::uint8_t, kMaxPatternTiles> Homes{};  // the tiles' home cells, as indexing cells
    // What one more in each tile's rank adds to the index: the product of the later radices.
    std::array<std::uint32_t, kMaxPatternTiles> Weights{};
    // The slot of the tile on each indexing cell, kMaxPatternTiles where none of the group's is.
    std::array<std::uint8_t, kCells> SlotAt{};
    // What the index gains when the tile of the first slot passes one of the second's along
    // a column: its own rank loses one for an earlier tile, a later tile's rank gains one.
    std::array<std::array<std::uint32_t, kMaxPatternTiles + 1>, kMaxPatternTiles> Passing{};
    std::uint32_t Index = 0;
    int Value = 0;

    std::uint32_t IndexOfCells() const {
        // The sizes of a 7-7-1 and a 6-6-3 split get their loops written out.
        switch (TileCount) {
            case 7: return FixedIndexOf<7>(Cells.data());
            case 6: return FixedIndexOf<6>(Cells.data());
            case 3: return FixedIndexOf<3>(Cells.data());
            default: return IndexOf(Cells.data(), TileCount);
        }
    }
    // The moves at `index`, one step from the group's placement.
    int ValueAfterStep(std::uint32_t index) const {
        return Cyclic ? MovesAfterStep(Value, CyclicCodeAt(Table, index)) : Table[index];
    }
    int WalkedValue() const;
};

// The moves of a group's placement read from a Cyclic table, which tells them only from a
// neighbour's: walked down to the tiles' home cells, each step to a placement with fewer
// moves (one always has: the first step of a shortest way home), counting what the steps
// take off. The code of the start and the parity of its Manhattan distance give its moves
// modulo 8, and from there each step's change. A table that breaks its own rule ends the
// walk early: the search is then no worse than wrong, never out of bounds.
int Group::WalkedValue() const {
    std::array<std::uint8_t, kMaxPatternTiles> cells = Cells;
    int distance = 0;
    std::uint32_t occupied = 0;
    for (int i = 0; i < TileCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        distance += CellDistance(cells[slot], Homes[slot]);
        occupied |= 1u << cells[slot];
    }
    // Kept 8 above the moves left modulo 8, so that MovesAfterStep never meets 0.
    int residue = 8 + 2 * CyclicCodeAt(Table, IndexOf(cells.data(), TileCount)) + (distance & 1);
    int walked = 0;
    for (bool stepped = true; distance > 0 && stepped && walked <= kMaxMoves;) {
        stepped = false;
        for (int i = 0; i < TileCount && !stepped; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            const int from = cells[slot];
            for (int direction = 0; direction < kDirections && !stepped; ++direction) {
                const int to = NeighbourOf(from, direction);
                if (to < 0 || ((occupied >> to) & 1u)) continue;
                cells[slot] = static_cast<std::uint8_t>(to);
                const int after = MovesAfterStep(residue, CyclicCodeAt(Table, IndexOf(cells.data(), TileCount)));
                if (after > residue) {
                    cells[slot] = static_cast<std::uint8_t>(from);
                    continue;
                }
                walked += residue - after;
                residue = 8 + after % 8;
                distance += CellDistance(to, Homes[slot]) - CellDistance(from, Homes[slot]);
                occupied ^= (1u << from) | (1u << to);
                stepped = true;
            }
        }
    }
    return walked;
}

// A move seen by one group of the moved tile: the tile's new indexing cell, and the group's
// index and moves with the tile there.
struct GroupStep {
    std::uint8_t Cell;
    int Value;
    std::uint32_t Index;
};

// A node kSplitDepth moves from the board where an iteration is split between threads: the
// tiles moved to reach it and the state of the machine of duplicate paths there.
struct Subtree {
    std::array<std::uint8_t, kSplitDepth> Tiles{};
    std::uint32_t Machine = 0;
};

// What stops a search: the caller's cancel flag, and a flag that one thread raises for the
// other when it has found a solution.
struct Stop {
    const std::atomic<bool>& Cancel;
    const std::atomic<bool>& Found;
    bool Now() const { return Cancel.load(std::memory_order_relaxed) || Found.load(std::memory_order_relaxed); }
};

// The depth-first search of one thread: the board, the groups' lookups on it, and the path.
class Search {
public:
    Search(const Grid& board, const PatternDatabases& tables, const Stop& stop);
    // Starts again from the board of `root`, which holds it between iterations, with `tiles`
    // slid from there, counting on from the nodes generated so far. Each group's moves
    // follow from the root's step by step, where Reset would walk each table down.
    void Restart(const Search& root, std::span<const std::uint8_t> tiles);

    // The larger of the two sums: a lower bound of the moves the board needs.
    int Estimate() const { return std::max(directSum_, mirroredSum_); }

    // Looks below the board, reached by `tiles` with the machine in state `machine`, for a
    // solution of exactly `bound` moves (the path then holds it). With `split`, does not
    // look below kSplitDepth moves but lists the nodes there instead.
    bool Iterate(int bound, std::span<const std::uint8_t> tiles, std::uint32_t machine,
                 std::vector<Subtree>* split = nullptr) {
        bound_ = bound;
        split_ = split;
        std::copy(tiles.begin(), tiles.end(), path_.begin());
        return Descend(static_cast<int>(tiles.size()), machine);
    }

    std::uint64_t Nodes() const { return nodes_; }
    bool Stopped() const { return stopped_; }
    std::span<const std::uint8_t> Path() const { return {path_.data(), static_cast<std::size_t>(pathLength_)}; }

private:
    // The board and its groups' lookups from scratch, each Cyclic table walked down.
    void Reset(const Grid& board);
    void AddGroups(std::span<const PatternLookup> lookups, bool mirrored, std::array<Slot, kCells>& slots);
    bool Descend(int depth, std::uint32_t machine);
    // The tile of `slot` moved into the blank's cell `blank`, in its group only: the group's
    // index then. Value() reads the entry.
    //
    // The index follows from the group's own: a tile's rank is its cell less the group's
    // earlier tiles on cells below it. A step across a row moves the tile by one cell and
    // passes no other; a step along a column passes three cells, and each earlier tile of
    // the group there takes one from the moved tile's change of rank, while each later one
    // has its own rank changed by one. Written without branches, which the search cannot
    // foresee: across a row the blank's cell, of no group, stands for the three.
    GroupStep Step(Slot slot, int blank) const {
        const Group& group = groups_[slot.Group];
        const int was = group.Cells[slot.Index], now = group.CellMap[blank];
        const bool toLower = now < was;
        const int low = toLower ? now : was, span = toLower ? was - now : now - was;
        const auto& passing = group.Passing[slot.Index];
        std::uint32_t change = group.Weights[slot.Index] * static_cast<std::uint32_t>(span);
        for (int passed = 1; passed < 4; ++passed)
            change += passing[group.SlotAt[static_cast<std::size_t>(span == kSide ? low + passed : now)]];
        const std::uint32_t index = toLower ? group.Index - change : group.Index + change;
        __builtin_prefetch(group.Table + (index >> group.Shift));
        return {static_cast<std::uint8_t>(now), 0, index};
    }
    int Value(Slot slot, const GroupStep& step) const { return groups_[slot.Group].ValueAfterStep(step.Index); }
    // The group of `slot`, and the sum `sum` it counts in, with the step made.
    void Apply(Slot slot, const GroupStep& step, int& sum) {
        Group& group = groups_[slot.Group];
        sum += step.Value - group.Value;
        group.SlotAt[group.Cells[slot.Index]] = kMaxPatternTiles;
        group.SlotAt[step.Cell] = slot.Index;
        group.Cells[slot.Index] = step.Cell;
        group.Index = step.Index;
        group.Value = step.Value;
    }

    ZeroBasedBoard board_{};
    int blank_ = 0;
    std::array<Group, kMaxGroups> groups_{};
    int groupCount_ = 0;
    // The groups each tile belongs to: in the sum over the board and in the sum over the
    // board mirrored about its main diagonal.
    std::array<Slot, kCells> direct_{};
    std::array<Slot, kCells> mirrored_{};
    int directSum_ = 0;
    int mirroredSum_ = 0;

    const PatternDatabases& tables_;
    int bound_ = 0;
    std::vector<Subtree>* split_ = nullptr;
    std::uint64_t nodes_ = 0;
    const Stop& stop_;
    bool stopped_ = false;
    const MachineStep* steps_;  // the machine of duplicate paths
    // The bound never exceeds kMaxMoves, and a child is made at `depth` only while its
    // estimate, at least 0, fits in bound - depth - 1: the path never holds more.
    std::array<std::uint8_t, kMaxMoves> path_{};
    int pathLength_ = 0;
};

Search::Search(const Grid& board, const PatternDatabases& tables, const Stop& stop)
    : tables_(tables), stop_(stop), steps_(tables.DuplicatePaths().Steps) {
    Reset(board);
}

void Search::Reset(const Grid& board) {
    groupCount_ = 0;
    directSum_ = 0;
    mirroredSum_ = 0;
    board_ = ZeroBasedCells(board);
    for (int cell = 0; cell < kCells; ++cell) {
        if (board_[static_cast<std::size_t>(cell)] == 0) blank_ = cell;
    }
    AddGroups(tables_.Lookups(), false, direct_);
    AddGroups(tables_.Lookups(), true, mirrored_);
    for (int g = 0; g < groupCount_; ++g) {
        Group& group = groups_[static_cast<std::size_t>(g)];
        group.Index = group.IndexOfCells();
        group.Value = group.Cyclic ? group.WalkedValue() : group.Table[group.Index];
    }
    for (int tile = 1; tile < kCells; ++tile) {
        const auto t = static_cast<std::size_t>(tile);
        // Each group's value is added once: where its first tile is met.
        if (direct_[t].Index == 0) directSum_ += groups_[direct_[t].Group].Value;
        if (mirrored_[t].Index == 0) mirroredSum_ += groups_[mirrored_[t].Group].Value;
    }
}

// The mirrored board has tile TransposedTile(t) on cell TransposedCell(c) where the board has
// t on c, and the goal is its own mirror image; so a lookup read on the mirrored board is the
// same table read through the transposed tiles with the transposition undone.
void Search::AddGroups(std::span<const PatternLookup> lookups, bool mirrored, std::array<Slot, kCells>& slots) {
    std::array<int, kCells> cellOf{};
    for (int cell = 0; cell < kCells; ++cell) cellOf[board_[static_cast<std::size_t>(cell)]] = cell;
    for (const PatternLookup& lookup : lookups) {
        const bool transposed = lookup.Transposed != mirrored;
        Group& group = groups_[static_cast<std::size_t>(groupCount_)];
        group.Table = lookup.Table;
        group.CellMap = transposed ? kTransposedCell.data() : kSameCell.data();
        group.TileCount = lookup.TileCount;
        group.Cyclic = lookup.Encoding == TableEncoding::Cyclic;
        group.Shift = group.Cyclic ? 2 : 0;
        for (int i = 0; i < lookup.TileCount; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            const int tile = mirrored ? TransposedTile(lookup.Tiles[slot]) : lookup.Tiles[slot];
            group.Cells[slot] = group.CellMap[cellOf[static_cast<std::size_t>(tile)]];
            // The tile's home in the indexing cells: the table's own tile's home.
            const int home = lookup.Transposed ? TransposedTile(lookup.Tiles[slot]) : lookup.Tiles[slot];
            group.Homes[slot] = static_cast<std::uint8_t>(home - 1);
            group.Weights[slot] = 1;
            for (int later = i + 1; later < lookup.TileCount; ++later)
                group.Weights[slot] *= static_cast<std::uint32_t>(kCells - later);
            slots[static_cast<std::size_t>(tile)] = {static_cast<std::uint8_t>(groupCount_),
                                                     static_cast<std::uint8_t>(i)};
        }
        group.SlotAt.fill(kMaxPatternTiles);
        for (int i = 0; i < lookup.TileCount; ++i) {
            const auto slot = static_cast<std::size_t>(i);
            group.SlotAt[group.Cells[slot]] = static_cast<std::uint8_t>(i);
            for (int other = 0; other < lookup.TileCount; ++other) {
                const auto passed = static_cast<std::size_t>(other);
                group.Passing[slot][passed] = other < i ? 0u - group.Weights[slot] : group.Weights[passed];
            }
        }
        ++groupCount_;
    }
}

bool Search::Descend(int depth, std::uint32_t machine) {
    if (directSum_ == 0 && board_ == kGoal) {
        pathLength_ = depth;
        return true;
    }
    if (split_ && depth == kSplitDepth) {
        Subtree& subtree = split_->emplace_back();
        std::copy_n(path_.begin(), kSplitDepth, subtree.Tiles.begin());
        subtree.Machine = machine;
        return false;
    }
    const int blank = blank_;
    const int allowed = bound_ - depth - 1;  // the largest estimate a child may have
    const Around& around = kAround[static_cast<std::size_t>(blank)];

    // The children within the bound, each with what it changes, tried lowest estimate first:
    // the last iteration, which ends at its first solution, then finds it sooner. The machine
    // forbids by move string alone, so the order does not matter to it.
    struct Child {
        std::uint8_t From, Tile;
        Slot Direct, Mirrored;
        std::uint32_t Machine;
        GroupStep D, M;
    };
    std::array<Child, kDirections> children;
    int count = 0;
    // First the children's indices, their entries' reads started together, then the entries.
    for (int k = 0; k < around.Count; ++k) {
        const int from = around.Cells[static_cast<std::size_t>(k)];
        const auto direction = static_cast<std::uint32_t>(around.Directions[static_cast<std::size_t>(k)]);
        const MachineStep step = steps_[machine * kDirections + direction];
        if (EndsForbidden(step, from)) continue;  // another path does it first
        const std::uint8_t tile = board_[static_cast<std::size_t>(from)];
        // The tile moves from `from` into the blank's cell: only its two groups change.
        Child& child = children[static_cast<std::size_t>(count++)];
        child.From = static_cast<std::uint8_t>(from);
        child.Tile = tile;
        child.Machine = NextState(step);
        __builtin_prefetch(steps_ + child.Machine * kDirections);
        child.Direct = direct_[tile];
        child.Mirrored = mirrored_[tile];
        child.D = Step(child.Direct, blank);
        child.M = Step(child.Mirrored, blank);
    }
    // The children kept, by estimate; among equals, in the order of the directions.
    std::array<std::uint8_t, kDirections> order{};
    std::array<int, kDirections> estimates{};
    const int generated = count;
    count = 0;
    for (int k = 0; k < generated; ++k) {
        if ((++nodes_ & (kPollInterval - 1)) == 0 && stop_.Now()) {
            stopped_ = true;
            return false;
        }
        Child& child = children[static_cast<std::size_t>(k)];
        child.D.Value = Value(child.Direct, child.D);
        const int directSum = directSum_ - groups_[child.Direct.Group].Value + child.D.Value;
        if (directSum > allowed) continue;
        child.M.Value = Value(child.Mirrored, child.M);
        const int mirroredSum = mirroredSum_ - groups_[child.Mirrored.Group].Value + child.M.Value;
        if (mirroredSum > allowed) continue;
        const int estimate = std::max(directSum, mirroredSum);
        int i = count++;
        for (; i > 0 && estimates[static_cast<std::size_t>(i - 1)] > estimate; --i) {
            estimates[static_cast<std::size_t>(i)] = estimates[static_cast<std::size_t>(i - 1)];
            order[static_cast<std::size_t>(i)] = order[static_cast<std::size_t>(i - 1)];
        }
        estimates[static_cast<std::size_t>(i)] = estimate;
        order[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(k);
    }

    for (int c = 0; c < count; ++c) {
        const Child& child = children[order[static_cast<std::size_t>(c)]];
        const Group& dGroup = groups_[child.Direct.Group];
        const Group& mGroup = groups_[child.Mirrored.Group];
        // Each group as it was, as a step back.
        const GroupStep dBack{dGroup.Cells[child.Direct.Index], dGroup.Value, dGroup.Index};
        const GroupStep mBack{mGroup.Cells[child.Mirrored.Index], mGroup.Value, mGroup.Index};
        Apply(child.Direct, child.D, directSum_);
        Apply(child.Mirrored, child.M, mirroredSum_);
        board_[static_cast<std::size_t>(blank)] = child.Tile;
        board_[static_cast<std::size_t>(child.From)] = 0;
        blank_ = child.From;
        path_[static_cast<std::size_t>(depth)] = child.Tile;

        if (Descend(depth + 1, child.Machine)) return true;
        if (stopped_) return false;

        blank_ = blank;
        board_[static_cast<std::size_t>(child.From)] = child.Tile;
        board_[static_cast<std::size_t>(blank)] = 0;
        Apply(child.Direct, dBack, directSum_);
        Apply(child.Mirrored, mBack, mirroredSum_);
    }
    return false;
}

void Search::Restart(const Search& root, std::span<const std::uint8_t> tiles) {
    board_ = root.board_;
    blank_ = root.blank_;
    groups_ = root.groups_;
    groupCount_ = root.groupCount_;
    direct_ = root.direct_;
    mirrored_ = root.mirrored_;
    directSum_ = root.directSum_;
    mirroredSum_ = root.mirroredSum_;
    for (const std::uint8_t tile : tiles) {
        const int from = static_cast<int>(std::find(board_.begin(), board_.end(), tile) - board_.begin());
        const Slot direct = direct_[tile], mirrored = mirrored_[tile];
        GroupStep d = Step(direct, blank_), m = Step(mirrored, blank_);
        d.Value = Value(direct, d);
        m.Value = Value(mirrored, m);
        Apply(direct, d, directSum_);
        Apply(mirrored, m, mirroredSum_);
        board_[static_cast<std::size_t>(blank_)] = tile;
        board_[static_cast<std::size_t>(from)] = 0;
        blank_ = from;
    }
}

// IDA*: iterations of rising bound, each searched to its end unless it finds a solution.
// Once an iteration has generated kShareFrom nodes, the next ones are shared with the
// helper, when there is one.
class Iterations {
public:
    Iterations(const Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel, Worker* helper)
        : helper_(helper), stop_{cancel, found_}, root_(board, tables, stop_) {}

    Solution Run(std::atomic<int>* lowerBound);

private:
    // One iteration on both threads; true when it found a solution, then in answer_.
    bool Shared(int bound);
    // Searches below the next subtree of subtrees_ until none is left or the search stops;
    // returns the nodes generated.
    std::uint64_t Work(int bound);

    Worker* const helper_;
    std::atomic<bool> found_{false};
    const Stop stop_;
    Search root_;
    std::uint64_t sharedNodes_ = 0;
    std::vector<Subtree> subtrees_;
    std::atomic<std::size_t> nextSubtree_{0};
    std::vector<std::uint8_t> answer_;  // written by the one thread that finds a solution
    std::uint64_t helperNodes_ = 0;     // written by the helper, read once it has ended
};

Solution Iterations::Run(std::atomic<int>* lowerBound) {
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
        if (lowerBound) lowerBound->store(bound, std::memory_order_relaxed);
        const std::uint64_t before = root_.Nodes() + sharedNodes_;
        if (share) {
            solved = Shared(bound);
        } else if (root_.Iterate(bound, {}, 0)) {
            solved = true;
            answer_.assign(root_.Path().begin(), root_.Path().end());
        }
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

bool Iterations::Shared(int bound) {
    subtrees_.clear();
    if (root_.Iterate(bound, {}, 0, &subtrees_)) {  // a solution shorter than kSplitDepth
        answer_.assign(root_.Path().begin(), root_.Path().end());
        return true;
    }
    if (root_.Stopped()) return false;
    nextSubtree_.store(0);
    // Without a thread to be had, this one takes the helper's share too.
    const bool helped = helper_->Start([this, bound] { helperNodes_ = Work(bound); });
    sharedNodes_ += Work(bound);
    if (helped) {
        helper_->Wait();
        sharedNodes_ += helperNodes_;
    }
    return found_.load();
}

std::uint64_t Iterations::Work(int bound) {
    // One search, a copy of the root's, for all the thread's subtrees, so that its count of
    // nodes, and with it the polling of the stop flags, runs on from one to the next.
    Search search(root_);
    const std::uint64_t before = search.Nodes();
    while (true) {
        const std::size_t next = nextSubtree_.fetch_add(1);
        if (next >= subtrees_.size()) break;
        const Subtree& subtree = subtrees_[next];
        search.Restart(root_, subtree.Tiles);
        const bool solved = search.Iterate(bound, subtree.Tiles, subtree.Machine);
        if (solved && !found_.exchange(true)) answer_.assign(search.Path().begin(), search.Path().end());
        if (solved || search.Stopped()) break;
    }
    return search.Nodes() - before;
}

}  // namespace

Solution Solve(const Grid& board, const PatternDatabases& tables, const std::atomic<bool>& cancel,
               std::atomic<int>* lowerBound, Worker* helper) {
    switch (CheckSolvable(board)) {
        case Solvability::NotABoard: return {SolveOutcome::NotABoard, {}, 0};
        case Solvability::Unsolvable: return {SolveOutcome::Unsolvable, {}, 0};
        case Solvability::Solvable: break;
    }
    return Iterations(board, tables, cancel, helper).Run(lowerBound);
}

}  // namespace engine
