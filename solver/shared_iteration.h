#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "search.h"
#include "solver.h"

namespace solver {

// One iteration of IDA* shared between the caller's thread and a helper: the nodes
// kSplitDepth moves below the root are listed first, then each thread takes the next one and
// searches below it, until all are done or one finds a solution. Without a thread to be
// had, the caller's takes every one.
class SharedIteration {
public:
    // `found` is raised by the thread that finds a solution, and stops the other.
    SharedIteration(Search& root, std::atomic<bool>& found, Worker& helper)
        : root_(root), found_(found), helper_(helper) {}

    // Searches the iteration of `bound`; true when it found a solution, then in `answer`.
    // Adds the nodes generated below the listed ones to `nodes`.
    bool Run(int bound, std::vector<std::uint8_t>& answer, std::uint64_t& nodes);

private:
    // Searches below the next listed node until none is left or the search stops; returns
    // the nodes generated.
    std::uint64_t Work(int bound);

    Search& root_;
    std::atomic<bool>& found_;
    Worker& helper_;
    std::vector<Subtree> subtrees_;
    std::atomic<std::size_t> next_{0};
    std::vector<std::uint8_t>* answer_ = nullptr;  // written by the one thread that finds a solution
    std::uint64_t helperNodes_ = 0;                // written by the helper, read once it has ended
};

}  // namespace solver
