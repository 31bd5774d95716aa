#pragma once

// The layout of the solver's table file and the arithmetic that the table generator, the
// loader and the search share: how a pattern's cells become a table index, the
// transposition of the board about its main diagonal, and the file's checksum.
//
// Cells here run 0..15 in row-major order (cell 15 is bottom-right), where the game's Grid
// numbers them 1..16; tile v belongs in cell v - 1 and the blank in cell 15. ZeroBasedCells
// is the one place where a board crosses from the one count to the other.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "engine/grid.h"

namespace solver {

// The board's size, as the rules define it.
using engine::kCells;
using engine::kSide;

}  // namespace solver

namespace solver::patterns {

// A board as the tables and the search read it: the sixteen values, cell 0 first.
using ZeroBasedBoard = std::array<std::uint8_t, kCells>;

// The game's board, whose cells count from 1, with its cells counted from 0.
constexpr ZeroBasedBoard ZeroBasedCells(const engine::Grid& grid) {
    ZeroBasedBoard cells{};
    for (int cell = 1; cell <= kCells; ++cell) cells[engine::SlotOf(cell)] = grid.at(cell);
    return cells;
}

inline constexpr int kMaxPatternTiles = 7;
inline constexpr int kMaxTables = 4;
inline constexpr int kMaxLookups = 8;
inline constexpr int kGoalBlankCell = kCells - 1;
// No position of the fifteen puzzle needs more than 80 moves, nor does any group of its tiles.
inline constexpr int kMaxMoves = 80;

// The directions of the blank's steps, numbered as the machine of duplicate paths (below)
// numbers them: 0 up, 1 left, 2 right, 3 down.
inline constexpr int kDirections = 4;

// The cell next to `cell` in `direction`, or -1 off the board.
constexpr int NeighbourOf(int cell, int direction) {
    switch (direction) {
        case 0: return cell >= kSide ? cell - kSide : -1;
        case 1: return cell % kSide > 0 ? cell - 1 : -1;
        case 2: return cell % kSide < kSide - 1 ? cell + 1 : -1;
        default: return cell < kCells - kSide ? cell + kSide : -1;
    }
}

// The cell (r, c) seen across the main diagonal: (c, r).
constexpr int TransposedCell(int cell) { return (cell % kSide) * kSide + cell / kSide; }

// The tile whose home is the transposed home of `tile`: 2 <-> 5, 3 <-> 9, 1, 6, 11 stay.
// The blank stays the blank.
constexpr int TransposedTile(int tile) { return tile == 0 ? 0 : TransposedCell(tile - 1) + 1; }

// Entries of a table over `tiles` distinct cells of 16: 16 * 15 * ... * (16 - tiles + 1).
constexpr std::uint64_t EntriesFor(int tiles) {
    std::uint64_t entries = 1;
    for (int i = 0; i < tiles; ++i) entries *= static_cast<std::uint64_t>(kCells - i);
    return entries;
}

// The index of the distinct cells cells[0..count) in a table of EntriesFor(count) entries:
// each cell is numbered among the cells the earlier ones left free, and the numbers are
// read as the digits of a mixed-radix number with radices 16, 15, 14, ...
inline std::uint32_t IndexOf(const std::uint8_t* cells, int count) {
    std::uint32_t index = 0;
    for (int i = 0; i < count; ++i) {
        std::uint32_t rank = cells[i];
        for (int j = 0; j < i; ++j) rank -= cells[j] < cells[i] ? 1u : 0u;
        index = index * static_cast<std::uint32_t>(kCells - i) + rank;
    }
    return index;
}

// The earlier cells cells[0..I) below cells[I]: what IndexOf takes off the I-th cell's rank.
template <int I, int J = 0>
[[gnu::always_inline]] inline std::uint32_t EarlierCellsBelow(const std::uint8_t* cells) {
    if constexpr (J == I) {
        return 0;
    } else {
        return (cells[J] < cells[I] ? 1u : 0u) + EarlierCellsBelow<I, J + 1>(cells);
    }
}

// IndexOf for a count known when compiling, with the loops written out.
// Written out into the search's inner loop, which a compiler would otherwise leave calling it.
template <int Count, int I = 0>
[[gnu::always_inline]] inline std::uint32_t FixedIndexOf(const std::uint8_t* cells, std::uint32_t index = 0) {
    if constexpr (I == Count) {
        return index;
    } else {
        return FixedIndexOf<Count, I + 1>(
            cells, index * static_cast<std::uint32_t>(kCells - I) + cells[I] - EarlierCellsBelow<I>(cells));
    }
}

// The file's checksum: 64-bit FNV-1a taken a 64-bit word at a time (the bytes in the
// machine's byte order), the last bytes that fill no word one at a time; continued from
// `hash`. A word changed changes the sum (each step is a bijection of the sum), and one
// multiplication for eight bytes checks the 29 MB of tables in a few milliseconds.
inline constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
inline std::uint64_t FileChecksum(std::span<const std::uint8_t> bytes, std::uint64_t hash = kFnvOffset) {
    constexpr std::uint64_t kPrime = 0x100000001b3ull;
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= bytes.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        hash = (hash ^ word) * kPrime;
    }
    for (; i < bytes.size(); ++i) hash = (hash ^ bytes[i]) * kPrime;
    return hash;
}

