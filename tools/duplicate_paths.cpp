#include "duplicate_paths.h"

#include <array>
#include <cstddef>
#include <deque>
#include <unordered_set>

#include "solver/pattern_format.h"

namespace {

// A string of moves: two bits a direction, the first move lowest.
struct ForbiddenString {
    std::uint64_t Moves = 0;
    int Length = 0;
    int EndCell = 0;
};

// The forbidden strings from every cell, found breadth first in the order of the machine's
// definition: a string is forbidden when an earlier string of the search reached its board.
// A string that ends with a shorter forbidden one, or begins with one, is left out: the
// machine never lets it be generated anyway.
std::vector<ForbiddenString> ForbiddenStrings(int maxLength) {
    struct Path {
        std::uint64_t Board;  // nibble c: the cell whose content now lies on c
        std::uint64_t Moves;
        int Cell;
    };
    std::vector<ForbiddenString> forbidden;
    // Each forbidden string as its moves, length and the cell it leaves the blank on.
    std::unordered_set<std::uint64_t> known;
    auto key = [](std::uint64_t moves, int length, int endCell) {
        return moves << 10 | std::uint64_t(length) << 4 | std::uint64_t(endCell);
    };
    auto endsForbidden = [&](std::uint64_t moves, int length, int endCell) {
        for (int drop = 1; drop + 2 <= length; ++drop) {
            if (known.count(key(moves >> (2 * drop), length - drop, endCell))) return true;
        }
        return false;
    };
    std::uint64_t identity = 0;
    for (int cell = 0; cell < 16; ++cell) identity |= std::uint64_t(cell) << (4 * cell);
    // All cells in step, one length at a time, so that every shorter forbidden string is
    // known, whichever cell it starts from.
    std::vector<std::unordered_set<std::uint64_t>> seen(16, std::unordered_set<std::uint64_t>{identity});
    std::vector<std::vector<Path>> levels(16);
    for (int start = 0; start < 16; ++start) levels[static_cast<std::size_t>(start)] = {{identity, 0, start}};
    std::vector<Path> next;
    for (int length = 1; length <= maxLength; ++length) {
        std::vector<ForbiddenString> found;
        for (int start = 0; start < 16; ++start) {
            next.clear();
            for (const Path& path : levels[static_cast<std::size_t>(start)]) {
                for (int direction = 0; direction < 4; ++direction) {
                    const int to = solver::patterns::NeighbourOf(path.Cell, direction);
                    if (to < 0) continue;
                    const std::uint64_t from = (path.Board >> (4 * path.Cell)) & 15u;
                    const std::uint64_t there = (path.Board >> (4 * to)) & 15u;
                    const std::uint64_t board =
                        path.Board ^ ((from ^ there) << (4 * path.Cell)) ^ ((from ^ there) << (4 * to));
                    const std::uint64_t moves = path.Moves | std::uint64_t(direction) << (2 * (length - 1));
                    if (endsForbidden(moves, length, to)) continue;
                    if (seen[static_cast<std::size_t>(start)].insert(board).second) {
                        next.push_back({board, moves, to});
                    } else {
                        found.push_back({moves, length, to});
                    }
                }
            }
            levels[static_cast<std::size_t>(start)].swap(next);
        }
        for (const ForbiddenString& string : found) known.insert(key(string.Moves, string.Length, string.EndCell));
        forbidden.insert(forbidden.end(), found.begin(), found.end());
    }
    return forbidden;
}

}  // namespace

DuplicatePaths MakeDuplicatePaths(int maxLength) {
    DuplicatePaths machine;
    std::vector<std::uint32_t>& next = machine.Next;
    std::vector<std::uint16_t>& endsAt = machine.EndsAt;
    // A trie of the forbidden strings, then the Aho-Corasick machine over it: each state is
    // the longest end of the moves so far that begins some forbidden string.
    std::vector<std::array<std::int32_t, 4>> child(1, {-1, -1, -1, -1});
    endsAt.assign(1, 0);
    for (const ForbiddenString& string : ForbiddenStrings(maxLength)) {
        std::size_t node = 0;
        for (int i = 0; i < string.Length; ++i) {
            const auto direction = static_cast<std::size_t>((string.Moves >> (2 * i)) & 3u);
            if (child[node][direction] < 0) {
                child[node][direction] = static_cast<std::int32_t>(child.size());
                child.push_back({-1, -1, -1, -1});
                endsAt.push_back(0);
            }
            node = static_cast<std::size_t>(child[node][direction]);
        }
        endsAt[node] |= static_cast<std::uint16_t>(1u << string.EndCell);
    }

    next.assign(child.size() * 4, 0);
    std::vector<std::uint32_t> fallback(child.size(), 0);
    std::deque<std::uint32_t> queue;
    for (std::uint32_t direction = 0; direction < 4; ++direction) {
        const std::int32_t c = child[0][direction];
        if (c >= 0) {
            next[direction] = static_cast<std::uint32_t>(c);
            queue.push_back(static_cast<std::uint32_t>(c));
        }
    }
    while (!queue.empty()) {
        const std::uint32_t node = queue.front();
        queue.pop_front();
        endsAt[node] |= endsAt[fallback[node]];
        for (std::uint32_t direction = 0; direction < 4; ++direction) {
            const std::int32_t c = child[node][direction];
            const std::uint32_t viaFallback = next[fallback[node] * 4 + direction];
            if (c >= 0) {
                fallback[static_cast<std::size_t>(c)] = viaFallback;
                next[node * 4 + direction] = static_cast<std::uint32_t>(c);
                queue.push_back(static_cast<std::uint32_t>(c));
            } else {
                next[node * 4 + direction] = viaFallback;
            }
        }
    }
    return machine;
}
