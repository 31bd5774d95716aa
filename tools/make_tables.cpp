// Computes the solver's pattern databases and writes them as one file.
//
// Usage: make_tables [--moves] [--machine=LENGTH] <output file> [groups]
//
// groups: the tiles 1..15 split into groups, by default "9,10,11,12,13,14,15/2,3,4,5,6,7,8/1"
// (why these: docs/performance.md). Each group gets a table of the fewest moves of its own
// tiles that bring them home, counted by a breadth-first search from the goal, in two bits
// an entry, the moves halved modulo 4 (solver/pattern_format.h), or with --moves one byte
// an entry holding the moves; a group that is the mirror image of an
// earlier one about the main diagonal reads that group's table through the transposition
// instead of getting its own.
//
// The file also holds the search's machine of duplicate paths, up to kMachineLength moves
// unless --machine says otherwise (tools/duplicate_paths.h). It is written under a temporary
// name and renamed when complete.

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "solver/pattern_format.h"
#include "tools/duplicate_paths.h"

namespace {

using namespace solver::patterns;

constexpr const char* kDefaultGroups = "9,10,11,12,13,14,15/2,3,4,5,6,7,8/1";
// Longer strings prune a little more and take longer to find (docs/performance.md).
constexpr int kMachineLength = 14;

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

// The cells of `empty` the blank reaches from `start` without moving a pattern tile: grown
// four steps at a time between checks, which costs less than the branch of every step. Most
// sets of free cells are connected, and a region that has reached all of them is done
// without four more steps to show it.
std::uint32_t Reach(int start, std::uint32_t empty) {
    const auto grow = [empty](std::uint32_t region) {
        return (region | ((region << 1) & 0xeeeeu) | ((region >> 1) & 0x7777u) | (region << 4) | (region >> 4)) & empty;
    };
    std::uint32_t region = 1u << start, before = 0;
    while (region != before && region != empty) {
        before = region;
        region = grow(grow(grow(grow(region))));
    }
    return region;
}

// The number of cells below 8 in each byte's mask, and the place of its n-th cell.
constexpr std::array<std::uint8_t, 256> kCellsInByte = [] {
    std::array<std::uint8_t, 256> counts{};
    for (std::size_t mask = 0; mask < 256; ++mask) counts[mask] = static_cast<std::uint8_t>(std::popcount(mask));
    return counts;
}();
constexpr std::array<std::array<std::uint8_t, 8>, 256> kNthCellInByte = [] {
    std::array<std::array<std::uint8_t, 8>, 256> places{};
    for (std::size_t mask = 0; mask < 256; ++mask) {
        std::size_t n = 0;
        for (std::uint8_t bit = 0; bit < 8; ++bit) {
            if (mask & (1u << bit)) places[mask][n++] = bit;
        }
    }
    return places;
}();

// The n-th cell (from 0) of the 16-bit mask `cells`.
inline int NthCell(std::uint32_t cells, std::uint32_t n) {
    const std::uint32_t low = cells & 0xffu, inLow = kCellsInByte[low];
    return n < inLow ? kNthCellInByte[low][n] : 8 + kNthCellInByte[cells >> 8][n - inLow];
}

// The sixteen bits of `cells` spread to the even bits of a word: bit c to bit 2c.
constexpr std::uint32_t Spread(std::uint32_t cells) {
    cells = (cells | (cells << 8)) & 0x00ff00ffu;
    cells = (cells | (cells << 4)) & 0x0f0f0f0fu;
    cells = (cells | (cells << 2)) & 0x33333333u;
    cells = (cells | (cells << 1)) & 0x55555555u;
    return cells;
}

// The lowest bits of the word's two-bit codes equal to `code`, at the even bits.
constexpr std::uint32_t CodesEqual(std::uint32_t word, std::uint32_t code) {
    const std::uint32_t low = code & 1u ? word : ~word, high = code & 2u ? word >> 1 : ~(word >> 1);
    return low & high & 0x55555555u;
}

// IndexOf; Count, when not 0, is `count` known when compiling.
template <int Count = 0>
std::uint32_t IndexOfCount(const std::uint8_t* cells, int count) {
    if constexpr (Count > 0) {
        return FixedIndexOf<Count>(cells);
    } else {
        return IndexOf(cells, count);
    }
}

// The cells of the placement `index` of `count` tiles (the inverse of IndexOf); Count, when
// not 0, is `count` known when compiling.
template <int Count = 0>
void CellsOf(std::uint64_t index, int count, std::uint8_t* cells) {
    if constexpr (Count > 0) count = Count;
    std::array<std::uint32_t, kMaxPatternTiles> ranks{};
    for (int i = count - 1; i >= 0; --i) {
        const auto radix = static_cast<std::uint32_t>(engine::kCells - i);
        ranks[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(index % radix);
        index /= radix;
    }
    std::uint32_t free = 0xffffu;
    for (int i = 0; i < count; ++i) {
        const int cell = NthCell(free, ranks[static_cast<std::size_t>(i)]);
        cells[i] = static_cast<std::uint8_t>(cell);
        free &= ~(1u << cell);
    }
}

// The fewest moves of the pattern's tiles that bring them home from each placement: a
// breadth-first search from the goal over the placements of the tiles and the region of the
// free cells the blank is in (it moves inside its region for free, and a move of a tile
// costs 1).
//
// One 32-bit word a placement holds two bits for each cell: 0 not reached, 1 and 2 the
// frontier of an even or odd number of moves, 3 done. Every cell of a region holds the same
// code, so a region is reached once, by the one thread whose OR finds its cells at 0. The
// threads take the placements in chunks; each expands the frontier regions of its own and
// marks the regions it reaches for the next level, prefetching their words a few children
// ahead. A placement's moves are the depth of the first level that expands a region of it.
class Builder {
public:
    explicit Builder(const Tiles& tiles)
        : count_(static_cast<int>(tiles.size())),
          entries_(EntriesFor(count_)),
          words_(Words(entries_)),
          moves_(entries_, kUnreached) {
        for (int i = 0; i < count_; ++i)
            home_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(tiles[static_cast<std::size_t>(i)] - 1);
        for (std::uint64_t i = 0; i < entries_; ++i) words_[i].store(0, std::memory_order_relaxed);
    }

    // The moves of every placement.
    std::vector<std::uint8_t> Run(unsigned threads) {
        std::uint32_t occupied = 0;
        for (int i = 0; i < count_; ++i) occupied |= 1u << home_[static_cast<std::size_t>(i)];
        const std::uint32_t goal = IndexOf(home_.data(), count_);
        words_[goal].store(Spread(Reach(kGoalBlankCell, ~occupied & 0xffffu)) * 1u);
        for (int depth = 0;; ++depth) {
            if (depth + 1 >= kUnreached) Fail("the search went deeper than an entry holds");
            next_.store(0);
            reached_.store(0);
            const auto level = [this, depth] {
                switch (count_) {
                    case 7: return Level<7>(depth);
                    case 6: return Level<6>(depth);
                    default: return Level<0>(depth);
                }
            };
            std::vector<std::thread> workers;
            for (unsigned t = 1; t < threads; ++t) workers.emplace_back(level);
            level();
            for (std::thread& worker : workers) worker.join();
            if (reached_.load() == 0) break;
        }
        for (std::uint64_t i = 0; i < entries_; ++i) {
            if (moves_[i] == kUnreached) Fail("placement " + std::to_string(i) + " was never reached");
        }
        return std::move(moves_);
    }

private:
    static constexpr std::uint8_t kUnreached = 0xff;

    // Zeroed words for `count` placements, on huge pages where the kernel grants them: the
    // children's words are read at random, and with pages of 4 KB nearly every read would
    // also miss the TLB.
    struct Unmap {
        std::size_t bytes;
        void operator()(std::atomic<std::uint32_t>* words) const { munmap(words, bytes); }
    };
    using WordsPtr = std::unique_ptr<std::atomic<std::uint32_t>[], Unmap>;
    static WordsPtr Words(std::uint64_t count) {
        const std::size_t bytes = count * sizeof(std::atomic<std::uint32_t>);
        void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) Fail("cannot allocate " + std::to_string(bytes) + " bytes");
#ifdef MADV_HUGEPAGE
        madvise(memory, bytes, MADV_HUGEPAGE);
#endif
        static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));
        return WordsPtr(static_cast<std::atomic<std::uint32_t>*>(memory), Unmap{bytes});
    }
    static constexpr std::uint64_t kChunk = 16 * 1024;
    static constexpr std::size_t kRing = 16;  // children whose words are being prefetched

    // A child and the free cells on it; the blank is on Cell, the moved tile's old cell. Its
    // region is found only once its word shows the region not reached: most children of the
    // later levels have been reached before.
    struct Child {
        std::uint32_t Index;
        std::uint32_t Empty;
        std::uint32_t Cell;
    };

    // The children one thread has found and not yet settled: each one's word is prefetched
    // when it comes in and settled kRing children later, when the word is likely in cache.
    class Ring {
    public:
        Ring(std::atomic<std::uint32_t>* words, std::uint32_t nextCode) : words_(words), nextCode_(nextCode) {}

        void Push(const Child& child) {
            __builtin_prefetch(&words_[child.Index], 1);
            if (pending_ == kRing) {
                Settle(ring_[head_]);
                head_ = (head_ + 1) % kRing;
                --pending_;
            }
            ring_[(head_ + pending_) % kRing] = child;
            ++pending_;
        }
        // Settles the children left; the regions this thread reached first.
        std::uint64_t Drain() {
            for (; pending_ > 0; --pending_, head_ = (head_ + 1) % kRing) Settle(ring_[head_]);
            return reached_;
        }

    private:
        // Marks the child's region for the next level, unless a thread has reached it before.
        void Settle(const Child& child) {
            std::atomic<std::uint32_t>& word = words_[child.Index];
            if ((word.load(std::memory_order_relaxed) >> (2 * child.Cell)) & 3u) return;
            const std::uint32_t region = Spread(Reach(static_cast<int>(child.Cell), child.Empty));
            const std::uint32_t before = word.fetch_or(region * nextCode_, std::memory_order_relaxed);
            if ((before >> (2 * child.Cell)) & 3u) return;
            ++reached_;
        }

        std::atomic<std::uint32_t>* const words_;
        const std::uint32_t nextCode_;  // the code of the next level's frontier
        std::array<Child, kRing> ring_{};
        std::size_t head_ = 0, pending_ = 0;
        std::uint64_t reached_ = 0;
    };

    // One level of the search on one thread, which takes the placements in chunks; Count,
    // when not 0, is the pattern's tiles known when compiling.
    template <int Count>
    void Level(int depth) {
        const std::uint32_t frontier = 1u + static_cast<std::uint32_t>(depth & 1);
        Ring ring(words_.get(), 3u - frontier);
        for (std::uint64_t first; (first = next_.fetch_add(kChunk)) < entries_;) {
            const std::uint64_t last = std::min(first + kChunk, entries_);
            for (std::uint64_t index = first; index < last; ++index) Expand<Count>(index, depth, frontier, ring);
        }
        reached_.fetch_add(ring.Drain());
    }

    // Expands the frontier regions of placement `index`, if it has any, and marks them done.
    template <int Count>
    void Expand(std::uint64_t index, int depth, std::uint32_t frontier, Ring& ring) {
        const std::uint32_t word = words_[index].load(std::memory_order_relaxed);
        std::uint32_t todo = CodesEqual(word, frontier);
        if (todo == 0) return;
        const std::uint32_t done = todo * 3u;
        // Every region reached before this level is done by now: with none, the placement is
        // reached first at this depth.
        if (CodesEqual(word, 3u) == 0) moves_[index] = static_cast<std::uint8_t>(depth);
        const int count = Count > 0 ? Count : count_;
        std::array<std::uint8_t, kMaxPatternTiles> cells{};
        CellsOf<Count>(index, count, cells.data());
        std::uint32_t occupied = 0;
        for (int i = 0; i < count; ++i) occupied |= 1u << cells[static_cast<std::size_t>(i)];
        const std::uint32_t empty = ~occupied & 0xffffu;
        while (todo != 0) {
            const std::uint32_t region = Reach(std::countr_zero(todo) / 2, empty);
            todo &= ~Spread(region);
            PushChildren<Count>(cells, count, region, empty, ring);
        }
        words_[index].fetch_or(done, std::memory_order_relaxed);
    }

    // Pushes each placement one move of one tile into `region`, the blank's, away.
    template <int Count>
    static void PushChildren(std::array<std::uint8_t, kMaxPatternTiles>& cells, int count, std::uint32_t region,
                             std::uint32_t empty, Ring& ring) {
        for (int i = 0; i < count; ++i) {
            const int from = cells[static_cast<std::size_t>(i)];
            for (std::uint32_t targets = kNeighbours[static_cast<std::size_t>(from)] & region; targets != 0;
                 targets &= targets - 1) {
                const int to = std::countr_zero(targets);
                cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(to);
                const std::uint32_t child = IndexOfCount<Count>(cells.data(), count);
                cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(from);
                // The tile's old cell is now the blank's.
                ring.Push({child, empty ^ (1u << to) ^ (1u << from), static_cast<std::uint32_t>(from)});
            }
        }
    }

    const int count_;
    const std::uint64_t entries_;
    std::array<std::uint8_t, kMaxPatternTiles> home_{};
    WordsPtr words_;
    std::vector<std::uint8_t> moves_;
    std::atomic<std::uint64_t> next_{0};
    std::atomic<std::uint64_t> reached_{0};
};

