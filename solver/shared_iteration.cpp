#include "shared_iteration.h"

namespace solver {

bool SharedIteration::Run(int bound, std::vector<std::uint8_t>& answer, std::uint64_t& nodes) {
    if (root_.Iterate(bound, {}, 0, &subtrees_)) {  // a solution shorter than kSplitDepth
        answer.assign(root_.Path().begin(), root_.Path().end());
        return true;
    }
    if (root_.Stopped()) return false;
    answer_ = &answer;
    const bool helped = helper_.Start([this, bound] { helperNodes_ = Work(bound); });
    nodes += Work(bound);
    if (helped) {
        helper_.Wait();
        nodes += helperNodes_;
    }
    return found_.load();
}

std::uint64_t SharedIteration::Work(int bound) {
    // One search, a copy of the root's, for all the thread's subtrees, so that its count of
    // nodes, and with it the polling of the stop flags, runs on from one to the next.
    Search search(root_);
    const std::uint64_t before = search.Nodes();
    while (true) {
        const std::size_t next = next_.fetch_add(1);
        if (next >= subtrees_.size()) break;
        const Subtree& subtree = subtrees_[next];
        search.Restart(root_, subtree.Tiles);
        const bool solved = search.Iterate(bound, subtree.Tiles, subtree.Machine);
        if (solved && !found_.exchange(true)) answer_->assign(search.Path().begin(), search.Path().end());
        if (solved || search.Stopped()) break;
    }
    return search.Nodes() - before;
}

}  // namespace solver
