#include "pattern_database.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace solver {

namespace {

using namespace patterns;

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// The file being loaded: its descriptor, closed on every way out of Load, and the memory it
// is read into, given back unless the tables take it.
struct Loading {
    int fd = -1;
    std::size_t fileBytes = 0;
    void* memory = MAP_FAILED;
    std::size_t memoryBytes = 0;
    ~Loading() {
        if (memory != MAP_FAILED) munmap(memory, memoryBytes);
        if (fd >= 0) close(fd);
    }
    std::uint8_t* bytes() const { return static_cast<std::uint8_t*>(memory); }
};

// Empty when the tables, lookups and machine of `header` are well formed and lie inside
// the data of a file of `fileBytes`; else what is wrong.
std::string TablesProblem(const FileHeader& header, std::size_t fileBytes) {
    if (header.TableCount < 1 || header.TableCount > kMaxTables) return "bad number of tables";
    if (header.LookupCount < 1 || header.LookupCount > kMaxLookups) return "bad number of lookups";
    const std::uint64_t dataEnd = fileBytes - kChecksumBytes;
    for (std::uint32_t t = 0; t < header.TableCount; ++t) {
        const TableRecord& table = header.Tables[t];
        if (table.TileCount < 1 || table.TileCount > kMaxPatternTiles) return "bad size of a table's pattern";
        TileSplit pattern;
        for (int i = 0; i < table.TileCount; ++i) {
            if (!pattern.Add(table.Tiles[static_cast<std::size_t>(i)])) return "bad tiles in a table's pattern";
        }
        if (table.Encoding != TableEncoding::Moves && table.Encoding != TableEncoding::Cyclic) {
            return "a table has an unknown encoding";
        }
        if (std::any_of(table.Reserved.begin(), table.Reserved.end(), [](std::uint8_t byte) { return byte != 0; })) {
            return "a table's reserved bytes are not 0";
        }
        if (table.Entries != EntriesFor(table.TileCount)) return "a table has the wrong number of entries";
        if (table.Offset < kFirstTableOffset || table.Offset % kTableAlignment != 0 || table.Offset > dataEnd ||
            TableBytesFor(table.Entries, table.Encoding) > dataEnd - table.Offset) {
            return "a table lies outside the file";
        }
    }
    TileSplit groups;
    for (std::uint32_t l = 0; l < header.LookupCount; ++l) {
        const LookupRecord& lookup = header.Lookups[l];
        if (lookup.Table >= header.TableCount || lookup.Transposed > 1) return "bad lookup";
        const TableRecord& table = header.Tables[lookup.Table];
        for (int i = 0; i < table.TileCount; ++i) {
            const int own = table.Tiles[static_cast<std::size_t>(i)];
            const int tile = lookup.Transposed ? TransposedTile(own) : own;
            if (!groups.Add(tile)) return "the lookups' groups overlap";
        }
    }
    if (!groups.Complete()) return "the lookups' groups leave tiles out";
    if (header.MachineStates < 1 || header.MachineStates > kMaxMachineStates ||
        header.MachineOffset < kFirstTableOffset || header.MachineOffset % kTableAlignment != 0 ||
        header.MachineOffset > dataEnd || MachineBytesFor(header.MachineStates) > dataEnd - header.MachineOffset) {
        return "the machine of duplicate paths lies outside the file";
    }
    return {};
}

// Empty when the header describes tables and a machine that lie inside a file of
// `fileBytes` and lookups that cover tiles 1..15 once each; else what is wrong.
std::string ProblemWith(const FileHeader& header, std::size_t fileBytes) {
    if (header.Magic != kMagic) return "bad header: not a table file";
    if (header.ByteOrder != kByteOrderMark) return "bad header: written on a machine of the other byte order";
    if (header.Version != kVersion) {
        return "bad header: version " + std::to_string(header.Version) + ", expected " + std::to_string(kVersion);
    }
    if (header.FileBytes != fileBytes) {
        return std::string(fileBytes < header.FileBytes ? "truncated" : "bad header") + ": the file has " +
               std::to_string(fileBytes) + " bytes, its header says " + std::to_string(header.FileBytes);
    }
    if (std::string problem = TablesProblem(header, fileBytes); !problem.empty()) return "bad header: " + problem;
    return {};
}

// Whether the entries of a Moves table from `index` on have the parity of their tiles'
// Manhattan distance, as every count of the tiles' moves has (each moves one tile one cell),
// for the placements of the tiles from `slot` on, the earlier ones on the cells of `taken`
// at a distance of `parity`. The placements come in the order of their indices: each tile on
// each cell the earlier ones left free, in the order of the cells. `index` ends past the
// first entry that has not.
bool ParityHolds(const TableRecord& table, const std::uint8_t* entries, int slot, std::uint32_t taken, int parity,
                 std::uint64_t& index) {
    if (slot == table.TileCount) return (entries[index++] & 1) == parity;
    const int home = table.Tiles[static_cast<std::size_t>(slot)] - 1;
    for (int cell = 0; cell < kCells; ++cell) {
        if ((taken >> cell) & 1u) continue;
        const int after = parity ^ (CellDistance(cell, home) & 1);
        if (!ParityHolds(table, entries, slot + 1, taken | 1u << cell, after, index)) return false;
    }
    return true;
}

// Empty when every table entry is a number of moves some position may need, of the parity
// of its tiles' Manhattan distance, each table's goal is 0 and every step of the machine
// leads to one of its states; else the first entry that is not. The search relies on these:
// it never goes deeper than kMaxMoves, and its first bound, the estimate, has the parity of
// every solution. Every code of a Cyclic table is a code, so of those only the goal is read:
// the moves read through them take their parity from the tiles' distance and are never
// below 0 (MovesAfterStep).
std::string EntryOutOfRange(const FileHeader& header, const std::uint8_t* bytes) {
    for (std::uint32_t t = 0; t < header.TableCount; ++t) {
        const TableRecord& table = header.Tables[t];
        const std::uint8_t* entries = bytes + table.Offset;
        if (table.Encoding == TableEncoding::Cyclic) {
            if (const int goal = CyclicCodeAt(entries, GoalIndexOf(table)); goal != 0) {
                return "table " + std::to_string(t) + " holds code " + std::to_string(goal) + " at its goal";
            }
            continue;
        }
        const std::uint8_t largest = *std::max_element(entries, entries + table.Entries);
        if (largest > kMaxMoves) {
            return "table " + std::to_string(t) + " holds " + std::to_string(largest) + ", more than " +
                   std::to_string(kMaxMoves) + " moves";
        }
        if (const std::uint8_t goal = entries[GoalIndexOf(table)]; goal != 0) {
            return "table " + std::to_string(t) + " holds " + std::to_string(goal) + " at its goal";
        }
        if (std::uint64_t index = 0; !ParityHolds(table, entries, 0, 0, 0, index)) {
            return "table " + std::to_string(t) + " holds moves of the wrong parity at entry " +
                   std::to_string(index - 1);
        }
    }
    const std::uint8_t* machine = bytes + header.MachineOffset;
    for (std::uint64_t i = 0; i < kDirections * std::uint64_t{header.MachineStates}; ++i) {
        MachineStep step = 0;
        std::memcpy(&step, machine + sizeof step * i, sizeof step);
        if (const std::uint32_t next = NextState(step); next >= header.MachineStates) {
            return "the machine of duplicate paths leads to state " + std::to_string(next);
        }
    }
    return {};
}

// Opens the file and learns its size; empty, or why not.
std::string Open(const std::string& path, Loading& file) {
    file.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) return std::string(errno == ENOENT ? "missing: " : "cannot open: ") + std::strerror(errno);
    struct stat status {};
    if (fstat(file.fd, &status) != 0) return std::string("cannot open: ") + std::strerror(errno);
    if (!S_ISREG(status.st_mode)) return "missing: not a regular file";
    file.fileBytes = static_cast<std::size_t>(status.st_size);
    if (file.fileBytes < kFirstTableOffset + kChecksumBytes) {
        return "truncated: " + std::to_string(file.fileBytes) + " bytes, shorter than a header";
    }
    return {};
}

