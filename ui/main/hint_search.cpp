#include "hint_search.h"

#include <utility>

#include "engine/moves.h"

namespace {

// How often the GUI thread looks for the worker's answer while a search runs.
constexpr int kPollMs = 5;

}  // namespace

HintSearch::HintSearch(std::string tablesPath, QObject* parent)
    : QObject(parent), tablesPath_(std::move(tablesPath)) {
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
    worker_ = std::thread([this, board] {
        if (!tables_ && !tablesRefused_) {
            tables_ = engine::PatternDatabases::Load(tablesPath_);
            tablesRefused_ = !tables_;
        }
        if (tables_) result_ = engine::Solve(board, *tables_, cancel_);
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
    if (!done_.load(std::memory_order_acquire)) return;
    poll_.stop();
    worker_.join();
    if (tablesRefused_) {
        emit answered({HintAnswer::Kind::Unavailable});
        return;
    }
    if (result_.Outcome != engine::SolveOutcome::Solved) return;
    pathStart_ = searched_;
    path_ = std::move(result_.Tiles);
    answerFromLastPath(searched_);
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
