#pragma once

// What the main window must show, worked out from the player's input alone: the board,
// the counter, the clock, which timers run, whether the board takes clicks, the cheat,
// the win and the celebration, the message boxes, and what a hint may say. It follows the
// game's rules with its own move rule, solved test, parity count and distance, and never
// looks at the window.

#include <QRegularExpression>
#include <QString>
#include <QTime>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "board_text.h"
#include "engine/grid.h"
#include "game_texts.h"
#include "ui/platform/message_box.h"

namespace model {

inline constexpr int kClockLimit = 23 * 3600 + 59 * 60;  // "23:59:00" resets the game
inline constexpr int kMoveLimit = 99999;                 // the move after this one resets it

inline QString counterText(int moves) { return QString::number(moves).rightJustified(5, QLatin1Char('0')); }
inline QString clockText(int seconds) { return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss")); }

inline bool holdsEachValueOnce(const engine::Grid& grid) {
    unsigned seen = 0;
    for (std::uint8_t value : grid.cells) {
        if (value > 15) return false;
        seen |= 1u << value;
    }
    return seen == 0xFFFFu;
}

// The sum over the tiles of their rows and columns away from their goal cells: no solution
// is shorter, and every solution's length has its parity, since each move changes it by one.
inline int distanceToGoal(const engine::Grid& grid) {
    int sum = 0;
    for (int p = 0; p < 16; ++p) {
        if (const int value = grid.at(p + 1))
            sum += std::abs(p / 4 - (value - 1) / 4) + std::abs(p % 4 - (value - 1) % 4);
    }
    return sum;
}

// Where `value` lies, 0..15 in reading order; -1 where it does not.
inline int placeOf(const engine::Grid& grid, int value) {
    for (int p = 0; p < 16; ++p) {
        if (grid.at(p + 1) == value) return p;
    }
    return -1;
}

// Whether two places share a side.
inline bool sideBySide(int p, int q) {
    const int rows = p / 4 - q / 4, columns = p % 4 - q % 4;
    return rows * rows + columns * columns == 1;
}

// The tiles beside the blank, by value; none without a blank.
inline std::vector<int> besideBlank(const engine::Grid& grid) {
    std::vector<int> values;
    const int blank = placeOf(grid, 0);
    for (int p = 0; p < 16 && blank >= 0; ++p) {
        if (sideBySide(p, blank)) values.push_back(grid.at(p + 1));
    }
    return values;
}

// An arrow key names the way a tile travels into the blank: Left takes the tile on the
// blank's right.
enum class Arrow { Left, Right, Up, Down };

// The tile that travels into the blank for `arrow`; 0 when there is none on that side.
inline int tileTravelling(const engine::Grid& grid, Arrow arrow) {
    const int blank = placeOf(grid, 0);
    if (blank < 0) return 0;
    const int row = blank / 4 + (arrow == Arrow::Up) - (arrow == Arrow::Down);
    const int column = blank % 4 + (arrow == Arrow::Left) - (arrow == Arrow::Right);
    return row < 0 || row > 3 || column < 0 || column > 3 ? 0 : grid.at(row * 4 + column + 1);
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
    // Where the last deal or accepted arrangement started; none before the first, and after
    // the assembled layout or a forced reset.
    std::optional<engine::Grid> replayStart;
    int replays = 0;
    int forcedResets = 0;

    // A hint was asked for on the board as it stands; its answer may still be coming.
    bool hintAsked = false;
    int hintsAsked = 0, hintAnswers = 0, hintsFollowed = 0;

    // The par is told once a game that started from an unsolved solvable position is won by
    // play, with no other change of its board: then parDue, and it may still be coming.
    bool parDue = false;
    int parsTold = 0;

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
        takeHintAway();
        boardTakesClicks = true;
        board = dealtBoard;
        dealt = true;
        clockRuns = true;
        parFrom(board);
        replayStart = board;
    }

    void applyArrangement(const engine::Grid& table) {
        newGame(table);
        solvedTest();
    }

    // The ordered board in play with the clock stopped.
    void forcedReset() {
        ++forcedResets;
        newGame(kOrdered);
        clockRuns = false;
        replayStart.reset();
    }

    void assembledPicture() {
        replayStart.reset();
        dealt = false;
        freshGame();
        takeHintAway();
        boardTakesClicks = false;
        slideTick = 0;
        clockRuns = false;
        board = kNearSolved;
    }

    // The arrangement dialog opens: a slide still running ends at once.
    void arrangementDialogOpens() {
        takeHintAway();
        pendingKeys.clear();
        slideTick = 0;
        boardTakesClicks = false;
        clockRuns = false;
    }

    // Ctrl+R or "Сыграть этот расклад заново": the last deal or arrangement, laid out again
    // as an accepted arrangement is; nothing without one. A slide under way stops.
    void replayAsked() {
        if (!replayStart) return;
        ++replays;
        applyArrangement(*replayStart);
    }

    void windowDoubleClicked() { cheatArmed = true; }

    void boardDoubleClicked() {
        if (!cheatArmed) return;
        takeHintAway();
        parStart.reset();
        board = kNearSolved;
    }

    // A click on the tile showing `value`, while the board takes clicks.
    void tileClicked(int value) {
        cheatArmed = false;
        const engine::Grid before = board;
        if (move(value)) {
            takeHintAway();
            // The hinted tile played: one move nearer the goal, by a shortest solution.
            if (known && known->board == before && known->tile == value) {
                known = KnownCount{board, known->moves - 1, 0, true};
            }
            slideTick = 1;
            boardTakesClicks = false;  // locked from the click that starts the slide
            if (countMove()) return;
        }
        solvedTest();
    }

    // An arrow key, without a modifier or from the keypad.
    void arrowPressed(Arrow arrow) {
        if (keptForTheSlidesEnd(arrow)) return;
        if (!boardTakesClicks || sliding()) return;
        if (const int tile = tileTravelling(board, arrow)) tileClicked(tile);
    }

    // H or Р.
    void hintKeyPressed() {
        if (!keptForTheSlidesEnd(std::nullopt)) hintAskedFor();
    }

    // H, Р or the context menu's "Подсказка": asked on a board that takes input.
    void hintAskedFor() {
        if (!boardTakesClicks || sliding()) return;
        hintAsked = true;
        shownAnswer.reset();
        provedBound = 0;
        ++hintsAsked;
    }

    // Judges what the hint shows: the line's text (empty while hidden) and the red tile's
    // value (0 for none). Empty when that may be so; an answer seen must then stay until
    // the hint is asked again or taken away.
    QString hintShown(const QString& said, int redTile) {
        const QString shown = QStringLiteral("\"%1\" with tile %2 red").arg(said).arg(redTile);
        if (!hintAsked) {
            return said.isEmpty() && redTile == 0 ? QString() : shown + QStringLiteral(", no hint asked for");
        }
        if (shownAnswer) {
            return said == shownAnswer->first && redTile == shownAnswer->second
                       ? QString()
                       : shown + QStringLiteral(" after the answer \"%1\"").arg(shownAnswer->first);
        }
        const int distance = distanceToGoal(board);
        if (said.isEmpty() || said.startsWith(kHintComing)) {
            if (redTile != 0) return shown + QStringLiteral(" before the answer");
            if (said.size() <= kHintComing.size()) return {};
            // What the search has proved: no less than the distance, of its parity, and rising.
            static const QRegularExpression atLeast(QStringLiteral("^ не меньше (\\d+) ход(а|ов)$"));
            const QRegularExpressionMatch match = atLeast.match(said.mid(kHintComing.size()));
            const int bound = match.captured(1).toInt();
            if (!match.hasMatch() || bound < distance || (bound - distance) % 2 != 0 || bound < provedBound) {
                return shown + QStringLiteral(" on a board %1 moves away by distance, after a bound of %2")
                                   .arg(distance)
                                   .arg(provedBound);
            }
            provedBound = bound;
            return {};
        }
        if (PlainParitySum(board) % 2 != 0) {
            if (said != kHintCannotBeSolved || redTile != 0) return shown + QStringLiteral(" on an odd board");
        } else {
            bool isNumber = false;
            const int movesLeft =
                said.startsWith(kHintMovesLeft) ? said.mid(kHintMovesLeft.size()).toInt(&isNumber) : -1;
            if (!isNumber || movesLeft < std::max(distance, provedBound) || (movesLeft - distance) % 2 != 0) {
                return shown + QStringLiteral(" on a board %1 moves away by distance, after a bound of %2")
                                   .arg(distance)
                                   .arg(provedBound);
            }
            const std::vector<int> beside = besideBlank(board);
            if (movesLeft == 0 ? redTile != 0 : std::find(beside.begin(), beside.end(), redTile) == beside.end()) {
                return shown + QStringLiteral(": no tile beside the blank");
            }
            if (known && known->board == board) {
                if (known->moves != movesLeft) return shown + QStringLiteral(", %1 known").arg(known->moves);
                hintsFollowed += known->followed;
            }
            known = KnownCount{board, movesLeft, redTile, false};
        }
        shownAnswer = std::make_pair(said, redTile);
        ++hintAnswers;
        ++hintsSeen;
        return {};
    }

    // Judges the par's text (empty while hidden). Empty when that may be so; a par seen
    // must then stay until the board changes.
    QString parShown(const QString& said) {
        if (!parDue || said.isEmpty()) {
            if (said.isEmpty() && parSeen.isEmpty()) return {};
            return QStringLiteral("par \"%1\" %2").arg(said, parDue ? "gone" : "without a win by play");
        }
        if (!parSeen.isEmpty()) {
            return said == parSeen ? QString() : QStringLiteral("par \"%1\" after \"%2\"").arg(said, parSeen);
        }
        // No shorter than the tiles' distance, of its parity, and no longer than the moves made;
        // the count's word by the model's own rule, apart from the game's.
        const QStringList words = QString(said).remove(0, kParShortest.size()).split(QLatin1Char(' '));
        const int length = words.value(0).toInt();
        const int last = length % 10, tens = length / 10 % 10;
        const QString noun = tens == 1 || last == 0 || last > 4 ? QStringLiteral("ходов")
                             : last == 1                        ? QStringLiteral("ход")
                                                                : QStringLiteral("хода");
        // Praised for no more moves without a hint; else the hints counted, at least those seen (a
        // hint may come and go between two looks).
        const QString par = kParShortest + QString::number(length) + u' ' + noun;
        const QString after = said.mid(par.size());
        bool counted = false;
        const int hints = after.startsWith(kParHints) ? after.mid(kParHints.size()).toInt(&counted) : 0;
        const bool told =
            said.startsWith(par) && ((hintsSeen == 0 && after == (length == wonAtCount ? kParFound : QString())) ||
                                     (counted && hints >= std::max(1, hintsSeen)));
        const int distance = distanceToGoal(*parStart);
        if (!told || length < distance || (length - distance) % 2 != 0 || length > movesPlayed) {
            return QStringLiteral("par \"%1\" for %2, won in %3 moves (the counter at %4)")
                .arg(said, QString::fromStdString(TextOf(*parStart)))
                .arg(movesPlayed)
                .arg(wonAtCount);
        }
        parSeen = said;
        ++parsTold;
        return {};
    }

    // The parity check of a table: `table` is null for a table that is no arrangement.
    void tableChecked(const engine::Grid* table) {
        if (!table) {
            box(platform::BoxKind::Error, kBadTable);
        } else {
            box(platform::BoxKind::Information, PlainParitySum(*table) % 2 == 0 ? kEvenTable : kOddTable);
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
                    playPendingKeys();
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
    // A board's count of moves left, from an answer or by following one; with the tile the
    // answer pointed at (0 when none was shown yet).
    struct KnownCount {
        engine::Grid board;
        int moves;
        int tile;
        bool followed;  // reached by playing the hinted tile
    };
    std::optional<KnownCount> known;
    std::optional<std::pair<QString, int>> shownAnswer;
    int provedBound = 0;  // the highest bound the search under way has shown

    // Keys pressed while a tile slides, oldest first: an arrow, or none for H.
    std::deque<std::optional<Arrow>> pendingKeys;

    // True when the key waits for the end of the slide under way (or is dropped, four
    // being kept already).
    bool keptForTheSlidesEnd(std::optional<Arrow> key) {
        if (!sliding() || won) return false;
        if (pendingKeys.size() < 4) pendingKeys.push_back(key);
        return true;
    }

    void playPendingKeys() {
        while (!pendingKeys.empty() && boardTakesClicks && !sliding()) {
            const std::optional<Arrow> key = pendingKeys.front();
            pendingKeys.pop_front();
            if (key) {
                arrowPressed(*key);
            } else {
                hintAskedFor();
            }
        }
        if (!sliding()) pendingKeys.clear();
    }

    // The position the game started from while its par is sought; the moves played since.
    std::optional<engine::Grid> parStart;
    int movesPlayed = 0;
    int wonAtCount = 0;
    int hintsSeen = 0;  // the answers seen since the game started
    QString parSeen;

    void parFrom(const engine::Grid& start) {
        hintsSeen = 0;
        if (PlainParitySum(start) % 2 == 0 && start != kOrdered) parStart = start;
    }

    void takeHintAway() {
        hintAsked = false;
        shownAnswer.reset();
        provedBound = 0;
    }

    void freshGame() {
        pendingKeys.clear();
        parStart.reset();
        parDue = false;
        parSeen.clear();
        movesPlayed = 0;
        moves = 0;
        seconds = 0;
        cheatArmed = false;
        won = false;
        panelsShown = false;
    }

    bool move(int value) {
        const int tile = placeOf(board, value), blank = placeOf(board, 0);
        if (value < 1 || tile < 0 || blank < 0 || !sideBySide(tile, blank)) return false;
        std::swap(board.at(tile + 1), board.at(blank + 1));
        return true;
    }

    // True when the move reset the game instead of being counted.
    bool countMove() {
        const int before = moves;
        const int resetsBefore = forcedResets;
        // A remark stops the play: the keys pressed before it are dropped.
        if (before == 1000 || before == 2000 || before >= kMoveLimit) pendingKeys.clear();
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
        ++movesPlayed;
        return false;
    }

    void solvedTest() {
        if (board != kOrdered) return;
        // A win takes the hint away, and the keys still to play, also when a click that
        // moved nothing won it.
        takeHintAway();
        pendingKeys.clear();
        boardTakesClicks = false;
        clockRuns = false;
        won = true;
        parDue = parStart.has_value();
        wonAtCount = moves;
    }

    void box(platform::BoxKind kind, const QString& text) {
        std::vector<Tick> ticks = ticksDuringBox();
        for (Tick which : ticks) tick(which);
        boxes.push_back({kind, text, std::move(ticks)});
    }
};

}  // namespace model
