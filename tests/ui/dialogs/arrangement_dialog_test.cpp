// The arrangement dialog's buttons with the real engine and a recording stand-in for the
// main window's zadat_rasstanovku.
#include <QtTest>

#include "dialog_fixture.h"
#include "engine/arrangement.h"
#include "scripted_random.h"
#include "ui/platform/fonts.h"

namespace {

const engine::Grid kEarlierBoard = GridOf("5 1 2 4 / 9 6 3 8 / 13 10 7 11 / 14 15 12 0");

}  // namespace

class ArrangementDialogTest : public QObject {
    Q_OBJECT

    // What the main window's routine saw each time it was called.
    struct Call {
        engine::Grid board;
        bool dialogVisible;
    };

    engine::PuzzleState state;
    std::vector<Call> calls;
    std::unique_ptr<TForm2> dialog;
    BoxRecorder recorder;  // for the whole run; emptied before each test

    // The dialog is still open with `texts` in its table, and nothing reached the board.
    bool keptEverything(const QStringList& texts) const {
        return dialog->isVisible() && tableTexts(*dialog) == texts && state.Board == kEarlierBoard && calls.empty();
    }

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void init() {
        state = {};
        state.Board = kEarlierBoard;
        calls.clear();
        recorder.boxes.clear();
        dialog = std::make_unique<TForm2>(state, [this] { calls.push_back({state.Board, dialog->isVisible()}); });
        dialog->show();
    }

    void cleanup() {
        dialog.reset();
    }

    void validTableIsPlayedWithTheBlankWhereTheEmptyCellWas() {
        ScriptedRandom random(ScriptedRandom::sequence({0}));
        fillTable(*dialog, orderedWithBlankAt(6));  // row 2, column 3
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);

