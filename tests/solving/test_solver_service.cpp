// The solver service on its own, without a window: nothing runs before the first question,
// a board on a solution found before is answered without a search, whoever asks, one search
// runs at a time, a cancel stops it within milliseconds, also while the tables load, and
// "no tables" is said one way.
#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "board_text.h"
#include "engine/moves.h"
#include "engine/pattern_database.h"
#include "sanitizer_build.h"
#include "solver_probe.h"
#include "solving/solver_service.h"

namespace {

std::string tablesPath() { return engine::TablesPathFor(PLITON_TEST_PROGRAM_DIR); }

// How soon a search must stop once cancelled. ThreadSanitizer slows the search, and its
// checks for the cancel with it, several times over.
#ifdef PLITON_UNDER_TSAN
constexpr qint64 kStopMs = 2000;
#else
constexpr qint64 kStopMs = 100;
#endif

// 45 moves from the goal.
const engine::Grid kFortyFive = GridOf("1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2");

bool tablesMapped() { return fileMapped(tablesPath()); }

// One asker: the answer it was given, if any, and the last progress it heard of.
struct Asker : QObject {
    std::optional<SolverAnswer> answer;
    int proved = -1;
    void ask(SolverService& service, const engine::Grid& board) {
        answer.reset();
        proved = -1;
        service.ask(board, this, [this](const SolverAnswer& given) { answer = given; }, [this](int moves) { proved = moves; });
    }
};

// The real solver, counting its searches.
struct CountedSolve {
    std::atomic<int> searches{0};
    SolveFunction solver() {
        return [this](const engine::Grid& board, const engine::PatternDatabases& tables, const std::atomic<bool>& cancel,
                      std::atomic<int>* lowerBound) {
            ++searches;
            return engine::Solve(board, tables, cancel, lowerBound);
        };
    }
};

}  // namespace

