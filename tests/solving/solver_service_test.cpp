// The solver service on its own, without a window: nothing runs before the first search,
// "no tables" is said one way, a board on a solution found before is answered without a
// search, whoever asks, and a cancel does not wait for the tables to load.
#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "app/tables_path.h"
#include "board_text.h"
#include "engine/moves.h"
#include "sanitizer_build.h"
#include "solver_probe.h"
#include "solving/solver_service.h"

namespace {

std::string tablesPath() { return TablesPathFor(PLITON_TEST_PROGRAM_DIR); }
bool tablesLoaded() { return tablesHeld(tablesPath()); }

// One asker: the answer it was given, if any.
struct Asker : QObject {
    std::optional<SolverAnswer> answer;
    void ask(SolverService& service, const engine::Grid& board) {
        answer.reset();
        service.ask(board, this, [this](const SolverAnswer& given) { answer = given; });
    }
};

}  // namespace

class TestSolverService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startTheRunTimesThreads(); }

    void nothingRunsBeforeTheFirstSearch() {
        const int threads = threadCount();
        Asker asker;
        // Without tables, what needs a search is unavailable at once, with a reason.
        SolverService none;
        asker.ask(none, kFortyFive);
        QVERIFY(asker.answer && asker.answer->kind == SolverAnswer::Kind::Unavailable && !asker.answer->why.empty());

        SolverService service(tablesPath());
        // What needs no search reads nothing and starts no thread.
        for (const engine::Grid& board : {kOrdered, kSwapped}) asker.ask(service, board);
        QVERIFY(asker.answer && asker.answer->kind == SolverAnswer::Kind::CannotBeSolved);
        QCOMPARE(threadCount(), threads);
        QVERIFY(!tablesLoaded());
        QCOMPARE(service.searchesStarted() + none.searchesStarted(), 0);

        // The first search reads the tables, on a thread that ends with it.
        asker.ask(service, kFortyFive);
        QVERIFY(threadCount() > threads);
        QTRY_VERIFY(asker.answer);
        QCOMPARE(asker.answer->movesLeft, 45);
        QVERIFY(tablesLoaded());
        QTRY_COMPARE(threadCount(), threads);
    }

    void aRememberedPathIsAnsweredWithoutASearch() {
        SolverService service(tablesPath());
        Asker hint, par;
        par.ask(service, kFortyFive);
        QTRY_VERIFY(par.answer);
        const std::uint8_t first = par.answer->nextTile;

        // Every board on the way, whoever asks, is answered before ask() returns.
        engine::PuzzleState walk;
        walk.Board = kFortyFive;
        for (int left = 45; left > 0; --left) {
            Asker& asker = left % 2 ? hint : par;
            asker.ask(service, walk.Board);
            QVERIFY2(asker.answer && asker.answer->movesLeft == left, qPrintable(QString::number(left)));
            QVERIFY(engine::TryMove(walk, asker.answer->nextTile).Moved);
        }
        QVERIFY(engine::IsSolved(walk));
        QCOMPARE(service.searchesStarted(), 1);

        // A board off the way is searched for (kFortyFive's blank has 1, 13 and 11 beside it).
        walk.Board = kFortyFive;
        QVERIFY(engine::TryMove(walk, first == 13 ? 11 : 13).Moved);
        hint.ask(service, walk.Board);
        QVERIFY(!hint.answer);
        QTRY_VERIFY(hint.answer);
        QCOMPARE(service.searchesStarted(), 2);
    }

    // How promptly a search stops is the search's own (the solver's test); the service's part
    // is to stop waiting for the tables, whose load goes on for the next search.
    void aCancelDoesNotWaitForTheTables() {
        Asker asker;
        QElapsedTimer clock;
        SolverService loading(tablesPath(), solver::Solve, [](const std::string& path, std::string* why) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2 * kPromptStopMs));
            return SolverService::loadTables(path, why);
        });
        asker.ask(loading, kFortyFive);
        QTest::qWait(20);
        clock.start();
        loading.cancel();
        const qint64 loadStop = clock.elapsed();
        QVERIFY2(loadStop < kPromptStopMs, qPrintable(QStringLiteral("%1 ms").arg(loadStop)));
        QTest::qWait(50);
        QVERIFY(!asker.answer && !loading.searching());
        asker.ask(loading, kFortyFive);
        QTRY_VERIFY_WITH_TIMEOUT(asker.answer, 5000);
        QCOMPARE(asker.answer->movesLeft, 45);
    }

    // With a stand-in search that answers every board with 80 moves of a walk at random, never
    // straight back: a second question cancels the search under way, whose answer never
    // comes; nor does the answer to an asker destroyed meanwhile. The memory forgets the
    // oldest solution once it holds more than kRememberedBoards boards, but not a board that a
    // newer one holds too, and other tables empty it.
    void theMemoryKeepsTheLatestSolutions() {
        // Two walks through kFortyFive, whose blank has 1, 13 and 11 beside it: from it with 1
        // slid and with 13 slid, each sliding that back first and then 11.
        const engine::Grid a = engine::Slid(kFortyFive, 1), b = engine::Slid(kFortyFive, 13);
        std::minstd_rand random(38);
        engine::Grid end;  // where the last walk ended
        SolverService service(tablesPath(), [&](const engine::Grid& board, auto&, auto&, auto&, auto*) {
            solver::Solution walk{solver::SolveOutcome::Solved, {}, 0};
            if (board == a || board == b) walk.Tiles.assign({static_cast<std::uint8_t>(board == a ? 1 : 13), 11});
            end = board;
            for (const std::uint8_t tile : walk.Tiles) end = engine::Slid(end, tile);
            while (walk.Tiles.size() < 80) {
                const auto tile = static_cast<std::uint8_t>(random() % 15 + 1);
                if (engine::Slid(end, tile) == end || (!walk.Tiles.empty() && tile == walk.Tiles.back())) continue;
                end = engine::Slid(end, tile);
                walk.Tiles.push_back(tile);
            }
            return walk;
        });
        Asker first, second;
        first.ask(service, a);
        second.ask(service, b);
        QTRY_VERIFY(second.answer);
        QVERIFY(!first.answer);
        first.ask(service, a);
        QTRY_VERIFY(first.answer);

        bool answered = false;
        auto gone = std::make_unique<QObject>();
        service.ask(end, gone.get(), [&answered](const SolverAnswer&) { answered = true; });
        gone.reset();
        QTRY_VERIFY(!service.searching());
        QVERIFY(!answered);

        // Walks from boards at random, some 820, until b's is forgotten. A remembered board is
        // answered before ask() returns.
        const auto remembered = [&service, &first](const engine::Grid& board) {
            first.ask(service, board);
            return first.answer.has_value();
        };
        for (engine::Grid board = kFortyFive; service.searchesStarted() < 1000 && remembered(b);) {
            std::shuffle(board.cells.begin(), board.cells.end(), random);
            second.ask(service, board);
            while (!second.answer) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QVERIFY(!remembered(b));
        QVERIFY(remembered(kFortyFive) && remembered(a));

        service.setTables(tablesPath() + ".missing");
        first.ask(service, a);
        QTRY_VERIFY(first.answer);
        QCOMPARE(first.answer->kind, SolverAnswer::Kind::Unavailable);
    }
};

QTEST_GUILESS_MAIN(TestSolverService)
#include "solver_service_test.moc"
