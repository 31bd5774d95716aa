// Computes the solver's pattern databases and writes them as one file.
//
// Usage: make_tables <output file> [groups]
//
// groups: the tiles 1..15 split into groups, by default "1,2,3/4,7,8,11,12,15/5,6,9,10,13,14"
// (why these: docs/performance.md). Each group gets a table of the fewest moves of its own tiles that bring them
// home, counted by a breadth-first search from the goal; a group that is the mirror image of
// an earlier one about the main diagonal reads that group's table through the
// transposition instead of getting its own.
//
// The file also holds the search's machine of duplicate paths, up to kMachineLength moves
// (tools/duplicate_paths.h). It is written under a temporary name and renamed when complete.

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "engine/pattern_format.h"
#include "tools/duplicate_paths.h"

namespace {

using namespace engine::patterns;

constexpr const char* kDefaultGroups = "1,2,3/4,7,8,11,12,15/5,6,9,10,13,14";
// Longer strings prune a little more and take longer to find (docs/performance.md).
constexpr int kMachineLength = 12;

using Tiles = std::vector<int>;

std::vector<Tiles> ParseGroups(const std::string& text) {
    std::vector<Tiles> groups;
    std::stringstream all(text);
    std::string groupText;
    while (std::getline(all, groupText, '/')) {
        Tiles group;
        std::stringstream tiles(groupText);
        std::string number;
        while (std::getline(tiles, number, ',')) group.push_back(std::stoi(number));
        groups.push_back(group);
    }
    return groups;
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "make_tables: %s\n", message.c_str());
    std::exit(1);
}

// The cells a tile can step to from each cell.
constexpr std::array<std::uint32_t, 16> kNeighbours = [] {
    std::array<std::uint32_t, 16> masks{};
    for (int cell = 0; cell < 16; ++cell) {
        std::uint32_t mask = 0;
        for (int direction = 0; direction < kDirections; ++direction) {
            if (const int next = NeighbourOf(cell, direction); next >= 0) mask |= 1u << next;
        }
        masks[static_cast<std::size_t>(cell)] = mask;
    }
    return masks;
}();

// The cells of `empty` the blank reaches from `start` without moving a pattern tile.
std::uint32_t Reach(int start, std::uint32_t empty) {
    std::uint32_t region = 1u << start, before = 0;
    while (region != before) {
        before = region;
        region |= ((region << 1) & 0xeeeeu) | ((region >> 1) & 0x7777u) | (region << 4) | (region >> 4);
        region &= empty;
    }
    return region;
}

// A search state packed in 32 bits: the cell of pattern tile i in bits 4i..4i+3, and in the
// top four bits the lowest cell of the blank's region, which stands for all of the region:
// the blank moves inside it for free.
constexpr int kBlankShift = 28;

std::vector<std::uint8_t> MakeTable(const Tiles& tiles) {
    const int count = static_cast<int>(tiles.size());
    const std::uint64_t entries = EntriesFor(count);
    std::vector<std::uint8_t> table(entries, 0xff);
    std::vector<std::uint64_t> reached((entries * 16 + 63) / 64, 0);
    auto firstVisit = [&reached](std::uint64_t key) {
        std::uint64_t& word = reached[key / 64];
        const std::uint64_t bit = 1ull << (key % 64);
        if (word & bit) return false;
        word |= bit;
        return true;
    };

    std::array<std::uint8_t, kMaxPatternTiles> cells{};
    std::uint32_t goal = 0, occupied = 0;
    for (int i = 0; i < count; ++i) {
        cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(tiles[static_cast<std::size_t>(i)] - 1);
        goal |= static_cast<std::uint32_t>(cells[static_cast<std::size_t>(i)]) << (4 * i);
        occupied |= 1u << cells[static_cast<std::size_t>(i)];
    }
    const auto goalBlank = static_cast<std::uint32_t>(std::countr_zero(Reach(kGoalBlankCell, ~occupied & 0xffffu)));
    goal |= goalBlank << kBlankShift;
    const std::uint32_t goalIndex = IndexOf(cells.data(), count);
    table[goalIndex] = 0;
    firstVisit(std::uint64_t{goalIndex} * 16 + goalBlank);

    std::vector<std::uint32_t> frontier{goal}, next;
    std::uint64_t filled = 1;
    for (int depth = 0; !frontier.empty(); ++depth) {
        if (depth + 1 >= 0xff) Fail("the search went deeper than an entry holds");
        next.clear();
        for (const std::uint32_t state : frontier) {
            occupied = 0;
            for (int i = 0; i < count; ++i) {
                cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((state >> (4 * i)) & 15u);
                occupied |= 1u << cells[static_cast<std::size_t>(i)];
            }
            const std::uint32_t empty = ~occupied & 0xffffu;
            const std::uint32_t region = Reach(static_cast<int>(state >> kBlankShift), empty);
            for (int i = 0; i < count; ++i) {
                const int from = cells[static_cast<std::size_t>(i)];
                for (std::uint32_t targets = kNeighbours[static_cast<std::size_t>(from)] & region; targets != 0;
                     targets &= targets - 1) {
                    const int to = std::countr_zero(targets);
                    cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(to);
                    const std::uint32_t index = IndexOf(cells.data(), count);
                    cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(from);
                    // The tile's old cell is now the blank's.
                    const auto blank = static_cast<std::uint32_t>(
                        std::countr_zero(Reach(from, empty ^ (1u << to) ^ (1u << from))));
                    if (!firstVisit(std::uint64_t{index} * 16 + blank)) continue;
                    if (table[index] == 0xff) {
                        table[index] = static_cast<std::uint8_t>(depth + 1);
                        ++filled;
                    }
                    std::uint32_t child = state & ~(15u << (4 * i)) & ~(15u << kBlankShift);
                    next.push_back(child | static_cast<std::uint32_t>(to) << (4 * i) | blank << kBlankShift);
                }
            }
        }
        frontier.swap(next);
    }
    if (filled != entries) Fail(std::to_string(entries - filled) + " entries were never reached");
    return table;
}

