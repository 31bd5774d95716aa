// The arrangement dialog with the real engine and a recording stand-in for the main
// window's zadat_rasstanovku: its buttons, typing or pasting an arrangement into its table
// from the keyboard as a player does, and the table's cell layout. Which texts make a table the
// engine accepts, and its parity, are the engine's rules, tested there.
#include <QtTest>

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>

#include "dialog_fixture.h"
#include "engine/arrangement.h"
#include "ui/platform/fonts.h"

namespace {

const engine::Grid kEarlierBoard = GridOf("5 1 2 4 / 9 6 3 8 / 13 10 7 11 / 14 15 12 0");

}  // namespace

class ArrangementDialogTest : public QObject {
    Q_OBJECT

    engine::PuzzleState state;
    int updates = 0;  // calls of the main window's routine
    std::unique_ptr<TForm2> dialog;
    BoxRecorder recorder;  // for the whole run; emptied before each test

    // The dialog is still open with `texts` in its table, and nothing reached the board.
    bool keptEverything(const QStringList& texts) const {
        return dialog->isVisible() && tableTexts(*dialog) == texts && state.Board == kEarlierBoard && updates == 0;
    }

    StringGrid* grid() const { return dialog->StringGrid1; }

    // The widget keys go to: the open editor, or the grid itself.
    QWidget* keyTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : grid();
    }

    // Types `text` key by key into whatever has the focus, as a keyboard would.
    void type(const QString& text) const {
        for (const QChar character : text) {
            const Qt::Key key = character.isDigit() ? Qt::Key(Qt::Key_0 + character.digitValue()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, keyTarget(), key, QString(character), Qt::NoModifier);
        }
    }

    QPoint currentCell() const { return {grid()->currentColumn(), grid()->currentRow()}; }

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void init() {
        state = {};
        state.Board = kEarlierBoard;
        updates = 0;
        recorder.boxes.clear();
        dialog = std::make_unique<TForm2>(state, [this] { ++updates; });
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void cleanup() { dialog.reset(); }

    // The cell still being typed counts when "Задать" is pressed: clicked, which takes the
    // focus, or pressed in place, as a screen reader or the keyboard does, with the focus
    // still in the cell's open editor.
    void setTakesTheCellStillBeingTyped_data() {
        QTest::addColumn<bool>("clicked");
        QTest::newRow("clicked") << true;
        QTest::newRow("pressed in place") << false;
    }

    void setTakesTheCellStillBeingTyped() {
        QFETCH(bool, clicked);
        QStringList texts = kOrderedTable;
        texts[14].clear();
        fillTable(*dialog, texts);
        grid()->setCurrentCell(3, 2);  // row 4, column 3 in the table
        type(QStringLiteral("15"));
        QVERIFY(grid()->isEditing());
        if (clicked) {
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        } else {
            dialog->Button1->click();
        }
        QCOMPARE(updates, 1);
        QCOMPARE(state.Board, kOrdered);
        QVERIFY(recorder.boxes.empty());
    }

    // A parity check reports, the same each time; a refused table gives one error. Either
    // way the dialog keeps everything and nothing reaches the board.
    void verdictsKeepEverything_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("set");  // pressed "Задать" once; else "Проверить четность " twice
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const int information = static_cast<int>(platform::BoxKind::Information);
        const int error = static_cast<int>(platform::BoxKind::Error);
        QStringList duplicate = kOrderedTable;
        duplicate[4] = duplicate[3] = QStringLiteral("5");
        QStringList cyrillic = kOrderedTable;
        cyrillic[9] = QStringLiteral("де");
        QTest::newRow("ordered") << kOrderedTable << false << information << kEvenTable;
        QTest::newRow("14 and 15 exchanged") << kSwappedTable << false << information << kOddTable;
        QTest::newRow("empty table checked") << QStringList(16, QString()) << false << error << kBadTable;
        QTest::newRow("empty table set") << QStringList(16, QString()) << true << error << kBadTable;
        QTest::newRow("duplicate tile") << duplicate << true << error << kBadTable;
        QTest::newRow("Cyrillic letters") << cyrillic << true << error << kBadTable;
    }

    void verdictsKeepEverything() {
        QFETCH(QStringList, texts);
        QFETCH(bool, set);
        QFETCH(int, kind);
        QFETCH(QString, message);
        fillTable(*dialog, texts);
        for (int pass = 0; pass < (set ? 1 : 2); ++pass) {
            QTest::mouseClick(set ? dialog->Button1 : dialog->Button2, Qt::LeftButton);
            QCOMPARE(recorder.boxes.size(), static_cast<std::size_t>(pass + 1));
            QCOMPARE(static_cast<int>(recorder.boxes.back().kind), kind);
            QCOMPARE(recorder.boxes.back().text, message);
        }
        QVERIFY(keptEverything(texts));
    }

    // "Обратно" and the title bar's close button only close; the table is empty on every showing.
    void leavingOnlyClosesAndTheTableIsEmptyOnEveryShowing() {
        fillTable(*dialog, kOrderedTable);
        QTest::mouseClick(dialog->Button3, Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        dialog->show();
        QCOMPARE(tableTexts(*dialog), QStringList(16, QString()));
        fillTable(*dialog, kOrderedTable);
        QVERIFY(dialog->close());
        QVERIFY(dialog->isHidden());
        QCOMPARE(state.Board, kEarlierBoard);
        QVERIFY(updates == 0 && recorder.boxes.empty());
        dialog->show();

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

    // Enter and Esc press nothing, wherever the focus is; Esc in a cell being edited drops the edit.
    void enterAndEscPressNothing() {
        fillTable(*dialog, kOrderedTable);
        type(QStringLiteral("12"));  // over the first cell's 1
        QTest::keyClick(keyTarget(), Qt::Key_Escape);
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("1"));
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        const std::vector<QWidget*> focusable = {dialog->StringGrid1, dialog->Button1, dialog->Button2,
                                                 dialog->Button3};
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

    // Typing into the table.

    void typingTabbingAndClickingSetPlaysTheTable() {
        // Fifteen tiles typed cell after cell, the last cell tabbed over and left empty.
        for (int tile = 1; tile <= 15; ++tile) {
            type(QString::number(tile));
            QTest::keyClick(keyTarget(), Qt::Key_Tab);
        }
        QCOMPARE(currentCell(), QPoint(3, 3));
        QCOMPARE(tableTexts(*dialog), kOrderedTable);

        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QVERIFY(recorder.boxes.empty());
        QCOMPARE(updates, 1);
        QCOMPARE(state.Board, kOrdered);
    }

    // From the top left cell, where the dialog opens with the focus in the grid.
    void tabAndShiftTabWalkRowByRowAndNeverLeaveTheGrid() {
        QCOMPARE(currentCell(), QPoint(0, 0));
        QCOMPARE(QApplication::focusWidget(), grid());
        QCOMPARE(grid()->selectionMode(), QAbstractItemView::SingleSelection);
        QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(currentCell(), QPoint(3, 3));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(currentCell(), QPoint(0, 0));
        for (int step = 1; step <= 5; ++step) QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(currentCell(), QPoint(1, 1));

        // While a cell is being edited too.
        type(QStringLiteral("9"));
        QVERIFY(grid()->isEditing());
        QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(currentCell(), QPoint(0, 1));
        QCOMPARE(grid()->cell(1, 1), QStringLiteral("9"));

        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == grid() || grid()->isAncestorOf(focus));
    }

    void ctrlTabLeavesTheGridForTheButtonsWhichSpacePresses() {
        // A cell being edited is written first, as a click elsewhere would write it.
        type(QStringLiteral("7"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("7"));
        QVERIFY(!grid()->isEditing());
        QCOMPARE(QApplication::focusWidget(), dialog->Button1);
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->Button2);
        QTest::keyClick(keyTarget(), Qt::Key_Space);
        QCOMPARE(recorder.boxes.size(), 1u);  // the parity verdict

        // Backwards from the grid: "Обратно", the last control.
        grid()->setFocus();
        QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), dialog->Button3);
        QTest::keyClick(keyTarget(), Qt::Key_Space);
        QVERIFY(dialog->isHidden());
    }

    // Ctrl+V on a table holding 14 and 15 exchanged, its second cell selected: sixteen whole
    // numbers fill every cell at once, the blank (0 or an empty place) left empty, also over
    // a cell being typed; any other text goes into the selected cell as typing it would.
    void pastingSixteenNumbersFillsTheTable_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("typing");        // "7" typed into the cell before the paste
        QTest::addColumn<QStringList>("table");  // afterwards
        const auto intoCell = [](const QString& text) {
            QStringList table = kSwappedTable;
            table[1] = text;
            return table;
        };
        const QString fifteen = QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15");
        QTest::newRow("spaces") << QStringLiteral("0 12 9 13 15 11 10 14 3 7 2 5 4 8 6 1") << false
                                << QStringList{"",  "12", "9", "13", "15", "11", "10", "14",
                                               "3", "7",  "2", "5",  "4",  "8",  "6",  "1"};
        QTest::newRow("rows of commas ending in an empty place")
            << QStringLiteral("1, 2, 3, 4\n5,6,7,8\r\n9,10,11,12\n13,14,15,\n") << false << kOrderedTable;
        QTest::newRow("tabs with an empty place, over typing")
            << QStringLiteral("1\t2\t3\t4\n\t5\t6\t7\n8\t9\t10\t11\n12\t13\t14\t15") << true << orderedWithBlankAt(4);
        QTest::newRow("columns of spaces, 00 for the blank, over typing")
            << QStringLiteral(" 1  2  3  4\n 5  6 00  7\n\n 8  9 10 11\n12 13 14 15\n") << true
            << orderedWithBlankAt(6);
        QTest::newRow("15 numbers") << fifteen << false << intoCell(fifteen);
        QTest::newRow("17 numbers, after typing") << fifteen + " 0 16" << true << intoCell("7" + fifteen + " 0 16");
        QTest::newRow("words") << QStringLiteral("пятнадцать") << false << intoCell(QStringLiteral("пятнадцать"));
        QTest::newRow("a sign") << "-" + fifteen + " 0" << false << intoCell("-" + fifteen + " 0");
    }

    void pastingSixteenNumbersFillsTheTable() {
        QFETCH(QString, clipboard);
        QFETCH(bool, typing);
        QFETCH(QStringList, table);
        fillTable(*dialog, kSwappedTable);
        grid()->setCurrentCell(0, 1);
        if (typing) type(QStringLiteral("7"));
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(keyTarget(), Qt::Key_V, Qt::ControlModifier);
        grid()->finishEditing();
        QCOMPARE(tableTexts(*dialog), table);
        QVERIFY(updates == 0 && recorder.boxes.empty());
    }

    void screenReadersHearWhereACellIsAndWhatItHolds() {
        grid()->setCell(2, 1, QStringLiteral("12"));
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid());
        QVERIFY(table && table->tableInterface());
        QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 2);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("ряд 2, столбец 3"));
        QCOMPARE(cell->text(QAccessible::Description), QStringLiteral("12"));
        // The caption keeps its trailing space; the name a screen reader says does not.
        QCOMPARE(dialog->Button2->text(), QStringLiteral("Проверить четность "));
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog->Button2)->text(QAccessible::Name),
                 QStringLiteral("Проверить четность"));
    }

    void anyTextMayBeTypedRightAfterAClick() {
        // The first cell is selected already; the click opens its editor and the keys that
        // follow at once go into it, none lost while a double click could still come.
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, grid()->cellRect(0, 0).center());
        const QString typed = QStringLiteral("Ab-1.5 $Я");
        type(typed);
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        type(QStringLiteral("3"));
        grid()->finishEditing();
        QCOMPARE(grid()->cell(0, 0), typed);
        QCOMPARE(grid()->cell(1, 0), QStringLiteral("3"));
        // Typing into a cell that holds text replaces it.
        QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
        type(QStringLiteral("7"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("7"));
    }

    void cellsAreEightyPixelSquaresBetweenEightPixelLines() {
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(grid()->cellRect(i, i), QRect(88 * i, 88 * i, 80, 80));
        }
        // Everything the cells need lies inside the grid's own 353 x 353 box.
        QCOMPARE(grid()->geometry(), QRect(32, 16, 353, 353));
        QVERIFY(grid()->viewport()->rect().contains(grid()->cellRect(3, 3)));

        const QImage picture = grid()->viewport()->grab().toImage();
        const QColor line(192, 192, 192);
        QCOMPARE(picture.pixelColor(84, 40), line);   // between columns 1 and 2
        QCOMPARE(picture.pixelColor(40, 172), line);  // between rows 2 and 3
        QCOMPARE(picture.pixelColor(130, 130), grid()->palette().color(QPalette::Base));

        // Digits in the large font fit their cell.
        QCOMPARE(grid()->font().pixelSize(), 57);
        const QFontMetrics metrics(grid()->font());
        QVERIFY(metrics.horizontalAdvance(QStringLiteral("15")) + 2 <= 80);
        QVERIFY(metrics.height() + 2 <= 80);
    }
};

QTEST_MAIN(ArrangementDialogTest)
#include "arrangement_dialog_test.moc"
