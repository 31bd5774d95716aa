#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine/grid.h"
#include "solver/solver.h"
#include "table_loader.h"

// What the solver says of a board.
struct SolverAnswer {
    enum class Kind { MovesLeft, CannotBeSolved, Unavailable };
    Kind kind = Kind::Unavailable;
    int movesLeft = 0;          // for MovesLeft: the length of a shortest solution
    std::uint8_t nextTile = 0;  // for MovesLeft, unless the board is solved: the tile to slide first
    std::string why;            // for Unavailable: why there is no answer
};

// The search the service runs: solver::Solve, or a stand-in with its signature.
using SolveFunction = std::function<solver::Solution(const engine::Grid&, const solver::PatternDatabases&,
                                                     const std::atomic<bool>& cancel,
                                                     const solver::BoundReached& boundReached, solver::Worker* helper)>;

// The game's one solver: it owns the pattern tables and the worker thread, and answers the
// hint and the par alike with the length of a shortest solution of a board and its first
// tile.
//
// - No tables and no thread before the first question that needs a search: the tables are
//   read then, on a thread of their own (TableLoader), and kept.
// - One search at a time, on a thread that ends with it. Its progress and its end come back
//   to the GUI thread as queued signals that carry the search's number, so that whatever a
//   superseded search still sends is dropped. Every question cancels the search under way,
//   whose answer is then never given; so does cancel().
// - Every shortest solution found is remembered: a board on one of them is answered at
//   once, without a search, whoever asks. So is a solved board and one that cannot be
//   solved. The memory keeps the latest solutions, kRememberedBoards boards at most.
// - Tables are given by their file's path. An empty path is the one way to say "no tables":
//   a question that needs a search is then answered Unavailable at once. Tables that cannot
//   be read answer Unavailable too, with the reason; the service itself never writes a word.
class SolverService : public QObject {
    Q_OBJECT
public:
    using Answered = std::function<void(const SolverAnswer&)>;
    // While a search runs: every solution is now proved to need at least this many moves.
    using Progressed = std::function<void(int moves)>;

    static constexpr std::size_t kRememberedBoards = std::size_t{1} << 16;

    explicit SolverService(std::string tablesPath = {}, SolveFunction solve = solver::Solve,
                           TablesLoadFunction load = loadTables, QObject* parent = nullptr);
    ~SolverService() override;

    // Other tables, or another solver: the search under way ends and the memory is emptied.
    void setTables(std::string tablesPath, SolveFunction solve = solver::Solve, TablesLoadFunction load = loadTables);

    // Asks on behalf of `asker` about `board`. The answer comes through `answered`, on the
    // GUI thread: before ask() returns when it is known, otherwise once the search ends.
    // `progressed` tells what the search has proved meanwhile. Either is dropped when
    // `asker` is destroyed.
    void ask(const engine::Grid& board, const QObject* asker, Answered answered, Progressed progressed = {});
    // Ends the search under way if `asker` asked for it, and waits for its thread, which
    // stops within a few milliseconds, also while the tables are still loading.
    void cancel(const QObject* asker);
    // Ends the search under way, whoever asked for it.
    void cancel();

    bool searching() const { return worker_.joinable(); }
    bool searchingFor(const QObject* asker) const { return searching() && asker_ == asker; }
    // How many searches have been started, for the tests and the measurements.
    int searchesStarted() const { return searchesStarted_; }

    static std::unique_ptr<const solver::PatternDatabases> loadTables(const std::string& path, std::string* why) {
        return solver::PatternDatabases::Load(path, why);
    }

signals:
    // Sent by search number `search` from its thread, received on the GUI thread.
    void boundProved(int search, int moves, QPrivateSignal);
    void searchEnded(int search, QPrivateSignal);

protected:
    bool event(QEvent* event) override;

private:
    struct GridHash {
        std::size_t operator()(const engine::Grid& grid) const noexcept;
    };
    // What the memory says of a board on a remembered solution.
    struct Step {
        std::uint8_t movesLeft;
        std::uint8_t nextTile;
        std::uint32_t solution;  // which one, so that forgetting it spares a board another one holds
    };
    struct Solution {
        std::uint32_t id;
        engine::Grid start;
        std::vector<std::uint8_t> tiles;
    };

    // The answer for `board` known without a search, if any.
    std::optional<SolverAnswer> known(const engine::Grid& board) const;
    // Whether `search` is the one under way, whose signals are still awaited.
    bool current(int search) const { return searching() && search == searchesStarted_; }
    void tellProgress(int search, int moves);
    void collect(int search);
    void remember(const engine::Grid& start, const std::vector<std::uint8_t>& tiles);
    void forgetOldest();
    // Gives `answer` to the one who asked, unless it is gone.
    void give(const SolverAnswer& answer);

    std::string path_;
    SolveFunction solve_;
    TablesLoadFunction load_;
    std::unique_ptr<TableLoader> tables_;  // made by the first search

    // The search under way: its board, who asked and where the answer goes.
    engine::Grid searched_;
    QPointer<const QObject> asker_;
    Answered answered_;
    Progressed progressed_;
    int searchesStarted_ = 0;  // also the number of the latest search

    // The worker's. Written only while it runs, read only after it has been joined.
    const solver::PatternDatabases* tablesRead_ = nullptr;
    std::string refusal_;
    solver::Solution result_;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::mutex sending_;  // held by the worker while it sends a signal

    // The remembered solutions, oldest first, and every board on them.
    std::deque<Solution> solutions_;
    std::uint32_t nextSolution_ = 0;
    std::unordered_map<engine::Grid, Step, GridHash> boards_;
};