std::string TilesText(const Tiles& tiles) {
    std::string text;
    for (const int tile : tiles) {
        if (!text.empty()) text += ',';
        text += std::to_string(tile);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_tables <output file> [groups, default %s]\n", kDefaultGroups);
        return 2;
    }
    const std::string output = argv[1];
    const std::vector<Tiles> groups = ParseGroups(argc == 3 ? argv[2] : kDefaultGroups);

    unsigned covered = 0;
    for (const Tiles& group : groups) {
        if (group.empty() || group.size() > std::size_t{kMaxPatternTiles}) Fail("a group needs 1 to 7 tiles");
        for (const int tile : group) {
            if (tile < 1 || tile > 15 || (covered & (1u << tile))) Fail("the groups must split tiles 1..15");
            covered |= 1u << tile;
        }
    }
    if (covered != 0xfffeu) Fail("the groups must split tiles 1..15");
    if (groups.size() > std::size_t{kMaxLookups}) Fail("too many groups");

    FileHeader header;
    std::vector<Tiles> tables;
    auto sorted = [](Tiles tiles) {
        std::sort(tiles.begin(), tiles.end());
        return tiles;
    };
    for (const Tiles& group : groups) {
        Tiles mirror;
        for (const int tile : group) mirror.push_back(TransposedTile(tile));
        mirror = sorted(mirror);
        LookupRecord& lookup = header.Lookups[header.LookupCount++];
        const auto image = std::find_if(tables.begin(), tables.end(),
                                        [&](const Tiles& tiles) { return sorted(tiles) == mirror; });
        if (image != tables.end() && mirror != sorted(group)) {
            lookup.Table = static_cast<std::uint8_t>(image - tables.begin());
            lookup.Transposed = 1;
            continue;
        }
        if (tables.size() == std::size_t{kMaxTables}) Fail("too many tables");
        lookup.Table = static_cast<std::uint8_t>(tables.size());
        tables.push_back(group);
    }

    std::vector<std::vector<std::uint8_t>> data;
    std::uint64_t offset = kFirstTableOffset;
    for (const Tiles& tiles : tables) {
        const auto start = std::chrono::steady_clock::now();
        data.push_back(MakeTable(tiles));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::uint8_t deepest = *std::max_element(data.back().begin(), data.back().end());
        std::printf("make_tables: tiles %s, %zu entries, up to %d moves, %.1f s\n", TilesText(tiles).c_str(),
                    data.back().size(), deepest, seconds);

        TableRecord& record = header.Tables[header.TableCount++];
        record.Offset = offset;
        record.Entries = data.back().size();
        record.TileCount = static_cast<std::uint8_t>(tiles.size());
        for (std::size_t i = 0; i < tiles.size(); ++i) record.Tiles[i] = static_cast<std::uint8_t>(tiles[i]);
        offset = (offset + record.Entries + kTableAlignment - 1) / kTableAlignment * kTableAlignment;
    }
    const auto start = std::chrono::steady_clock::now();
    const DuplicatePaths machine = MakeDuplicatePaths(kMachineLength);
    std::printf("make_tables: duplicate paths up to %d moves, %zu states, %.1f s\n", kMachineLength,
                machine.EndsAt.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    header.MachineOffset = offset;
    header.MachineStates = static_cast<std::uint32_t>(machine.EndsAt.size());
    header.MachineLength = kMachineLength;
    header.FileBytes = offset + MachineBytesFor(header.MachineStates) + kChecksumBytes;

    std::vector<std::uint8_t> file(header.FileBytes - kChecksumBytes, 0);
    std::memcpy(file.data(), &header, sizeof header);
    for (std::size_t t = 0; t < data.size(); ++t) {
        std::copy(data[t].begin(), data[t].end(), file.begin() + static_cast<std::ptrdiff_t>(header.Tables[t].Offset));
    }
    if (header.MachineStates > kMaxMachineStates) Fail("the machine of duplicate paths has too many states");
    for (std::size_t i = 0; i < machine.Next.size(); ++i) {
        const std::uint32_t next = machine.Next[i];
        const std::uint32_t step = next | std::uint32_t{machine.EndsAt[next]} << 16;
        std::memcpy(file.data() + offset + 4 * i, &step, sizeof step);
    }
    const std::uint64_t checksum = Fnv1a(file);

    const std::string temporary = output + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) Fail("cannot write " + temporary);
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size() &&
                         std::fwrite(&checksum, sizeof checksum, 1, out) == 1;
    if (std::fclose(out) != 0 || !written) Fail("cannot write " + temporary);
    if (std::rename(temporary.c_str(), output.c_str()) != 0) Fail("cannot rename " + temporary + " to " + output);
    return 0;
}
