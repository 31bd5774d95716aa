// The main window at play, each test on a fresh window: the tile panels mirroring Board,
// clicks and arrow keys and the nine-tick slide that locks the board; the commands, the
// clock and the move counter with its remarks and limit, the cheat and the arrangement
// dialog; and the celebration of a win, its draws, and the commands that end it. Which
// tiles may move, and when a board is solved, are the engine's rules, tested there.
#include <QAccessible>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <tuple>

#include "form_fixture.h"
#include "scripted_random.h"
#include "ui/dialogs/tform3.h"
#include "ui/dialogs/tform4.h"
#include "ui/features/locked_board_cue.h"
#include "ui/widgets/font_points.h"

namespace {

// The blank on cell 6, (2,2), with four neighbours.
const engine::Grid kBlankOnSix = GridOf("1 2 3 4 / 5 0 7 8 / 9 10 11 12 / 13 14 6 15");
// With the blank in the corner, tile 12 slides down without solving anything.
const engine::Grid kPlayable = kSwapped;

// Stands in for the arrangement dialog: runs `onOpen` where the real dialog would wait
// for the player, then closes.
class ArrangementDialogStub : public QDialog {
public:
    std::function<void()> onOpen;
    int exec() override {
        if (onOpen) onOpen();
        return QDialog::Rejected;
    }
};

// Counts the close events a window is sent: the main window's close ends the program.
struct CloseWatch : QObject {
    int closes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        closes += event->type() == QEvent::Close;
        return false;
    }
};

// What a forced reset leaves: the ordered board in play but not running, nothing sliding
// or celebrating, counter and clock at zero.
void verifyForcedReset(const TForm1& form, const engine::PuzzleState& state) {
    QCOMPARE(form.Label5->text(), kCounterZero);
    QCOMPARE(form.Label3->text(), kClockZero);
    QCOMPARE(state.Board, kOrdered);
    QCOMPARE(mirrorMismatch(form, kOrdered), QString());
    QVERIFY(form.Panel1->isEnabled() && form.Label1->isHidden());
    QVERIFY(!form.Timer1->isActive() && !form.Timer2->isActive() && !form.Timer3->isActive());
    QCOMPARE(form.Button1->text(), kCaptionRestart);
}

}  // namespace

class TestGame : public QObject, WindowUnderTest {
    Q_OBJECT

    // Wins the game with one move from the near-solved layout.
    void winByOneMove() {
        playLayout(*form, state, kNearSolved);
        form->Panel2Click(form->TilePanel(15));
    }

private slots:
    void initTestCase() { prepareGameApplication(); }
    void init() { makeWindow(); }
    void cleanup() { form.reset(); }

    // The tiles.

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
        state.Board = layout;
        form->ShowBoard();
        QCOMPARE(mirrorMismatch(*form, layout), QString());
        for (int k = 1; k <= 15; ++k) QCOMPARE(form->TilePanel(k)->pos(), design::cellOrigin(k == blankCell ? 16 : k));
        if (blankCell != 16) QCOMPARE(form->TilePanel(blankCell)->caption(), QString::number(layout.at(16)));
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
        form->show();
        playLayout(*form, state, kBlankOnSix);
        CaptionPanel* panel = panelShowing(*form, tile);
        const QPoint start = panel->pos();
        // The opposite arrow would play the tile straight back, were the board not locked.
        const std::map<int, Qt::Key> opposite = {{Qt::Key_Down, Qt::Key_Up},
                                                 {Qt::Key_Up, Qt::Key_Down},
                                                 {Qt::Key_Left, Qt::Key_Right},
                                                 {Qt::Key_Right, Qt::Key_Left}};

        if (arrow) {
            QTest::keyClick(form->Button1, Qt::Key(arrow));
        } else {
            QTest::mouseClick(panel, Qt::LeftButton);
        }
        QVERIFY(form->Timer1->isActive());
        QCOMPARE(form->SlidingPanel, panel);
        QCOMPARE(form->Label5->text(), QStringLiteral("00001"));
        QCOMPARE(state.Board.at(6), tile);

