// How long a player waits for a hint: from the key H to the balloon with the moves left, in
// the real main window (offscreen unless another platform is chosen).
//
//   build-bench/bench/hint_latency [deals]
//
// First each of the 100 benchmark positions in a window of its own, so that every one is the
// first hint of its window and maps and checks the tables again, as the first hint of a run
// does; the moves the balloon shows are checked against the positions' known lengths. Then
// one window plays `deals` random deals (300 by default) and the median wait is reported.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "benchmark_positions.h"
#include "engine/deal.h"
#include "engine/solver.h"
#include "form_fixture.h"
#include "seeded_random.h"
#include "ui/main/hint_balloon.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    prepareGameApplication();
    const std::string tables = engine::TablesPathFor(PLITON_BUILD_DIR "/app");
    const int deals = argc > 1 ? std::atoi(argv[1]) : 300;

    std::vector<double> firstHints;
    int wrong = 0;
    for (const Position& position : ReadPositions(PLITON_KORF100)) {
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
    return wrong == 0 ? 0 : 1;
}
