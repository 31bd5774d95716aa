// How long a player waits for a hint: from the key H to the balloon with the moves left, in
// the real main window (offscreen unless another platform is chosen); what the par costs; and
// how long a move waits for the hint's search to stop while the tables are still loading.
//
//   build-bench/bench/hint_latency [deals] [par deals] [fresh windows] [positions file]
//
// First each of the 100 benchmark positions (or those of the positions file, in the same
// format, e.g. tests/data/hardest.txt) in a window of its own, so that every one is the
// first hint of its window and maps and checks the tables again, as the first hint of a run
// does; the moves the balloon shows are checked against the positions' known lengths. Then
// one window plays `deals` random deals (300 by default) and the median wait is reported.
//
// The par: `par deals` new games (1000 by default) in a window with the tables and in one
// without, the same deals in both; each time the CPU time of the whole process (all its
// threads) from the new game until its par is known. A deal's extra CPU time is its time
// with the tables less the median without them, which is what the deal and its drawing cost
// anyway. The first game of the window with the tables also maps and checks them; it is
// reported apart.
//
// The move: `fresh windows` (30 by default) each start a game, which starts loading the
// tables for the par, take the key H, whose search then waits for the load, and at once an
// arrow key, whose move ends that search; the time the arrow key takes is the move's wait.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchmark_positions.h"
#include "engine/deal.h"
#include "engine/solver.h"
#include "form_fixture.h"
#include "seeded_random.h"
#include "ui/main/hint_balloon.h"
#include "ui/main/par.h"
#include "ui/platform/game_application.h"

namespace {

// Presses H and waits for the balloon's answer; the milliseconds waited and the moves shown.
std::pair<double, int> waitForHint(TForm1& form) {
    const QString prefix = QStringLiteral("Осталось ходов: ");
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(form.Button1, Qt::Key_H);
    const HintBalloon* balloon = nullptr;
    while (!(balloon = form.hintBalloon()) || !balloon->isVisible() || !balloon->text().startsWith(prefix)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6, balloon->text().mid(prefix.size()).toInt()};
}

// The window plays `board`, its clock stopped.
void play(TForm1& form, engine::PuzzleState& state, const engine::Grid& board) {
    playLayout(form, state, board);
    form.Timer3->stop();
}

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// The CPU time of each of `deals` new games until its par is known (at once without tables).
std::vector<double> newGames(int deals, const std::string* tables) {
    SeededRandom random(20261208);
    engine::PuzzleState state;
    TForm1 form(state);
    if (tables) form.setHintTables(*tables);
    form.show();
    QCoreApplication::processEvents();
    const Par* par = form.findChild<Par*>();
    std::vector<double> cpu;
    for (int deal = 0; deal < deals; ++deal) {
        const double start = cpuMs();
        form.Button1Click();
        form.Timer3->stop();
        while (par->searching()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();  // the new board's paint
        cpu.push_back(cpuMs() - start);
    }
    return cpu;
}

void parCost(int deals, const std::string& tables) {
    const std::vector<double> without = newGames(deals, nullptr);
    std::vector<double> with = newGames(deals + 1, &tables);
    const double first = with.front() - Quantile(without, 0.5);
    with.erase(with.begin());
    std::vector<double> extra;
    for (double ms : with) extra.push_back(ms - Quantile(without, 0.5));
    std::printf("new games without the par: median %.2f ms CPU\n", Quantile(without, 0.5));
    std::printf("the par's extra CPU per deal over %d deals: median %.2f ms, 90th percentile %.2f ms, "
                "99th %.2f ms, worst %.2f ms; the first game, which maps the tables, %.1f ms\n",
                deals, Quantile(extra, 0.5), Quantile(extra, 0.9), Quantile(extra, 0.99), Quantile(extra, 1.0), first);
}

void moveWait(int windows, const std::string& tables) {
    // 45 moves from the goal; the arrow Left slides the 13 beside the blank.
    const engine::Grid board = GridOf("1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2");
    std::vector<double> waits;
    for (int run = 0; run < windows; ++run) {
        engine::PuzzleState state;
        TForm1 form(state);
        form.setHintTables(tables);
        form.show();
        play(form, state, board);
        QTest::keyClick(form.Button1, Qt::Key_H);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(form.Button1, Qt::Key_Left);
        waits.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (state.Board == board) std::printf("the arrow moved nothing\n");
    }
    std::printf("a move right after the first hint of a window, %d windows: median %.2f ms, longest %.2f ms\n",
                windows, Quantile(waits, 0.5), Quantile(waits, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    prepareGameApplication();
    const std::string tables = engine::TablesPathFor(PLITON_BUILD_DIR "/app");
    const int deals = argc > 1 ? std::atoi(argv[1]) : 300;
    const int parDeals = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int freshWindows = argc > 3 ? std::atoi(argv[3]) : 30;
    const std::string positions = argc > 4 ? argv[4] : PLITON_KORF100;

    std::vector<double> firstHints;
    int wrong = 0;
    for (const Position& position : ReadPositions(positions)) {
        engine::PuzzleState state;
        TForm1 form(state);
        form.setHintTables(tables);
        form.show();
        play(form, state, position.Board);
        const auto [ms, moves] = waitForHint(form);
        firstHints.push_back(ms);
        if (moves != position.Length) ++wrong;
        std::printf("position %3d  %2d moves  first hint %8.1f ms\n", position.Number, moves, ms);
    }
    if (!firstHints.empty()) {
        std::printf("benchmark positions: %zu, wrong lengths %d, median %.1f ms, slowest %.1f ms\n",
                    firstHints.size(), wrong, Quantile(firstHints, 0.5), Quantile(firstHints, 1.0));
    }

    SeededRandom random(20261207);
    engine::PuzzleState state;
    TForm1 form(state);
    form.setHintTables(tables);
    form.show();
    std::vector<double> waits;
    for (int deal = 0; deal < deals; ++deal) {
        engine::DealBoard(state);
        play(form, state, state.Board);
        waits.push_back(waitForHint(form).first);
    }
    if (!waits.empty()) {
        std::printf("random deals: %d, median %.1f ms, 90th percentile %.1f ms, 99th %.1f ms, slowest %.1f ms\n",
                    deals, Quantile(waits, 0.5), Quantile(waits, 0.9), Quantile(waits, 0.99), Quantile(waits, 1.0));
    }
    if (parDeals > 0) parCost(parDeals, tables);
    if (freshWindows > 0) moveWait(freshWindows, tables);
    return wrong == 0 ? 0 : 1;
}