        for (int tick = 1; tick <= 9; ++tick) {
            // Any tile clicked meanwhile, from before the first tick on, does nothing: the
            // sliding tile is next to the blank it left.
            QVERIFY(!form->Panel1->isEnabled());
            QTest::mouseClick(panelShowing(*form, 7), Qt::LeftButton);
            QTest::mouseClick(panel, Qt::LeftButton);
            form->Timer1Timer();
            QCOMPARE(panel->pos(), start + travel * tick / 9);
            // Keys pressed meanwhile are kept for the slide's end, four at most: of five that
            // take turns, the opposite arrow first, four play the tile back and forth.
            for (int key = 0; arrow && tick == 4 && key < 5; ++key) {
                QTest::keyClick(form->Button1, key % 2 ? Qt::Key(arrow) : opposite.at(arrow));
            }
        }
        for (int tick = 1; arrow && tick <= 4 * 9; ++tick) {
            QVERIFY(form->Timer1->isActive());
            form->Timer1Timer();
        }
        QVERIFY(!form->Timer1->isActive());
        QVERIFY(form->Panel1->isEnabled());
        QCOMPARE(panel->pos(), start + travel);
        QCOMPARE(form->Label5->text(), arrow ? QStringLiteral("00005") : QStringLiteral("00001"));
        QCOMPARE(mirrorMismatch(*form, state.Board), QString());
    }

    void arrowsPlayOnlyATileBesideTheBlankInAGame() {
        form->show();
        // From the corner nothing can travel left or up; Ctrl+Down is not Down.
        form->perebor();
        QTest::keyClick(form->Button1, Qt::Key_Left);
        QTest::keyClick(form->Button1, Qt::Key_Up);
        QTest::keyClick(form->Button1, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(state.Board, kOrdered);
        QTest::keyClick(form.get(), Qt::Key_Down);
        QCOMPARE(state.Board(4, 4), 12);
        // The keypad's arrows play too.
        finishSlide(*form);
        QTest::keyClick(form.get(), Qt::Key_Right, Qt::KeypadModifier);
        QCOMPARE(state.Board(3, 4), 11);
        QCOMPARE(form->Label5->text(), QStringLiteral("00002"));

        // Space still presses the focused button: a new game.
        finishSlide(*form);
        form->N126Click();
        form->Button1->setFocus();
        QTest::keyClick(form->Button1, Qt::Key_Space);
        QCOMPARE(form->Button1->text(), QStringLiteral("Начать заново"));
        QVERIFY(form->Panel1->isEnabled() && form->Timer3->isActive());
    }

    void assistiveToolsHearWhatThePlayerSees() {
        form->show();
        playLayout(*form, state, kBlankOnSix);
        const auto heard = [](QObject* object, QAccessible::Text text = QAccessible::Name) {
            return QAccessible::queryAccessibleInterface(object)->text(text);
        };
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(form->Panel1);
        QCOMPARE(board->childCount(), 16);
        QAccessibleInterface* bareCell = board->child(15);
        QCOMPARE(bareCell->text(QAccessible::Name), QStringLiteral("Пустая клетка"));
        QCOMPARE(bareCell->text(QAccessible::Description), QStringLiteral("ряд 2, столбец 2"));
        QCOMPARE(bareCell->rect(), QRect(form->Panel1->mapToGlobal(QPoint(92, 92)), QSize(90, 90)));
        CaptionPanel* seven = panelShowing(*form, 7);
        QCOMPARE(heard(seven), QStringLiteral("7"));
        QCOMPARE(heard(seven, QAccessible::Description), QStringLiteral("ряд 2, столбец 3"));
        QCOMPARE(heard(form->TilePanel(6)), QStringLiteral("15"));  // the panel standing in on cell 16
        QCOMPARE(heard(form->Label3), QStringLiteral("Время игры: 00:00:00"));
        QCOMPARE(heard(form->Label5), QStringLiteral("Сделано ходов: 00000"));
        QCOMPARE(heard(form->Button1), QStringLiteral("Начать заново"));
        QVERIFY(QAccessible::queryAccessibleInterface(form->Label1)->state().invisible);

        // A screen reader presses the tile: the same move as a click. Everything says so. A
        // press on 8 while 7 slides plays nothing: the board is locked.
        const auto press = [](QObject* tile) {
            QAccessible::queryAccessibleInterface(tile)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        };
        press(seven);
        form->Timer1Timer();
        QCOMPARE(bareCell->text(QAccessible::Description), QString());  // 7 is between two cells
        press(panelShowing(*form, 8));
        finishSlide(*form);
        form->Timer3Timer();
        QCOMPARE(heard(seven, QAccessible::Description), QStringLiteral("ряд 2, столбец 2"));
        QCOMPARE(bareCell->text(QAccessible::Description), QStringLiteral("ряд 2, столбец 3"));
        QCOMPARE(bareCell->rect(), QRect(form->Panel1->mapToGlobal(QPoint(182, 92)), QSize(90, 90)));
        QCOMPARE(heard(form->Label5), QStringLiteral("Сделано ходов: 00001"));
        QCOMPARE(heard(form->Label3), QStringLiteral("Время игры: 00:00:01"));

        // The win: the board locks, the win text shows.
        playLayout(*form, state, kNearSolved);
        QTest::mouseClick(form->TilePanel(15), Qt::LeftButton);
        QVERIFY(!QAccessible::queryAccessibleInterface(form->Label1)->state().invisible);
        QCOMPARE(heard(form->Label1), QStringLiteral("Вы выиграли!!!"));
        QVERIFY(QAccessible::queryAccessibleInterface(form->TilePanel(1))->state().disabled);
    }

    void aDoubleClickIsOneClick() {
        form->show();
        form->perebor();
        // What the window system delivers: press, release, double click, release. The first
        // press moves the tile and locks the board, so the second falls through to the
        // window's surface; a double click that began on a tile still arms nothing.
        CaptionPanel* tile12 = form->TilePanel(12);
        doubleClickOn(tile12, QPoint(45, 45));
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, tile12->mapTo(form.get(), QPoint(45, 45)));
        QCOMPARE(form->Label5->text(), QStringLiteral("00001"));
        QCOMPARE(state.Board(4, 4), 12);
        QVERIFY(!form->CheatArmed);

        // Both presses on the locked board fall on the surface: that double click arms.
        QVERIFY(!form->Panel1->isEnabled());
        doubleClickOn(tile12, QPoint(45, 45));
        QVERIFY(form->CheatArmed);
    }

    // A press on a movable tile, dragged off it and released over the blank, is a click
    // cancelled: nothing moves.
    void aClickDraggedOffTheTileMovesNothing() {
        form->show();
        playLayout(*form, state, kBlankOnSix);
        CaptionPanel* tile2 = panelShowing(*form, 2);
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, tile2->mapTo(form.get(), QPoint(45, 45)));
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, tile2->mapTo(form.get(), QPoint(45, 135)));
        QVERIFY(!form->Timer1->isActive());
        QCOMPARE(state.Board, kBlankOnSix);
        QCOMPARE(form->Label5->text(), kCounterZero);
    }

    // The commands, the clock and the counter.

    // A new game, even in the middle of a slide, deals and starts afresh: the slide ends,
    // a key kept for its end goes with the old game, the cheat is disarmed, the counter and
    // clock start from zero, and the generator is not seeded anew.
    void newGameDealsAndStartsAfresh() {
        ScriptedRandom random(ScriptedRandom::sequence({0}));  // deals the blank to (1,1)
        playLayout(*form, state, kPlayable);
        form->Label3->setText(QStringLiteral("00:10:00"));
        form->Panel2Click(panelShowing(*form, 12));
        for (int tick = 0; tick < 4; ++tick) form->Timer1Timer();
        QTest::keyClick(form->Button1, Qt::Key_Left);  // kept for the slide's end
        form->CheatArmed = true;

        form->Button1Click();
        const engine::Grid dealt = GridOf("0 15 14 13 / 12 11 10 9 / 8 7 6 5 / 4 3 2 1");
        QCOMPARE(state.Board, dealt);
        QCOMPARE(mirrorMismatch(*form, dealt), QString());
        QCOMPARE(form->Label5->text(), kCounterZero);
        QCOMPARE(form->Label3->text(), kClockZero);
        QCOMPARE(form->Button1->text(), kCaptionRestart);
        QVERIFY(!form->CheatArmed);
        QVERIFY(form->Panel1->isEnabled() && form->Timer3->isActive() && !form->Timer1->isActive());
        QCOMPARE(random.seeds, 0);
        // The new game's first slide plays only itself.
        QTest::keyClick(form->Button1, Qt::Key_Up);
        finishSlide(*form);
        QCOMPARE(form->Label5->text(), QStringLiteral("00001"));
    }

    // The counter's remarks and limit, and the clock's limit, also when the clock runs out
    // while the counter's box is open.
    void countsReachTheirRemarksAndLimits_data() {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("clock");
        QTest::addColumn<int>("ticks");  // clock ticks: before a move (-1), while its box is open, or instead of it
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");  // the counter, or the clock for a tick; empty: the game resets
        QTest::newRow("1000th move") << "00999"
                                     << "05:06:07" << 0 << ""
                                     << "01000";
        QTest::newRow("1001st move") << "01000"
                                     << "05:06:07" << 0 << kFirstRemark << "01001";
        QTest::newRow("2001st move") << "02000"
                                     << "05:06:07" << 0 << kSecondRemark << "02001";
        QTest::newRow("99999th move") << "99998"
                                      << "05:06:07" << 0 << ""
                                      << "99999";
        QTest::newRow("100000th move") << "99999"
                                       << "05:06:07" << 0 << kResetRemark << "";
        QTest::newRow("the clock's hour") << "00321"
                                          << "00:59:59" << -1 << ""
                                          << "01:00:00";
        QTest::newRow("the clock's limit") << "00321"
                                           << "23:58:59" << -1 << ""
                                           << "";
        QTest::newRow("the limit under a box") << "01000"
                                               << "23:58:59" << 1 << kFirstRemark << "";
    }

    void countsReachTheirRemarksAndLimits() {
        QFETCH(QString, counter);
        QFETCH(QString, clock);
        QFETCH(int, ticks);
        QFETCH(QString, message);
        QFETCH(QString, after);
        std::vector<platform::BoxRecord> boxes;
        platform::setBoxAnswerer([&](const platform::BoxRecord& box) {
            boxes.push_back(box);
            for (int tick = 0; tick < ticks; ++tick) form->Timer3Timer();
        });
        playLayout(*form, state, kPlayable);
        form->Label5->setText(counter);
        form->Label3->setText(clock);
        if (ticks < 0) {
            form->Timer3Timer();
        } else {
            form->Panel2Click(panelShowing(*form, 12));
        }
        platform::setBoxAnswerer({});
        if (after.isEmpty()) {
            verifyForcedReset(*form, state);
        } else {
            QCOMPARE((ticks < 0 ? form->Label3 : form->Label5)->text(), after);
        }
        QCOMPARE(boxes.size(), message.isEmpty() ? 0u : 1u);
        if (message.isEmpty()) return;
        QCOMPARE(boxes[0].kind, platform::BoxKind::Plain);
        QCOMPARE(boxes[0].caption, kTitle);
        QCOMPARE(boxes[0].text, message);
    }

    // The cheat: armed by a double click on the window's surface, not on a label; used by a
    // double click on the board, which then plays from the near-solved layout with the same
    // counter and clock; disarmed by a click on a tile, whether it moves or not.
    void theCheatIsArmedUsedAndDisarmed() {
        form->show();
        playLayout(*form, state, kPlayable);
        form->Label5->setText(QStringLiteral("00012"));
        form->Label3->setText(QStringLiteral("00:03:00"));

        QTest::mouseDClick(form->Panel1, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(state.Board, kPlayable);  // not armed
        doubleClickOn(form->Label2, QPoint(5, 5));
        QVERIFY(!form->CheatArmed);

        doubleClickOn(clientArea(*form), QPoint(10, 10));
        QVERIFY(form->CheatArmed);
        QTest::mouseDClick(form->Panel1, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(state.Board, kNearSolved);
        QCOMPARE(mirrorMismatch(*form, kNearSolved), QString());
        QCOMPARE(form->Label5->text(), QStringLiteral("00012"));
        QCOMPARE(form->Label3->text(), QStringLiteral("00:03:00"));
        QVERIFY(form->CheatArmed && form->Timer3->isActive());

        for (int tile : {1, 14}) {  // far from the blank, then beside it
            doubleClickOn(clientArea(*form), QPoint(10, 10));
            QTest::mouseClick(panelShowing(*form, tile), Qt::LeftButton);
            QVERIFY(!form->CheatArmed);
            finishSlide(*form);
        }
        QCOMPARE(form->Label5->text(), QStringLiteral("00013"));
        const engine::Grid afterMove = state.Board;
        form->Panel1DblClick();
        QCOMPARE(state.Board, afterMove);
    }

    void theArrangementDialogOpensOnASettledLockedBoard() {
        ArrangementDialogStub dialog;
        form->setSecondaryWindows(&dialog, nullptr, nullptr);
        playLayout(*form, state, kPlayable);
        form->Label5->setText(QStringLiteral("00007"));
        form->Panel2Click(panelShowing(*form, 12));
        form->Timer1Timer();
        form->Timer1Timer();

        bool opened = false;
        dialog.onOpen = [&] {
            opened = true;
            QVERIFY(!form->Timer1->isActive());
            QVERIFY(!form->Panel1->isEnabled());
            QVERIFY(!form->Timer3->isActive());
            QCOMPARE(mirrorMismatch(*form, state.Board), QString());
        };
        form->N6Click();
        QVERIFY(opened);
        // No slide tick is left to come and unlock the board.
        QVERIFY(!form->Timer1->isActive() && !form->Panel1->isEnabled());
        QCOMPARE(form->Label5->text(), QStringLiteral("00008"));

        // Abandoned: a new game then plays again.
        form->Button1Click();
        QVERIFY(form->Panel1->isEnabled() && form->Timer3->isActive());
    }

    // The desktop's usual keys do what their menu commands do, open the menus, and close
    // the windows; none of them does anything while a modal window is open. Ctrl+R, like its
    // item in the context menu, replays the last game's start, and Ctrl+C copies it as one
    // line of text, but only after a deal or an accepted arrangement.
    void desktopShortcutsRunTheirCommands_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("in");  // the window they are pressed in
        QTest::addColumn<QString>("does");
        QTest::addColumn<QString>("after");  // what the replay follows
        QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << "main"
                                << "new game"
                                << "";
        QTest::newRow("F2") << QKeySequence(Qt::Key_F2) << "main"
                            << "new game"
                            << "";
        QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << "main"
                            << "rules"
                            << "";
        QTest::newRow("F10") << QKeySequence(Qt::Key_F10) << "main"
                             << "game menu"
                             << "";
        QTest::newRow("Shift+F10") << QKeySequence(Qt::SHIFT | Qt::Key_F10) << "main"
                                   << "board menu"
                                   << "";
        QTest::newRow("Menu") << QKeySequence(Qt::Key_Menu) << "main"
                              << "board menu"
                              << "";
        for (const char* in : {"main", "rules", "about"}) {
            QTest::addRow("Ctrl+Q in %s", in) << QKeySequence(Qt::CTRL | Qt::Key_Q) << in << "close"
                                              << "";
        }
        for (const char* in : {"rules", "about"}) {
            QTest::addRow("Esc in %s", in) << QKeySequence(Qt::Key_Escape) << in << "hide"
                                           << "";
        }
        const QKeySequence replay(Qt::CTRL | Qt::Key_R);
        QTest::newRow("Ctrl+R during play") << replay << "main"
                                            << "replay"
                                            << "a deal played";
        QTest::newRow("Ctrl+R after a win") << replay << "main"
                                            << "replay"
                                            << "a win";
        QTest::newRow("Ctrl+R after Обратно") << replay << "main"
                                              << "replay"
                                              << "the arrangement dialog left";
        QTest::newRow("Ctrl+R before any game") << replay << "main"
                                                << "nothing"
                                                << "";
        QTest::newRow("Ctrl+R after the assembled layout") << replay << "main"
                                                           << "nothing"
                                                           << "the assembled layout";
        QTest::newRow("Ctrl+R after a forced reset") << replay << "main"
                                                     << "nothing"
                                                     << "a forced reset";
        const QKeySequence copy(Qt::CTRL | Qt::Key_C);
        QTest::newRow("Ctrl+C during play") << copy << "main"
                                            << "copy"
                                            << "a deal played";
        QTest::newRow("Ctrl+C after a win") << copy << "main"
                                            << "copy"
                                            << "a win";
        QTest::newRow("Ctrl+C before any game") << copy << "main"
                                                << "nothing"
                                                << "";
    }

    void desktopShortcutsRunTheirCommands() {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, in);
        QFETCH(QString, does);
        QFETCH(QString, after);
        TForm3 about;
        TForm4 rules;
        QDialog modal;
        modal.setModal(true);
        form->setSecondaryWindows(nullptr, &about, &rules);
        CloseWatch watch;
        form->installEventFilter(&watch);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));

        // The game the replay follows, and where it started.
        engine::Grid start = kNearSolved;
        if (after == "a win") {
            winByOneMove();
        } else if (!after.isEmpty()) {
            form->Button1Click();
            start = state.Board;
            form->ArrowKey(engine::LastBlankCell(state.Board) > 4 ? Qt::Key_Down : Qt::Key_Up);
            if (after == "the arrangement dialog left") form->N6Click();  // no dialog: as if left
            if (after == "the assembled layout") form->N126Click();
            if (after == "a forced reset") form->perebor();
        }
        finishSlide(*form);
        if (!after.isEmpty()) QVERIFY(state.Board != start);

        if (in == "rules") form->N16Click();
        if (in == "about") form->N8Click();
        QWidget* const window = in == "rules" ? &rules : in == "about" ? static_cast<QWidget*>(&about) : form.get();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const bool copies = keys == QKeySequence(Qt::CTRL | Qt::Key_C);
        QGuiApplication::clipboard()->clear();
        const auto commandRan = [&] {
            // The start row by row: "1 2 3 4 / 5 6 ..." without its slashes.
            if (copies)
                return QGuiApplication::clipboard()->text() == QString::fromStdString(TextOf(start)).remove(" /");
            if (does == "new game") return form->Button1->text() == kCaptionRestart && form->Timer3->isActive();
            if (does == "rules") return rules.isVisible();
            if (does == "hide") return window->isHidden() && form->isVisible();
            if (does == "close") return watch.closes == 1 && form->isHidden();
            if (does == "replay" || does == "nothing") {
                // The start laid out afresh, as an accepted arrangement is.
                return state.Board == start && mirrorMismatch(*form, start).isEmpty() && form->Panel1->isEnabled() &&
                       form->Timer3->isActive() && form->Label5->text() == kCounterZero &&
                       form->Label3->text() == kClockZero && form->Label1->isHidden();
            }
            const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (does == "game menu") return menu == form->N111;
            return menu && menu->actions().constFirst()->text() == kHintItem &&
                   form->Panel1->rect().contains(form->Panel1->mapFromGlobal(menu->pos()));
        };

        // As the window system delivers them, to the window that has the focus.
        modal.show();
        QTest::keySequence(window->windowHandle(), keys);
        QVERIFY(!commandRan());
        modal.hide();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keySequence(window->windowHandle(), keys);
        QCOMPARE(commandRan(), does != "nothing");
        if (copies || keys == QKeySequence(Qt::CTRL | Qt::Key_R)) {
            // The context menu's items are there, enabled where the keys work; a right click
            // opens the menu under the pointer.
            const QPoint at = clientArea(*form)->mapTo(form.get(), QPoint(5, 5));
            QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, at);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->pos(), form->mapToGlobal(at));
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), 3);
            QCOMPARE(items.at(1)->text(), kReplayItem);
            QCOMPARE(items.at(2)->text(), kCopyItem);
            for (const QAction* item : {items.at(1), items.at(2)}) QCOMPARE(item->isEnabled(), does != "nothing");
            menu->close();
        }
        if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    }

    // A click on a tile, an arrow or H while no game is in progress says how to start one,
    // naming the button as it reads; the board and the displays stay as they were. The next
    // click or key takes the cue away; a slide or a modal window shows none.
    void aLockedBoardSaysHowToStartAGame_data() {
        QTest::addColumn<QString>("lockedBy");
        QTest::addColumn<QString>("button");
        QTest::newRow("start-up") << "start-up"
                                  << "Начать игру";
        QTest::newRow("assembled layout") << "assembled layout"
                                          << "Начать игру";
        QTest::newRow("dialog closed") << "dialog closed"
                                       << "Начать заново";
        QTest::newRow("arrangement refused") << "arrangement refused"
                                             << "Начать заново";
        QTest::newRow("won") << "won"
                             << "Начать заново";
    }

    void aLockedBoardSaysHowToStartAGame() {
        QFETCH(QString, lockedBy);
        QFETCH(QString, button);
        ArrangementDialogStub dialog;
        form->setSecondaryWindows(&dialog, nullptr, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const auto cue = [&] { return cueText(*form); };
        // As the window system delivers them, each handled in full.
        const auto click = [&](QWidget* on) {
            QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, on->mapTo(form.get(), QPoint(5, 5)));
            QCoreApplication::processEvents();
        };
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(form->windowHandle(), key);
            QCoreApplication::processEvents();
        };

        if (lockedBy != "start-up") playLayout(*form, state, kPlayable);
        if (lockedBy == "assembled layout") form->N126Click();
        // A refused table may have left Board half written.
        if (lockedBy == "arrangement refused") dialog.onOpen = [&] { state.Board = kBlankOnSix; };
        if (lockedBy == "dialog closed" || lockedBy == "arrangement refused") form->N6Click();
        if (lockedBy == "won") {
            winByOneMove();
            click(form->TilePanel(1));
            press(Qt::Key_Left);
            QCOMPARE(cue(), QString());
            finishSlide(*form);
        }
        const QString says = QStringLiteral("Нажмите «%1», чтобы начать игру").arg(button);
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Panel1)->text(QAccessible::Description), says);
        const auto shown = [&] {
            return std::tuple(state.Board, form->Label5->text(), form->Label3->text(), form->Panel1->isEnabled(),
                              form->Timer3->isActive());
        };
        const auto before = shown();

        click(form->TilePanel(5));
        QCOMPARE(cue(), says);
        press(Qt::Key_Shift);
        QCOMPARE(cue(), QString());
        press(Qt::Key_Left);
        QCOMPARE(cue(), says);
        click(clientArea(*form));
        QCOMPARE(cue(), QString());
        const QRect bareCell = QAccessible::queryAccessibleInterface(form->Panel1)->child(15)->rect();
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, form->mapFromGlobal(bareCell.center()));
        QCoreApplication::processEvents();
        QCOMPARE(cue(), QString());
        press(Qt::Key_H);
        QCOMPARE(cue(), says);
        // Left alone, it goes after 5 s.
        auto* ends = form->findChild<LockedBoardCue*>()->findChild<QTimer*>();
        QVERIFY(ends->isActive() && ends->isSingleShot() && ends->interval() == 5000);
        QMetaObject::invokeMethod(ends, "timeout");
        QCOMPARE(cue(), QString());
        press(Qt::Key_Escape);
        QDialog modal;
        modal.setModal(true);
        modal.show();
        press(Qt::Key_Up);
        QCOMPARE(cue(), QString());
        modal.hide();
        QVERIFY(shown() == before);

        // A new game unlocks the board, which then describes nothing more.
        form->Button1Click();
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Panel1)->text(QAccessible::Description), QString());
    }

    // The celebration.

    // The winning slide runs out with the board locked and the panels hidden until the
    // celebration's first tick, which draws thirteen numbers.
    void aWinWaitsForTheFirstTickWhichDrawsThirteenNumbers() {
        form->show();
        winByOneMove();
        QVERIFY(!form->Panel1->isEnabled() && !form->Timer3->isActive() && form->Timer2->isActive());
        QVERIFY(!form->Label1->isHidden());
        QVERIFY(form->Panel17->isHidden() && form->Panel18->isHidden() && form->Panel19->isHidden());
        finishSlide(*form);
        QTest::mouseClick(panelShowing(*form, 12), Qt::LeftButton);
        QCOMPARE(state.Board, kOrdered);
        QCOMPARE(form->Label5->text(), QStringLiteral("00001"));
        QCOMPARE(mirrorMismatch(*form, kOrdered), QString());

        ScriptedRandom random(ScriptedRandom::sequence({10, 20, 0, 30, 40, 7, 329, 399, 3, 0, 4, 2, 1}));
        form->Timer2Timer();

        QCOMPARE(random.requests, (std::vector<int>{330, 400, 8, 330, 400, 8, 330, 400, 8, 5, 5, 5, 5}));
        QVERIFY(form->Panel17->isVisibleTo(form.get()) && form->Panel18->isVisibleTo(form.get()) &&
                form->Panel19->isVisibleTo(form.get()));
        QCOMPARE(form->Panel17->pos(), QPoint(10, 20));
        QCOMPARE(form->Panel18->pos(), QPoint(30, 40));
        QCOMPARE(form->Panel19->pos(), QPoint(329, 399));
        QCOMPARE(form->Panel17->font().pixelSize(), pointsToPixels(10));
        QCOMPARE(form->Panel18->font().pixelSize(), pointsToPixels(17));
        QCOMPARE(form->Panel19->font().pixelSize(), pointsToPixels(13));
        QCOMPARE(form->Panel17->color(), QColor(128, 128, 0));      // olive
        QCOMPARE(form->Panel17->fontColor(), QColor(255, 0, 0));    // red
        QCOMPARE(form->Panel18->color(), QColor(128, 128, 128));    // grey
        QCOMPARE(form->Panel18->fontColor(), QColor(128, 0, 0));    // maroon
        QCOMPARE(form->Panel19->color(), QColor(255, 255, 0));      // yellow
        QCOMPARE(form->Panel19->fontColor(), QColor(0, 255, 255));  // aqua

        // Panel19 on top, Panel18 under it, Panel17 under both, all above the rest.
        const QObjectList stack = clientArea(*form)->children();
        QCOMPARE(stack.mid(stack.size() - 3), (QObjectList{form->Panel17, form->Panel18, form->Panel19}));
    }

    // Wherever a tick puts them, the panels stay inside the window, clear of the button and
    // the win's text, and the board stays locked.
    void ticksKeepThePanelsClearOfTheButtonAndTheWinsText() {
        winByOneMove();
        ScriptedRandom random([generator = std::mt19937(2024)](int, int n) mutable {
            return std::uniform_int_distribution<int>(0, n - 1)(generator);
        });
        const QRect client(QPoint(0, 0), clientArea(*form)->size());
        for (int tick = 0; tick < 300; ++tick) {
            form->Panel1->setEnabled(true);
            form->Timer2Timer();
            QVERIFY(!form->Panel1->isEnabled());
            for (CaptionPanel* panel : {form->Panel17, form->Panel18, form->Panel19}) {
                QVERIFY(client.contains(panel->geometry()));
                QVERIFY(!panel->geometry().intersects(form->Button1->geometry()));
                QVERIFY(!panel->geometry().intersects(form->Label1->geometry()));
            }
        }
    }

    // A new game ends the celebration with a dealt board in play; the assembled layout ends
    // it with the tiles shown in order on a locked board and the clock stopped.
    void commandsEndTheCelebration_data() {
        QTest::addColumn<bool>("newGame");
        QTest::newRow("new game") << true;
        QTest::newRow("assembled layout") << false;
    }

    void commandsEndTheCelebration() {
        QFETCH(bool, newGame);
        winByOneMove();
        finishSlide(*form);
        form->Timer2Timer();
        QVERIFY(form->Panel17->isVisibleTo(form.get()));
        ScriptedRandom random(ScriptedRandom::sequence({0}));

        if (newGame) {
            form->Button1Click();
        } else {
            form->N126Click();
        }
        QVERIFY(form->Panel17->isHidden() && form->Panel18->isHidden() && form->Panel19->isHidden());
        QVERIFY(form->Label1->isHidden());
        QVERIFY(!form->Timer1->isActive() && !form->Timer2->isActive());
        QCOMPARE(form->Label5->text(), kCounterZero);
        QCOMPARE(form->Panel1->isEnabled(), newGame);
        QCOMPARE(form->Timer3->isActive(), newGame);
        QCOMPARE(form->Button1->text(), newGame ? kCaptionRestart : kCaptionStart);
        QCOMPARE(random.seeds, newGame ? 0 : 1);
        // The assembled layout's picture shows the tiles in order, not the near-solved Board.
        if (!newGame) QCOMPARE(state.Board, kNearSolved);
        QCOMPARE(mirrorMismatch(*form, newGame ? state.Board : kOrdered), QString());
    }
};

QTEST_MAIN(TestGame)
#include "game_test.moc"
