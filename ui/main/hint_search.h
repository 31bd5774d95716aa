#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/grid.h"
#include "engine/solver.h"
#include "shared_tables.h"

// What a hint says about a board.
struct HintAnswer {
    enum class Kind { MovesLeft, CannotBeSolved, Unavailable };
    Kind kind = Kind::Unavailable;
    int movesLeft = 0;          // for MovesLeft: the length of a shortest solution
    std::uint8_t nextTile = 0;  // for MovesLeft, unless the board is solved: the tile to slide first
};

// The search a hint runs: engine::Solve, or a stand-in with its signature.
using HintSolver = std::function<engine::Solution(const engine::Grid&, const engine::PatternDatabases&,
                                                  const std::atomic<bool>& cancel, std::atomic<int>* lowerBound)>;

// Finds a shortest solution off the GUI thread and gives its answer on the GUI thread.
//
// One search at a time: a new request, or cancel(), ends the search under way, whose answer
// is then never given. The pattern tables are shared with the window's other searches and
// loaded by the first of them; tables that cannot be read, or a search that ends without a
// solution, answer Unavailable and say why on standard error (a refusal of the tables once
// for all the searches that share them). A board that lies on the path of the last solution
// found is answered at once from it, so a player who follows the hints never waits twice.
class HintSearch : public QObject {
    Q_OBJECT
public:
    explicit HintSearch(std::shared_ptr<SharedTables> tables, HintSolver solve = engine::Solve,
                        QObject* parent = nullptr);
    ~HintSearch() override;

    // Asks for a hint on `board`. The answer comes through answered(): at once for a board
    // that needs no search, otherwise once the search ends.
    void request(const engine::Grid& board);
    // Ends the search under way, if any, and waits for its thread, which stops within a few
    // milliseconds, also while the tables are still loading; its answer is dropped.
    void cancel();
    bool searching() const { return worker_.joinable(); }

signals:
    void answered(const HintAnswer& answer);
    // While a search runs: every solution is now proved to need at least `moves` moves.
    void progressed(int moves);

private:
    void collect();
    bool answerFromLastPath(const engine::Grid& board);
    // Says on standard error why there is no hint.
    void giveUp(const std::string& why);
    // Answers Unavailable for tables that could not be read, saying why the first time.
    void tablesUnavailable();

    const std::shared_ptr<SharedTables> tables_;
    const HintSolver solve_;

    // The worker's. Written only while it runs, read only after it has been joined.
    bool tablesRead_ = false;
    engine::Solution result_;

    std::thread worker_;
    engine::Grid searched_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> lowerBound_{-1};  // the search's current bound; -1 before the first
    int boundShown_ = -1;
    QTimer poll_;  // runs only while a search does

    // The last solution found: the board it starts from and its moves.
    engine::Grid pathStart_;
    std::vector<std::uint8_t> path_;
};

// What a search is made from: the tables it shares and the solver it runs.
struct SearchSource {
    std::shared_ptr<SharedTables> tables;
    HintSolver solve = engine::Solve;

    std::unique_ptr<HintSearch> makeSearch() const { return std::make_unique<HintSearch>(tables, solve); }
};
