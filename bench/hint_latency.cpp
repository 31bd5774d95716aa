// How long a player waits for a hint: from the key H to the line telling the moves left, in
// the real main window (offscreen unless another platform is chosen); what the par costs; and
// how long a move waits for the hint's search to stop while the tables are still loading.
//
//   build-bench/bench/hint_latency [deals] [par deals] [fresh windows] [positions file]
//
// First each of the 100 benchmark positions (or those of the positions file, in the same
// format, e.g. tests/data/hardest.txt) in a window of its own, so that every one is the
// first hint of its window and maps and checks the tables again, as the first hint of a run
// does; the moves the line tells are checked against the positions' known lengths. Then
// one window plays `deals` random deals (300 by default) and the median wait is reported.
//
// The par: `par deals` deals (1000 by default) won by play, each the wait from the winning
// slide's end (the slide run by its own timer, 135 ms) to the par on the line; once played
// without a hint, so that the par is sought at the win, and once following the hints from
// the start, so that the solver knows the deal by then.
//
// The move: `fresh windows` (30 by default) each start a game and take the key H, whose
// search then waits for the tables to load, and at once an arrow key, whose move ends that
// search; the time the arrow key takes is the move's wait.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/tables_path.h"
#include "benchmark_positions.h"
#include "engine/deal.h"
#include "form_fixture.h"
#include "seeded_random.h"
#include "solver/solver.h"
#include "ui/platform/game_application.h"