// Calls `step(child)` with the index of each placement one step of one tile from
// `index`: all four ways, or with `forward` only right and down (each step is one of those
// from its other end).
template <int Count, typename Step>
void ForEachStep(std::uint64_t index, int count, bool forward, Step&& step) {
    if constexpr (Count > 0) count = Count;
    std::array<std::uint8_t, kMaxPatternTiles> cells{};
    CellsOf<Count>(index, count, cells.data());
    std::uint32_t occupied = 0;
    for (int i = 0; i < count; ++i) occupied |= 1u << cells[static_cast<std::size_t>(i)];
    for (int i = 0; i < count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int from = cells[slot];
        for (int direction = forward ? 2 : 0; direction < kDirections; ++direction) {
            const int to = NeighbourOf(from, direction);
            if (to < 0 || ((occupied >> to) & 1u)) continue;
            cells[slot] = static_cast<std::uint8_t>(to);
            step(Count > 0 ? FixedIndexOf<Count>(cells.data()) : IndexOf(cells.data(), count));
            cells[slot] = static_cast<std::uint8_t>(from);
        }
    }
}

// Makes every step of one tile change the moves by 1 or 3, up or down, as reading a Cyclic
// table needs (solver/pattern_format.h). A step changes the tiles' Manhattan distance by
// one, and so the moves by an odd number; but where the blank's regions differ, by 5 or
// more now and then (a few placements in a thousand). The higher placement of such a step
// is lowered to 3 above the other, which keeps it a lower bound, only a weaker one, until
// no step changes more. The steps are looked at by `threads` threads; the few lowerings,
// and what they bring about in turn, by this one. Returns how many placements it lowered.
template <int Count>
std::uint64_t LowerSteepSteps(std::vector<std::uint8_t>& moves, int count, unsigned threads) {
    std::atomic<std::uint64_t> next{0};
    std::mutex mutex;
    std::vector<std::uint32_t> steep;
    const auto scan = [&] {
        std::vector<std::uint32_t> found;
        constexpr std::uint64_t kChunk = 64 * 1024;
        for (std::uint64_t first; (first = next.fetch_add(kChunk)) < moves.size();) {
            for (std::uint64_t index = first; index < std::min(first + kChunk, moves.size()); ++index) {
                ForEachStep<Count>(index, count, true, [&](std::uint32_t child) {
                    if (moves[child] > moves[index] + 3) found.push_back(child);
                    if (moves[index] > moves[child] + 3) found.push_back(static_cast<std::uint32_t>(index));
                });
            }
        }
        const std::lock_guard lock(mutex);
        steep.insert(steep.end(), found.begin(), found.end());
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t) workers.emplace_back(scan);
    scan();
    for (std::thread& worker : workers) worker.join();
    std::uint64_t lowered = 0;
    while (!steep.empty()) {
        const std::uint32_t index = steep.back();
        steep.pop_back();
        int lowest = moves[index];
        ForEachStep<Count>(index, count, false,
                           [&](std::uint32_t other) { lowest = std::min(lowest, moves[other] + 3); });
        if (lowest == moves[index]) continue;
        ++lowered;
        moves[index] = static_cast<std::uint8_t>(lowest);
        ForEachStep<Count>(index, count, false, [&](std::uint32_t other) { steep.push_back(other); });
    }
    return lowered;
}

