#pragma once

// What the main window must show, worked out from the player's input alone: the board,
// the counter, the clock, which timers run, whether the board takes clicks, the cheat,
// the win and the celebration, and the message boxes. It follows the game's rules with
// its own move rule, solved test and parity count, and never looks at the window.

#include <QString>
#include <QTime>

#include <deque>
#include <functional>
#include <vector>

#include "board_text.h"
#include "engine/grid.h"
#include "game_texts.h"
#include "ui/platform/message_box.h"

namespace model {

inline constexpr int kClockLimit = 23 * 3600 + 59 * 60;  // "23:59:00" resets the game
inline constexpr int kMoveLimit = 99999;                  // the move after this one resets it

inline QString counterText(int moves) { return QString::number(moves).rightJustified(5, QLatin1Char('0')); }
inline QString clockText(int seconds) { return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss")); }

inline bool solved(const engine::Grid& grid) {
    for (int cell = 1; cell <= 15; ++cell) {
        if (grid.at(cell) != cell) return false;
    }
    return true;
}

inline bool holdsEachValueOnce(const engine::Grid& grid) {
    unsigned seen = 0;
    for (std::uint8_t value : grid.cells) {
        if (value > 15) return false;
        seen |= 1u << value;
    }
    return seen == 0xFFFFu;
}

// A layout of each value once can be slid into order exactly when this is even: the
// blank's row (1 at the top) plus the pairs of tiles out of order in reading order.
inline int paritySum(const engine::Grid& grid) {
    int sum = 0;
    for (int p = 0; p < 16; ++p) {
        if (grid.cells[p] == 0) sum += p / 4 + 1;
        for (int q = p + 1; q < 16; ++q) sum += grid.cells[p] != 0 && grid.cells[q] != 0 && grid.cells[q] < grid.cells[p];
    }
    return sum;
}

enum class Tick { Slide, Celebration, Clock };

// A box the window must show next, and the timer ticks that come while it is open.
struct ExpectedBox {
    platform::BoxKind kind;
    QString text;
    std::vector<Tick> ticks;
};

struct Game {
    engine::Grid board;
    int moves = 0;
    int seconds = 0;
    bool clockRuns = false;
    bool boardTakesClicks = false;
    int slideTick = 0;  // 0 when no tile slides, else 1..9
    bool won = false;
    bool panelsShown = false;  // the celebration's first tick has come
    bool cheatArmed = false;
    bool dealt = false;  // the button reads "Начать заново"
    int forcedResets = 0;

    // Boxes the window still has to show, in order.
    std::deque<ExpectedBox> boxes;
    // Chooses the ticks that come while a box is open; they are applied here at once and
    // again to the window when it shows the box.
    std::function<std::vector<Tick>()> ticksDuringBox = [] { return std::vector<Tick>(); };

    bool sliding() const { return slideTick != 0; }

    // --- commands ---

    // The new game; `dealtBoard` is what the deal put on the board.
    void newGame(const engine::Grid& dealtBoard) {
        slideTick = 0;
        freshGame();
        boardTakesClicks = true;
        board = dealtBoard;
        dealt = true;
        clockRuns = true;
    }

    void applyArrangement(const engine::Grid& table) {
        freshGame();
        boardTakesClicks = true;
        board = table;
        dealt = true;
        clockRuns = true;
        solvedTest();
    }

    void forcedReset() {
        ++forcedResets;
        clockRuns = false;
        slideTick = 0;
        freshGame();
        boardTakesClicks = true;
        board = kOrdered;
        dealt = true;
    }

    void assembledPicture() {
        dealt = false;
        freshGame();
        boardTakesClicks = false;
        slideTick = 0;
        clockRuns = false;
        board = kNearSolved;
    }

    // The arrangement dialog opens: a slide still running ends at once.
    void arrangementDialogOpens() {
        slideTick = 0;
        boardTakesClicks = false;
        clockRuns = false;
    }

    void windowDoubleClicked() { cheatArmed = true; }

    void boardDoubleClicked() {
        if (!cheatArmed) return;
        board = kNearSolved;
    }

    // A click on the tile showing `value`, while the board takes clicks.
    void tileClicked(int value) {
        cheatArmed = false;
        if (move(value)) {
            slideTick = 1;
            boardTakesClicks = false;  // locked from the click that starts the slide
            if (countMove()) return;
        }
        solvedTest();
    }

    // The parity check of a table: `table` is null for a table that is no arrangement.
    void tableChecked(const engine::Grid* table) {
        if (!table) {
            box(platform::BoxKind::Error, kBadTable);
        } else {
            box(platform::BoxKind::Information, paritySum(*table) % 2 == 0 ? kEvenTable : kOddTable);
        }
    }

    void badTableSet() { box(platform::BoxKind::Error, kBadTable); }

    // --- timers ---

    void tick(Tick which) {
        switch (which) {
            case Tick::Slide:
                if (!sliding()) return;
                boardTakesClicks = false;
                if (++slideTick == 10) {
                    slideTick = 0;
                    boardTakesClicks = !won;
                }
                return;
            case Tick::Celebration:
                if (!won) return;
                boardTakesClicks = false;
                panelsShown = true;
                return;
            case Tick::Clock:
                if (!clockRuns) return;
                if (++seconds == kClockLimit) forcedReset();
                return;
        }
    }

private:
    void freshGame() {
        moves = 0;
        seconds = 0;
        cheatArmed = false;
        won = false;
        panelsShown = false;
    }

    bool move(int value) {
        if (value < 1 || value > 15) return false;
        int tile = -1, blank = -1;
        for (int i = 0; i < 16; ++i) {
            if (board.cells[i] == value) tile = i;
            if (board.cells[i] == 0) blank = i;
        }
        if (tile < 0 || blank < 0) return false;
        const int rows = tile / 4 - blank / 4, columns = tile % 4 - blank % 4;
        if (rows * rows + columns * columns != 1) return false;
        std::swap(board.cells[tile], board.cells[blank]);
        return true;
    }

    // True when the move reset the game instead of being counted.
    bool countMove() {
        const int before = moves;
        const int resetsBefore = forcedResets;
        if (before == 1000) box(platform::BoxKind::Plain, kFirstRemark);
        if (before == 2000) box(platform::BoxKind::Plain, kSecondRemark);
        // The clock may have reset the game while the box was open: the move went with it.
        if (forcedResets != resetsBefore) return true;
        if (before >= kMoveLimit) {
            box(platform::BoxKind::Plain, kResetRemark);
            forcedReset();
            return true;
        }
        moves = before + 1;
        return false;
    }

    void solvedTest() {
        if (!solved(board)) return;
        boardTakesClicks = false;
        clockRuns = false;
        won = true;
    }

    void box(platform::BoxKind kind, const QString& text) {
        std::vector<Tick> ticks = ticksDuringBox();
        for (Tick which : ticks) tick(which);
        boxes.push_back({kind, text, std::move(ticks)});
    }
};

}  // namespace model
