#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "pattern_format.h"

namespace engine {

// The file the table generator writes and the game reads; the build names it.
inline constexpr const char* kTablesFileName = PLITON_TABLES_FILE;

// The path of the tables for a program at `executableDir`:
// <executableDir>/../share/pliton/<kTablesFileName>.
std::string TablesPathFor(const std::string& executableDir);

// One read of a table for a group of tiles. The cells of Tiles[0..TileCount) on the board,
// transposed first when Transposed, index Table; the entry is a lower bound of the moves
// those tiles need to reach their goal cells.
struct PatternLookup {
    const std::uint8_t* Table = nullptr;
    int TileCount = 0;
    std::array<std::uint8_t, patterns::kMaxPatternTiles> Tiles{};
    bool Transposed = false;
};

// The solver's pattern databases, mapped read-only from the file the generator wrote.
// Immutable once loaded, so any number of threads may read them at once.
class PatternDatabases {
public:
    // Maps the file read-only and checks its header, sizes and checksum; null, with a reason
    // in *why, when the file is missing or damaged.
    static std::unique_ptr<const PatternDatabases> Load(const std::string& path, std::string* why = nullptr);

    ~PatternDatabases();
    PatternDatabases(const PatternDatabases&) = delete;
    PatternDatabases& operator=(const PatternDatabases&) = delete;

    // The memory the tables take: the size of the mapped file.
    std::size_t Bytes() const { return bytes_; }

    // Lookups whose groups divide tiles 1..15 between them: the sum of their entries is a
    // lower bound of the moves to the goal.
    std::span<const PatternLookup> Lookups() const { return {lookups_.data(), lookupCount_}; }

private:
    PatternDatabases() = default;

    const void* mapping_ = nullptr;
    std::size_t bytes_ = 0;
    std::array<PatternLookup, patterns::kMaxLookups> lookups_{};
    std::size_t lookupCount_ = 0;
};

}  // namespace engine
