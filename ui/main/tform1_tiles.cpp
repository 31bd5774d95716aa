// The tile panels: placing them from Board, the click that moves a tile, and the slide.
#include <QPoint>
#include <QString>
#include <QTimer>

#include "engine/moves.h"
#include "tform1.h"
#include "ui/features/accessible_game.h"
#include "ui/features/hint.h"
#include "ui/features/locked_board_cue.h"
#include "ui/widgets/caption_panel.h"

namespace {

constexpr int kBottomRightCell = engine::kCells;

// One tick's step on the screen for a direction of travel.
QPoint slideStep(engine::SlideDirection direction) {
    switch (direction) {
        case engine::SlideDirection::SlideDown: return {0, TForm1::kSlideStep};
        case engine::SlideDirection::SlideUp: return {0, -TForm1::kSlideStep};
        case engine::SlideDirection::SlideLeft: return {-TForm1::kSlideStep, 0};
        case engine::SlideDirection::SlideRight: return {TForm1::kSlideStep, 0};
    }
    return {};
}

}  // namespace

void TForm1::PlaceTilesInOrder() {
    int left = CellOrigin(1);
    int top = CellOrigin(1);
    for (int k = 1; k <= kTileCount; ++k) {
        TilePanel(k)->move(left, top);
        left += kCellSize;
        if (left > CellOrigin(4)) {
            left = CellOrigin(1);
            top += kCellSize;
        }
    }
}

void TForm1::ShowBoard() {
    PlaceTilesInOrder();

    // With the blank elsewhere than in the bottom-right corner, the panel of the blank's
    // cell stands in for the corner's tile.
    const engine::Grid& board = state_.Board;
    const int blankCell = board(4, 4) != 0 ? engine::LastBlankCell(board) : 0;
    if (blankCell != 0) TilePanel(blankCell)->move(CellOrigin(4), CellOrigin(4));

    for (int k = 1; k <= kTileCount; ++k) {
        const int value = k == blankCell ? board.at(kBottomRightCell) : board.at(k);
        TilePanel(k)->setCaption(QString::number(value));
    }
    boardSettled();
}

void TForm1::Panel2Click(CaptionPanel* sender) {
    CheatArmed = false;
    const int value = sender->caption().toInt();

    const engine::MoveResult move = engine::TryMove(state_, static_cast<std::uint8_t>(value));
    if (move.Moved) {
        hint_->clear();
        SlidingPanel = sender;
        SlideTick = 1;
        slidingDirection_ = move.Direction;
        if (!sliding()) Timer1->start();
        // The board locks from the click, not from the first tick: a second click in
        // between would start another slide and strand this panel off its cell.
        Panel1->setEnabled(false);
        const bool gameReset = CountMove();
        if (gameReset) return;
    }
    prav();
}

void TForm1::Timer1Timer() {
    if (!SlidingPanel) return;
    Panel1->setEnabled(false);
    SlidingPanel->move(SlidingPanel->pos() + slideStep(slidingDirection_));
    ++SlideTick;
    if (SlideTick == kSlideEndTick) {
        Timer1->stop();
        // A won game keeps its board locked while the celebration runs.
        if (!celebrating()) Panel1->setEnabled(true);
        boardSettled();
        playPendingKeys();
    }
}

void TForm1::settleSlide() {
    if (!sliding()) return;
    Timer1->stop();
    if (SlidingPanel) {
        const int ticksLeft = kSlideEndTick - SlideTick;
        SlidingPanel->move(SlidingPanel->pos() + slideStep(slidingDirection_) * ticksLeft);
        SlideTick = kSlideEndTick;
    }
    boardSettled();
}
