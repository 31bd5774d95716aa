// The game commands, the clock and the move counter: what each command leaves behind,
// the counter's messages and limit, the clock's limit, the cheat and the arrangement dialog.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

#include "form_fixture.h"
#include "scripted_random.h"

namespace {

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

// With the blank in the corner, tile 12 slides down without solving anything.
const engine::Grid kPlayable = kSwapped;

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

class TestCommands : public QObject {
    Q_OBJECT

    // Each test's game and window.
    engine::PuzzleState state;
    std::unique_ptr<TForm1> form;

private slots:
    void initTestCase() { prepareGameApplication(); }
    void init() {
        state = {};
        form = std::make_unique<TForm1>(state);
    }
    void cleanup() { form.reset(); }

    void newGameDealsAndStartsTheClock() {
        ScriptedRandom random(ScriptedRandom::sequence({0}));
        form->CheatArmed = true;
        form->Label5->setText(QStringLiteral("00042"));
        form->Label3->setText(QStringLiteral("00:10:00"));

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
    }

    void newGameDuringASlide() {
        playLayout(*form, state, kPlayable);
        form->Panel2Click(panelShowing(*form, 12));
        for (int tick = 0; tick < 4; ++tick) form->Timer1Timer();

        form->Button1Click();
        QVERIFY(!form->Timer1->isActive());
        QVERIFY(form->Panel1->isEnabled());
        QCOMPARE(mirrorMismatch(*form, state.Board), QString());
        QCOMPARE(form->Label5->text(), kCounterZero);
    }

    void counterMessages_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        QTest::newRow("1000th move") << "00999" << "" << "01000";
        QTest::newRow("1001st move") << "01000" << kFirstRemark << "01001";
        QTest::newRow("2001st move") << "02000" << kSecondRemark << "02001";
        QTest::newRow("99999th move") << "99998" << "" << "99999";
    }

    void counterMessages() {
        QFETCH(QString, before);
        QFETCH(QString, message);
        QFETCH(QString, after);
        BoxRecorder recorder;
        playLayout(*form, state, kPlayable);
        form->Label5->setText(before);
        form->Panel2Click(panelShowing(*form, 12));
        QCOMPARE(form->Label5->text(), after);
        if (message.isEmpty()) {
            QVERIFY(recorder.boxes.empty());
        } else {
            QCOMPARE(recorder.boxes.size(), 1u);
            QCOMPARE(recorder.boxes[0].kind, platform::BoxKind::Plain);
            QCOMPARE(recorder.boxes[0].caption, kTitle);
            QCOMPARE(recorder.boxes[0].text, message);
        }
    }

    void theHundredThousandthMoveResetsTheGame() {
        BoxRecorder recorder;
        playLayout(*form, state, kPlayable);
        form->Label5->setText(QStringLiteral("99999"));
        form->Label3->setText(QStringLiteral("05:06:07"));
        form->Panel2Click(panelShowing(*form, 12));

        QCOMPARE(recorder.boxes.size(), 1u);
        QCOMPARE(recorder.boxes[0].text, kResetRemark);
        verifyForcedReset(*form, state);
    }

    void aClockResetUnderTheCounterBoxDropsTheMove() {
        // The box of the 1001st move stays open while the clock reaches 23:59:00.
        std::vector<platform::BoxRecord> boxes;
        platform::setBoxAnswerer([&](const platform::BoxRecord& box) {
            boxes.push_back(box);
            form->Timer3Timer();
        });
        playLayout(*form, state, kPlayable);
        form->Label5->setText(QStringLiteral("01000"));
        form->Label3->setText(QStringLiteral("23:58:59"));
        form->Panel2Click(panelShowing(*form, 12));
        platform::setBoxAnswerer({});

        QCOMPARE(boxes.size(), 1u);
        verifyForcedReset(*form, state);
    }

    void theClockTicksAndResetsAt235900() {
        BoxRecorder recorder;
        playLayout(*form, state, kPlayable);
        form->Label3->setText(QStringLiteral("00:59:59"));
        form->Timer3Timer();
        QCOMPARE(form->Label3->text(), QStringLiteral("01:00:00"));

        form->Label5->setText(QStringLiteral("00321"));
        form->Label3->setText(QStringLiteral("23:58:59"));
        form->Timer3Timer();
        verifyForcedReset(*form, state);
        QVERIFY(recorder.boxes.empty());
    }

