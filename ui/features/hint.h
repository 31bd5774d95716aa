#pragma once

#include <QColor>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/grid.h"
#include "solving/solver_service.h"

class QTimer;
class QWidget;

class CaptionPanel;
class MessageLine;

// The hint: the next tile of a shortest solution from the board as it stands turns red, and
// the window's message line tells how many moves are left. The window's solver service
// answers it, at once for a board it has solved before, otherwise off the GUI thread; after
// a moment without an answer the line says that one is coming, and what the search has
// proved so far. The window takes the hint away at every change of its board.
class Hint : public QObject {
    Q_OBJECT
public:
    // The window's parts and facts the hint works with: references and callbacks, kept by
    // the window.
    struct WindowHooks {
        MessageLine* line;                                // where the hint is told
        const engine::Grid& board;                        // the layout the hint is for
        std::function<bool()> takesInput;                 // a game is on and no tile slides
        std::function<CaptionPanel*(std::uint8_t)> tile;  // the panel showing a tile
    };

    // `solver`, which the par asks too, answers the hint.
    Hint(WindowHooks hooks, SolverService& solver, QObject* parent);
    ~Hint() override;

    // Asks for a hint on the board as it stands; does nothing outside a game. Asked again
    // while its search goes on, the search goes on and its answer will come.
    void ask();
    // Takes the hint away: the search, the red caption, the message and the waiting.
    void clear();

signals:
    // A hint told the player the next move and the moves left.
    void given();

private:
    void showAnswer(const SolverAnswer& answer);
    void showProgress(int moves);
    // Tells `text` on the message line; assistive tools hear `heard`, or the text where that
    // is empty.
    void tell(const QString& text, const QString& heard = {});

    WindowHooks hooks_;
    SolverService& solver_;
    std::string reasonSaid_;  // why there was no hint, as last said on standard error
    CaptionPanel* hintedTile_ = nullptr;
    QColor hintedTileColor_;  // its caption's colour before the hint
    QTimer* wait_;            // says, once it runs out, that a slow hint is coming
    int provedMoves_ = -1;    // what the search under way has proved; -1 before it says
};
