// The client area's context menu, the replay of the last game's starting position and its copy
// as text.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include "engine/deal_text.h"
#include "tform1.h"
#include "ui/features/accessible_game.h"
#include "ui/features/hint.h"
#include "ui/features/par.h"
#include "ui/platform/desktop.h"
#include "ui/widgets/form_surface.h"

namespace {

constexpr QStringView kHintItem = u"Подсказка";
constexpr QStringView kReplayItem = u"Сыграть этот расклад заново";
constexpr QStringView kCopyItem = u"Скопировать расклад";

}  // namespace

void TForm1::createContextMenu() {
    contextMenu_ = new QMenu(this);
    hintItem_ = contextMenu_->addAction(kHintItem.toString(), hint_, &Hint::ask);
    hintItem_->setShortcut(QKeySequence(Qt::Key_H));
    hintItem_->setShortcutVisibleInContextMenu(true);
    replayItem_ = contextMenu_->addAction(kReplayItem.toString(), this, &TForm1::ReplayDeal);
    replayItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    replayItem_->setShortcutVisibleInContextMenu(true);
    replayItem_->setEnabled(false);
    copyItem_ = contextMenu_->addAction(kCopyItem.toString(), this, &TForm1::CopyDeal);
    copyItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copyItem_->setShortcutVisibleInContextMenu(true);
    copyItem_->setEnabled(false);
    // The keys work without the menu, in the window; like the menu, not while a modal
    // window is open.
    addAction(replayItem_);
    addAction(copyItem_);
    // Assistive tools hear the board, and may ask for a hint on it as from the menu.
    setAccessibleBoard(Panel1, {hintItem_});
}

void TForm1::ClientAreaContextMenu(const QPoint& pos) {
    hintItem_->setEnabled(boardTakesInput());
    contextMenu_->popup(clientArea_->mapToGlobal(pos));
}

void TForm1::ReplayDeal() {
    if (!replayStart_ || QApplication::activeModalWidget()) return;
    // A slide under way stops, as a new game stops it; the new layout places every panel.
    Timer1->stop();
    state_.Board = *replayStart_;
    zadat_rasstanovku();
}

void TForm1::CopyDeal() {
    if (replayStart_) platform::copyToClipboard(QString::fromStdString(engine::FormatDealText(*replayStart_)));
}