// The table's entries in `encoding` from the moves of each placement; `lowered` counts the
// placements lowered for a Cyclic table.
std::vector<std::uint8_t> Encode(const Tiles& tiles, std::vector<std::uint8_t> moves, TableEncoding encoding,
                                 unsigned threads, std::uint64_t& lowered) {
    if (encoding == TableEncoding::Moves) return moves;
    const int count = static_cast<int>(tiles.size());
    lowered = count == kMaxPatternTiles ? LowerSteepSteps<kMaxPatternTiles>(moves, count, threads)
                                        : LowerSteepSteps<0>(moves, count, threads);
    std::vector<std::uint8_t> table(TableBytesFor(moves.size(), encoding), 0);
    for (std::uint64_t index = 0; index < moves.size(); ++index)
        SetCyclicCode(table.data(), index, CyclicCodeOf(moves[index]));
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

// What the command line asks for.
struct Request {
    TableEncoding Encoding = TableEncoding::Cyclic;
    int MachineLength = kMachineLength;
    std::string Output;
    std::vector<Tiles> Groups;
};

// The request of the command line, or nothing after the usage is told.
std::optional<Request> Parse(int argc, char** argv) {
    Request request;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    while (!arguments.empty() && arguments.front().starts_with("--")) {
        if (arguments.front() == "--moves") {
            request.Encoding = TableEncoding::Moves;
        } else if (arguments.front().starts_with("--machine=")) {
            request.MachineLength = std::stoi(arguments.front().substr(10));
        } else {
            break;
        }
        arguments.erase(arguments.begin());
    }
    if (arguments.empty() || arguments.size() > 2 || request.MachineLength < 2 || request.MachineLength > 31) {
        std::fprintf(stderr, "usage: make_tables [--moves] [--machine=LENGTH] <output file> [groups, default %s]\n",
                     kDefaultGroups);
        return std::nullopt;
    }
    request.Output = arguments[0];
    request.Groups = ParseGroups(arguments.size() == 2 ? arguments[1] : kDefaultGroups);
    return request;
}

// Fails unless the groups split tiles 1..15 into at most kMaxLookups groups of 1 to 7.
void CheckGroups(const std::vector<Tiles>& groups) {
    TileSplit split;
    for (const Tiles& group : groups) {
        if (group.empty() || group.size() > std::size_t{kMaxPatternTiles}) Fail("a group needs 1 to 7 tiles");
        for (const int tile : group) {
            if (!split.Add(tile)) Fail("the groups must split tiles 1..15");
        }
    }
    if (!split.Complete()) Fail("the groups must split tiles 1..15");
    if (groups.size() > std::size_t{kMaxLookups}) Fail("too many groups");
}

// The header's lookups, one a group, and the tables they read: a group that is the mirror
// image of an earlier one's table reads that table transposed.
std::vector<Tiles> PlanLookups(const std::vector<Tiles>& groups, FileHeader& header) {
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
        const auto image =
            std::find_if(tables.begin(), tables.end(), [&](const Tiles& tiles) { return sorted(tiles) == mirror; });
        if (image != tables.end() && mirror != sorted(group)) {
            lookup.Table = static_cast<std::uint8_t>(image - tables.begin());
            lookup.Transposed = 1;
            continue;
        }
        if (tables.size() == std::size_t{kMaxTables}) Fail("too many tables");
        lookup.Table = static_cast<std::uint8_t>(tables.size());
        tables.push_back(group);
    }
    return tables;
}

