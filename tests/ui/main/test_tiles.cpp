// The tile panels: mirroring Board, clicks and arrow keys that move a tile and those that
// do not, and the nine-tick slide during which the board takes no clicks.
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <map>

#include "form_fixture.h"

namespace {

// The blank on cell 6, (2,2), with four neighbours.
const engine::Grid kBlankOnSix = GridOf("1 2 3 4 / 5 0 7 8 / 9 10 11 12 / 13 14 6 15");

}  // namespace

class TestTiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void showBoardMirrorsBoard_data() {
        QTest::addColumn<engine::Grid>("layout");
        QTest::addColumn<int>("blankCell");
        QTest::newRow("blank in the corner") << GridOf("5 1 2 3 / 4 6 7 8 / 9 10 11 12 / 13 14 15 0") << 16;
        QTest::newRow("blank on cell 6") << kBlankOnSix << 6;
        QTest::newRow("blank on cell 1") << GridOf("0 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 1") << 1;
    }

    void showBoardMirrorsBoard() {
        QFETCH(engine::Grid, layout);
        QFETCH(int, blankCell);
        engine::PuzzleState state;
        TForm1 form(state);
        state.Board = layout;
        form.ShowBoard();
        QCOMPARE(mirrorMismatch(form, layout), QString());
        for (int k = 1; k <= 15; ++k) {
            const QPoint expected = design::cellOrigin(k == blankCell ? 16 : k);
            QCOMPARE(form.TilePanel(k)->pos(), expected);
        }
        if (blankCell != 16) QCOMPARE(form.TilePanel(blankCell)->caption(), QString::number(layout.at(16)));
    }

    void clickSlidesTheTileOneCell_data() {
        QTest::addColumn<int>("tile");
        QTest::addColumn<QPoint>("travel");
        QTest::addColumn<int>("arrow");  // the key that plays the tile; 0: it is clicked
        // Each neighbour of the blank, clicked or played by an arrow key while the button has
        // the focus.
        QTest::newRow("above slides down") << 2 << QPoint(0, 90) << 0;
        QTest::newRow("below slides up") << 10 << QPoint(0, -90) << 0;
        QTest::newRow("right slides left") << 7 << QPoint(-90, 0) << 0;
        QTest::newRow("left slides right") << 5 << QPoint(90, 0) << 0;
        QTest::newRow("Down") << 2 << QPoint(0, 90) << int(Qt::Key_Down);
        QTest::newRow("Up") << 10 << QPoint(0, -90) << int(Qt::Key_Up);
        QTest::newRow("Left") << 7 << QPoint(-90, 0) << int(Qt::Key_Left);
        QTest::newRow("Right") << 5 << QPoint(90, 0) << int(Qt::Key_Right);
    }

    void clickSlidesTheTileOneCell() {
        QFETCH(int, tile);
        QFETCH(QPoint, travel);
        QFETCH(int, arrow);
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        playLayout(form, state, kBlankOnSix);
        CaptionPanel* panel = panelShowing(form, tile);
        const QPoint start = panel->pos();
        // The opposite arrow would play the tile straight back, were the board not locked.
        const std::map<int, Qt::Key> opposite = {{Qt::Key_Down, Qt::Key_Up}, {Qt::Key_Up, Qt::Key_Down},
                                                 {Qt::Key_Left, Qt::Key_Right}, {Qt::Key_Right, Qt::Key_Left}};

        if (arrow) {
            QTest::keyClick(form.Button1, Qt::Key(arrow));
        } else {
            QTest::mouseClick(panel, Qt::LeftButton);
        }
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(form.Label5->text(), QStringLiteral("00001"));
        QCOMPARE(state.Board.at(6), tile);

        for (int tick = 1; tick <= 9; ++tick) {
            form.Timer1Timer();
            QCOMPARE(panel->pos(), start + travel * tick / 9);
            if (tick < 9) {
                QVERIFY(!form.Panel1->isEnabled());
                // Any tile clicked meanwhile does nothing.
                QTest::mouseClick(panelShowing(form, 7), Qt::LeftButton);
                QTest::mouseClick(panel, Qt::LeftButton);
            }
            // A key pressed meanwhile is kept for the slide's end: the opposite arrow then
            // plays the tile straight back.
            if (arrow && tick == 4) QTest::keyClick(form.Button1, opposite.at(arrow));
        }
        if (arrow) {
            QVERIFY(form.Timer1->isActive());
            for (int tick = 1; tick <= 9; ++tick) form.Timer1Timer();
            QCOMPARE(panel->pos(), start);
        }
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(form.Panel1->isEnabled());
        QCOMPARE(form.Label5->text(), arrow ? QStringLiteral("00002") : QStringLiteral("00001"));
        QCOMPARE(mirrorMismatch(form, state.Board), QString());
    }

    void arrowsPlayOnlyATileBesideTheBlankInAGame() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        // Before a game nothing plays.
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) QTest::keyClick(&form, key);
        QCOMPARE(form.Label5->text(), QStringLiteral("00000"));
        QVERIFY(!form.Timer1->isActive());

        // From the corner nothing can travel left or up; Ctrl+Down is not Down.
        form.perebor();
        QTest::keyClick(form.Button1, Qt::Key_Left);
        QTest::keyClick(form.Button1, Qt::Key_Up);
        QTest::keyClick(form.Button1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(state.Board, kOrdered);
        QTest::keyClick(&form, Qt::Key_Down);
        QCOMPARE(state.Board(4, 4), 12);
        // The keypad's arrows play too.
        finishSlide(form);
        QTest::keyClick(&form, Qt::Key_Right, Qt::KeypadModifier);
        QCOMPARE(state.Board(3, 4), 11);
        QCOMPARE(form.Label5->text(), QStringLiteral("00002"));

        // Space still presses the focused button: a new game.
        finishSlide(form);
        form.N126Click();
        form.Button1->setFocus();
        QTest::keyClick(form.Button1, Qt::Key_Space);
        QCOMPARE(form.Button1->text(), QStringLiteral("Начать заново"));
        QVERIFY(form.Panel1->isEnabled() && form.Timer3->isActive());
    }

    void assistiveToolsHearWhatThePlayerSees() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        playLayout(form, state, kBlankOnSix);
        const auto heard = [](QObject* object, QAccessible::Text text = QAccessible::Name) {
            return QAccessible::queryAccessibleInterface(object)->text(text);
        };
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(form.Panel1);
        QCOMPARE(board->childCount(), 16);
        QAccessibleInterface* bareCell = board->child(15);
        QCOMPARE(bareCell->text(QAccessible::Name), QStringLiteral("Пустая клетка"));
        QCOMPARE(bareCell->text(QAccessible::Description), QStringLiteral("ряд 2, столбец 2"));
        QCOMPARE(bareCell->rect(), QRect(form.Panel1->mapToGlobal(QPoint(92, 92)), QSize(90, 90)));
        CaptionPanel* seven = panelShowing(form, 7);
        QCOMPARE(heard(seven), QStringLiteral("7"));
        QCOMPARE(heard(seven, QAccessible::Description), QStringLiteral("ряд 2, столбец 3"));
        QCOMPARE(heard(form.TilePanel(6)), QStringLiteral("15"));  // the panel standing in on cell 16
        QCOMPARE(heard(form.Label3), QStringLiteral("Время игры: 00:00:00"));
        QCOMPARE(heard(form.Label5), QStringLiteral("Сделано ходов: 00000"));
        QCOMPARE(heard(form.Button1), QStringLiteral("Начать заново"));
        QVERIFY(QAccessible::queryAccessibleInterface(form.Label1)->state().invisible);

        // A screen reader presses the tile: the same move as a click. Everything says so. A
        // press on 8 while 7 slides plays nothing: the board is locked.
        const auto press = [](QObject* tile) {
            QAccessible::queryAccessibleInterface(tile)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        };
        press(seven);
        press(panelShowing(form, 8));
        finishSlide(form);
        form.Timer3Timer();
        QCOMPARE(heard(seven, QAccessible::Description), QStringLiteral("ряд 2, столбец 2"));
        QCOMPARE(bareCell->text(QAccessible::Description), QStringLiteral("ряд 2, столбец 3"));
        QCOMPARE(bareCell->rect(), QRect(form.Panel1->mapToGlobal(QPoint(182, 92)), QSize(90, 90)));
        QCOMPARE(heard(form.Label5), QStringLiteral("Сделано ходов: 00001"));
        QCOMPARE(heard(form.Label3), QStringLiteral("Время игры: 00:00:01"));

        // The win: the board locks, the win text shows.
        playLayout(form, state, kNearSolved);
        QTest::mouseClick(form.TilePanel(15), Qt::LeftButton);
        QVERIFY(!QAccessible::queryAccessibleInterface(form.Label1)->state().invisible);
        QCOMPARE(heard(form.Label1), QStringLiteral("Вы выиграли!!!"));
        QVERIFY(QAccessible::queryAccessibleInterface(form.TilePanel(1))->state().disabled);
    }

    void aSecondClickBeforeTheFirstTickIsIgnored() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        playLayout(form, state, kBlankOnSix);
        CaptionPanel* first = panelShowing(form, 7);
        QTest::mouseClick(first, Qt::LeftButton);
        // Tile 8 is now next to the blank that 7 left; its click must not start a slide.
        QTest::mouseClick(panelShowing(form, 8), Qt::LeftButton);
        QCOMPARE(form.Label5->text(), QStringLiteral("00001"));
        QCOMPARE(form.slidingPanel(), first);
        finishSlide(form);
        QVERIFY(form.Panel1->isEnabled());
        QCOMPARE(mirrorMismatch(form, state.Board), QString());
    }

    void clicksThatMoveNothing() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        playLayout(form, state, kBlankOnSix);
        for (int tile : {1, 11, 8, 14}) {  // diagonal, diagonal, two cells away, far away
            form.CheatArmed = true;
            QTest::mouseClick(panelShowing(form, tile), Qt::LeftButton);
            QVERIFY(!form.CheatArmed);
        }
        QCOMPARE(state.Board, kBlankOnSix);
        QVERIFY(!form.Timer1->isActive());
        QCOMPARE(form.Label5->text(), kCounterZero);
        QCOMPARE(mirrorMismatch(form, kBlankOnSix), QString());
    }

    void aClickOnAnOrderedBoardFindsItSolved() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.perebor();
        QVERIFY(form.Panel1->isEnabled());
        QTest::mouseClick(form.TilePanel(1), Qt::LeftButton);
        QCOMPARE(state.Board, kOrdered);
        QVERIFY(form.Timer2->isActive());
        QVERIFY(!form.Label1->isHidden());
        QVERIFY(!form.Panel1->isEnabled());
    }

    void aDoubleClickIsOneClick() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        form.perebor();
        // What the window system delivers: press, release, double click, release. The first
        // press moves the tile and locks the board, so the second falls through to the
        // window's surface; a double click that began on a tile still arms nothing.
        CaptionPanel* tile12 = form.TilePanel(12);
        doubleClickOn(tile12, QPoint(45, 45));
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, tile12->mapTo(&form, QPoint(45, 45)));
        QCOMPARE(form.Label5->text(), QStringLiteral("00001"));
        QCOMPARE(state.Board(4, 4), 12);
        QVERIFY(!form.CheatArmed);

        // Both presses on the locked board fall on the surface: that double click arms.
        QVERIFY(!form.Panel1->isEnabled());
        doubleClickOn(tile12, QPoint(45, 45));
        QVERIFY(form.CheatArmed);
    }

    void aWinningSlideLeavesTheBoardLocked() {
        engine::PuzzleState state;
        TForm1 form(state);
        form.show();
        playLayout(form, state, kNearSolved);
        QTest::mouseClick(form.TilePanel(15), Qt::LeftButton);
        QVERIFY(form.Timer2->isActive());
        finishSlide(form);
        QVERIFY(!form.Panel1->isEnabled());

        // Before the celebration's first tick, a tile next to the blank stays put.
        QTest::mouseClick(panelShowing(form, 12), Qt::LeftButton);
        QCOMPARE(state.Board, kOrdered);
        QCOMPARE(form.Label5->text(), QStringLiteral("00001"));
        QCOMPARE(mirrorMismatch(form, kOrdered), QString());
    }
};

QTEST_MAIN(TestTiles)
#include "test_tiles.moc"