// The search reads the tables at random: on pages of 4 KB nearly every read would miss the
// TLB as well as the cache. So the file is read into memory of its own, aligned to 2 MB and
// advised to be backed by pages of that size, rather than mapped. Empty, or why not.
std::string Allocate(Loading& file) {
    const std::size_t memoryBytes = (file.fileBytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = mmap(nullptr, memoryBytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return std::string("cannot allocate: ") + std::strerror(errno);
    // The slack on either side of the aligned part is given back.
    const auto start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) munmap(memory, aligned - start);
    if (const std::size_t after = kHugePage - (aligned - start); after > 0) {
        munmap(reinterpret_cast<void*>(aligned + memoryBytes), after);
    }
    file.memory = reinterpret_cast<void*>(aligned);
    file.memoryBytes = memoryBytes;
#ifdef MADV_HUGEPAGE
    madvise(file.memory, memoryBytes, MADV_HUGEPAGE);  // a hint: without it the tables work as well, if slower
#endif
    return {};
}

// Reads the whole file into its memory; empty, or why not.
std::string Read(const Loading& file) {
    for (std::size_t read = 0; read < file.fileBytes;) {
        const ssize_t got = pread(file.fd, file.bytes() + read, file.fileBytes - read, static_cast<off_t>(read));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::string("cannot read: ") + std::strerror(errno);
        if (got == 0) return "truncated: the file ended at " + std::to_string(read) + " bytes";
        read += static_cast<std::size_t>(got);
    }
    return {};
}

// Checks the header, the checksum and the entries of the file read, whose header it copies
// into `header`; empty, or what is wrong.
std::string Check(const Loading& file, FileHeader& header) {
    const std::uint8_t* bytes = file.bytes();
    std::memcpy(&header, bytes, sizeof header);
    if (std::string problem = ProblemWith(header, file.fileBytes); !problem.empty()) return problem;
    const std::size_t dataBytes = file.fileBytes - kChecksumBytes;
    std::uint64_t stored = 0;
    std::memcpy(&stored, bytes + dataBytes, sizeof stored);
    if (FileChecksum({bytes, dataBytes}) != stored) return "bad checksum: the file is damaged";
    if (std::string problem = EntryOutOfRange(header, bytes); !problem.empty()) return "entry out of range: " + problem;
    return {};
}

}  // namespace

