// The par: at a win by play, a balloon beside the move counter tells the fewest moves the
// game's starting position needed, found off the GUI thread when the game started.
#include <QAccessible>
#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "form_fixture.h"
#include "ui/main/par.h"
#include "ui/main/shared_tables.h"

namespace {

// Six moves from the goal, each tile of the solution one cell from its own: no shorter way.
const engine::Grid kSixMovesOut = GridOf("0 2 3 4 / 1 6 7 8 / 5 10 11 12 / 9 13 14 15");
const std::vector<int> kSixMoves = {1, 5, 9, 13, 14, 15};

std::string tablesPath() { return engine::TablesPathFor(PLITON_TEST_PROGRAM_DIR); }

// The par stays as it is for longer than a search of a few moves takes.
bool parStays(const TForm1& form, const QString& text) {
    return !QTest::qWaitFor([&] { return parText(form) != text; }, 300);
}

void play(TForm1& form, const std::vector<int>& tiles) {
    for (int tile : tiles) {
        QTest::mouseClick(panelShowing(form, tile), Qt::LeftButton);
        finishSlide(form);
    }
}

// A search that the test ends: it answers `length` moves once released, and counts the
// searches under way, the most at once and those cancelled.
struct HeldSearch {
    int length = 6;
    std::atomic<bool> released{false};
    std::atomic<int> running{0}, most{0}, cancelled{0};

    HintSolver solver() {
        return [this](const engine::Grid&, const engine::PatternDatabases&, const std::atomic<bool>& cancel,
                      std::atomic<int>*) {
            const int now = ++running;
            for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            while (!released.load() && !cancel.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            --running;
            if (!released.load()) {
                ++cancelled;
                return engine::Solution{};
            }
            const auto moves = std::vector<std::uint8_t>(static_cast<std::size_t>(length));
            return engine::Solution{engine::SolveOutcome::Solved, moves, 0};
        };
    }
};

}  // namespace

class TestPar : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void theTextCountsTheMoves() {
        const struct {
            int length, moves;
            const char* said;
        } rows[] = {
            {1, 1, "1 ход\nВы нашли его!"},     {2, 2, "2 хода\nВы нашли его!"},
            {4, 6, "4 хода"},                   {5, 5, "5 ходов\nВы нашли его!"},
            {11, 13, "11 ходов"},               {12, 12, "12 ходов\nВы нашли его!"},
            {14, 16, "14 ходов"},               {21, 21, "21 ход\nВы нашли его!"},
            {22, 30, "22 хода"},                {45, 45, "45 ходов\nВы нашли его!"},
            {52, 99, "52 хода"},                {61, 61, "61 ход\nВы нашли его!"},
            {80, 80, "80 ходов\nВы нашли его!"}, {80, 81, "80 ходов"},
        };
        for (const auto& row : rows) {
            QCOMPARE(Par::text(row.length, row.moves), kParShortest + QString::fromUtf8(row.said));
        }
    }

    void onlyAWinByPlayTellsThePar() {
        const struct {
            const char* name;
            bool tables;
            std::function<void(TForm1&, engine::PuzzleState&)> win;
            QString par;  // empty: no balloon
        } ways[] = {
            {"the shortest way", true, [](TForm1& form, engine::PuzzleState&) { play(form, kSixMoves); },
             kParShortest + QStringLiteral("6 ходов\n") + kParFound},
            {"a longer way", true,
             [](TForm1& form, engine::PuzzleState&) { play(form, {1, 1, 1, 5, 9, 13, 14, 15}); },
             kParShortest + QStringLiteral("6 ходов")},
            {"the shortcut", true,
             [](TForm1& form, engine::PuzzleState&) {
                 QTRY_VERIFY(!form.findChild<Par*>()->searching());  // the par is known
                 form.FormDblClick();
                 form.Panel1DblClick();
                 play(form, {15});
             },
             QString()},
            {"a solved arrangement", true,
             [](TForm1& form, engine::PuzzleState& state) { playLayout(form, state, kOrdered); }, QString()},
            {"no tables", false, [](TForm1& form, engine::PuzzleState&) { play(form, kSixMoves); }, QString()},
        };
        for (const auto& way : ways) {
            engine::PuzzleState state;
            TForm1 form(state);
            form.setHintTables(way.tables ? tablesPath() : std::string("no such tables"));
            form.show();
            playLayout(form, state, kSixMovesOut);
            way.win(form, state);
            QVERIFY2(form.Label1->isVisible(), way.name);
            if (way.par.isEmpty()) {
                QVERIFY2(parStays(form, QString()), way.name);
                continue;
            }
            QTRY_COMPARE_WITH_TIMEOUT(parText(form), way.par, 2000);
            QVERIFY2(parStays(form, way.par), way.name);
            // It covers no tile, takes no click, and a screen reader hears what it says.
            const HintBalloon* balloon = form.parBalloon();
            // Nor the clock, the counter or the win's label.
            const QWidget* const spared[] = {form.Panel1, form.Bevel1, form.Bevel2, form.Label1};
            for (const QWidget* other : spared) QVERIFY2(!balloon->geometry().intersects(other->geometry()), way.name);
            QVERIFY(balloon->testAttribute(Qt::WA_TransparentForMouseEvents));
            QCOMPARE(QAccessible::queryAccessibleInterface(form.parBalloon())->text(QAccessible::Name), way.par);
            // The victory display is the same, and the next game takes the balloon away.
            QCOMPARE(form.Label1->text(), kWon);
            form.Button1Click();
            QCOMPARE(parText(form), QString());
        }
    }

    void aNewGameEndsTheSearchOfTheLast() {
        engine::PuzzleState state;
        TForm1 form(state);
        HeldSearch search;
        form.findChild<Par*>()->setTables(std::make_shared<SharedTables>(tablesPath()), search.solver());
        form.show();

        // Won before the par is known: the balloon comes when it is.
        playLayout(form, state, kSixMovesOut);
        play(form, kSixMoves);
        QVERIFY(parStays(form, QString()));
        search.released = true;
        QTRY_COMPARE(parText(form), kParShortest + QStringLiteral("6 ходов\n") + kParFound);

        // A new game ends a search under way, at once, and only one runs at a time.
        search.released = false;
        form.Button1Click();
        QTRY_COMPARE(search.running.load(), 1);
        QElapsedTimer clock;
        clock.start();
        form.Button1Click();
        QVERIFY2(clock.elapsed() < kPromptStopMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(search.cancelled.load(), 1);
        QTRY_COMPARE(search.running.load(), 1);

        // A board changed between the win and the par: no balloon.
        playLayout(form, state, kSixMovesOut);
        play(form, kSixMoves);
        form.N126Click();
        search.released = true;
        QVERIFY(parStays(form, QString()));
        QCOMPARE(search.most.load(), 1);
    }
};

QTEST_MAIN(TestPar)
#include "test_par.moc"
