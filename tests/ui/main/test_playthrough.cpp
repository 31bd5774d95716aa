// A long random game: clicks, slide ticks, commands, the cheat and wins in random order.
// After every step the panels mirror Board whenever the board is playable and nothing
// slides, every move is counted once, and a won board takes no moves.
#include <QLabel>
#include <QtTest>

#include <random>

#include "form_fixture.h"
#include "game_model.h"
#include "scripted_random.h"

class TestPlaythrough : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void randomPlayKeepsThePanelsInStep() {
        BoxRecorder recorder;
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        ScriptedRandom gameRandom([generator = std::mt19937(11)](int, int n) mutable {
            return std::uniform_int_distribution<int>(0, n - 1)(generator);
        });
        std::mt19937 player(5);
        auto below = [&player](int n) { return std::uniform_int_distribution<int>(0, n - 1)(player); };

        // A tile next to the blank, by its value.
        auto neighbourOfBlank = [&state, &below]() {
            const std::vector<int> values = model::besideBlank(state.Board);
            return values[below(static_cast<int>(values.size()))];
        };

        form.Button1Click();
        int wins = 0, moves = 0;
        for (int step = 0; step < 6000; ++step) {
            const engine::Grid before = state.Board;
            const int counterBefore = form.Label5->text().toInt();
            const bool celebrating = form.Timer2->isActive();
            const int roll = below(100);
            bool clicked = false;
            if (roll < 60) {
                QTest::mouseClick(panelShowing(form, neighbourOfBlank()), Qt::LeftButton);
                clicked = true;
            } else if (roll < 75) {
                QTest::mouseClick(form.TilePanel(below(15) + 1), Qt::LeftButton);
                clicked = true;
            } else if (roll < 88) {
                for (int tick = below(9); tick >= 0 && form.Timer1->isActive(); --tick) form.Timer1Timer();
            } else if (roll < 92) {
                form.Button1Click();
            } else if (roll < 94) {
                doubleClickOn(form.clientArea(), QPoint(5, 5));
                QTest::mouseDClick(form.Panel1, Qt::LeftButton, {}, QPoint(1, 1));
            } else if (roll < 95) {
                form.perebor();
            } else if (roll < 96) {
                form.N126Click();
            } else if (roll < 98) {
                if (form.Timer2->isActive()) form.Timer2Timer();
            } else {
                if (form.Timer3->isActive()) form.Timer3Timer();
            }
            // Time passes: a slide's first tick comes long before a person's next click,
            // and a slide is sometimes still under way at the next step.
            for (int tick = form.slideTick() == 1 ? below(9) : below(3); tick >= 0 && form.Timer1->isActive(); --tick)
                form.Timer1Timer();

            if (clicked) {
                const bool moved = state.Board != before;
                if (celebrating) QVERIFY2(!moved, "a won board took a move");
                if (moved) ++moves;
                QCOMPARE(form.Label5->text().toInt(), counterBefore + (moved ? 1 : 0));
                if (!celebrating && form.Timer2->isActive()) ++wins;
            }
            if (form.Panel1->isEnabled() && !form.Timer1->isActive()) {
                const QString mismatch = mirrorMismatch(form, state.Board);
                QVERIFY2(mismatch.isEmpty(), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(mismatch)));
            }
        }
        QVERIFY(recorder.boxes.empty());
        QVERIFY(moves > 1000);
        QVERIFY(wins > 0);
    }
};

QTEST_MAIN(TestPlaythrough)
#include "test_playthrough.moc"
