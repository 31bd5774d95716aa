#include "solver_service.h"

#include <QEvent>

#include <cstring>
#include <utility>

#include "engine/moves.h"
#include "engine/solvability.h"
#include "helper_thread.h"

namespace {

constexpr const char* kNoTables = "no tables were given";
constexpr const char* kGaveUp = "the search for a solution gave up";

}  // namespace

std::size_t SolverService::GridHash::operator()(const engine::Grid& grid) const noexcept {
    std::uint64_t halves[2];
    static_assert(sizeof halves == sizeof grid.cells);
    std::memcpy(halves, grid.cells.data(), sizeof halves);
    // Two rounds of a multiply-xorshift mix fold the sixteen cells into one word.
    std::uint64_t h = halves[0] * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 32) ^ halves[1];
    h *= 0xBF58476D1CE4E5B9ull;
    return static_cast<std::size_t>(h ^ (h >> 31));
}

SolverService::SolverService(std::string tablesPath, SolveFunction solve, TablesLoadFunction load, QObject* parent)
    : QObject(parent), path_(std::move(tablesPath)), solve_(std::move(solve)), load_(std::move(load)) {
    connect(this, &SolverService::boundProved, this, &SolverService::tellProgress, Qt::QueuedConnection);
    connect(this, &SolverService::searchEnded, this, &SolverService::collect, Qt::QueuedConnection);
}

SolverService::~SolverService() { cancel(); }

void SolverService::setTables(std::string tablesPath, SolveFunction solve, TablesLoadFunction load) {
    cancel();
    tables_.reset();
    path_ = std::move(tablesPath);
    solve_ = std::move(solve);
    load_ = std::move(load);
    solutions_.clear();
    boards_.clear();
}

std::optional<SolverAnswer> SolverService::known(const engine::Grid& board) const {
    if (engine::CheckSolvable(board) != engine::Solvability::Solvable) {
        return SolverAnswer{SolverAnswer::Kind::CannotBeSolved, 0, 0, {}};
    }
    if (engine::IsSolved(board)) return SolverAnswer{SolverAnswer::Kind::MovesLeft, 0, 0, {}};
    if (const auto found = boards_.find(board); found != boards_.end()) {
        return SolverAnswer{SolverAnswer::Kind::MovesLeft, found->second.movesLeft, found->second.nextTile, {}};
    }
    return std::nullopt;
}

void SolverService::ask(const engine::Grid& board, const QObject* asker, Answered answered, Progressed progressed) {
    cancel();
    asker_ = asker;
    answered_ = std::move(answered);
    progressed_ = std::move(progressed);
    if (const auto answer = known(board)) {
        give(*answer);
        return;
    }
    if (path_.empty()) {
        give({SolverAnswer::Kind::Unavailable, 0, 0, kNoTables});
        return;
    }
    if (!tables_) tables_ = std::make_unique<TableLoader>(path_, load_);

    const int search = ++searchesStarted_;
    searched_ = board;
    cancel_.store(false);
    worker_ = std::thread([this, search, board, tables = tables_.get()] {
        tablesRead_ = tables->await(cancel_, &refusal_);
        if (tablesRead_) {
            HelperThread helper;  // ended with the search
            result_ = solve_(
                board, *tablesRead_, cancel_,
                [this, search](int moves) {
                    const std::lock_guard lock(sending_);
                    emit boundProved(search, moves, {});
                },
                &helper);
        }
        const std::lock_guard lock(sending_);
        emit searchEnded(search, {});
    });
}

bool SolverService::event(QEvent* event) {
    // The worker's signals come through Qt's event queue, whose lock is inside Qt, out of
    // ThreadSanitizer's sight: taking the lock they were sent under lets it see that each
    // signal's arguments were written before they are read. It is held for no longer.
    if (event->type() == QEvent::MetaCall) {
        const std::lock_guard lock(sending_);
    }
    return QObject::event(event);
}

void SolverService::cancel(const QObject* asker) {
    if (asker_ == asker) cancel();
}

void SolverService::cancel() {
    if (!worker_.joinable()) return;
    cancel_.store(true);
    worker_.join();
    result_ = {};
}

void SolverService::give(const SolverAnswer& answer) {
    if (!asker_) return;
    const Answered answered = std::exchange(answered_, nullptr);
    progressed_ = nullptr;
    if (answered) answered(answer);
}

void SolverService::tellProgress(int search, int moves) {
    if (current(search) && progressed_ && asker_) progressed_(moves);
}

void SolverService::collect(int search) {
    if (!current(search)) return;
    worker_.join();  // it has just sent its last word
    if (!tablesRead_) {
        give({SolverAnswer::Kind::Unavailable, 0, 0, refusal_});
        return;
    }
    // Nothing here cancelled it (a cancel joins the worker, after which its end is no longer
    // current), so any outcome but a solution means the search gave up: an estimate that
    // overestimates can run the bound out.
    const solver::Solution result = std::exchange(result_, {});
    if (result.Outcome != solver::SolveOutcome::Solved) {
        give({SolverAnswer::Kind::Unavailable, 0, 0, kGaveUp});
        return;
    }
    remember(searched_, result.Tiles);
    // The board was found solvable and unsolved when it was asked about: no second check.
    if (result.Tiles.empty()) {
        give({SolverAnswer::Kind::Unavailable, 0, 0, kGaveUp});
        return;
    }
    give({SolverAnswer::Kind::MovesLeft, static_cast<int>(result.Tiles.size()), result.Tiles.front(), {}});
}

void SolverService::remember(const engine::Grid& start, const std::vector<std::uint8_t>& tiles) {
    const std::uint32_t id = nextSolution_++;
    engine::Grid walk = start;
    for (std::size_t done = 0; done < tiles.size(); ++done) {
        boards_[walk] = {static_cast<std::uint8_t>(tiles.size() - done), tiles[done], id};
        const engine::Grid next = engine::Slid(walk, tiles[done]);
        if (next == walk) break;  // a stand-in's made-up path
        walk = next;
    }
    solutions_.push_back({id, start, tiles});
    while (boards_.size() > kRememberedBoards && solutions_.size() > 1) forgetOldest();
}

void SolverService::forgetOldest() {
    const Solution oldest = std::move(solutions_.front());
    solutions_.pop_front();
    engine::Grid walk = oldest.start;
    for (const std::uint8_t tile : oldest.tiles) {
        if (const auto found = boards_.find(walk); found != boards_.end() && found->second.solution == oldest.id) {
            boards_.erase(found);
        }
        const engine::Grid next = engine::Slid(walk, tile);
        if (next == walk) break;
        walk = next;
    }
}