std::unique_ptr<const PatternDatabases> PatternDatabases::Load(const std::string& path, std::string* why) {
    Loading file;
    FileHeader header;
    std::string problem = Open(path, file);
    if (problem.empty()) problem = Allocate(file);
    if (problem.empty()) problem = Read(file);
    if (problem.empty()) problem = Check(file, header);
    if (!problem.empty()) {
        if (why) *why = path + ": " + problem;
        return nullptr;
    }
    mprotect(file.memory, file.memoryBytes, PROT_READ);
    std::unique_ptr<PatternDatabases> tables(new PatternDatabases);
    tables->Adopt(header, file.bytes());
    tables->bytes_ = file.fileBytes;
    tables->memory_ = std::exchange(file.memory, MAP_FAILED);  // now the tables'; the descriptor is not needed
    tables->memoryBytes_ = file.memoryBytes;
    return tables;
}

void PatternDatabases::Adopt(const FileHeader& header, const std::uint8_t* bytes) {
    for (std::uint32_t l = 0; l < header.LookupCount; ++l) {
        const LookupRecord& record = header.Lookups[l];
        const TableRecord& table = header.Tables[record.Table];
        PatternLookup& lookup = lookups_[l];
        lookup.Table = bytes + table.Offset;
        lookup.TileCount = table.TileCount;
        lookup.Transposed = record.Transposed != 0;
        lookup.Encoding = table.Encoding;
        for (std::size_t slot = 0; slot < table.TileCount; ++slot) {
            lookup.Tiles[slot] =
                static_cast<std::uint8_t>(lookup.Transposed ? TransposedTile(table.Tiles[slot]) : table.Tiles[slot]);
        }
    }
    lookupCount_ = header.LookupCount;
    machine_.Steps = reinterpret_cast<const MachineStep*>(bytes + header.MachineOffset);
    machine_.States = header.MachineStates;
}

PatternDatabases::~PatternDatabases() {
    if (memory_) munmap(const_cast<void*>(memory_), memoryBytes_);
}

}  // namespace solver