// The file: this header, the tables (each starting on a multiple of kTableAlignment, its
// entries in the table's encoding, below), the machine of duplicate paths (below), and last
// the FileChecksum of every byte before it, eight bytes in the writer's byte order.
//
// An entry stands for the fewest moves of the table's own tiles that bring them home, the
// other tiles being free to pass. Each table names its encoding:
//   Moves   one byte an entry: the moves themselves;
//   Cyclic  two bits an entry, four to a byte, entry i in bits 2 (i % 4) of byte i / 4: the
//           moves halved, modulo 4. The moves have the parity of the tiles' Manhattan
//           distance, so the code tells the moves modulo 8; and a step of one of the tiles
//           changes the moves by 1 or 3, up or down (the generator checks every step), so
//           the code of a placement one step away tells its moves from this one's
//           (MovesAfterStep). The search finds the moves of its first board by walking down
//           the table to the goal.
//
// A table is computed for an ordered list of tiles. A lookup reads one table for a group of
// the board's tiles: either the table's own tiles at their cells, or (Transposed) the
// transposed tiles at their transposed cells, which reads the board as if mirrored about
// the main diagonal. The lookups' groups divide tiles 1..15 between them (TileSplit), so
// that the looked-up values add up to a lower bound of the moves to the goal.
//
// The machine of duplicate paths (Taylor and Korf, 1993) recognises strings of the blank's
// moves that only repeat what another path from the same cell does: one that is shorter, or
// as long and earlier in the order of the directions 0 up, 1 left, 2 right, 3 down. The
// first shortest solution in that order contains no such string (a piece of it could be
// swapped for its earlier twin), so a search that never makes one still finds a shortest
// solution, whatever order it tries a node's children in: the machine forbids by the string
// of moves alone. The move straight back is the shortest such string; the machine knows
// every one of up to MachineLength moves. It is stored as MachineStates (at most
// kMaxMachineStates) times four MachineStep, one a step in each direction (state 0 is the
// start).
inline constexpr std::array<char, 8> kMagic = {'P', 'L', 'T', 'N', 'P', 'D', 'B', '\x1a'};
inline constexpr std::uint32_t kVersion = 4;
inline constexpr std::uint32_t kByteOrderMark = 0x01020304;
inline constexpr std::size_t kTableAlignment = 64;
inline constexpr std::size_t kChecksumBytes = 8;

enum class TableEncoding : std::uint8_t { Moves = 0, Cyclic = 1 };

// The bytes of a table of `entries` in `encoding`.
constexpr std::uint64_t TableBytesFor(std::uint64_t entries, TableEncoding encoding) {
    return encoding == TableEncoding::Cyclic ? (entries + 3) / 4 : entries;
}

// The code of entry `index` of a Cyclic table, and the code of `moves`.
inline int CyclicCodeAt(const std::uint8_t* table, std::uint32_t index) {
    return (table[index >> 2] >> ((index & 3u) * 2u)) & 3;
}
// Entry `index` of a Cyclic table set to `code`.
inline void SetCyclicCode(std::uint8_t* table, std::uint64_t index, int code) {
    const auto shift = static_cast<unsigned>((index & 3u) * 2u);
    table[index >> 2] =
        static_cast<std::uint8_t>((table[index >> 2] & ~(3u << shift)) | static_cast<unsigned>(code) << shift);
}
constexpr int CyclicCodeOf(int moves) { return (moves >> 1) & 3; }

// The moves of a placement one step from one of `moves`, whose code is `code`: of the
// moves - 3, moves - 1, moves + 1 and moves + 3 that one whose code it is (their halves are
// four numbers in a row, so their codes differ). Never below 0, whatever the code.
constexpr int MovesAfterStep(int moves, int code) {
    const int lowest = moves - 3;
    const int after = lowest + 2 * ((code - ((lowest + 8) >> 1)) & 3);
    return after < 0 ? 0 : after;
}

