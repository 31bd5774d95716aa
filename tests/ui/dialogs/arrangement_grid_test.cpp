// Typing an arrangement into the dialog's table from the keyboard, as a player does, and
// the table's cell layout.
#include <QtTest>

#include <QAccessible>
#include <QLineEdit>

#include "dialog_fixture.h"
#include "ui/platform/fonts.h"

class ArrangementGridTest : public QObject {
    Q_OBJECT

    engine::PuzzleState state;
    int applied = 0;
    std::unique_ptr<TForm2> dialog;
    BoxRecorder recorder;  // for the whole run; emptied before each test

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
        applied = 0;
        recorder.boxes.clear();
        dialog = std::make_unique<TForm2>(state, [this] { ++applied; });
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void cleanup() {
        dialog.reset();
    }

    void openingSelectsTheTopLeftCellWithTheFocusInTheGrid() {
        QCOMPARE(currentCell(), QPoint(0, 0));
        QCOMPARE(QApplication::focusWidget(), grid());
        QCOMPARE(grid()->selectionMode(), QAbstractItemView::SingleSelection);
    }

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
        QCOMPARE(applied, 1);
        QCOMPARE(state.Board, kOrdered);
    }

    void cellBeingEditedCountsWhenAButtonIsClicked() {
        fillTable(*dialog, orderedWithBlankAt(15));
        grid()->setCell(3, 3, QString());
        grid()->setCell(2, 3, QString());
        grid()->setCurrentCell(3, 2);  // row 4, column 3 in the table
        type(QStringLiteral("15"));
        QVERIFY(grid()->isEditing());
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QCOMPARE(applied, 1);
        QCOMPARE(state.Board(4, 3), 15);
    }

    void tabAndShiftTabWalkRowByRowAndNeverLeaveTheGrid() {
        QCOMPARE(currentCell(), QPoint(0, 0));
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

    void anyTextMayBeTyped() {
        const QString typed = QStringLiteral("Ab-1.5 $Я");
        type(typed);
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(grid()->cell(0, 0), typed);
        // Typing into a cell that holds text replaces it.
        QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
        type(QStringLiteral("7"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("7"));
    }

    void keysTypedRightAfterAClickOnTheSelectedCellAreKept() {
        // The first cell is selected already; the click opens its editor and the digits
        // that follow at once go into it, none lost while a double click could still come.
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, grid()->cellRect(0, 0).center());
        type(QStringLiteral("12"));
        QTest::keyClick(keyTarget(), Qt::Key_Tab);
        type(QStringLiteral("3"));
        grid()->finishEditing();
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("12"));
        QCOMPARE(grid()->cell(1, 0), QStringLiteral("3"));
    }

    void escWhileEditingDropsTheEditAndKeepsTheDialog() {
        grid()->setCell(0, 0, QStringLiteral("4"));
        type(QStringLiteral("12"));
        QTest::keyClick(keyTarget(), Qt::Key_Escape);
        QCOMPARE(grid()->cell(0, 0), QStringLiteral("4"));
        QVERIFY(dialog->isVisible());
        QTest::keyClick(keyTarget(), Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
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
    }

    void digitsInTheLargeFontFitTheirCell() {
        QCOMPARE(grid()->font().pixelSize(), 57);
        const QFontMetrics metrics(grid()->font());
        QVERIFY(metrics.horizontalAdvance(QStringLiteral("15")) + 2 <= 80);
        QVERIFY(metrics.height() + 2 <= 80);
    }
};

QTEST_MAIN(ArrangementGridTest)
#include "arrangement_grid_test.moc"
