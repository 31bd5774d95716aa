// The keyboard: the arrows play the tile beside the blank, H (Р, the same key on a Russian
// layout) asks for a hint, and the context-menu key opens the board's menu. Every other key
// keeps its usual meaning. On a board locked between games, keys and clicks on tiles say how
// to start a game.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <optional>

#include "engine/moves.h"
#include "tform1.h"
#include "ui/features/hint.h"
#include "ui/features/locked_board_cue.h"
#include "ui/widgets/caption_panel.h"
#include "ui/widgets/form_surface.h"

namespace {

// The Cyrillic capital ER, which the H key gives on a Russian layout.
constexpr int kKeyCyrillicEr = 0x0420;

// The direction a tile travels for an arrow key; none for any other key.
std::optional<engine::SlideDirection> travelFor(int key) {
    switch (key) {
        case Qt::Key_Left: return engine::SlideDirection::SlideLeft;
        case Qt::Key_Right: return engine::SlideDirection::SlideRight;
        case Qt::Key_Up: return engine::SlideDirection::SlideUp;
        case Qt::Key_Down: return engine::SlideDirection::SlideDown;
        default: return std::nullopt;
    }
}

}  // namespace

void TForm1::ArrowKey(Qt::Key key) {
    const std::optional<engine::SlideDirection> travel = travelFor(key);
    if (!travel || !boardTakesInput()) return;
    if (CaptionPanel* panel = panelShowing(engine::TileToSlide(state_.Board, *travel))) Panel2Click(panel);
}

bool TForm1::playKey(const QKeyEvent* event) {
    // Plain keys only: with Ctrl, Alt or Meta a key means something else.
    if (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
    const int key = event->key();
    const bool arrow = travelFor(key) && !(event->modifiers() & Qt::ShiftModifier);
    const bool hint = key == Qt::Key_H || key == kKeyCyrillicEr;
    if (!arrow && !hint) return false;

    const Qt::Key gameKey = arrow ? static_cast<Qt::Key>(key) : Qt::Key_H;
    // On a board locked between games a key says how to start one. A key pressed while a
    // tile slides waits for the slide's end; a won game's last slide keeps none: there is
    // nothing left to play.
    if (noGameInProgress()) {
        lockedBoardCue_->show();
    } else if (sliding() && !celebrating()) {
        if (pendingKeys_.size() < kMostPendingKeys) pendingKeys_.push_back(gameKey);
    } else {
        playGameKey(gameKey);
    }
    return true;
}

void TForm1::playGameKey(Qt::Key key) {
    if (key == Qt::Key_H) {
        hint_->ask();
    } else {
        ArrowKey(key);
    }
}

void TForm1::playPendingKeys() {
    while (!pendingKeys_.empty() && boardTakesInput()) {
        const Qt::Key key = pendingKeys_.front();
        pendingKeys_.pop_front();
        playGameKey(key);
    }
    // Keys left over belong to the next slide's end, unless the board stopped taking input.
    if (!sliding()) pendingKeys_.clear();
}

void TForm1::dropPendingKeys() { pendingKeys_.clear(); }

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (playKey(event)) return;
    QMainWindow::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // A focused button would take the arrows to move the focus along; here they play.
    // Enter and Space still press it.
    if (watched == Button1 && event->type() == QEvent::KeyPress && playKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    // The context-menu key opens the menu over the board, not wherever the pointer is.
    if (watched == clientArea_ && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        ClientAreaContextMenu(Panel1->geometry().center());
        return true;
    }
    if (watched == Panel1 && event->type() == QEvent::EnabledChange) lockedBoardCue_->describeBoard(noGameInProgress());
    // A locked board hands a tile's press on to itself.
    if (watched == Panel1 && event->type() == QEvent::MouseButtonPress && noGameInProgress()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && Panel1->childAt(press->position().toPoint())) lockedBoardCue_->show();
    }
    return QMainWindow::eventFilter(watched, event);
}