// Computes each table, records it in the header from `offset` on, and returns their bytes;
// `offset` ends where the next part of the file may start.
std::vector<std::vector<std::uint8_t>> ComputeTables(const std::vector<Tiles>& tables, TableEncoding encoding,
                                                     unsigned threads, FileHeader& header, std::uint64_t& offset) {
    std::vector<std::vector<std::uint8_t>> data;
    for (const Tiles& tiles : tables) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<std::uint8_t> moves = Builder(tiles).Run(threads);
        const std::uint8_t deepest = *std::max_element(moves.begin(), moves.end());
        std::uint64_t lowered = 0;
        data.push_back(Encode(tiles, moves, encoding, threads, lowered));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("make_tables: tiles %s, %zu entries, up to %d moves, %llu lowered, %zu bytes, %.1f s\n",
                    TilesText(tiles).c_str(), moves.size(), deepest, static_cast<unsigned long long>(lowered),
                    data.back().size(), seconds);
        std::fflush(stdout);

        TableRecord& record = header.Tables[header.TableCount++];
        record.Offset = offset;
        record.Entries = moves.size();
        record.TileCount = static_cast<std::uint8_t>(tiles.size());
        record.Encoding = encoding;
        for (std::size_t i = 0; i < tiles.size(); ++i) record.Tiles[i] = static_cast<std::uint8_t>(tiles[i]);
        offset = (offset + data.back().size() + kTableAlignment - 1) / kTableAlignment * kTableAlignment;
    }
    return data;
}