// Groups of tiles told one tile at a time, to check that they split tiles 1..15: each of
// them in exactly one group.
class TileSplit {
public:
    // False when `tile` is not one of 1..15 or is in a group already.
    constexpr bool Add(int tile) {
        if (tile < 1 || tile >= kCells || (covered_ >> tile) & 1u) return false;
        covered_ |= 1u << tile;
        return true;
    }
    // Whether every tile of 1..15 has been added.
    constexpr bool Complete() const { return covered_ == kAllTiles; }

private:
    static constexpr std::uint32_t kAllTiles = (1u << kCells) - 2u;
    std::uint32_t covered_ = 0;
};

// The Manhattan distance of a tile on `cell` from its home cell `home`.
constexpr int CellDistance(int cell, int home) {
    const int rows = cell / kSide - home / kSide, columns = cell % kSide - home % kSide;
    return (rows < 0 ? -rows : rows) + (columns < 0 ? -columns : columns);
}

static_assert(MovesAfterStep(4, CyclicCodeOf(1)) == 1 && MovesAfterStep(4, CyclicCodeOf(7)) == 7 &&
              MovesAfterStep(1, CyclicCodeOf(0)) == 0 && MovesAfterStep(0, CyclicCodeOf(3)) == 3);

struct TableRecord {
    std::uint64_t Offset = 0;   // from the start of the file
    std::uint64_t Entries = 0;  // EntriesFor(TileCount)
    std::uint8_t TileCount = 0;
    TableEncoding Encoding = TableEncoding::Moves;
    std::array<std::uint8_t, kMaxPatternTiles> Tiles{};
    std::array<std::uint8_t, 7> Reserved{};  // 0
};

struct LookupRecord {
    std::uint8_t Table = 0;
    std::uint8_t Transposed = 0;  // 0 or 1
};

struct FileHeader {
    std::array<char, 8> Magic = kMagic;
    std::uint32_t ByteOrder = kByteOrderMark;
    std::uint32_t Version = kVersion;
    std::uint32_t TableCount = 0;
    std::uint32_t LookupCount = 0;
    std::uint64_t FileBytes = 0;  // the whole file, checksum included
    std::array<TableRecord, kMaxTables> Tables{};
    std::array<LookupRecord, kMaxLookups> Lookups{};
    std::uint64_t MachineOffset = 0;  // a multiple of kTableAlignment
    std::uint32_t MachineStates = 0;
    std::uint32_t MachineLength = 0;
};

// A step of the machine: the state after the step in its low kStateBits bits, and above
// them bit kStateBits + c set when the step, leaving the blank on cell c, ends a forbidden
// string.
using MachineStep = std::uint32_t;
inline constexpr int kStateBits = 16;
inline constexpr std::uint32_t kMaxMachineStates = 1u << kStateBits;

// The step to state `next` that ends a forbidden string on each cell of the mask `endsAt`.
constexpr MachineStep MachineStepOf(std::uint32_t next, std::uint32_t endsAt) { return next | endsAt << kStateBits; }
// The state after `step`.
constexpr std::uint32_t NextState(MachineStep step) { return step & (kMaxMachineStates - 1); }
// Whether `step`, leaving the blank on `cell`, ends a forbidden string.
constexpr bool EndsForbidden(MachineStep step, int cell) { return (step >> (kStateBits + cell)) & 1u; }

static_assert(NextState(MachineStepOf(kMaxMachineStates - 1, 1u << 15)) == kMaxMachineStates - 1 &&
              EndsForbidden(MachineStepOf(0, 1u << 15), 15) && !EndsForbidden(MachineStepOf(1, 0), 0));

// The bytes of a machine of `states` states.
constexpr std::uint64_t MachineBytesFor(std::uint64_t states) { return states * kDirections * sizeof(MachineStep); }

// The index of a table's goal: its tiles on their home cells.
inline std::uint32_t GoalIndexOf(const TableRecord& table) {
    const int count = table.TileCount < kMaxPatternTiles ? table.TileCount : kMaxPatternTiles;
    std::array<std::uint8_t, kMaxPatternTiles> cells{};
    for (int i = 0; i < count; ++i) {
        cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(table.Tiles[static_cast<std::size_t>(i)] - 1);
    }
    return IndexOf(cells.data(), count);
}

static_assert(sizeof(TableRecord) == 32 && sizeof(LookupRecord) == 2);
static_assert(sizeof(FileHeader) == 192, "the header is written and read as it lies in memory");

// Where the first table starts.
inline constexpr std::size_t kFirstTableOffset =
    (sizeof(FileHeader) + kTableAlignment - 1) / kTableAlignment * kTableAlignment;

}  // namespace solver::patterns
