#include "estimate.h"

namespace solver {

using namespace patterns;

namespace {

constexpr std::array<std::uint8_t, kCells> kSameCell = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr std::array<std::uint8_t, kCells> kTransposedCell = [] {
    std::array<std::uint8_t, kCells> cells{};
    for (std::uint8_t cell = 0; cell < kCells; ++cell) cells[cell] = static_cast<std::uint8_t>(TransposedCell(cell));
    return cells;
}();

}  // namespace

std::uint32_t Group::IndexOfCells() const {
    // The sizes of a 7-7-1 and a 6-6-3 split get their loops written out.
    switch (TileCount) {
        case 7: return FixedIndexOf<7>(Cells.data());
        case 6: return FixedIndexOf<6>(Cells.data());
        case 3: return FixedIndexOf<3>(Cells.data());
        default: return IndexOf(Cells.data(), TileCount);
    }
}

// The moves of a group's placement read from a Cyclic table, which tells them only from a
// neighbour's: walked down to the tiles' home cells, each step to a placement with fewer
// moves (one always has: the first step of a shortest way home), counting what the steps
// take off. The code of the start and the parity of its Manhattan distance give its moves
// modulo 8, and from there each step's change. A table that breaks its own rule ends the
// walk early: the search is then no worse than wrong, never out of bounds.
int Group::WalkedValue() const {
    const auto count = static_cast<std::size_t>(TileCount);
    std::array<std::uint8_t, kMaxPatternTiles> cells = Cells;
    int distance = 0;
    std::uint32_t occupied = 0;
    for (std::size_t slot = 0; slot < count; ++slot) {
        distance += CellDistance(cells[slot], Homes[slot]);
        occupied |= 1u << cells[slot];
    }
    // Kept 8 above the moves left modulo 8, so that MovesAfterStep never meets 0.
    int residue = 8 + 2 * CyclicCodeAt(Table, IndexOf(cells.data(), TileCount)) + (distance & 1);
    int walked = 0;
    for (bool stepped = true; distance > 0 && stepped && walked <= kMaxMoves;) {
        stepped = false;
        for (std::size_t slot = 0; slot < count && !stepped; ++slot) {
            const std::uint8_t from = cells[slot];
            for (int direction = 0; direction < kDirections && !stepped; ++direction) {
                const int to = NeighbourOf(from, direction);
                if (to < 0 || ((occupied >> to) & 1u)) continue;
                cells[slot] = static_cast<std::uint8_t>(to);
                const int after = MovesAfterStep(residue, CyclicCodeAt(Table, IndexOf(cells.data(), TileCount)));
                if (after > residue) {
                    cells[slot] = from;
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

void Estimate::Reset(const ZeroBasedBoard& board, std::span<const PatternLookup> lookups) {
    groupCount_ = 0;
    directSum_ = 0;
    mirroredSum_ = 0;
    AddGroups(board, lookups, false, direct_);
    AddGroups(board, lookups, true, mirrored_);
    for (std::size_t g = 0; g < groupCount_; ++g) {
        Group& group = groups_[g];
        group.Index = group.IndexOfCells();
        group.Value = group.Cyclic ? group.WalkedValue() : group.Table[group.Index];
    }
    for (std::size_t tile = 1; tile < kCells; ++tile) {
        // Each group's value is added once: where its first tile is met.
        if (direct_[tile].Index == 0) directSum_ += groups_[direct_[tile].Group].Value;
        if (mirrored_[tile].Index == 0) mirroredSum_ += groups_[mirrored_[tile].Group].Value;
    }
}

// The mirrored board has tile TransposedTile(t) on cell TransposedCell(c) where the board has
// t on c, and the goal is its own mirror image; so a lookup read on the mirrored board is the
// same table read through the transposed tiles with the transposition undone.
void Estimate::AddGroups(const ZeroBasedBoard& board, std::span<const PatternLookup> lookups, bool mirrored,
                         std::array<Slot, kCells>& slots) {
    std::array<std::uint8_t, kCells> cellOf{};
    for (std::uint8_t cell = 0; cell < kCells; ++cell) cellOf[board[cell]] = cell;
    for (const PatternLookup& lookup : lookups) {
        const bool transposed = lookup.Transposed != mirrored;
        const auto count = static_cast<std::size_t>(lookup.TileCount);
        Group& group = groups_[groupCount_];
        group.Table = lookup.Table;
        group.CellMap = transposed ? kTransposedCell.data() : kSameCell.data();
        group.TileCount = lookup.TileCount;
        group.Cyclic = lookup.Encoding == TableEncoding::Cyclic;
        group.Shift = group.Cyclic ? 2 : 0;
        for (std::size_t slot = 0; slot < count; ++slot) {
            const int own = lookup.Tiles[slot];
            const auto tile = static_cast<std::size_t>(mirrored ? TransposedTile(own) : own);
            group.Cells[slot] = group.CellMap[cellOf[tile]];
            // The tile's home in the indexing cells: the table's own tile's home.
            group.Homes[slot] = static_cast<std::uint8_t>((lookup.Transposed ? TransposedTile(own) : own) - 1);
            group.Weights[slot] = 1;
            for (std::size_t later = slot + 1; later < count; ++later)
                group.Weights[slot] *= static_cast<std::uint32_t>(kCells - later);
            slots[tile] = {static_cast<std::uint8_t>(groupCount_), static_cast<std::uint8_t>(slot)};
        }
        group.SlotAt.fill(kMaxPatternTiles);
        for (std::size_t slot = 0; slot < count; ++slot) {
            group.SlotAt[group.Cells[slot]] = static_cast<std::uint8_t>(slot);
            for (std::size_t other = 0; other < count; ++other)
                group.Passing[slot][other] = other < slot ? 0u - group.Weights[slot] : group.Weights[other];
        }
        ++groupCount_;
    }
}

}  // namespace solver
