#include "accessible_game.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QHash>
#include <QLabel>

#include "engine/grid.h"
#include "ui/widgets/board_geometry.h"
#include "ui/widgets/caption_panel.h"

namespace {

constexpr char kMeaningProperty[] = "accessibleMeaning";
constexpr char kBoardProperty[] = "accessibleBoard";  // the board's actions, as a QObjectList
constexpr char kNotificationProperty[] = "accessibleNotification";
constexpr QStringView kBareCell = u"Пустая клетка";
constexpr QStringView kBoard = u"Игровое поле";
constexpr QStringView kPlace = u"ряд %1, столбец %2";

// A board cell by row and column, 1..4; 0 for none.
struct Cell {
    int row = 0, column = 0;
};

// The cell whose origin is `origin` in the board's coordinates; none where no cell starts there.
Cell cellAt(QPoint origin) {
    Cell cell;
    for (int i = 1; i <= engine::kSide; ++i) {
        if (board_geometry::CellOrigin(i) == origin.y()) cell.row = i;
        if (board_geometry::CellOrigin(i) == origin.x()) cell.column = i;
    }
    return cell.row && cell.column ? cell : Cell{};
}

QString placeText(Cell cell) { return cell.row ? kPlace.toString().arg(cell.row).arg(cell.column) : QString(); }

bool isTile(const QObject* panel) { return qobject_cast<const CaptionPanel*>(panel->parent()) != nullptr; }

// A caption panel: named by its caption. A tile also tells its place and can be pressed.
class CaptionPanelAccessible : public QAccessibleWidget {
public:
    explicit CaptionPanelAccessible(CaptionPanel* panel)
        : QAccessibleWidget(panel, isTile(panel) ? QAccessible::Button : QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const auto* panel = static_cast<const CaptionPanel*>(object());
        if (t == QAccessible::Name && panel->accessibleName().isEmpty()) return panel->caption();
        if (t == QAccessible::Description && isTile(panel)) return placeText(cellAt(panel->pos()));
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return isTile(object()) ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        auto* panel = static_cast<CaptionPanel*>(object());
        if (action == pressAction() && isTile(panel) && panel->isEnabled()) {
            emit panel->clicked();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

// The board's bare cell, which has no control of its own: the cell no tile stands on.
class BareCellAccessible : public QAccessibleInterface {
public:
    explicit BareCellAccessible(QWidget* board) : board_(board) {}
    Q_DISABLE_COPY(BareCellAccessible)

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(board_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::StaticText; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return kBareCell.toString();
        if (t == QAccessible::Description) return placeText(cell());
        return {};
    }

    QRect rect() const override {
        const Cell at = cell();
        if (!at.row) return {};
        const QPoint origin(board_geometry::CellOrigin(at.column), board_geometry::CellOrigin(at.row));
        return {board_->mapToGlobal(origin), QSize(board_geometry::kCellSize, board_geometry::kCellSize)};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !board_->isVisible() || !cell().row;
        return state;
    }

private:
    // The one cell that no tile covers; none while a tile is between cells.
    Cell cell() const {
        Cell bare;
        for (int row = 1; row <= engine::kSide; ++row) {
            for (int column = 1; column <= engine::kSide; ++column) {
                const QPoint origin(board_geometry::CellOrigin(column), board_geometry::CellOrigin(row));
                const QWidget* tile = board_->childAt(origin + QPoint(1, 1));
                if (tile && tile->pos() == origin) continue;
                if (bare.row) return {};
                bare = {row, column};
            }
        }
        return bare;
    }

    QWidget* board_;
};

// The board: its tiles, then its bare cell. It keeps the place of each as last told, so
// that a change of the board tells assistive tools every place that changed.
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(CaptionPanel* board)
        : QAccessibleWidget(board, QAccessible::Grouping, kBoard.toString()),
          bareCellId_(QAccessible::registerAccessibleInterface(new BareCellAccessible(board))),
          told_(places()) {}
    ~BoardAccessible() override { QAccessible::deleteAccessibleInterface(bareCellId_); }

    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == QAccessibleWidget::childCount()) return QAccessible::accessibleInterface(bareCellId_);
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == QAccessible::accessibleInterface(bareCellId_)) return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

    QStringList actionNames() const override {
        QStringList names;
        for (const QAction* action : actions()) names << action->text();
        return names;
    }
    void doAction(const QString& name) override {
        for (QAction* action : actions()) {
            if (action->text() == name) action->trigger();
        }
    }

    void tellChangedPlaces() {
        const QHash<QAccessibleInterface*, QString> now = places();
        for (auto place = now.cbegin(); place != now.cend(); ++place) {
            if (told_.value(place.key()) == place.value()) continue;
            QAccessibleEvent notice(place.key(), QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&notice);
        }
        told_ = now;
    }

private:
    QList<QAction*> actions() const {
        QList<QAction*> actions;
        for (QObject* given : object()->property(kBoardProperty).value<QObjectList>()) {
            if (auto* action = qobject_cast<QAction*>(given)) actions << action;
        }
        return actions;
    }

    // Each tile's and the bare cell's place, by its interface.
    QHash<QAccessibleInterface*, QString> places() const {
        QHash<QAccessibleInterface*, QString> places;
        for (int i = 0; i < childCount(); ++i) places.insert(child(i), child(i)->text(QAccessible::Description));
        return places;
    }

    QAccessible::Id bareCellId_;
    QHash<QAccessibleInterface*, QString> told_;
};

// A label with a meaning: the meaning, then the label's current text.
class MeaningfulLabelAccessible : public QAccessibleWidget {
public:
    explicit MeaningfulLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const auto* label = static_cast<const QLabel*>(object());
        if (t == QAccessible::Name)
            return QStringLiteral("%1: %2").arg(label->property(kMeaningProperty).toString(), label->text());
        if (t == QAccessible::Value) return label->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* gameInterface(const QString& className, QObject* object) {
    if (className == u"CaptionPanel") {
        auto* panel = static_cast<CaptionPanel*>(object);
        if (panel->property(kBoardProperty).isValid()) return new BoardAccessible(panel);
        return new CaptionPanelAccessible(panel);
    }
    if (className == u"QLabel" && object->property(kMeaningProperty).isValid()) {
        return new MeaningfulLabelAccessible(static_cast<QLabel*>(object));
    }
    if (className == u"QLabel" && object->property(kNotificationProperty).toBool()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

void installGameAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(gameInterface);
        return true;
    }();
    (void)installed;
}

namespace {

// Qt keeps an object's interface once made: after a change of kind, the next one asked for
// is made anew.
void forgetInterface(QObject* object) {
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace

void setAccessibleMeaning(QLabel* label, const QString& meaning) {
    label->setProperty(kMeaningProperty, meaning);
    forgetInterface(label);
}

void setAccessibleNotification(QLabel* label) {
    label->setProperty(kNotificationProperty, true);
    forgetInterface(label);
}

void setAccessibleBoard(CaptionPanel* board, const QList<QAction*>& actions) {
    board->setProperty(kBoardProperty, QVariant::fromValue(QObjectList(actions.cbegin(), actions.cend())));
    forgetInterface(board);
}

void tellBoardPlaces(CaptionPanel* board) {
    if (!QAccessible::isActive()) return;
    if (auto* heard = dynamic_cast<BoardAccessible*>(QAccessible::queryAccessibleInterface(board))) {
        heard->tellChangedPlaces();
    }
}