namespace {

// Presses H and waits for the line's answer; the milliseconds waited and the moves shown.
std::pair<double, int> waitForHint(TForm1& form) {
    const QString prefix = QStringLiteral("Осталось ходов: ");
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(form.Button1, Qt::Key_H);
    while (!hintText(form).startsWith(prefix)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6, hintText(form).mid(prefix.size()).toInt()};
}

// The window plays `board`, its clock stopped.
void play(TForm1& form, engine::PuzzleState& state, const engine::Grid& board) {
    playLayout(form, state, board);
    form.Timer3->stop();
}

// The waits for the par, in ms, for each of `deals` deals won by play in one
// window: from the winning slide's end (0 for a par that came before it) and from the
// winning click, which asks for the par: the player plays a shortest solution that the bench's own
// solver found; with `hinted`, the player asks for a hint at the start and follows it, so
// that the window's solver knows the deal by the win.
struct ParWaits {
    std::vector<double> afterSlide, afterClick;
};

ParWaits winToPar(int deals, const std::string& tables, bool hinted) {
    std::string why;
    const auto own = solver::PatternDatabases::Load(tables, &why);
    if (!own) {
        std::printf("no tables: %s\n", why.c_str());
        return {};
    }
    ParWaits waits;
    engine::PuzzleState state;
    SolverService solver(tables);
    TForm1 form(state, solver);
    form.show();
    QCoreApplication::processEvents();
    for (int deal = 0; deal < deals; ++deal) {
        form.Button1Click();
        form.Timer3->stop();
        std::uint8_t last = 0;  // the winning move's tile
        if (hinted) {
            // The first hint searches; each next one lies on its solution.
            for (int left = waitForHint(form).second; left > 1; --left) {
                form.Panel2Click(hintedTile(form));
                finishSlide(form);
                QTest::keyClick(form.Button1, Qt::Key_H);
            }
            last = static_cast<std::uint8_t>(hintedTile(form)->caption().toInt());
        } else {
            const std::atomic<bool> never{false};
            const std::vector<std::uint8_t> tiles = solver::Solve(state.Board, *own, never).Tiles;
            for (std::size_t move = 0; move + 1 < tiles.size(); ++move) {
                form.Panel2Click(form.panelShowing(tiles[move]));
                finishSlide(form);
            }
            last = tiles.back();
        }
        const auto parShown = [&form] { return !parText(form).isEmpty(); };
        QElapsedTimer clock;
        clock.start();
        form.Panel2Click(form.panelShowing(last));  // the win: the slide runs on its timer
        double shownAt = -1, slideEndAt = -1;
        while (shownAt < 0 || slideEndAt < 0) {
            if (shownAt < 0 && parShown()) shownAt = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (slideEndAt < 0 && !form.Timer1->isActive())
                slideEndAt = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (shownAt < 0 || slideEndAt < 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (!form.Label1->isVisible()) std::printf("deal %d not won\n", deal);
        waits.afterSlide.push_back(std::max(0.0, shownAt - slideEndAt));
        waits.afterClick.push_back(shownAt);
    }
    return waits;
}

void parLatency(int deals, const std::string& tables) {
    for (const bool hinted : {false, true}) {
        const ParWaits waits = winToPar(deals, tables, hinted);
        if (waits.afterSlide.empty()) return;
        const auto before = std::count(waits.afterSlide.begin(), waits.afterSlide.end(), 0.0);
        std::printf(
            "%d deals won by play %s; the par told after the winning slide's end: median %.1f ms, "
            "99th percentile %.1f ms, worst %.1f ms (%lld came before it); after the winning click: "
            "median %.1f ms, 99th percentile %.1f ms, worst %.1f ms\n",
            deals, hinted ? "following the hints from the start" : "without a hint", Quantile(waits.afterSlide, 0.5),
            Quantile(waits.afterSlide, 0.99), Quantile(waits.afterSlide, 1.0), static_cast<long long>(before),
            Quantile(waits.afterClick, 0.5), Quantile(waits.afterClick, 0.99), Quantile(waits.afterClick, 1.0));
    }
}

void moveWait(int windows, const std::string& tables) {
    // 45 moves from the goal; the arrow Left slides the 13 beside the blank.
    const engine::Grid board = GridOf("1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2");
    std::vector<double> waits;
    for (int run = 0; run < windows; ++run) {
        engine::PuzzleState state;
        SolverService solver(tables);
        TForm1 form(state, solver);
        form.show();
        play(form, state, board);
        QTest::keyClick(form.Button1, Qt::Key_H);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(form.Button1, Qt::Key_Left);
        waits.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (state.Board == board) std::printf("the arrow moved nothing\n");
    }
    std::printf("a move right after the first hint of a window, %d windows: median %.2f ms, longest %.2f ms\n", windows,
                Quantile(waits, 0.5), Quantile(waits, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    prepareGameApplication();
    const std::string tables = TablesPathFor(PLITON_BUILD_DIR "/app");
    const int deals = argc > 1 ? std::atoi(argv[1]) : 300;
    const int parDeals = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int freshWindows = argc > 3 ? std::atoi(argv[3]) : 30;
    const std::string positions = argc > 4 ? argv[4] : PLITON_KORF100;

    std::vector<double> firstHints;
    int wrong = 0;
    for (const Position& position : ReadPositions(positions)) {
        engine::PuzzleState state;
        SolverService solver(tables);
        TForm1 form(state, solver);
        form.show();
        play(form, state, position.Board);
        const auto [ms, moves] = waitForHint(form);
        firstHints.push_back(ms);
        if (moves != position.Length) ++wrong;
        std::printf("position %3d  %2d moves  first hint %8.1f ms\n", position.Number, moves, ms);
    }
    if (!firstHints.empty()) {
        std::printf("benchmark positions: %zu, wrong lengths %d, median %.1f ms, slowest %.1f ms\n", firstHints.size(),
                    wrong, Quantile(firstHints, 0.5), Quantile(firstHints, 1.0));
    }

    SeededRandom random(20261207);
    engine::PuzzleState state;
    SolverService solver(tables);
    TForm1 form(state, solver);
    form.show();
    std::vector<double> waits;
    for (int deal = 0; deal < deals; ++deal) {
        engine::DealBoard(state);
        play(form, state, state.Board);
        waits.push_back(waitForHint(form).first);
    }
    if (!waits.empty()) {
        std::printf("random deals: %d, median %.1f ms, 90th percentile %.1f ms, 99th %.1f ms, slowest %.1f ms\n", deals,
                    Quantile(waits, 0.5), Quantile(waits, 0.9), Quantile(waits, 0.99), Quantile(waits, 1.0));
    }
    if (parDeals > 0) parLatency(parDeals, tables);
    if (freshWindows > 0) moveWait(freshWindows, tables);
    return wrong == 0 ? 0 : 1;
}
