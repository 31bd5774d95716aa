#pragma once

// The search's estimate of a board: the larger of two sums of pattern-database lookups, one
// on the board and one on the board mirrored about its main diagonal, kept up to date move by
// move. A move changes one group of each sum, and that group's table index follows from its
// old one (the incremental index) without the tiles' cells being ranked again.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "pattern_database.h"
#include "pattern_format.h"

namespace solver {

// Where a tile's cell is kept: its group and its place in the group.
struct Slot {
    std::uint8_t Group = 0;
    std::uint8_t Index = 0;
};

// A move seen by one group of the moved tile: the tile's new indexing cell, and the group's
// index and moves with the tile there.
struct GroupStep {
    std::uint8_t Cell;
    int Value;
    std::uint32_t Index;
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
    std::array<std::uint8_t, patterns::kMaxPatternTiles> Cells{};
    std::array<std::uint8_t, patterns::kMaxPatternTiles> Homes{};  // the tiles' home cells, as indexing cells
    // What one more in each tile's rank adds to the index: the product of the later radices.
    std::array<std::uint32_t, patterns::kMaxPatternTiles> Weights{};
    // The slot of the tile on each indexing cell, kMaxPatternTiles where none of the group's is.
    std::array<std::uint8_t, kCells> SlotAt{};
    // What the index gains when the tile of the first slot passes one of the second's along
    // a column: its own rank loses one for an earlier tile, a later tile's rank gains one.
    std::array<std::array<std::uint32_t, patterns::kMaxPatternTiles + 1>, patterns::kMaxPatternTiles> Passing{};
    std::uint32_t Index = 0;
    int Value = 0;

    std::uint32_t IndexOfCells() const;
    // The moves at `index`, one step from the group's placement.
    int ValueAfterStep(std::uint32_t index) const {
        return Cyclic ? patterns::MovesAfterStep(Value, patterns::CyclicCodeAt(Table, index)) : Table[index];
    }
    int WalkedValue() const;
};

// A tile moved into the blank's cell, as the estimate sees it: the step of each of its groups.
struct TileMove {
    Slot Direct, Mirrored;
    GroupStep D, M;
};

class Estimate {
public:
    // The groups of `lookups` on `board` from scratch, each Cyclic table walked down.
    void Reset(const patterns::ZeroBasedBoard& board, std::span<const PatternLookup> lookups);

    // A lower bound of the moves the board needs.
    int Value() const { return std::max(directSum_, mirroredSum_); }
    // Whether the tables see every tile at home (the board may still differ from the goal).
    bool AtHome() const { return directSum_ == 0; }

    // `tile` moved into the blank's cell `blank`: its groups' indices then, the reads of their
    // entries started. After() reads the entries.
    TileMove Move(std::uint8_t tile, std::size_t blank) const {
        const Slot direct = direct_[tile], mirrored = mirrored_[tile];
        return {direct, mirrored, Step(direct, blank), Step(mirrored, blank)};
    }
    // The estimate after `move`, its entries read into it; once the sum over the board
    // exceeds `allowed`, that sum, the mirrored one unread.
    int After(TileMove& move, int allowed) const {
        move.D.Value = groups_[move.Direct.Group].ValueAfterStep(move.D.Index);
        const int direct = directSum_ - groups_[move.Direct.Group].Value + move.D.Value;
        if (direct > allowed) return direct;
        move.M.Value = groups_[move.Mirrored.Group].ValueAfterStep(move.M.Index);
        return std::max(direct, mirroredSum_ - groups_[move.Mirrored.Group].Value + move.M.Value);
    }
    // Makes `move`, read by After(); returns the move that undoes it.
    TileMove Make(const TileMove& move) {
        const TileMove back{move.Direct, move.Mirrored, Current(move.Direct), Current(move.Mirrored)};
        Apply(move.Direct, move.D, directSum_);
        Apply(move.Mirrored, move.M, mirroredSum_);
        return back;
    }
    void Undo(const TileMove& back) {
        Apply(back.Direct, back.D, directSum_);
        Apply(back.Mirrored, back.M, mirroredSum_);
    }

private:
    static constexpr std::size_t kMaxGroups = 2 * patterns::kMaxLookups;

    void AddGroups(const patterns::ZeroBasedBoard& board, std::span<const PatternLookup> lookups, bool mirrored,
                   std::array<Slot, kCells>& slots);

    // The tile of `slot` moved into the blank's cell `blank`, in its group only: the group's
    // index then.
    //
    // The index follows from the group's own: a tile's rank is its cell less the group's
    // earlier tiles on cells below it. A step across a row moves the tile by one cell and
    // passes no other; a step along a column passes three cells, and each earlier tile of
    // the group there takes one from the moved tile's change of rank, while each later one
    // has its own rank changed by one. Written without branches, which the search cannot
    // foresee: across a row the blank's cell, of no group, stands for the three.
    GroupStep Step(Slot slot, std::size_t blank) const {
        const Group& group = groups_[slot.Group];
        const std::uint32_t was = group.Cells[slot.Index], now = group.CellMap[blank];
        const bool toLower = now < was;
        const std::uint32_t low = toLower ? now : was, span = toLower ? was - now : now - was;
        const auto& passing = group.Passing[slot.Index];
        std::uint32_t change = group.Weights[slot.Index] * span;
        for (std::uint32_t passed = 1; passed < 4; ++passed)
            change += passing[group.SlotAt[span == kSide ? low + passed : now]];
        const std::uint32_t index = toLower ? group.Index - change : group.Index + change;
        __builtin_prefetch(group.Table + (index >> group.Shift));
        return {static_cast<std::uint8_t>(now), 0, index};
    }
    // The group of `slot` as it is, as a step.
    GroupStep Current(Slot slot) const {
        const Group& group = groups_[slot.Group];
        return {group.Cells[slot.Index], group.Value, group.Index};
    }
    // The group of `slot`, and the sum `sum` it counts in, with the step made.
    void Apply(Slot slot, const GroupStep& step, int& sum) {
        Group& group = groups_[slot.Group];
        sum += step.Value - group.Value;
        group.SlotAt[group.Cells[slot.Index]] = patterns::kMaxPatternTiles;
        group.SlotAt[step.Cell] = slot.Index;
        group.Cells[slot.Index] = step.Cell;
        group.Index = step.Index;
        group.Value = step.Value;
    }

    std::array<Group, kMaxGroups> groups_{};
    std::size_t groupCount_ = 0;
    // The groups each tile belongs to: in the sum over the board and in the sum over the
    // board mirrored about its main diagonal.
    std::array<Slot, kCells> direct_{};
    std::array<Slot, kCells> mirrored_{};
    int directSum_ = 0;
    int mirroredSum_ = 0;
};

}  // namespace solver