class TestSolverService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startTheRunTimesThreads(); }

    void nothingRunsBeforeTheFirstSearch() {
        QVERIFY(!tablesMapped());
        const int threads = threadCount();
        {
            SolverService service(tablesPath());
            QCOMPARE(threadCount(), threads);
            QVERIFY(!tablesMapped());

            // What needs no search maps nothing and starts no thread either.
            Asker asker;
            for (const engine::Grid& board : {kOrdered, kSwapped}) {
                asker.ask(service, board);
                QVERIFY(asker.answer);
            }
            QCOMPARE(asker.answer->kind, SolverAnswer::Kind::CannotBeSolved);
            QCOMPARE(service.searchesStarted(), 0);
            QVERIFY(!service.searching());
            QCOMPARE(threadCount(), threads);
            QVERIFY(!tablesMapped());

            // The first search maps the tables and runs on a thread that ends with it.
            asker.ask(service, kFortyFive);
            QVERIFY(service.searching());
            QVERIFY(threadCount() > threads);
            QTRY_VERIFY(asker.answer);
            QCOMPARE(asker.answer->kind, SolverAnswer::Kind::MovesLeft);
            QCOMPARE(asker.answer->movesLeft, 45);
            QVERIFY(tablesMapped());
            QVERIFY(!service.searching());
            QTRY_COMPARE(threadCount(), threads);
        }
        QVERIFY(!tablesMapped());
    }

    void aRememberedPathIsAnsweredWithoutASearch() {
        CountedSolve counted;
        SolverService service(tablesPath(), counted.solver());
        Asker hint, par;
        par.ask(service, kFortyFive);
        QTRY_VERIFY(par.answer);
        QCOMPARE(counted.searches.load(), 1);
        const std::uint8_t first = par.answer->nextTile;

        // Every board on the way, whoever asks, is answered before ask() returns.
        engine::PuzzleState walk;
        walk.Board = kFortyFive;
        for (int left = 45; left > 0; --left) {
            Asker& asker = left % 2 ? hint : par;
            asker.ask(service, walk.Board);
            QVERIFY2(asker.answer, qPrintable(QStringLiteral("%1 moves left").arg(left)));
            QCOMPARE(asker.answer->kind, SolverAnswer::Kind::MovesLeft);
            QCOMPARE(asker.answer->movesLeft, left);
            QVERIFY(!service.searching());
            QVERIFY(engine::TryMove(walk, asker.answer->nextTile).Moved);
        }
        QVERIFY(engine::IsSolved(walk));
        QCOMPARE(counted.searches.load(), 1);
        QCOMPARE(service.searchesStarted(), 1);

        // A board off the way is searched for. (The blank of kFortyFive has 1, 13 and 11
        // beside it.)
        walk.Board = kFortyFive;
        QVERIFY(engine::TryMove(walk, first == 13 ? 11 : 13).Moved);
        hint.ask(service, walk.Board);
        QVERIFY(!hint.answer);
        QTRY_VERIFY(hint.answer);
        QVERIFY(hint.answer->movesLeft == 44 || hint.answer->movesLeft == 46);
        QCOMPARE(counted.searches.load(), 2);
    }

    void aCancelStopsTheSearchWithinMilliseconds() {
        // A long search, well under way.
        SolverService service(tablesPath());
        Asker asker;
        asker.ask(service, kEightyMovesOut);
        QTRY_VERIFY_WITH_TIMEOUT(asker.proved >= 60, 20000);
        QElapsedTimer clock;
        clock.start();
        service.cancel();
        const qint64 searchStop = clock.elapsed();
        QVERIFY2(searchStop < kStopMs, qPrintable(QStringLiteral("%1 ms").arg(searchStop)));
        QVERIFY(!service.searching());

        // While the tables load: the load goes on, the search stops waiting for it.
        const auto slowLoad = [](const std::string& path, std::string* why) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return engine::PatternDatabases::Load(path, why);
        };
        SolverService loading(tablesPath(), engine::Solve, slowLoad);
        asker.ask(loading, kFortyFive);
        QTest::qWait(20);
        clock.restart();
        loading.cancel(&asker);
        const qint64 loadStop = clock.elapsed();
        QVERIFY2(loadStop < kStopMs, qPrintable(QStringLiteral("%1 ms").arg(loadStop)));
        QVERIFY(!loading.searching());
        QTest::qWait(50);
        QVERIFY(!asker.answer);
        qInfo("a search stopped %lld ms after its cancel, a wait for the tables %lld ms after", searchStop, loadStop);

        // The next question finds the tables loaded, or still loading.
        asker.ask(loading, kFortyFive);
        QTRY_VERIFY_WITH_TIMEOUT(asker.answer, 5000);
        QCOMPARE(asker.answer->movesLeft, 45);
    }

    void oneSearchAtATime() {
        HeldSearch held;
        SolverService service(tablesPath(), held.solver());
        Asker first, second;
        first.ask(service, kFortyFive);
        QTRY_COMPARE(held.running.load(), 1);
        // Another's cancel leaves the search alone.
        service.cancel(&second);
        QVERIFY(service.searchingFor(&first));

        // A new question ends the search under way, whose answer never comes.
        second.ask(service, kEightyMovesOut);
        QCOMPARE(held.cancelled.load(), 1);
        QVERIFY(service.searchingFor(&second));
        QTRY_COMPARE(held.running.load(), 1);
        held.released = true;
        QTRY_VERIFY(second.answer);
        QCOMPARE(second.answer->movesLeft, held.length);
        QTest::qWait(20);
        QVERIFY(!first.answer);
        QCOMPARE(held.most.load(), 1);
    }

    void noTablesIsSaidOneWay() {
        // Made without tables: no search, no thread, at once.
        const int threads = threadCount();
        SolverService none;
        Asker asker;
        asker.ask(none, kFortyFive);
        QVERIFY(asker.answer);
        QCOMPARE(asker.answer->kind, SolverAnswer::Kind::Unavailable);
        QVERIFY(!asker.answer->why.empty());
        QCOMPARE(threadCount(), threads);
        QCOMPARE(none.searchesStarted(), 0);

        // Tables that cannot be read: the same answer, with the reason, and every time.
        SolverService missing("no such tables");
        for (int time = 0; time < 2; ++time) {
            asker.ask(missing, kFortyFive);
            QTRY_VERIFY(asker.answer);
            QCOMPARE(asker.answer->kind, SolverAnswer::Kind::Unavailable);
            QVERIFY2(asker.answer->why.find("no such tables") != std::string::npos, asker.answer->why.c_str());
        }
    }
};

QTEST_GUILESS_MAIN(TestSolverService)
#include "test_solver_service.moc"
