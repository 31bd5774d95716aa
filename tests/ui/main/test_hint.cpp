// The hint: the next tile of a shortest solution in red and the moves left in a balloon,
// found off the GUI thread, dropped by any change of the board, and followed to the win.
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "engine/solver.h"
#include "form_fixture.h"
#include "ui/main/hint_balloon.h"

#if defined(__SANITIZE_THREAD__)
#define PLITON_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PLITON_UNDER_TSAN 1
#endif
#endif

namespace {

// How soon a search must stop once cancelled. ThreadSanitizer slows the search, and its
// checks for the cancel with it, several times over.
#ifdef PLITON_UNDER_TSAN
constexpr qint64 kPromptStopMs = 2000;
#else
constexpr qint64 kPromptStopMs = 250;
#endif

// 45 moves from the goal.
const engine::Grid kFortyFive = GridOf("1 3 5 6 / 0 13 14 9 / 11 4 8 12 / 10 7 15 2");

const QColor kRed(255, 0, 0);
const QColor kNavy(0, 0, 128);
constexpr int kKeyCyrillicEr = 0x0420;

QString balloonText(const TForm1& form) {
    const HintBalloon* balloon = form.hintBalloon();
    return balloon && balloon->isVisible() ? balloon->text() : QString();
}

// A game on `layout` with the hint's tables; the clock stopped, so that it stands still.
void playWithHints(TForm1& form, engine::PuzzleState& state, const engine::Grid& layout) {
    form.setHintTables(engine::TablesPathFor(PLITON_TEST_PROGRAM_DIR));
    form.show();
    playLayout(form, state, layout);
    form.Timer3->stop();
    form.Button1->setFocus();
}

}  // namespace

class TestHint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void hintsFollowedToTheWinCountDownOneByOne() {
        engine::PuzzleState state;
        TForm1 form(state);
        playWithHints(form, state, kFortyFive);

        for (int left = 45; left > 0; --left) {
            const QString counter = form.Label5->text();
            const engine::Grid board = state.Board;
            if (left % 2) {
                QTest::keyClick(form.Button1, Qt::Key_H);
            } else {  // the same key on a Russian layout
                QTest::sendKeyEvent(QTest::Click, form.Button1, Qt::Key(kKeyCyrillicEr), QStringLiteral("р"), {});
            }
            QTRY_COMPARE(balloonText(form), QStringLiteral("Осталось ходов: %1").arg(left));
            CaptionPanel* tile = form.hintedTile();
            QVERIFY(tile);
            QCOMPARE(tile->fontColor(), kRed);
            // The hint itself moves nothing and counts nothing.
            QCOMPARE(state.Board, board);
            QCOMPARE(form.Label5->text(), counter);
            QCOMPARE(form.Label3->text(), QStringLiteral("00:00:00"));

            QTest::mouseClick(tile, Qt::LeftButton);
            QCOMPARE(balloonText(form), QString());
            QVERIFY(!form.hintedTile());
            QCOMPARE(tile->fontColor(), kNavy);
            finishSlide(form);
        }
        QVERIFY(form.Label1->isVisible());
        QCOMPARE(form.Label5->text(), QStringLiteral("00045"));

        // The game is won: no more hints.
        QTest::keyClick(form.Button1, Qt::Key_H);
        QCOMPARE(balloonText(form), QString());
    }

    void aMoveDropsTheSearchUnderWay() {
        engine::PuzzleState state;
        TForm1 form(state);
        playWithHints(form, state, kEightyMovesOut);
        QTest::keyClick(form.Button1, Qt::Key_H);
        // Still searching after a while: the balloon says that the hint is coming, and the
        // window goes on meanwhile.
        QTRY_COMPARE(balloonText(form), QStringLiteral("Подсказка готовится…"));
        QTest::keyClick(form.Button1, Qt::Key_H);  // asked again: the search goes on
        QCOMPARE(balloonText(form), QStringLiteral("Подсказка готовится…"));

        QElapsedTimer cancelling;
        cancelling.start();
        QTest::keyClick(form.Button1, Qt::Key_Up);  // the tile below the blank
        const qint64 stoppedAfterMs = cancelling.elapsed();
        QVERIFY2(stoppedAfterMs < kPromptStopMs,
                 qPrintable(QStringLiteral("the search stopped only after %1 ms").arg(stoppedAfterMs)));
        QCOMPARE(state.Board.at(1), 15);
        QCOMPARE(balloonText(form), QString());
        finishSlide(form);
        QVERIFY(!QTest::qWaitFor([&] { return !balloonText(form).isEmpty() || form.hintedTile(); }, 300));
    }

    void aHintWithoutATileToShow() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.setHintTables(engine::TablesPathFor(PLITON_TEST_PROGRAM_DIR));
        form.show();
        // Before a game the key does nothing and the menu's item is disabled.
        QTest::keyClick(&form, Qt::Key_H);
        QCOMPARE(balloonText(form), QString());
        form.ClientAreaContextMenu(QPoint(5, 5));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QAction* item = menu->actions().constFirst();
        QCOMPARE(item->text(), QStringLiteral("Подсказка"));
        QVERIFY(!item->isEnabled());
        menu->close();

        // An odd arrangement: no tile can be pointed at. The menu's item asks this time.
        playLayout(form, state, kSwapped);
        form.ClientAreaContextMenu(QPoint(5, 5));
        QVERIFY(item->isEnabled());
        item->trigger();
        QCOMPARE(balloonText(form), QStringLiteral("Этот расклад не собирается"));
        QVERIFY(!form.hintedTile());

        // Tables that cannot be read give a plain word, never a wrong answer.
        form.setHintTables("no such tables");
        playLayout(form, state, kFortyFive);
        QTest::keyClick(&form, Qt::Key_H);
        QTRY_COMPARE(balloonText(form), QStringLiteral("Подсказка недоступна"));
        QVERIFY(!form.hintedTile());
    }
};

QTEST_MAIN(TestHint)
#include "test_hint.moc"