        const engine::Grid expected = GridOf("1 2 3 4 / 5 6 0 7 / 8 9 10 11 / 12 13 14 15");
        QCOMPARE(state.Board, expected);
        QCOMPARE(state.Board(2, 3), 0);
        QCOMPARE(calls.size(), 1u);
        QCOMPARE(calls[0].board, expected);
        QVERIFY2(calls[0].dialogVisible, "the main window is updated before the dialog closes");
        QVERIFY(dialog->isHidden());
        QVERIFY(recorder.boxes.empty());
        QCOMPARE(random.seeds, 1);
    }

    void typedZeroAndHexadecimalWorkLikeTheirValues() {
        QStringList texts = kOrderedTable;
        texts[15] = QStringLiteral("0");
        texts[14] = QStringLiteral("$F");
        texts[0] = QStringLiteral("  +01");
        fillTable(*dialog, texts);
        dialog->Button1Click();
        QCOMPARE(state.Board, kOrdered);
        QCOMPARE(calls.size(), 1u);
    }

    // As a screen reader or the keyboard presses "Задать": the focus stays in the cell's
    // open editor, and what was typed there counts.
    void setTakesTheCellStillBeingTyped() {
        QStringList texts = kOrderedTable;
        texts[14].clear();
        fillTable(*dialog, texts);
        dialog->StringGrid1->setCurrentCell(3, 2);
        dialog->StringGrid1->editItem(dialog->StringGrid1->item(3, 2));
        QTest::keyClicks(dialog->StringGrid1->focusWidget(), QStringLiteral("15"));
        dialog->Button1->click();
        QCOMPARE(state.Board, kOrdered);
        QVERIFY(recorder.boxes.empty());
    }

    void unsolvableTableIsPlayedWithoutWarning() {
        fillTable(*dialog, kSwappedTable);
        dialog->Button1Click();
        QCOMPARE(state.Board, kSwapped);
        QCOMPARE(calls.size(), 1u);
        QVERIFY(recorder.boxes.empty());
        QVERIFY(dialog->isHidden());
    }

    void parityCheckReportsAndChangesNothing_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const int information = static_cast<int>(platform::BoxKind::Information);
        const int error = static_cast<int>(platform::BoxKind::Error);
        QTest::newRow("ordered") << kOrderedTable << information << kEvenTable;
        QTest::newRow("14 and 15 exchanged") << kSwappedTable << information << kOddTable;
        QTest::newRow("blank first") << orderedWithBlankAt(0) << information << kOddTable;
        QTest::newRow("empty table") << QStringList(16, QString()) << error << kBadTable;
        QStringList letter = kOrderedTable;
        letter[3] = QStringLiteral("a");
        QTest::newRow("a letter") << letter << error << kBadTable;
    }

    void parityCheckReportsAndChangesNothing() {
        QFETCH(QStringList, texts);
        QFETCH(int, kind);
        QFETCH(QString, message);
        fillTable(*dialog, texts);

        for (int pass = 0; pass < 2; ++pass) {
            dialog->Button2Click();
            QCOMPARE(recorder.boxes.size(), static_cast<std::size_t>(pass + 1));
            QCOMPARE(static_cast<int>(recorder.boxes.back().kind), kind);
            QCOMPARE(recorder.boxes.back().text, message);
        }
        QVERIFY(keptEverything(texts));
    }

    void setAfterAParityCheckStillWorks() {
        fillTable(*dialog, kOrderedTable);
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
        QCOMPARE(recorder.boxes.size(), 1u);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QCOMPARE(calls.size(), 1u);
        QCOMPARE(recorder.boxes.size(), 1u);
        QVERIFY(dialog->isHidden());
    }

    void refusedTableGivesOneErrorAndKeepsEverything_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("all empty") << QStringList(16, QString());
        QTest::newRow("two empty cells") << orderedWithBlankAt(15).replaceInStrings(QStringLiteral("15"), QString());
        QStringList duplicate = kOrderedTable;
        duplicate[4] = QStringLiteral("5");
        duplicate[3] = QStringLiteral("5");
        QTest::newRow("duplicate tile") << duplicate;
        for (const char* bad : {"16", "-1", "256", "1.5", " ", "7 "}) {
            QStringList texts = kOrderedTable;
            texts[6] = QString::fromLatin1(bad);
            QTest::newRow(bad) << texts;
        }
        QStringList cyrillic = kOrderedTable;
        cyrillic[9] = QStringLiteral("де");
        QTest::newRow("Cyrillic letters") << cyrillic;
    }

    void refusedTableGivesOneErrorAndKeepsEverything() {
        QFETCH(QStringList, texts);
        fillTable(*dialog, texts);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);

        QCOMPARE(recorder.boxes.size(), 1u);
        QCOMPARE(recorder.boxes[0].kind, platform::BoxKind::Error);
        QCOMPARE(recorder.boxes[0].text, kBadTable);
        QVERIFY(keptEverything(texts));
    }

    void tableIsEmptyOnEveryShowing() {
        fillTable(*dialog, kOrderedTable);
        dialog->Button3Click();
        QVERIFY(dialog->isHidden());
        dialog->show();
        QCOMPARE(tableTexts(*dialog), QStringList(16, QString()));

        // After a refused table too, and with a cell left half-typed.
        QStringList texts = kOrderedTable;
        texts[2] = QStringLiteral("x");
        fillTable(*dialog, texts);
        dialog->Button1Click();
        QCOMPARE(recorder.boxes.size(), 1u);
        dialog->StringGrid1->setCurrentCell(1, 1);
        dialog->StringGrid1->editItem(dialog->StringGrid1->item(1, 1));
        QTest::keyClicks(dialog->StringGrid1->focusWidget(), QStringLiteral("12"));
        dialog->close();
        dialog->show();
        QCOMPARE(tableTexts(*dialog), QStringList(16, QString()));
        QVERIFY(!dialog->StringGrid1->isEditing());
    }

    void backAndTheCloseButtonOnlyClose() {
        fillTable(*dialog, kOrderedTable);
        QTest::mouseClick(dialog->Button3, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        dialog->show();
        fillTable(*dialog, kOrderedTable);
        QVERIFY(dialog->close());
        QVERIFY(dialog->isHidden());
        QCOMPARE(state.Board, kEarlierBoard);
        QVERIFY(calls.empty());
        QVERIFY(recorder.boxes.empty());
    }

    void enterAndEscPressNothing() {
        fillTable(*dialog, kOrderedTable);
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        const std::vector<QWidget*> focusable = {dialog->StringGrid1, dialog->Button1, dialog->Button2, dialog->Button3};
        for (QWidget* focus : focusable) {
            focus->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(focus, key);
                QVERIFY2(dialog->isVisible(), qPrintable(focus->objectName() + QString::number(key)));
            }
        }
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QVERIFY(keptEverything(kOrderedTable));
        QVERIFY(recorder.boxes.empty());
    }

    void modalRunEndsWhenTheTableIsPlayed() {
        dialog->hide();
        QTimer::singleShot(0, dialog.get(), [this] {
            QVERIFY(dialog->isModal() || QApplication::activeModalWidget() == dialog.get());
            fillTable(*dialog, kOrderedTable);
            dialog->Button1->click();
        });
        dialog->exec();
        QVERIFY(dialog->isHidden());
        QCOMPARE(calls.size(), 1u);
    }
};

QTEST_MAIN(ArrangementDialogTest)
#include "arrangement_dialog_test.moc"
