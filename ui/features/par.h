#pragma once

#include <QObject>
#include <QString>

#include "engine/grid.h"
#include "solving/solver_service.h"

class MessageLine;

// The par: the length of a shortest solution of the position a game started from. A game
// keeps a copy of its starting position, and nothing more happens while it is played. At a
// win by play the window's solver service is asked for the par; the window's message line
// tells it, "Кратчайшее решение: 45 ходов", followed by "Вы нашли его!" when the player needed
// no more moves and no hint, or by the count of hints taken, "Подсказок: 2". Where the service knows a solution through
// the position (the hints of the game followed from its start, or the same deal played before) it comes with the win,
// otherwise once the search ends. It stays until the board next changes; a game whose board
// changed otherwise than by play has no par to tell, and without tables the par is silent.
class Par : public QObject {
    Q_OBJECT
public:
    // `line`: where the par is told.
    Par(MessageLine* line, SolverService& solver, QObject* parent);
    ~Par() override;

    // A game starts from `board`: the par of the game before goes, the board is kept, and
    // no hint is counted yet.
    void start(const engine::Grid& board);
    // The player took a hint in this game.
    void hintTaken() { ++hints_; }
    // The board changed otherwise than by play: no par for this game, and none told.
    void clear();
    // The game is won, the counter reading `moves`. Won by play from the position kept, the
    // service is asked for its par; the line tells it once it is known.
    void won(int moves);

    // What the line says of a par of `length` moves at a win in `moves` moves, `hints` of
    // them hinted.
    static QString text(int length, int moves, int hints);

private:
    void found(const SolverAnswer& answer, int moves, int hints);

    MessageLine* line_;
    SolverService& solver_;
    engine::Grid start_;     // the position the game started from
    bool hasStart_ = false;  // a game is on that started from it, its board changed only by play
    int hints_ = 0;          // taken in that game
};
