#pragma once

// The depth-first search of one thread below a board, within one bound of IDA*.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/grid.h"
#include "estimate.h"
#include "pattern_database.h"
#include "pattern_format.h"

namespace solver {

// The depth at which an iteration is split between threads (SharedIteration).
inline constexpr std::size_t kSplitDepth = 8;

// A node kSplitDepth moves from the board where an iteration is split between threads: the
// tiles moved to reach it and the state of the machine of duplicate paths there.
struct Subtree {
    std::array<std::uint8_t, kSplitDepth> Tiles{};
    std::uint32_t Machine = 0;
};

// What stops a search: the caller's cancel flag, and a flag that one thread raises for the
// other when it has found a solution.
struct Stop {
    const std::atomic<bool>& Cancel;
    const std::atomic<bool>& Found;
    bool Now() const { return Cancel.load(std::memory_order_relaxed) || Found.load(std::memory_order_relaxed); }
};

// The board, its estimate, and the path to it from the board the search started on.
class Search {
public:
    Search(const engine::Grid& board, const PatternDatabases& tables, const Stop& stop);
    // Starts again from the board of `root`, which holds it between iterations, with `tiles`
    // slid from there, counting on from the nodes generated so far. The estimate follows
    // from the root's move by move, where a fresh one would walk each table down.
    void Restart(const Search& root, std::span<const std::uint8_t> tiles);

    // A lower bound of the moves the board needs.
    int Estimate() const { return estimate_.Value(); }

    // Looks below the board, reached by `tiles` with the machine in state `machine`, for a
    // solution of exactly `bound` moves (the path then holds it). With `split`, does not
    // look below kSplitDepth moves but lists the nodes there instead.
    bool Iterate(int bound, std::span<const std::uint8_t> tiles, std::uint32_t machine,
                 std::vector<Subtree>* split = nullptr);

    std::uint64_t Nodes() const { return nodes_; }
    bool Stopped() const { return stopped_; }
    std::span<const std::uint8_t> Path() const { return {path_.data(), pathLength_}; }

private:
    // A child of the node: the tile slid from `From` into the blank's cell, the machine's
    // state after the move, and what the move changes in the estimate.
    struct Child {
        std::uint8_t From, Tile;
        std::uint32_t Machine;
        TileMove Move;
    };
    using Children = std::array<Child, patterns::kDirections>;
    using Order = std::array<std::uint8_t, patterns::kDirections>;

    // Descend's steps, written out into it: it runs for every node of the search.
    bool Descend(std::size_t depth, std::uint32_t machine);
    [[gnu::always_inline]] inline std::size_t Generate(std::uint32_t machine, Children& children) const;
    [[gnu::always_inline]] inline std::size_t Keep(Children& children, std::size_t generated, int allowed,
                                                   Order& order);
    [[gnu::always_inline]] inline TileMove Enter(const Child& child, std::size_t depth);
    [[gnu::always_inline]] inline void Leave(const Child& child, const TileMove& back, std::size_t blank);
    void ListSubtree(std::uint32_t machine);

    patterns::ZeroBasedBoard board_{};
    std::size_t blank_ = 0;
    solver::Estimate estimate_;

    int bound_ = 0;
    std::vector<Subtree>* split_ = nullptr;
    std::uint64_t nodes_ = 0;
    const Stop& stop_;
    bool stopped_ = false;
    const patterns::MachineStep* steps_;  // the machine of duplicate paths
    // The bound never exceeds kMaxMoves, and a child is made at `depth` only while its
    // estimate, at least 0, fits in bound - depth - 1: the path never holds more.
    std::array<std::uint8_t, patterns::kMaxMoves> path_{};
    std::size_t pathLength_ = 0;
};

}  // namespace solver
