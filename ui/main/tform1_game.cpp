// The game's state as the window holds it, and what follows every change of its board: the
// hint goes, the keys kept for the board as it was are dropped, the par and the replay keep
// or forget the game's start, and assistive tools are told what moved.
#include <QAction>
#include <QTimer>

#include "tform1.h"
#include "ui/features/accessible_game.h"
#include "ui/features/hint.h"
#include "ui/features/locked_board_cue.h"
#include "ui/features/par.h"
#include "ui/widgets/caption_panel.h"

bool TForm1::sliding() const { return Timer1->isActive(); }

bool TForm1::celebrating() const { return Timer2->isActive(); }

bool TForm1::boardTakesInput() const { return Panel1->isEnabled() && !sliding(); }

bool TForm1::noGameInProgress() const { return !Panel1->isEnabled() && !sliding(); }

CaptionPanel* TForm1::panelShowing(std::uint8_t tile) const {
    for (int k = 1; k <= kTileCount; ++k) {
        if (TilePanel(k)->caption() == QString::number(tile)) return TilePanel(k);
    }
    return nullptr;
}

void TForm1::boardChanged(GameStart start) {
    hint_->clear();
    dropPendingKeys();
    switch (start) {
        case GameStart::Kept: return;
        case GameStart::New:
            par_->start(state_.Board);
            replayStart_ = state_.Board;
            break;
        case GameStart::NoPar: par_->clear(); break;
        case GameStart::Forgotten:
            par_->clear();
            replayStart_.reset();
            break;
    }
    replayItem_->setEnabled(replayStart_.has_value());
    copyItem_->setEnabled(replayStart_.has_value());
}

void TForm1::boardSettled() {
    tellBoardPlaces(Panel1);
    lockedBoardCue_->describeBoard(noGameInProgress());
}