// The file's bytes but the checksum: the header, the tables and the machine at `offset`.
std::vector<std::uint8_t> Assemble(const FileHeader& header, const std::vector<std::vector<std::uint8_t>>& data,
                                   const DuplicatePaths& machine) {
    std::vector<std::uint8_t> file(header.FileBytes - kChecksumBytes, 0);
    std::memcpy(file.data(), &header, sizeof header);
    for (std::size_t t = 0; t < data.size(); ++t) {
        std::copy(data[t].begin(), data[t].end(), file.begin() + static_cast<std::ptrdiff_t>(header.Tables[t].Offset));
    }
    for (std::size_t i = 0; i < machine.Next.size(); ++i) {
        const std::uint32_t next = machine.Next[i];
        const MachineStep step = MachineStepOf(next, machine.EndsAt[next]);
        std::memcpy(file.data() + header.MachineOffset + sizeof step * i, &step, sizeof step);
    }
    return file;
}

// Writes `file` and its checksum under a temporary name, renamed to `output` when complete.
void Write(const std::vector<std::uint8_t>& file, const std::string& output) {
    const std::uint64_t checksum = FileChecksum(file);
    const std::string temporary = output + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) Fail("cannot write " + temporary);
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size() &&
                         std::fwrite(&checksum, sizeof checksum, 1, out) == 1;
    if (std::fclose(out) != 0 || !written) Fail("cannot write " + temporary);
    if (std::rename(temporary.c_str(), output.c_str()) != 0) Fail("cannot rename " + temporary + " to " + output);
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Request> request = Parse(argc, argv);
    if (!request) return 2;
    CheckGroups(request->Groups);
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);

    FileHeader header;
    const std::vector<Tiles> tables = PlanLookups(request->Groups, header);
    std::uint64_t offset = kFirstTableOffset;
    const std::vector<std::vector<std::uint8_t>> data =
        ComputeTables(tables, request->Encoding, threads, header, offset);

    const auto start = std::chrono::steady_clock::now();
    const DuplicatePaths machine = MakeDuplicatePaths(request->MachineLength);
    std::printf("make_tables: duplicate paths up to %d moves, %zu states, %.1f s\n", request->MachineLength,
                machine.EndsAt.size(), std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (machine.EndsAt.size() > kMaxMachineStates) Fail("the machine of duplicate paths has too many states");
    header.MachineOffset = offset;
    header.MachineStates = static_cast<std::uint32_t>(machine.EndsAt.size());
    header.MachineLength = static_cast<std::uint32_t>(request->MachineLength);
    header.FileBytes = offset + MachineBytesFor(header.MachineStates) + kChecksumBytes;

    Write(Assemble(header, data, machine), request->Output);
    return 0;
}
