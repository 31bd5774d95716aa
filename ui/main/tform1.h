#pragma once

#include <QMainWindow>
#include <QStringView>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "engine/moves.h"
#include "engine/puzzle_state.h"
#include "ui/widgets/board_geometry.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;

class BevelFrame;
class CaptionPanel;
class FormSurface;
class Hint;
class LockedBoardCue;
class MessageLine;
class Par;
class SolverService;

// The main window: the board of fifteen tile panels, the clock and the move counter, the
// start button, the three celebration panels, the main menu and the three timers.
//
// The window keeps no copy of the game beside the engine's state: the clock and the move
// counter are the texts of Label3 and Label5, and a tile's number is its panel's caption.
// Controls, handlers and the state the design names are public, so that the game can be
// driven step by step; the window's own bookkeeping is private.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kTileCount = 15;
    static constexpr int kCellSize = board_geometry::kCellSize;

    // The slide's tick. Nine ticks carry a tile one cell. The tick has to be long enough
    // for the slide to be seen: at 15 ms a slide lasts some 135 ms, several screen frames.
    static constexpr int kSlideTickMs = 15;
    static constexpr int kSlideStep = 10;
    static constexpr int kSlideEndTick = 10;  // SlideTick starts at 1; the ninth tick raises it to 10

    static constexpr int kCelebrationTickMs = 1000;
    static constexpr int kClockTickMs = 1000;

    static constexpr QStringView kCaptionStart{u"Начать игру"};
    static constexpr QStringView kCaptionRestart{u"Начать заново"};
    static constexpr QStringView kClockZero{u"00:00:00"};
    static constexpr QStringView kCounterZero{u"00000"};

    // The window plays `state`; `solver` answers its hint and its par, and outlives it.
    TForm1(engine::PuzzleState& state, SolverService& solver, QWidget* parent = nullptr);
    ~TForm1() override;

    // ===== The window as the game's design names it: its controls, handlers and routines
    // (TilePanel, ShowBoard, Panel2Click, prav, ...), the cheat flag and the slide's state. =====

    // --- Tiles and slide ---

    // TilePanel k (1..15) is Panel(k+1), the k-th tile panel in creation order.
    CaptionPanel* TilePanel(int k) const;
    // The pixel origin of row or column i (1..4) in the board: 2, 92, 182, 272.
    static constexpr int CellOrigin(int i) { return board_geometry::CellOrigin(i); }

    // Puts TilePanel k on cell k for k = 1..15; cell 16 stays bare.
    void PlaceTilesInOrder();
    // Makes the panels mirror Board: positions and captions.
    void ShowBoard();
    // A click on a tile panel: the move, its slide and its count, then the solved test.
    void Panel2Click(CaptionPanel* sender);
    // One tick of the slide: 10 pixels; the ninth tick ends it.
    void Timer1Timer();

    // --- Game commands, clock and counter ---

    void Button1Click();       // new game (also the menu's "Начать новую игру")
    void N126Click();          // "Собранный расклад"
    void N6Click();            // "Задать расстановку": opens the arrangement dialog modally
    void zadat_rasstanovku();  // plays the arrangement the dialog has just written into Board
    void perebor();            // forced reset to the ordered layout
    void FormDblClick();       // arms the cheat
    void Panel1DblClick();     // the cheat: the near-solved layout, when armed
    void Timer3Timer();        // the clock's tick
    // Counts one move in Label5, with its messages. Returns whether it ran the forced reset
    // instead, which ends the click's handling.
    bool CountMove();
    void N16Click();  // shows the rules window
    void N8Click();   // shows the about window

    // --- Victory display ---

    // The solved test: on a solved Board, the board locks, the clock stops, Label1 shows
    // and the celebration starts.
    void prav();
    // One picture of the celebration: the three panels at random places, sizes and colours.
    void Timer2Timer();

    // Set by a double click on the window's surface; used by a double click on the board.
    bool CheatArmed = false;
    // The slide in progress: the moving panel (null before the first) and its tick count.
    CaptionPanel* SlidingPanel = nullptr;
    int SlideTick = 0;

    // --- Controls, in creation order ---

    BevelFrame* Bevel1;
    BevelFrame* Bevel2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;  // the clock
    QLabel* Label4;
    QLabel* Label5;        // the move counter
    CaptionPanel* Panel1;  // the board
    CaptionPanel* Panel2;
    CaptionPanel* Panel3;
    CaptionPanel* Panel4;
    CaptionPanel* Panel5;
    CaptionPanel* Panel6;
    CaptionPanel* Panel7;
    CaptionPanel* Panel8;
    CaptionPanel* Panel9;
    CaptionPanel* Panel10;
    CaptionPanel* Panel11;
    CaptionPanel* Panel12;
    CaptionPanel* Panel13;
    CaptionPanel* Panel14;
    CaptionPanel* Panel15;
    CaptionPanel* Panel16;
    QPushButton* Button1;
    CaptionPanel* Panel17;
    CaptionPanel* Panel18;
    CaptionPanel* Panel19;

    QMenuBar* mm1;
    QMenu* N111;
    QAction* N11;
    QAction* N126;
    QAction* N10;
    QAction* N6;
    QMenu* N7;
    QAction* N16;
    QAction* N8;

    QTimer* Timer1;
    QTimer* Timer2;
    QTimer* Timer3;

    // ===== Our own additions, beyond the design: the secondary windows' makers, keyboard
    // play, the hint and the par. =====

    // The tile panel showing `tile`, or null (for 0, the blank).
    CaptionPanel* panelShowing(std::uint8_t tile) const;

    template <typename Window>
    using WindowMaker = std::function<std::unique_ptr<Window>()>;

    // Makers of the windows the menu opens: the arrangement dialog (modal) and the about and
    // rules windows (non-modal). Each window is made the first time the menu opens it, so
    // that none of their cost falls on start-up, and is kept, only hidden when closed, as
    // long as the main window. A menu item whose maker is empty does nothing.
    void setSecondaryWindowMakers(WindowMaker<QDialog> makeForm2, WindowMaker<QWidget> makeForm3,
                                  WindowMaker<QWidget> makeForm4);
    // The same windows made beforehand and kept by the caller; any of them may be null.
    void setSecondaryWindows(QDialog* form2, QWidget* form3, QWidget* form4);

    // The client area's context menu: "Подсказка", which asks for a hint, "Сыграть этот
    // расклад заново", which replays the last game's start, and "Скопировать расклад", which
    // copies that start.
    void ClientAreaContextMenu(const QPoint& pos);
    // "Сыграть этот расклад заново" (also Ctrl+R): the starting position of the last game,
    // a deal or an accepted arrangement, played again as if typed into the arrangement
    // dialog and accepted. Does nothing before the first game, while a modal window is open,
    // or after a game that began with "Собранный расклад" or the forced reset.
    void ReplayDeal();
    // "Скопировать расклад" (also Ctrl+C): the starting position that the replay would play,
    // put on the clipboard as one line of sixteen numbers; available exactly when the replay is.
    void CopyDeal();
    // An arrow key: the tile beside the blank travels in the arrow's direction, as a click on
    // it would make it. Does nothing outside a game or while a tile slides.
    void ArrowKey(Qt::Key key);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenu();
    void createContextMenu();
    void createTimers();
    void FormCreate();

    // Stops a running slide and puts its panel onto the cell it was sliding to.
    void settleSlide();
    // Hides the three panels and Label1 and stops the celebration's timer.
    void celebrationOff();
    void hideCelebrationPanels();
    // Counter "00000", clock "00:00:00", cheat disarmed: what every fresh game starts from.
    void resetCounterAndClock();
    // The board of a fresh game: unlocked, made ready by `prepare` (a layout written, or the
    // blank found on the one written already), shown, and the button reading "Начать заново".
    void showFreshBoard(void (*prepare)(engine::PuzzleState&));

    // What a change of the board means for the game's start. Kept: the par and the replay
    // keep it. New: a game starts from the board as it stands. NoPar: the board changed
    // otherwise than by play, and the game has no par to tell. Forgotten: the board was laid
    // out by no deal or arrangement, so there is no par and nothing to replay.
    enum class GameStart { Kept, New, NoPar, Forgotten };
    // The follow-ups of every change of the board other than a move, and of a win: the hint
    // goes, and the keys kept for the board as it was; the game's start as `start` says.
    void boardChanged(GameStart start);

    // The states the timers hold: a tile slides (Timer1), the win is celebrated (Timer2).
    bool sliding() const;
    bool celebrating() const;
    // A game is on and no tile slides: the board takes clicks, keys and hints.
    bool boardTakesInput() const;
    // The board is locked and no tile slides: before a game, after an abandoned one, after
    // a win.
    bool noGameInProgress() const;
    // Once the board has settled after a change: assistive tools hear the places that changed
    // and whether the board is locked.
    void boardSettled();
    // Plays the keys the game knows, or keeps them for the end of the slide under way;
    // false for any other key.
    bool playKey(const QKeyEvent* event);
    // An arrow or H, played now.
    void playGameKey(Qt::Key key);
    // Plays the keys kept during the slide that has just ended, until one starts a slide.
    void playPendingKeys();
    // Forgets the keys kept during a slide: the board they were meant for is gone.
    void dropPendingKeys();

    // A secondary window: given ready-made, or made by its maker on first use and owned.
    template <typename Window>
    struct MadeOnDemand {
        WindowMaker<Window> make;
        std::unique_ptr<Window> owned;
        Window* window = nullptr;
        Window* get() {
            if (!window && make) {
                owned = std::exchange(make, nullptr)();
                window = owned.get();
            }
            return window;
        }
        void set(WindowMaker<Window> maker, Window* given) {
            make = std::move(maker);
            owned.reset();
            window = given;
        }
    };

    FormSurface* clientArea_;

    // The direction the sliding panel travels.
    engine::SlideDirection slidingDirection_ = engine::SlideDirection::SlideDown;

    // Arrows and H pressed while a tile slides, oldest first, played as each slide ends. A
    // quick player's keys are not lost; more than a few ahead are dropped.
    static constexpr std::size_t kMostPendingKeys = 4;
    std::deque<Qt::Key> pendingKeys_;

    // How many forced resets have run, so that a handler can tell one ran under its box.
    int forcedResets_ = 0;

    engine::PuzzleState& state_;
    MadeOnDemand<QDialog> Form2;
    MadeOnDemand<QWidget> Form3;
    MadeOnDemand<QWidget> Form4;
    bool centred_ = false;

    // Where the hint, the par and the cue are told, below the start button.
    MessageLine* messageLine_;
    // The one solver of the hint and the par: its tables, its thread and the solutions found.
    SolverService& solver_;
    // The next move of a shortest solution, on the player's asking; any change of the board
    // takes it away.
    Hint* hint_;
    // The fewest moves the game's starting position needs, told at a win by play.
    Par* par_;
    // Why a locked board takes no input, at a click or key on it.
    LockedBoardCue* lockedBoardCue_;
    // The client area's context menu and its items.
    QMenu* contextMenu_;
    QAction* hintItem_;
    QAction* replayItem_;
    QAction* copyItem_;
    // Where the last deal or accepted arrangement started, for the replay; none before the
    // first game and after the assembled layout or a forced reset.
    std::optional<engine::Grid> replayStart_;
};
