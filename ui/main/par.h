#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "engine/grid.h"
#include "hint_search.h"

class QWidget;

class HintBalloon;

// The par: the length of a shortest solution of the position a game started from. Its search
// starts with the game, off the GUI thread, sharing the hint's tables. At a win by play a
// balloon in the hint's look beside the move counter tells it, "Кратчайшее решение: 45 ходов",
// and on a second line "Вы нашли его!" when the player needed no more moves. A win that comes
// before the search ends is told as soon as it does. The balloon stays until the board next
// changes; a game whose board changed otherwise than by play has no par to tell.
class Par : public QObject {
    Q_OBJECT
public:
    // The widgets of the window that the par's balloon is placed among.
    struct Landmarks {
        QWidget* surface;  // where the balloon shows
        QWidget* board;    // the board panel, which the balloon keeps clear of
        QWidget* clock;    // the clock's frame, which it keeps clear of too
        QWidget* counter;  // the move counter's frame, which the balloon shows beside
    };

    Par(Landmarks landmarks, QObject* parent);
    ~Par() override;

    // The pattern tables, and the search that reads them. Without them the par is silent.
    void setTables(std::shared_ptr<SharedTables> tables, HintSolver solve = engine::Solve);

    // A game starts from `board`: the search of the game before ends, its balloon goes, and a
    // search for this board's par starts, unless the board is solved already or cannot be.
    void start(const engine::Grid& board);
    // The board changed otherwise than by play: no par for this game, and no balloon.
    void clear();
    // The game is won, the counter reading `moves`. Won by play from the position whose par is
    // sought, the balloon shows, now or once the par is known; otherwise nothing happens.
    void won(int moves);

    // Whether a search for the par is under way.
    bool searching() const { return search_ && search_->searching(); }
    // The balloon (null before the first par told).
    HintBalloon* balloon() const { return balloon_; }

    // What the balloon says of a par of `length` moves at a win in `moves` moves.
    static QString text(int length, int moves);

private:
    void found(const HintAnswer& answer);
    void tell();

    Landmarks landmarks_;
    SearchSource source_;  // no tables until set
    std::unique_ptr<HintSearch> search_;  // made by the first game
    HintBalloon* balloon_ = nullptr;
    bool sought_ = false;  // the game's par is being sought or known
    int length_ = -1;      // the par, once known
    int wonIn_ = -1;       // the counter at a win by play, once won
};