    void theCheatIsArmedUsedAndDisarmed() {
        form->show();
        playLayout(*form, state, kPlayable);
        form->Label5->setText(QStringLiteral("00012"));
        form->Label3->setText(QStringLiteral("00:03:00"));

        QTest::mouseDClick(form->Panel1, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(state.Board, kPlayable);  // not armed
        doubleClickOn(form->Label2, QPoint(5, 5));
        QVERIFY(!form->CheatArmed);  // a label is not the window's surface

        doubleClickOn(form->clientArea(), QPoint(10, 10));
        QVERIFY(form->CheatArmed);
        QTest::mouseDClick(form->Panel1, Qt::LeftButton, {}, QPoint(300, 300));
        QCOMPARE(state.Board, kNearSolved);
        QCOMPARE(mirrorMismatch(*form, kNearSolved), QString());
        QCOMPARE(form->TilePanel(15)->pos(), QPoint(272, 272));
        QCOMPARE(form->Label5->text(), QStringLiteral("00012"));
        QCOMPARE(form->Label3->text(), QStringLiteral("00:03:00"));
        QVERIFY(form->CheatArmed && form->Timer3->isActive());

        // Still armed: a move, then the near-solved layout again.
        form->Panel2Click(panelShowing(*form, 14));
        finishSlide(*form);
        QVERIFY(!form->CheatArmed);
        const engine::Grid afterMove = state.Board;
        form->Panel1DblClick();
        QCOMPARE(state.Board, afterMove);
    }

    void assembledLayoutEndsTheCelebration() {
        playLayout(*form, state, kNearSolved);
        form->Panel2Click(form->TilePanel(15));
        finishSlide(*form);
        form->Timer2Timer();
        QVERIFY(form->Panel17->isVisibleTo(form.get()));
        ScriptedRandom random(ScriptedRandom::sequence({0}));

        form->N126Click();
        QVERIFY(form->Panel17->isHidden() && form->Panel18->isHidden() && form->Panel19->isHidden());
        QVERIFY(form->Label1->isHidden());
        QVERIFY(!form->Timer1->isActive() && !form->Timer2->isActive() && !form->Timer3->isActive());
        QVERIFY(!form->Panel1->isEnabled());
        QCOMPARE(form->Button1->text(), kCaptionStart);
        QCOMPARE(state.Board, kNearSolved);
        QCOMPARE(mirrorMismatch(*form, kOrdered), QString());  // the picture: tiles in order
        QCOMPARE(random.seeds, 1);
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

    void anArrangementAppliedSolvedCelebratesAtOnce() {
        ArrangementDialogStub dialog;
        form->setSecondaryWindows(&dialog, nullptr, nullptr);
        form->Button1Click();
        form->Label5->setText(QStringLiteral("00050"));
        dialog.onOpen = [&] {
            state.Board = kOrdered;
            form->zadat_rasstanovku();
        };
        form->N6->trigger();
        QCOMPARE(form->Label5->text(), kCounterZero);
        QCOMPARE(form->Label3->text(), kClockZero);
        QVERIFY(!form->Label1->isHidden());
        QVERIFY(form->Timer2->isActive() && !form->Timer3->isActive() && !form->Panel1->isEnabled());
    }

    // The desktop's usual keys do what their menu commands do, and nothing while a modal
    // window is open.
    void desktopShortcutsRunTheirCommands_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("does");
        QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N) << "new game";
        QTest::newRow("F2") << QKeySequence(Qt::Key_F2) << "new game";
        QTest::newRow("F1") << QKeySequence(Qt::Key_F1) << "rules";
        QTest::newRow("Ctrl+Q") << QKeySequence(Qt::CTRL | Qt::Key_Q) << "close";
    }

    void desktopShortcutsRunTheirCommands() {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, does);
        QWidget rules;
        QDialog modal;
        modal.setModal(true);
        form->setSecondaryWindows(nullptr, nullptr, &rules);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const auto commandRan = [&] {
            if (does == "new game") return form->Button1->text() == kCaptionRestart && form->Timer3->isActive();
            if (does == "rules") return rules.isVisible();
            return form->isHidden();
        };

        modal.show();
        QTest::keySequence(form.get(), keys);
        QVERIFY(!commandRan());
        modal.hide();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keySequence(form.get(), keys);
        QVERIFY(commandRan());
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
