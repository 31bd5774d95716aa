// A tables file into PatternDatabases::Load, and every file it accepts into a short search.
//
// The real file is 29 MB: as a fuzz input nearly every mutation would land in the tables'
// entries and each run would checksum megabytes. So the target builds a small file of its
// own, valid and in the real layout (three tables of three tiles, 5 KB, holding their
// tiles' Manhattan distances: the first and last in two bits an entry, the middle one in
// bytes; a machine of duplicate paths of five states that forbids the move straight back),
// and the input is a list of patches to it. Each patch names a region,
// where in it to start (from its start or from its end, so that the first and last entries
// are as near as any), and the bytes to write there:
//
//   where (1 byte: region = (where & 0x7f) % 7, from the end when where & 0x80),
//   at (2 bytes, little-endian, taken modulo the region's size), count (1 byte), bytes.
//
// The regions: the header, each table, the machine, the whole file, and a cut (the file
// made `at` bytes long). The checksum is then resealed, so that every patch reaches the
// checks behind it. A file that Load accepts must hold, by a reader of our own, entries of
// at most 80 moves in the tables of bytes, 0 at each group's goal in either encoding and a
// machine whose every step leads to one of its states; and the search on a few boards, cut short after a few
// milliseconds, must answer with moves that really solve the board, reading nothing out of bounds.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "board_text.h"
#include "engine/moves.h"
#include "require.h"
#include "solver/pattern_format.h"
#include "solver/solver.h"

using namespace engine;
using namespace solver;
using namespace solver::patterns;

namespace {

constexpr std::array<std::array<std::uint8_t, 3>, 3> kGroups = {{{2, 3, 4}, {7, 8, 12}, {1, 6, 11}}};
constexpr std::array<TableEncoding, 3> kEncodings = {TableEncoding::Cyclic, TableEncoding::Moves,
                                                     TableEncoding::Cyclic};
constexpr int kMachineStates = 5;

struct Region {
    std::size_t start = 0;
    std::size_t bytes = 0;
};

struct BaseFile {
    std::vector<std::uint8_t> bytes;
    std::array<Region, 5> regions;  // the header, the three tables, the machine
};

BaseFile MakeBaseFile() {
    FileHeader header;
    header.TableCount = kGroups.size();
    header.LookupCount = 5;
    std::uint64_t offset = kFirstTableOffset;
    for (std::size_t t = 0; t < kGroups.size(); ++t) {
        TableRecord& table = header.Tables[t];
        table.TileCount = 3;
        std::copy(kGroups[t].begin(), kGroups[t].end(), table.Tiles.begin());
        table.Entries = EntriesFor(3);
        table.Encoding = kEncodings[t];
        table.Offset = offset;
        offset +=
            (TableBytesFor(table.Entries, table.Encoding) + kTableAlignment - 1) / kTableAlignment * kTableAlignment;
    }
    // The first two groups and their mirror images, and the three tiles on the diagonal.
    header.Lookups = {LookupRecord{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}};
    header.MachineOffset = offset;
    header.MachineStates = kMachineStates;
    header.MachineLength = 2;
    header.FileBytes = offset + MachineBytesFor(kMachineStates) + kChecksumBytes;

    BaseFile file;
    file.bytes.resize(header.FileBytes);
    std::memcpy(file.bytes.data(), &header, sizeof header);
    file.regions[0] = {0, sizeof header};
    for (std::size_t t = 0; t < kGroups.size(); ++t) {
        const TableRecord& table = header.Tables[t];
        file.regions[t + 1] = {table.Offset, TableBytesFor(table.Entries, table.Encoding)};
        std::array<std::uint8_t, 3> cells{};
        for (cells[0] = 0; cells[0] < 16; ++cells[0]) {
            for (cells[1] = 0; cells[1] < 16; ++cells[1]) {
                for (cells[2] = 0; cells[2] < 16; ++cells[2]) {
                    if (cells[0] == cells[1] || cells[0] == cells[2] || cells[1] == cells[2]) continue;
                    int moves = 0;
                    for (std::size_t i = 0; i < 3; ++i) moves += CellDistance(cells[i], table.Tiles[i] - 1);
                    const std::uint32_t index = IndexOf(cells.data(), 3);
                    if (table.Encoding == TableEncoding::Moves) {
                        file.bytes[table.Offset + index] = static_cast<std::uint8_t>(moves);
                    } else {
                        SetCyclicCode(file.bytes.data() + table.Offset, index, CyclicCodeOf(moves));
                    }
                }
            }
        }
    }
    // State 0 is the start, state 1 + d follows a step in direction d; the step back, in
    // direction 3 - d, ends a forbidden string wherever it leaves the blank.
    file.regions[4] = {header.MachineOffset, MachineBytesFor(kMachineStates)};
    for (std::uint32_t state = 0; state < kMachineStates; ++state) {
        for (std::uint32_t direction = 0; direction < kDirections; ++direction) {
            const bool back = state > 0 && direction == 3 - (state - 1);
            const MachineStep step = MachineStepOf(direction + 1, back ? 0xffffu : 0u);
            std::memcpy(&file.bytes[header.MachineOffset + (state * kDirections + direction) * 4], &step, 4);
        }
    }
    return file;
}

// The base file with the input's patches written in and its checksum resealed.
std::vector<std::uint8_t> Patched(const BaseFile& base, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes = base.bytes;
    while (size >= 4) {
        const int where = data[0];
        const std::size_t at = data[1] | std::size_t{data[2]} << 8;
        const std::size_t count = std::min<std::size_t>(data[3], size - 4);
        const int region = (where & 0x7f) % 7;
        data += 4;
        size -= 4;
        if (region == 6) {
            bytes.resize(std::min(bytes.size(), at));
            continue;
        }
        const Region r =
            region < 5 ? base.regions[static_cast<std::size_t>(region)] : Region{0, base.bytes.size() - kChecksumBytes};
        const std::size_t from = (where & 0x80) ? r.bytes - 1 - at % r.bytes : at % r.bytes;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t place = r.start + (from + i) % r.bytes;
            if (place < bytes.size()) bytes[place] = data[i];
        }
        data += count;
        size -= count;
    }
    if (bytes.size() >= kChecksumBytes) {
        const std::size_t dataBytes = bytes.size() - kChecksumBytes;
        const std::uint64_t sum = FileChecksum({bytes.data(), dataBytes});
        std::memcpy(bytes.data() + dataBytes, &sum, sizeof sum);
    }
    return bytes;
}

