// The hint: a shortest solution found off the GUI thread, its next tile turned red and a
// balloon telling the moves left; and the client area's context menu that asks for it.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

#include "caption_panel.h"
#include "form_surface.h"
#include "hint_balloon.h"
#include "hint_search.h"
#include "tform1.h"

namespace {

constexpr QStringView kMovesLeft = u"Осталось ходов: %1";
constexpr QStringView kCannotBeSolved = u"Этот расклад не собирается";
constexpr QStringView kComing = u"Подсказка готовится…";
constexpr QStringView kUnavailable = u"Подсказка недоступна";
constexpr QStringView kHintItem = u"Подсказка";

// After this long without an answer the balloon says that one is coming.
constexpr int kHintWaitMs = 300;

const QColor kHintedCaption(255, 0, 0);

}  // namespace

void TForm1::setHintTables(std::string path) {
    clearHint();
    hintSearch_.reset();
    hintTables_ = std::move(path);
}

void TForm1::ShowHint() {
    if (!boardTakesInput()) return;
    // Asked again while the search goes on: it goes on, and its answer will come. (A search
    // under way is always the board's: every change of the board ends it.)
    if (hintSearch_ && hintSearch_->searching()) return;
    clearHint();
    if (!hintSearch_) {
        if (hintTables_.empty()) {
            hintTables_ = engine::TablesPathFor(QCoreApplication::applicationDirPath().toStdString());
        }
        hintSearch_ = std::make_unique<HintSearch>(hintTables_);
        connect(hintSearch_.get(), &HintSearch::answered, this, &TForm1::showHintAnswer);
        hintWait_ = new QTimer(this);
        hintWait_->setSingleShot(true);
        hintWait_->setInterval(kHintWaitMs);
        connect(hintWait_, &QTimer::timeout, this, [this] { showBalloon(kComing.toString(), nullptr); });
    }
    hintWait_->start();
    hintSearch_->request(state_.Board);
}

void TForm1::showHintAnswer(const HintAnswer& answer) {
    // Every change of the board ends its search, so an answer is always the board's own.
    if (!boardTakesInput()) return;
    hintWait_->stop();
    switch (answer.kind) {
        case HintAnswer::Kind::CannotBeSolved: showBalloon(kCannotBeSolved.toString(), nullptr); return;
        case HintAnswer::Kind::Unavailable: showBalloon(kUnavailable.toString(), nullptr); return;
        case HintAnswer::Kind::MovesLeft: break;
    }
    CaptionPanel* next = panelShowing(answer.nextTile);
    if (next) {
        hintedTile_ = next;
        hintedTileColor_ = next->fontColor();
        next->setFontColor(kHintedCaption);
    }
    showBalloon(kMovesLeft.toString().arg(answer.movesLeft), next);
}

void TForm1::showBalloon(const QString& text, CaptionPanel* beside) {
    if (!balloon_) balloon_ = new HintBalloon(ClientArea);
    // Beside the tile; a hint with no tile to point at speaks from the board's first cell.
    const QRect anchor = beside ? QRect(beside->mapTo(ClientArea, QPoint(0, 0)), beside->size())
                                : QRect(Panel1->mapTo(ClientArea, QPoint(CellOrigin(1), CellOrigin(1))),
                                        QSize(kCellSize, kCellSize));
    balloon_->showBeside(text, anchor);
}

void TForm1::clearHint() {
    if (hintSearch_) hintSearch_->cancel();
    if (hintWait_) hintWait_->stop();
    if (balloon_) balloon_->hide();
    if (hintedTile_) {
        hintedTile_->setFontColor(hintedTileColor_);
        hintedTile_ = nullptr;
    }
}

void TForm1::ClientAreaContextMenu(const QPoint& pos) {
    if (!contextMenu_) {
        contextMenu_ = new QMenu(this);
        hintAction_ = contextMenu_->addAction(kHintItem.toString(), this, &TForm1::ShowHint);
        hintAction_->setShortcut(QKeySequence(Qt::Key_H));
        hintAction_->setShortcutVisibleInContextMenu(true);
    }
    hintAction_->setEnabled(boardTakesInput());
    contextMenu_->popup(ClientArea->mapToGlobal(pos));
}
