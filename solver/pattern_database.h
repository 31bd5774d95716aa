#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "pattern_format.h"

namespace solver {

// One read of a table for a group of tiles. The cells of Tiles[0..TileCount) on the board,
// transposed first when Transposed, index Table; the entry, read in the table's Encoding
// (see pattern_format.h), is a lower bound of the moves those tiles need to reach their goal
// cells.
struct PatternLookup {
    const std::uint8_t* Table = nullptr;
    int TileCount = 0;
    std::array<std::uint8_t, patterns::kMaxPatternTiles> Tiles{};
    bool Transposed = false;
    patterns::TableEncoding Encoding = patterns::TableEncoding::Moves;
};

// The machine of duplicate paths (see pattern_format.h): Steps[state * 4 + direction] is
// the blank's step in that direction from that state.
struct DuplicatePathMachine {
    const patterns::MachineStep* Steps = nullptr;
    std::uint32_t States = 0;
};

// The solver's pattern databases, copied read-only from the file the generator wrote.
// Immutable once loaded, so any number of threads may read them at once.
class PatternDatabases {
public:
    // Reads the file into memory of its own, read-only, which the kernel may back with huge
    // pages, and checks its header, sizes, checksum and entries; null, with
    // a reason in *why when the file is missing, truncated, fails its checksum, has a bad
    // header or holds an entry out of range: the path, then the kind, then the details.
    static std::unique_ptr<const PatternDatabases> Load(const std::string& path, std::string* why = nullptr);

    ~PatternDatabases();
    PatternDatabases(const PatternDatabases&) = delete;
    PatternDatabases& operator=(const PatternDatabases&) = delete;

    // The size of the file; in memory the tables take it rounded up to 2 MB.
    std::size_t Bytes() const { return bytes_; }

    // Lookups whose groups divide tiles 1..15 between them: the sum of their entries is a
    // lower bound of the moves to the goal.
    std::span<const PatternLookup> Lookups() const { return {lookups_.data(), lookupCount_}; }

    const DuplicatePathMachine& DuplicatePaths() const { return machine_; }

private:
    PatternDatabases() = default;
    // Points the lookups and the machine into `bytes`, the checked file described by `header`.
    void Adopt(const patterns::FileHeader& header, const std::uint8_t* bytes);

    const void* memory_ = nullptr;  // a copy of the file, aligned to 2 MB
    std::size_t memoryBytes_ = 0;
    std::size_t bytes_ = 0;
    std::array<PatternLookup, patterns::kMaxLookups> lookups_{};
    std::size_t lookupCount_ = 0;
    DuplicatePathMachine machine_;
};

}  // namespace solver