// The file lives in memory: a path under /proc/self/fd names it for Load.
std::string WriteToMemory(const std::vector<std::uint8_t>& bytes) {
    static const int fd = memfd_create("tables", MFD_CLOEXEC);
    Require(fd >= 0);
    Require(ftruncate(fd, 0) == 0);
    Require(pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    return "/proc/self/fd/" + std::to_string(fd);
}

// What the search relies on, read back from the tables as loaded.
void RequireInRange(const PatternDatabases& tables) {
    for (const PatternLookup& lookup : tables.Lookups()) {
        const std::uint64_t entries = EntriesFor(lookup.TileCount);
        const bool bytes = lookup.Encoding == TableEncoding::Moves;
        Require(bytes || lookup.Encoding == TableEncoding::Cyclic);
        if (bytes) Require(*std::max_element(lookup.Table, lookup.Table + entries) <= kMaxMoves);
        std::array<std::uint8_t, kMaxPatternTiles> home{};
        for (int i = 0; i < lookup.TileCount; ++i) {
            // A transposed lookup reads its table through the transposed tiles.
            const int tile = lookup.Tiles[static_cast<std::size_t>(i)];
            const int own = lookup.Transposed ? TransposedTile(tile) : tile;
            home[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(own - 1);
        }
        const std::uint32_t goal = IndexOf(home.data(), lookup.TileCount);
        Require((bytes ? lookup.Table[goal] : CyclicCodeAt(lookup.Table, goal)) == 0);
    }
    const DuplicatePathMachine& machine = tables.DuplicatePaths();
    for (std::uint64_t i = 0; i < std::uint64_t{machine.States} * kDirections; ++i) {
        Require(NextState(machine.Steps[i]) < machine.States);
    }
}

// Solves `board` on `tables`, cancelled after a few milliseconds; a solution must solve it.
void SearchBriefly(const Grid& board, const PatternDatabases& tables) {
    std::atomic<bool> cancel{false};
    Solution solution;
    {
        const std::jthread watchdog([&cancel](std::stop_token stop) {
            std::mutex mutex;
            std::unique_lock lock(mutex);
            std::condition_variable_any().wait_for(lock, stop, std::chrono::milliseconds(5), [] { return false; });
            cancel = true;
        });
        solution = Solve(board, tables, cancel);
    }
    if (solution.Outcome != SolveOutcome::Solved) return;
    Require(solution.Tiles.size() <= static_cast<std::size_t>(kMaxMoves));
    PuzzleState state;
    state.Board = board;
    for (const std::uint8_t tile : solution.Tiles) Require(TryMove(state, tile).Moved);
    Require(state.Board == kOrdered);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const BaseFile base = MakeBaseFile();
    const auto tables = PatternDatabases::Load(WriteToMemory(Patched(base, data, size)));
    Require(tables || size >= 4);  // the file as built, with no patch, is valid
    if (!tables) return 0;
    RequireInRange(*tables);
    // The goal and boards 1, 14 and 26 moves from it, each a search of under a thousand nodes
    // on the intact file. Tables that the patches make blind to the way home make longer
    // searches, whose later iterations the second thread shares until the cut.
    static const Grid boards[] = {kOrdered, GridOf("1 2 3 4 / 5 6 7 8 / 9 10 11 0 / 13 14 15 12"),
                                  GridOf("5 1 3 4 / 2 6 8 12 / 9 10 7 15 / 13 0 14 11"),
                                  GridOf("2 6 3 7 / 1 8 4 12 / 14 9 0 15 / 5 13 10 11")};
    for (const Grid& board : boards) SearchBriefly(board, *tables);
    return 0;
}
