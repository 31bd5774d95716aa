#include "string_grid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <optional>

namespace {

// Grid lines between the cells.
const QColor kLineColour(192, 192, 192);

// Cell text stands this far in from the cell's top-left corner.
constexpr int kTextInset = 2;

// For Ctrl+Tab, true (forward), for Ctrl+Shift+Tab, false; none for any other key.
std::optional<bool> leavingDirection(const QKeyEvent& key) {
    if (!(key.modifiers() & Qt::ControlModifier)) return std::nullopt;
    if (key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_Tab && (key.modifiers() & Qt::ShiftModifier))) {
        return false;
    }
    if (key.key() == Qt::Key_Tab) return true;
    return std::nullopt;
}

// A cell's text is what a screen reader hears after the cell's name.
class GridCell : public QTableWidgetItem {
public:
    GridCell() = default;
    Q_DISABLE_COPY(GridCell)

    QVariant data(int role) const override {
        return role == Qt::AccessibleDescriptionRole ? QVariant(text()) : QTableWidgetItem::data(role);
    }
};

}  // namespace

// Draws each cell into its square only, leaving the strip of grid line beside it to the
// grid, and opens a plain one-line editor over the same square.
class StringGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    StringGridDelegate(int cellSize, StringGrid* grid) : QStyledItemDelegate(grid), cellSize_(cellSize), grid_(grid) {}

    QRect square(const QRect& section) const { return QRect(section.topLeft(), QSize(cellSize_, cellSize_)); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect area = square(option.rect);
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setClipRect(area);
        painter->fillRect(area, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setFont(option.font);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(area.adjusted(kTextInset, kTextInset, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setFont(option.font);
        editor->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        editor_ = editor;
        return editor;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        editor->setGeometry(square(option.rect));
    }

    // The editor that is open, if any.
    QLineEdit* openEditor() const { return editor_; }

protected:
    // The editor would take Ctrl+Tab, as Tab, for the next cell, and a paste for its own.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (const std::optional<bool> forward = leavingDirection(*key)) {
                grid_->leaveGrid(*forward);
                return true;
            }
            if (key->matches(QKeySequence::Paste) && grid_->pasteWholeGrid()) return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    int cellSize_;
    StringGrid* grid_;
    mutable QPointer<QLineEdit> editor_;
};

StringGrid::StringGrid(int columns, int rows, int cellSize, int lineWidth, QWidget* parent)
    : QTableWidget(rows, columns, parent),
      cellSize_(cellSize),
      lineWidth_(lineWidth),
      delegate_(new StringGridDelegate(cellSize, this)) {
    setItemDelegate(delegate_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    // Each section holds a cell and the line after it; the last holds the cell alone, so that
    // the cells never need scrolling when the trailing line does not fit.
    for (int column = 0; column < columns; ++column) {
        setColumnWidth(column, column + 1 < columns ? cellSize + lineWidth : cellSize);
    }
    for (int row = 0; row < rows; ++row) setRowHeight(row, row + 1 < rows ? cellSize + lineWidth : cellSize);

    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // Tab and Shift+Tab step through the cells; the table view wraps from the last cell
    // to the first and back.
    setTabKeyNavigation(true);

    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) setItem(row, column, new GridCell());
    }
    setCurrentCell(0, 0);
}

QString StringGrid::cell(int column, int row) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text) {
    if (QTableWidgetItem* it = item(row, column)) it->setText(text);
}

void StringGrid::finishEditing() {
    if (!isEditing()) return;
    if (QLineEdit* editor = delegate_->openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void StringGrid::discardEditing() {
    if (!isEditing()) return;
    if (QLineEdit* editor = delegate_->openEditor()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool StringGrid::pasteWholeGrid() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!wholeGridPaste_ || !clipboard) return false;
    const std::optional<QStringList> texts = wholeGridPaste_(clipboard->text());
    if (!texts || texts->size() != rowCount() * columnCount()) return false;
    discardEditing();
    for (qsizetype i = 0; i < texts->size(); ++i) {
        setCell(static_cast<int>(i % columnCount()), static_cast<int>(i / columnCount()), texts->at(i));
    }
    return true;
}

void StringGrid::setCellName(int column, int row, const QString& name) {
    if (QTableWidgetItem* it = item(row, column)) it->setData(Qt::AccessibleTextRole, name);
}

void StringGrid::leaveGrid(bool forward) {
    finishEditing();
    // The focus chain is walked from the grid, not from an editor that has just closed.
    setFocus(Qt::OtherFocusReason);
    QWidget::focusNextPrevChild(forward);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    // The table view takes Ctrl+Tab as Tab, for the next cell.
    if (const std::optional<bool> forward = leavingDirection(*event)) {
        leaveGrid(*forward);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        // Otherwise into the selected cell, as a key typed there goes: its editor opens with
        // the cell's text selected and takes the key, so the pasted text replaces it.
        if (!pasteWholeGrid()) edit(currentIndex(), AnyKeyPressed, event);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QRect StringGrid::cellRect(int column, int row) const {
    return QRect(columnViewportPosition(column), rowViewportPosition(row), cellSize_, cellSize_);
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // The table view would wait a double-click interval before opening the editor of a
    // clicked selected cell, and drop every key typed meanwhile: a player who clicks a cell
    // and types at once would lose the first digits.
    if (trigger == SelectedClicked) trigger = DoubleClicked;
    return QTableWidget::edit(index, trigger, event);
}

void StringGrid::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    // A line follows every cell; the ones after the last column and row are cut off by the
    // grid's edge, as far as they reach past the cells at all.
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    for (int column = 0; column < columnCount(); ++column) {
        const int left = columnViewportPosition(column) + cellSize_;
        const int width = column + 1 < columnCount() ? lineWidth_ : std::min(lineWidth_, area.right() + 1 - left);
        if (width > 0) painter.fillRect(QRect(left, 0, width, area.height()), kLineColour);
    }
    for (int row = 0; row < rowCount(); ++row) {
        const int top = rowViewportPosition(row) + cellSize_;
        const int height = row + 1 < rowCount() ? lineWidth_ : std::min(lineWidth_, area.bottom() + 1 - top);
        if (height > 0) painter.fillRect(QRect(0, top, area.width(), height), kLineColour);
    }
}

#include "string_grid.moc"
