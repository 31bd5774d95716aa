#include "hint.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include "caption_panel.h"
#include "hint_balloon.h"

namespace {

constexpr QStringView kMovesLeft = u"Осталось ходов: %1";
// What assistive tools hear of an answer: the tile its red caption shows, then the balloon.
constexpr QStringView kHeardAnswer = u"Плитка %1. %2";
constexpr QStringView kCannotBeSolved = u"Этот расклад не собирается";
constexpr QStringView kComing = u"Подсказка готовится…";
constexpr QStringView kComingAtLeast = u"Подсказка готовится… не меньше %1 %2";
constexpr QStringView kUnavailable = u"Подсказка недоступна";
constexpr QStringView kHintItem = u"Подсказка";

// After this long without an answer the balloon says that one is coming.
constexpr int kWaitMs = 300;

const QColor kHintedCaption(255, 0, 0);

// "хода" after a number that ends in 1 but not in 11 (61 хода), "ходов" after any other.
QStringView movesAfter(int n) { return n % 10 == 1 && n % 100 != 11 ? u"хода" : u"ходов"; }

QString comingText(int provedMoves) {
    if (provedMoves < 0) return kComing.toString();
    return kComingAtLeast.toString().arg(provedMoves).arg(movesAfter(provedMoves));
}

}  // namespace

Hint::Hint(WindowHooks hooks, QObject* parent) : QObject(parent), hooks_(std::move(hooks)), wait_(new QTimer(this)) {
    wait_->setSingleShot(true);
    wait_->setInterval(kWaitMs);
    connect(wait_, &QTimer::timeout, this, [this] { showBalloon(comingText(provedMoves_), nullptr); });
}

Hint::~Hint() = default;

void Hint::setTables(std::shared_ptr<SharedTables> tables, HintSolver solve) {
    clear();
    search_.reset();
    source_ = {std::move(tables), std::move(solve)};
}

void Hint::ask() {
    if (!hooks_.takesInput()) return;
    // A search under way is always the board's: every change of the board ends it.
    if (search_ && search_->searching()) return;
    clear();
    if (!search_) {
        search_ = source_.makeSearch();
        connect(search_.get(), &HintSearch::answered, this, &Hint::showAnswer);
        connect(search_.get(), &HintSearch::progressed, this, &Hint::showProgress);
    }
    provedMoves_ = -1;
    wait_->start();
    search_->request(hooks_.cells);
}

void Hint::showProgress(int moves) {
    provedMoves_ = moves;
    if (!wait_->isActive()) showBalloon(comingText(provedMoves_), nullptr);
}

void Hint::showAnswer(const HintAnswer& answer) {
    // Every change of the board ends its search, so an answer is always the board's own.
    if (!hooks_.takesInput()) return;
    wait_->stop();
    switch (answer.kind) {
        case HintAnswer::Kind::CannotBeSolved: showBalloon(kCannotBeSolved.toString(), nullptr); return;
        case HintAnswer::Kind::Unavailable: showBalloon(kUnavailable.toString(), nullptr); return;
        case HintAnswer::Kind::MovesLeft: break;
    }
    CaptionPanel* next = hooks_.tile(answer.nextTile);
    if (next) {
        hintedTile_ = next;
        hintedTileColor_ = next->fontColor();
        next->setFontColor(kHintedCaption);
    }
    const QString text = kMovesLeft.toString().arg(answer.movesLeft);
    showBalloon(text, next, next ? kHeardAnswer.toString().arg(next->caption(), text) : text);
}

void Hint::showBalloon(const QString& text, CaptionPanel* beside, const QString& heard) {
    QWidget* const surface = hooks_.surface;
    if (!balloon_) balloon_ = new HintBalloon(surface);
    // Set each time, so that assistive tools hear every change, the rising bound's too.
    balloon_->setAccessibleName(heard.isEmpty() ? text : heard);
    if (beside) {
        balloon_->showBeside(text, QRect(beside->mapTo(surface, QPoint(0, 0)), beside->size()));
        return;
    }
    // A hint with no tile to point at speaks from the strip above the board, where it hides
    // no tile while the player waits.
    const QPoint boardCorner = hooks_.board->mapTo(surface, QPoint(0, 0));
    balloon_->showBeside(text, QRect(boardCorner.x(), 0, 0, boardCorner.y()));
}

void Hint::clear() {
    if (search_) search_->cancel();
    wait_->stop();
    if (balloon_) balloon_->hide();
    if (hintedTile_) {
        hintedTile_->setFontColor(hintedTileColor_);
        hintedTile_ = nullptr;
    }
}

void Hint::popUpMenu(QPoint globalPos) {
    if (!menu_) {
        menu_ = new QMenu(hooks_.surface);
        action_ = menu_->addAction(kHintItem.toString(), this, &Hint::ask);
        action_->setShortcut(QKeySequence(Qt::Key_H));
        action_->setShortcutVisibleInContextMenu(true);
    }
    action_->setEnabled(hooks_.takesInput());
    menu_->popup(globalPos);
}
