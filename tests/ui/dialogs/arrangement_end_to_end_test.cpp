// The arrangement dialog opened from the main window's menu, modally, with the real engine
// and the real main window: what the player sees on the main board afterwards, its tiles
// mirroring the layout expected. The dialog's own keys and its empty table on every showing
// are the dialog's tests'.
#include <QtTest>

#include <QLabel>
#include <QTimer>

#include <functional>

#include "dialog_fixture.h"
#include "form_fixture.h"
#include "scripted_random.h"

class ArrangementEndToEndTest : public QObject {
    Q_OBJECT

    engine::PuzzleState state;
    SolverService solver;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    BoxRecorder recorder;           // for the whole run; emptied before each test
    bool updatedWhileOpen = false;  // the main window was brought up to date before the dialog closed

    // Opens the dialog from the menu and runs `player` inside it once it is up. Whatever
    // the player leaves open is closed afterwards, so a failing step cannot hang the test.
    void openDialog(const std::function<void()>& player) {
        QTimer::singleShot(0, form2.get(), [this, player] {
            if (QApplication::activeModalWidget() == form2.get()) player();
            if (form2->isVisible()) {
                QTest::qFail("the dialog was still open", __FILE__, __LINE__);
                form2->close();
            }
        });
        form1->N6Click();
    }

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void init() {
        state = {};
        recorder.boxes.clear();
        updatedWhileOpen = false;
        form1 = std::make_unique<TForm1>(state, solver);
        form2 = std::make_unique<TForm2>(state, [this] {
            updatedWhileOpen = form2->isVisible();
            form1->zadat_rasstanovku();
        });
        form1->setSecondaryWindows(form2.get(), nullptr, nullptr);
        form1->show();
        form1->Button1Click();  // a game in progress
        form1->Label5->setText(QStringLiteral("00042"));
        form1->Label3->setText(QStringLiteral("00:03:17"));
    }

    void cleanup() {
        form2.reset();
        form1.reset();
    }

    // A table played, solvable or not, without a word, also after a parity check: a fresh
    // game on it, with the generator seeded anew.
    void tableIsPlayedWithTheBlankWhereTheEmptyCellWas_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<engine::Grid>("layout");
        QTest::newRow("solvable") << orderedWithBlankAt(9) << GridOf("1 2 3 4 / 5 6 7 8 / 9 0 10 11 / 12 13 14 15");
        QTest::newRow("unsolvable") << kSwappedTable << kSwapped;
    }

    void tableIsPlayedWithTheBlankWhereTheEmptyCellWas() {
        QFETCH(QStringList, texts);
        QFETCH(engine::Grid, layout);
        ScriptedRandom random(ScriptedRandom::sequence({0}));
        openDialog([&] {
            fillTable(*form2, texts);
            QTest::mouseClick(form2->Button2, Qt::LeftButton);
            QTest::mouseClick(form2->Button1, Qt::LeftButton);
        });
        QVERIFY(form2->isHidden());
        QVERIFY(updatedWhileOpen);
        QCOMPARE(recorder.boxes.size(), 1u);  // the check's verdict only
        QCOMPARE(random.seeds, 1);
        QCOMPARE(state.Board, layout);
        QCOMPARE(mirrorMismatch(*form1, layout), QString());
        QVERIFY(form1->Panel1->isEnabled());
        QVERIFY(form1->Timer3->isActive());
        QCOMPARE(form1->Label3->text(), kClockZero);
        QCOMPARE(form1->Label5->text(), kCounterZero);
        QVERIFY(form1->Label1->isHidden());
    }

    // A parity check and a refused table, then the dialog left by "Обратно" or the title
    // bar's close button: the game stays abandoned as it was, board, tiles, counter and clock.
    void leavingAfterChecksAndRefusalsLeavesTheGameAbandoned_data() {
        QTest::addColumn<bool>("back");
        QTest::newRow("Обратно") << true;
        QTest::newRow("close button") << false;
    }

    void leavingAfterChecksAndRefusalsLeavesTheGameAbandoned() {
        QFETCH(bool, back);
        const engine::Grid boardInPlay = state.Board;
        QStringList stillTyped;
        openDialog([&] {
            fillTable(*form2, kSwappedTable);
            form2->Button2->click();
            QStringList almost = kOrderedTable;
            almost[5] = QStringLiteral("66");
            fillTable(*form2, almost);
            form2->Button1->click();
            stillTyped = tableTexts(*form2);
            if (back) {
                form2->Button3->click();
            } else {
                form2->close();  // the title bar's close button
            }
        });
        QCOMPARE(recorder.boxes.size(), 2u);
        QCOMPARE(recorder.boxes[0].text, kOddTable);
        QCOMPARE(recorder.boxes[1].text, kBadTable);
        QCOMPARE(stillTyped[5], QStringLiteral("66"));
        QVERIFY(form2->isHidden());
        QCOMPARE(state.Board, boardInPlay);
        QCOMPARE(mirrorMismatch(*form1, boardInPlay), QString());
        QVERIFY(!form1->Panel1->isEnabled());
        QVERIFY(!form1->Timer3->isActive());
        QCOMPARE(form1->Label5->text(), QStringLiteral("00042"));
        QCOMPARE(form1->Label3->text(), QStringLiteral("00:03:17"));
    }

    void orderedTableWinsAtOnce() {
        openDialog([&] {
            fillTable(*form2, kOrderedTable);
            form2->Button1->click();
        });
        QVERIFY(form2->isHidden());
        QVERIFY(form1->Label1->isVisible());
        QCOMPARE(form1->Label1->text(), kWon);
        QVERIFY(!form1->Panel1->isEnabled());
        QVERIFY(!form1->Timer3->isActive());
        QVERIFY(form1->Timer2->isActive());
        QCOMPARE(form1->Label5->text(), kCounterZero);
        QCOMPARE(form1->Label3->text(), kClockZero);
        QCOMPARE(mirrorMismatch(*form1, kOrdered), QString());
    }
};

QTEST_MAIN(ArrangementEndToEndTest)
#include "arrangement_end_to_end_test.moc"
