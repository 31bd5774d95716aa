#include "hint_search.h"

#include <cstdio>
#include <utility>

#include "engine/moves.h"

namespace {

// How often the GUI thread looks for the worker's answer and progress while a search runs.
constexpr int kPollMs = 5;

}  // namespace

HintSearch::HintSearch(std::shared_ptr<SharedTables> tables, HintSolver solve, QObject* parent)
    : QObject(parent), tables_(std::move(tables)), solve_(std::move(solve)) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &HintSearch::collect);
}

HintSearch::~HintSearch() { cancel(); }

void HintSearch::request(const engine::Grid& board) {
    cancel();
    if (engine::CheckSolvable(board) != engine::Solvability::Solvable) {
        emit answered({HintAnswer::Kind::CannotBeSolved});
        return;
    }
    if (answerFromLastPath(board)) return;

    searched_ = board;
    cancel_.store(false);
    done_.store(false);
    lowerBound_.store(-1);
    boundShown_ = -1;
    worker_ = std::thread([this, board] {
        const engine::PatternDatabases* tables = tables_->await(cancel_);
        tablesRead_ = tables != nullptr;
        if (tables) result_ = solve_(board, *tables, cancel_, &lowerBound_);
        done_.store(true, std::memory_order_release);
    });
    poll_.start();
}

void HintSearch::cancel() {
    if (!worker_.joinable()) return;
    poll_.stop();
    cancel_.store(true);
    worker_.join();
}

void HintSearch::collect() {
    if (!done_.load(std::memory_order_acquire)) {
        const int bound = lowerBound_.load(std::memory_order_relaxed);
        if (bound > boundShown_) {
            boundShown_ = bound;
            emit progressed(bound);
        }
        return;
    }
    poll_.stop();
    worker_.join();
    if (!tablesRead_) {
        tablesUnavailable();
        return;
    }
    // Nothing here cancelled it (a cancel joins the worker before any poll could see it
    // done), so any outcome but a solution means the search gave up: an estimate that
    // overestimates can run the bound out.
    if (result_.Outcome != engine::SolveOutcome::Solved) {
        giveUp("the search for a solution gave up");
        emit answered({HintAnswer::Kind::Unavailable});
        return;
    }
    pathStart_ = searched_;
    path_ = std::move(result_.Tiles);
    answerFromLastPath(searched_);
}

void HintSearch::giveUp(const std::string& why) { std::fprintf(stderr, "pliton: no hint: %s\n", why.c_str()); }

void HintSearch::tablesUnavailable() {
    if (const std::string why = tables_->refusalToSay(); !why.empty()) giveUp(why);
    emit answered({HintAnswer::Kind::Unavailable});
}

bool HintSearch::answerFromLastPath(const engine::Grid& board) {
    engine::PuzzleState walk;
    walk.Board = pathStart_;
    for (std::size_t done = 0; done <= path_.size(); ++done) {
        if (walk.Board == board) {
            const int left = static_cast<int>(path_.size() - done);
            emit answered({HintAnswer::Kind::MovesLeft, left, left > 0 ? path_[done] : std::uint8_t{0}});
            return true;
        }
        if (done < path_.size()) engine::TryMove(walk, path_[done]);
    }
    return false;
}
