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
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/deal.h"
#include "engine/random_source.h"
#include "engine/solver.h"
#include "ui/main/hint_balloon.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/game_application.h"

namespace {

struct Position {
    int number = 0;
    int length = 0;
    engine::Grid board;
};

std::vector<Position> benchmarkPositions() {
    QFile file(QStringLiteral(PLITON_KORF100));
    std::vector<Position> positions;
    if (!file.open(QIODevice::ReadOnly)) return positions;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        Position position{fields[0].toInt(), fields[1].toInt(), {}};
        for (int cell = 1; cell <= engine::kCells; ++cell) {
            position.board.at(cell) = static_cast<std::uint8_t>(fields[cell + 1].toInt());
        }
        positions.push_back(position);
    }
    return positions;
}

// A seeded source, so that every run plays the same deals.
class SeededSource final : public engine::RandomSource {
public:
    int Below(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(generator_); }
    void Seed() override {}

private:
    std::mt19937 generator_{20261207};
};

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
    return {clock.nsecsElapsed() / 1e6, balloon->text().mid(prefix.size()).toInt()};
}

void playLayout(TForm1& form, engine::PuzzleState& state, const engine::Grid& board) {
    state.Board = board;
    form.zadat_rasstanovku();
    form.Timer3->stop();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    platform::installFontSubstitutes();
    const std::string tables = engine::TablesPathFor(PLITON_BUILD_DIR "/app");
    const int deals = argc > 1 ? std::atoi(argv[1]) : 300;

    const std::vector<Position> positions = benchmarkPositions();
    std::vector<double> firstHints;
    int wrong = 0;
    for (const Position& position : positions) {
        engine::PuzzleState state;
        TForm1 form(state);
        form.setHintTables(tables);
        form.show();
        playLayout(form, state, position.board);
        const auto [ms, moves] = waitForHint(form);
        firstHints.push_back(ms);
        if (moves != position.length) ++wrong;
        std::printf("position %3d  %2d moves  first hint %8.1f ms\n", position.number, moves, ms);
    }
    if (!firstHints.empty()) {
        std::printf("benchmark positions: %zu, wrong lengths %d, median %.1f ms, slowest %.1f ms\n",
                    firstHints.size(), wrong, median(firstHints),
                    *std::max_element(firstHints.begin(), firstHints.end()));
    }

    SeededSource source;
    engine::ScopedRandomSource seeded(source);
    engine::PuzzleState state;
    TForm1 form(state);
    form.setHintTables(tables);
    form.show();
    std::vector<double> waits;
    for (int deal = 0; deal < deals; ++deal) {
        engine::DealBoard(state);
        playLayout(form, state, state.Board);
        waits.push_back(waitForHint(form).first);
    }
    if (!waits.empty()) {
        std::sort(waits.begin(), waits.end());
        const auto percentile = [&](int p) { return waits[waits.size() * p / 100]; };
        std::printf("random deals: %d, median %.1f ms, 90th percentile %.1f ms, 99th %.1f ms, slowest %.1f ms\n",
                    deals, median(waits), percentile(90), percentile(99), waits.back());
    }
    return wrong == 0 ? 0 : 1;
}
