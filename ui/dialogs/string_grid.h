#pragma once

#include <QPointer>
#include <QStringList>
#include <QTableWidget>

#include <functional>
#include <optional>

class QLineEdit;
class StringGridDelegate;

// An editable grid of text cells without heading rows or columns. Every cell is a square of
// `cellSize` pixels; grid lines `lineWidth` pixels wide run between the cells. One cell at
// a time is selected; typing edits its text, and any text may be typed. Tab and Shift+Tab
// move the selection cell by cell, row by row, wrapping round at the ends, instead of
// leaving the grid; Ctrl+Tab and Ctrl+Shift+Tab leave it for the next or previous control,
// as Qt's widgets that keep Tab for themselves do. Cell text is drawn from the cell's
// top-left corner. A screen reader hears a cell by the name given to it, and its text as
// the cell's description. Pasting (Ctrl+V) may fill all the cells at once: see
// setWholeGridPaste.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    StringGrid(int columns, int rows, int cellSize, int lineWidth, QWidget* parent);

    // The text of the cell in column `column` and row `row`, both counted from 0.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // Writes the text of a cell being edited into the cell and closes the editor.
    void finishEditing();
    // Closes the editor of a cell being edited, dropping what was typed into it.
    void discardEditing();
    // Whether a cell's editor is open.
    bool isEditing() const { return state() == EditingState; }

    // What a paste on the grid, with a cell's editor open or not, makes of the clipboard's
    // text: the texts of all the cells, row by row, which replace the whole grid's at once
    // (a cell being edited drops what was typed into it); or none, and the text goes into the
    // selected cell as typing it would. Without a reader every paste goes into the cell.
    using WholeGridPaste = std::function<std::optional<QStringList>(const QString& text)>;
    void setWholeGridPaste(WholeGridPaste reader) { wholeGridPaste_ = std::move(reader); }
    // Fills the grid from the clipboard when the reader makes all its cells of it; false
    // when the paste is left to the selected cell.
    bool pasteWholeGrid();

    // Names the cell for assistive tools.
    void setCellName(int column, int row, const QString& name);

    // Writes a cell being edited into its cell and moves the focus on to the next (or the
    // previous) control in the window's tab order.
    void leaveGrid(bool forward);

    // The cell's own square in viewport coordinates, without the grid lines.
    QRect cellRect(int column, int row) const;

    // The table view's edit(index) stays in reach beside the override below.
    using QTableWidget::edit;

    int cellSize() const { return cellSize_; }
    int lineWidth() const { return lineWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A click on the selected cell opens its editor at once.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    int cellSize_;
    int lineWidth_;
    StringGridDelegate* delegate_;
    WholeGridPaste wholeGridPaste_;
};
