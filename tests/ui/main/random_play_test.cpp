// The whole main window under a long run of random input: clicks and double clicks
// anywhere, every menu command, the arrangement dialog with valid and invalid tables, every
// message box answered, ticks of the three timers in between and while boxes are open; and
// a keyboard player's arrows, H and Р, the context menu's "Подсказка", presses through the
// accessibility interface, and now and then a wait for the hint. After every event the
// window must show what a model of the game, fed the same input, says; no box, dialog or
// menu may be left open; and a hint may only show what is true of the board as it stands.
// Most hints are cut short by the next move: thousands of searches are started and cancelled.
//
// The seed is printed; PLITON_PLAY_SEED replays a run and PLITON_PLAY_EVENTS sets its length
// (200000 events). A run that waited for a hint may replay differently: an answer's timing varies.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include <climits>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "app/tables_path.h"
#include "dialog_fixture.h"
#include "form_fixture.h"
#include "game_model.h"
#include "sanitizer_build.h"
#include "seeded_random.h"
#include "solver/pattern_database.h"
#include "ui/dialogs/tform3.h"
#include "ui/dialogs/tform4.h"

namespace {

constexpr quint64 kDefaultSeed = 20240611;
constexpr long kDefaultEvents = 200000;
constexpr long kMemorySettleEvents = 1000;
// How long a player waits for a hint at most: past the 0.3 s after which the line says
// that the hint is coming, and time for all but the slowest deals.
constexpr int kHintWaitMs = 350;

// What a keyboard player presses, with its weight: mostly arrows, a hint now and then, the
// replay seldom, and slips of a modifier, which play nothing. Qt::Key_Left stands for any of
// the four arrows. A run is two to five arrows pressed before the first slide ends: those
// kept for its end meet the remarks at the 1001st and 2001st moves, after which the rest
// must be dropped.
enum class KeyDoes { Slide, Run, Hint, Replay, Nothing };
struct Keystroke {
    int weight;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    KeyDoes does;
};
const Keystroke kKeystrokes[] = {
    {60, Qt::Key_Left, Qt::NoModifier, KeyDoes::Slide},       {15, Qt::Key_Left, Qt::KeypadModifier, KeyDoes::Slide},
    {15, Qt::Key_Left, Qt::NoModifier, KeyDoes::Run},         {4, Qt::Key_Left, Qt::ShiftModifier, KeyDoes::Nothing},
    {3, Qt::Key_Left, Qt::ControlModifier, KeyDoes::Nothing}, {2, Qt::Key_Left, Qt::AltModifier, KeyDoes::Nothing},
    {60, Qt::Key_H, Qt::NoModifier, KeyDoes::Hint},           {5, Qt::Key_H, Qt::ShiftModifier, KeyDoes::Hint},
    {20, kKeyCyrillicEr, Qt::NoModifier, KeyDoes::Hint},      {2, Qt::Key_H, Qt::ControlModifier, KeyDoes::Nothing},
    {3, Qt::Key_R, Qt::ControlModifier, KeyDoes::Replay},
};

long environmentNumber(const char* name, long fallback) {
    bool ok = false;
    const long value = qEnvironmentVariable(name).toLong(&ok);
    return ok ? value : fallback;
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// A typed table: its sixteen texts and, when they form an arrangement, the layout.
struct Table {
    QStringList texts;
    std::optional<engine::Grid> layout;
};

class Player {
public:
    explicit Player(quint64 seed) : random_(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return below(100) < percent; }
    // One element of a list, each as likely.
    template <typename List>
    const auto& oneOf(const List& list) {
        return list[static_cast<typename List::size_type>(below(static_cast<int>(list.size())))];
    }

    // One cell value, mostly as a player writes it; the notations the table reads are the
    // engine's tests', a few of them here to show that the dialog passes them on.
    QString notation(int value) {
        if (value == 0) return chance(70) ? QString() : QStringLiteral("0");
        switch (below(6)) {
            case 0: return QStringLiteral("+") + QString::number(value);
            case 1: return QStringLiteral("$") + QString::number(value, 16).toUpper();
            case 2: return QStringLiteral("0x") + QString::number(value, 16);
            default: return QString::number(value);
        }
    }

    Table table() {
        engine::Grid layout;
        const int kind = below(10);
        if (kind == 0) {
            layout = kOrdered;
        } else if (kind == 1) {
            layout = kNearSolved;
        } else {
            for (int i = 0; i < 16; ++i) layout.at(i + 1) = static_cast<std::uint8_t>(i);
            std::shuffle(layout.cells.begin(), layout.cells.end(), random_);
        }
        Table result;
        for (std::uint8_t value : layout.cells) result.texts << notation(value);
        if (kind < 6) {
            result.layout = layout;
            return result;
        }
        // Spoil one tile's cell: left empty (a second blank), out of range, or no number.
        static const QStringList spoilers = {"", "16", "256", "-1", "a", "1.5", "7 ", "0x", "٣"};
        int cell = below(16);
        while (layout.at(cell + 1) == 0) cell = below(16);
        result.texts[cell] = oneOf(spoilers);
        return result;
    }

private:
    std::mt19937_64 random_;
};

// The offscreen platform says at every showing of the rules and about windows that it
// cannot raise a window; thousands of those would crowd out the test's own report.
QtMessageHandler passOn = nullptr;
void dropPlatformNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (passOn) passOn(type, context, message);
}

QString describe(const engine::Grid& grid) { return QString::fromStdString(TextOf(grid)); }

}  // namespace

class TestRandomPlay : public QObject {
    Q_OBJECT

    engine::PuzzleState state;
    SolverService solver;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    model::Game game;
    std::unique_ptr<Player> player;

    int dialogRuns = 0;
    int boxesShown = 0;
    int hintWaits = 0;
    qint64 hintWaitedMs = 0;
    QStringList recent;   // the last events, for a failure report
    QStringList trouble;  // what went wrong inside a box or the dialog's own event loop

    void note(const QString& event) {
        if (recent.size() == 40) recent.removeFirst();
        recent << event;
    }

    // --- timers ---

    QTimer* timerOf(model::Tick which) const {
        switch (which) {
            case model::Tick::Slide: return form->Timer1;
            case model::Tick::Celebration: return form->Timer2;
            case model::Tick::Clock: return form->Timer3;
        }
        return nullptr;
    }

    // A tick comes only to a timer that runs.
    void tickWindow(model::Tick which) {
        if (!timerOf(which)->isActive()) return;
        switch (which) {
            case model::Tick::Slide: form->Timer1Timer(); break;
            case model::Tick::Celebration: form->Timer2Timer(); break;
            case model::Tick::Clock: form->Timer3Timer(); break;
        }
    }

    // The model first: a slide's end may play a key kept meanwhile, and its move a box.
    void tick(model::Tick which) {
        if (timerOf(which)->isActive()) game.tick(which);
        tickWindow(which);
    }

    std::vector<model::Tick> ticksWhileABoxIsOpen() {
        std::vector<model::Tick> ticks;
        if (player->chance(50)) return ticks;
        for (int n = player->below(10); n > 0; --n) ticks.push_back(model::Tick::Slide);
        if (player->chance(30)) ticks.push_back(model::Tick::Clock);
        if (player->chance(30)) ticks.push_back(model::Tick::Celebration);
        std::shuffle(ticks.begin(), ticks.end(),
                     std::mt19937(static_cast<std::mt19937::result_type>(player->below(1 << 30))));
        return ticks;
    }

    void answerBox(const platform::BoxRecord& box) {
        if (game.boxes.empty()) {
            trouble << QStringLiteral("unexpected box \"%1\"").arg(box.text);
            return;
        }
        ++boxesShown;
        const model::ExpectedBox expected = game.boxes.front();
        game.boxes.pop_front();
        if (box.kind != expected.kind || box.text != expected.text) {
            trouble << QStringLiteral("box \"%1\" where \"%2\" was due").arg(box.text, expected.text);
        }
        for (model::Tick which : expected.ticks) tickWindow(which);
    }

    // A new game: the deal must be a solvable arrangement that is not already won.
    void newGameDealt() {
        const engine::Grid& dealt = state.Board;
        if (!model::holdsEachValueOnce(dealt) || PlainParitySum(dealt) % 2 != 0 || dealt.at(1) == 1) {
            trouble << QStringLiteral("dealt %1").arg(describe(dealt));
        }
        game.newGame(dealt);
    }

    // --- mouse ---

    enum class Target { Surface, Inert, Tile, Board, Button };

    Target targetAt(QPoint clientPoint, QString* caption) const {
        QWidget* widget = clientArea(*form)->childAt(clientPoint);
        if (!widget) return Target::Surface;
        if (widget == form->Panel1) return Target::Board;
        if (widget == form->Button1) return Target::Button;
        if (widget->parentWidget() == form->Panel1) {
            *caption = static_cast<CaptionPanel*>(widget)->caption();
            return Target::Tile;
        }
        return Target::Inert;  // labels, frames and the celebration panels take clicks for themselves
    }

    QPoint windowPoint(QPoint clientPoint) const { return clientArea(*form)->mapTo(form.get(), clientPoint); }

    QPoint pointIn(const QWidget* widget) {
        // Drawn one after the other, so that every compiler replays the same run.
        const int x = player->below(widget->width());
        const int y = player->below(widget->height());
        return widget->mapTo(clientArea(*form), QPoint(x, y));
    }

    void click(QPoint clientPoint) {
        QString caption;
        const Target target = targetAt(clientPoint, &caption);
        note(QStringLiteral("click %1,%2").arg(clientPoint.x()).arg(clientPoint.y()));
        const bool tileTakesIt = target == Target::Tile && game.boardTakesClicks;
        if (tileTakesIt) game.tileClicked(caption.toInt());
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, windowPoint(clientPoint));
        if (target == Target::Button) newGameDealt();
    }

    // A double click is a click and then a double click. On a locked board both presses
    // fall on the window's surface; a double click that began on a tile stays the tile's,
    // even when that tile's move locked the board under the second press.
    void doubleClick(QPoint clientPoint) {
        QString caption;
        const Target target = targetAt(clientPoint, &caption);
        note(QStringLiteral("double click %1,%2").arg(clientPoint.x()).arg(clientPoint.y()));
        if (target == Target::Surface) game.windowDoubleClicked();
        if (target == Target::Tile || target == Target::Board) {
            if (!game.boardTakesClicks) {
                game.windowDoubleClicked();
            } else if (target == Target::Tile) {
                game.tileClicked(caption.toInt());
            } else {
                game.boardDoubleClicked();
            }
        }
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, windowPoint(clientPoint));
        if (target == Target::Button) newGameDealt();
    }

    // The hinted tile, mostly, while a hint shows one; otherwise a tile next to the blank,
    // by the model's board; any tile when there is none.
    CaptionPanel* tileToPlay() {
        if (hintedTile(*form) && player->chance(70)) return hintedTile(*form);
        const std::vector<int> values = model::besideBlank(game.board);
        if (!values.empty() && player->chance(80)) {
            if (CaptionPanel* panel = panelShowing(*form, player->oneOf(values))) return panel;
        }
        return form->TilePanel(player->below(TForm1::kTileCount) + 1);
    }

    // A point on the board's own surface: the blank cell or the margin.
    QPoint boardSurfacePoint() {
        for (int tries = 0; tries < 20; ++tries) {
            const QPoint point = pointIn(form->Panel1);
            if (clientArea(*form)->childAt(point) == form->Panel1) return point;
        }
        return form->Panel1->mapTo(clientArea(*form), QPoint(0, 0));
    }

    QPoint windowSurfacePoint() {
        for (int tries = 0; tries < 20; ++tries) {
            const QPoint point = pointIn(clientArea(*form));
            if (!clientArea(*form)->childAt(point)) return point;
        }
        return QPoint(2, 2);
    }

    // --- the arrangement dialog ---

    void runArrangementDialog() {
        note(QStringLiteral("menu: arrangement dialog"));
        ++dialogRuns;
        QTimer::singleShot(0, form2.get(), [this] { playInDialog(); });
        game.arrangementDialogOpens();
        form->N6->trigger();
    }

    // Plays inside the dialog's own event loop, and always leaves the dialog closed: an
    // open dialog would keep the menu command, and the test, waiting for ever.
    void playInDialog() {
        playTheTable();
        if (form2->isVisible()) {
            trouble << QStringLiteral("the arrangement dialog stayed open");
            form2->close();
        }
    }

    void playTheTable() {
        if (QApplication::activeModalWidget() != form2.get()) {
            trouble << QStringLiteral("the arrangement dialog is not the modal window");
            return;
        }
        Table table{QStringList(16, QString()), std::nullopt};  // it opens empty
        for (int step = player->below(6); step >= 0; --step) {
            const int action = player->below(10);
            if (action < 3) {
                table = player->table();
                fillTable(*form2, table.texts);
                note(QStringLiteral("  table %1").arg(table.texts.join(QLatin1Char('|'))));
            } else if (action < 5) {
                note(QStringLiteral("  check"));
                game.tableChecked(table.layout ? &*table.layout : nullptr);
                QTest::mouseClick(form2->Button2, Qt::LeftButton);
            } else if (action < 6) {
                note(QStringLiteral("  celebration tick"));
                tick(model::Tick::Celebration);
            } else if (action < 7) {
                // The main window takes no input while the dialog is open: not even its
                // start button, which would deal a new game under the dialog.
                note(QStringLiteral("  click on the main window"));
                const QPoint point = player->chance(50) ? pointIn(form->Button1) : pointIn(clientArea(*form));
                QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, windowPoint(point));
            } else {
                note(QStringLiteral("  set"));
                if (table.layout) {
                    game.applyArrangement(*table.layout);
                } else {
                    game.badTableSet();
                }
                QTest::mouseClick(form2->Button1, Qt::LeftButton);
                if (table.layout) return;  // the dialog closes itself
            }
        }
        note(QStringLiteral("  back"));
        if (player->chance(50)) {
            QTest::mouseClick(form2->Button3, Qt::LeftButton);
        } else {
            form2->close();  // the title bar's close button
        }
    }

    // A person's next input mostly comes after the slide has ended.
    void mostlyLetTheSlideEnd() {
        if (!player->chance(70)) return;
        while (form->Timer1->isActive()) tick(model::Tick::Slide);
    }

    // --- the keyboard player ---

    void keystroke() {
        int pick = 0;
        for (const Keystroke& stroke : kKeystrokes) pick += stroke.weight;
        pick = player->below(pick);
        const Keystroke* stroke = kKeystrokes;
        while (pick >= stroke->weight) pick -= stroke++->weight;

        for (int presses = stroke->does == KeyDoes::Run ? 2 + player->below(4) : 1; presses > 0; --presses) {
            Qt::Key key = stroke->key;
            QString text;
            if (key == Qt::Key_Left) {
                static const Qt::Key arrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
                const int which = player->below(4);  // in the order of model::Arrow
                key = arrows[which];
                if (stroke->does != KeyDoes::Nothing) game.arrowPressed(static_cast<model::Arrow>(which));
            } else if (stroke->does == KeyDoes::Replay) {
                // A key of the window: it reaches the game while the window is the active one.
                if (QApplication::activeWindow() == form.get()) game.replayAsked();
            } else {
                text = key == Qt::Key_H ? QStringLiteral("h") : QStringLiteral("р");
                if (stroke->modifiers & Qt::ShiftModifier) text = text.toUpper();
                if (stroke->does == KeyDoes::Hint) game.hintKeyPressed();
            }
            note(QStringLiteral("key %1").arg(QKeySequence(stroke->modifiers | key).toString()));
            // To the widget with the focus, as the window system delivers it.
            QWidget* focus = form->focusWidget();
            QTest::sendKeyEvent(QTest::Click, focus ? focus : form.get(), key, text, stroke->modifiers);
        }
        mostlyLetTheSlideEnd();
    }

    // A right click on the board or the window's surface, and mostly the menu's first item,
    // the hint, sometimes its second, the replay. (The labels keep their clicks to
    // themselves, the right button's too.)
    void hintFromTheMenu() {
        const QPoint point = player->chance(50) ? pointIn(form->Panel1) : windowSurfacePoint();
        note(QStringLiteral("context menu at %1,%2").arg(point.x()).arg(point.y()));
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, windowPoint(point));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const QList<QAction*> items = menu ? menu->actions() : QList<QAction*>();
        if (items.size() != 3 || items.at(0)->text() != kHintItem || items.at(1)->text() != kReplayItem ||
            items.at(2)->text() != kCopyItem) {
            trouble << QStringLiteral("the context menu does not offer \"%1\", \"%2\" and \"%3\"")
                           .arg(kHintItem, kReplayItem, kCopyItem);
            if (menu) menu->close();
            return;
        }
        const std::pair<QAction*, bool> enabled[] = {{items.at(0), game.boardTakesClicks && !game.sliding()},
                                                     {items.at(1), game.replayStart.has_value()},
                                                     {items.at(2), game.replayStart.has_value()}};
        for (const auto& [item, expected] : enabled) {
            if (item->isEnabled() != expected) {
                trouble << QStringLiteral("\"%1\" is %2").arg(item->text(), item->isEnabled() ? "enabled" : "disabled");
            }
        }
        const int pick = player->below(100);
        if (pick < 80 || (pick < 90 && items.at(1)->isEnabled())) {
            QAction* const item = items.at(pick < 80 ? 0 : 1);
            note(QStringLiteral("  %1").arg(item->text()));
            if (pick < 80) {
                game.hintAskedFor();
            } else {
                game.replayAsked();
            }
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        }
        if (menu->isVisible()) {
            note(QStringLiteral("  escape"));
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    }

    // What a screen reader does for a click.
    void pressThroughAccessibility() {
        CaptionPanel* tile = tileToPlay();
        note(QStringLiteral("press action on %1").arg(tile->caption()));
        if (game.boardTakesClicks) game.tileClicked(tile->caption().toInt());
        QAccessible::queryAccessibleInterface(tile)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        mostlyLetTheSlideEnd();
    }

    // The event loop runs until the hint asked for, or the par of a won game, shows, for a
    // while at most.
    void waitForTheHint() {
        if (game.parDue) {
            note(QStringLiteral("wait for the par"));
            (void)QTest::qWaitFor([this] { return !parText(*form).isEmpty(); }, kHintWaitMs);
        }
        if (!game.hintAsked) return;
        note(QStringLiteral("wait for the hint"));
        ++hintWaits;
        QElapsedTimer waited;
        waited.start();
        const bool answered = QTest::qWaitFor(
            [this] {
                const QString text = hintText(*form);
                return !text.isEmpty() && !text.startsWith(kHintComing);
            },
            kHintWaitMs);
        hintWaitedMs += waited.elapsed();
        if (!answered) note(QStringLiteral("  no answer yet"));
    }

    // --- one random event ---

    void randomEvent() {
        const int roll = player->below(1486);
        if (roll < 330) {
            click(pointIn(tileToPlay()));
            mostlyLetTheSlideEnd();
        } else if (roll < 380) {
            click(pointIn(form->Panel1));
        } else if (roll < 420) {
            click(pointIn(clientArea(*form)));
        } else if (roll < 440) {
            doubleClick(pointIn(tileToPlay()));
        } else if (roll < 470) {
            doubleClick(player->chance(70) ? boardSurfacePoint() : pointIn(form->Panel1));
        } else if (roll < 500) {
            doubleClick(player->chance(70) ? windowSurfacePoint() : pointIn(clientArea(*form)));
        } else if (roll < 750) {
            note(QStringLiteral("slide ticks"));
            // Mostly the whole rest of the slide, sometimes only part of it.
            for (int n = player->chance(60) ? 9 : player->below(8) + 1; n > 0; --n) tick(model::Tick::Slide);
        } else if (roll < 800) {
            note(QStringLiteral("celebration tick"));
            tick(model::Tick::Celebration);
        } else if (roll < 870) {
            note(QStringLiteral("clock tick"));
            tick(model::Tick::Clock);
        } else if (roll < 910) {
            note(QStringLiteral("menu: new game"));
            form->N11->trigger();
            newGameDealt();
        } else if (roll < 920) {
            note(QStringLiteral("button: new game"));
            click(form->Button1->mapTo(clientArea(*form), form->Button1->rect().center()));
        } else if (roll < 928) {
            note(QStringLiteral("menu: assembled picture"));
            game.assembledPicture();
            form->N126->trigger();
        } else if (roll < 945) {
            runArrangementDialog();
        } else if (roll < 950) {
            note(QStringLiteral("menu: rules"));
            form->N16->trigger();
            if (!form4->isVisible()) trouble << QStringLiteral("the rules window did not open");
        } else if (roll < 955) {
            note(QStringLiteral("menu: about"));
            form->N8->trigger();
            if (!form3->isVisible()) trouble << QStringLiteral("the about window did not open");
        } else if (roll < 960) {
            note(QStringLiteral("close the rules and about windows"));
            form3->close();
            form4->close();
        } else if (roll < 980) {
            // Long games without playing them out: the counter just short of its remarks
            // and its limit.
            static const int counts[] = {999, 1000, 1999, 2000, 99997, 99998, 99999};
            const int moves = player->chance(80) ? counts[player->below(7)] : player->below(model::kMoveLimit + 1);
            note(QStringLiteral("counter at %1").arg(moves));
            form->Label5->setText(model::counterText(moves));
            game.moves = moves;
        } else if (roll < 1000) {
            const int seconds =
                player->chance(80) ? model::kClockLimit - 1 - player->below(5) : player->below(model::kClockLimit);
            note(QStringLiteral("clock at %1").arg(model::clockText(seconds)));
            form->Label3->setText(model::clockText(seconds));
            game.seconds = seconds;
        } else if (roll < 1360) {
            keystroke();
        } else if (roll < 1400) {
            hintFromTheMenu();
        } else if (roll < 1480) {
            pressThroughAccessibility();
        } else {
            waitForTheHint();
        }
    }

    // --- what must hold after every event ---

    QString mismatch() {
        if (!trouble.isEmpty()) return trouble.join(QStringLiteral("; "));
        if (!game.boxes.empty()) return QStringLiteral("box \"%1\" was not shown").arg(game.boxes.front().text);
        if (QApplication::activeModalWidget()) return QStringLiteral("a modal window is still open");
        if (QApplication::activePopupWidget()) return QStringLiteral("a menu is still open");
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(window) && window->isVisible()) return QStringLiteral("a box is open");
        }
        if (form2->isVisible()) return QStringLiteral("the arrangement dialog is open");

        const QString counter = form->Label5->text();
        if (state.Board != game.board) {
            return QStringLiteral("Board %1, the game's %2").arg(describe(state.Board), describe(game.board));
        }
        if (counter != model::counterText(game.moves)) {
            return QStringLiteral("the counter reads %1, not %2").arg(counter, model::counterText(game.moves));
        }
        if (form->Label3->text() != model::clockText(game.seconds)) {
            return QStringLiteral("the clock reads %1, not %2")
                .arg(form->Label3->text(), model::clockText(game.seconds));
        }
        struct Flag {
            const char* what;
            bool shown, expected;
        };
        const bool panelsShown = !form->Panel17->isHidden() && !form->Panel18->isHidden() && !form->Panel19->isHidden();
        const bool panelsHidden = form->Panel17->isHidden() && form->Panel18->isHidden() && form->Panel19->isHidden();
        const Flag flags[] = {
            {"the board takes clicks", form->Panel1->isEnabled(), game.boardTakesClicks},
            {"a tile slides", form->Timer1->isActive(), game.sliding()},
            {"the celebration runs", form->Timer2->isActive(), game.won},
            {"\"Вы выиграли!!!\" shows", !form->Label1->isHidden(), game.won},
            {"the celebration panels show", panelsShown, game.won && game.panelsShown},
            {"the celebration panels are hidden", panelsHidden, !(game.won && game.panelsShown)},
            {"the clock runs", form->Timer3->isActive(), game.clockRuns},
            {"the cheat is armed", form->CheatArmed, game.cheatArmed},
            {"the button reads \"Начать заново\"", form->Button1->text() == kCaptionRestart, game.dealt},
        };
        for (const Flag& flag : flags) {
            if (flag.shown != flag.expected) {
                return QStringLiteral("%1: %2, expected %3")
                    .arg(QString::fromUtf8(flag.what))
                    .arg(flag.shown ? "yes" : "no", flag.expected ? "yes" : "no");
            }
        }

        if (form->Panel1->isEnabled() && !form->Timer1->isActive()) {
            if (!model::holdsEachValueOnce(state.Board)) return QStringLiteral("Board is no arrangement");
            const QString picture = mirrorMismatch(*form, state.Board);
            if (!picture.isEmpty()) return picture;
        }

        // The hinted tile is the one red tile, if any.
        const CaptionPanel* hinted = hintedTile(*form);
        for (int k = 1; k <= TForm1::kTileCount; ++k) {
            const CaptionPanel* tile = form->TilePanel(k);
            if ((tile->fontColor() == kHintedCaption) != (tile == hinted)) {
                return QStringLiteral("tile %1 is %2 red").arg(tile->caption(), tile == hinted ? "hinted, not" : "");
            }
        }
        const QString hint = game.hintShown(hintText(*form), hinted ? hinted->caption().toInt() : 0);
        if (!hint.isEmpty()) return QStringLiteral("the hint shows %1").arg(hint);
        // The cue on a locked board covers the par until it goes.
        return cueText(*form).isEmpty() ? game.parShown(parText(*form)) : QString();
    }

private slots:
    void initTestCase() {
        prepareGameApplication();
        passOn = qInstallMessageHandler(dropPlatformNotices);
    }

    void randomPlayOfTheWholeWindow() {
        const quint64 seed = static_cast<quint64>(environmentNumber("PLITON_PLAY_SEED", kDefaultSeed));
        const long events = environmentNumber("PLITON_PLAY_EVENTS", kDefaultEvents);
        qInfo("random play: seed %llu, %ld events; PLITON_PLAY_SEED=%llu replays this run",
              static_cast<unsigned long long>(seed), events, static_cast<unsigned long long>(seed));

        player = std::make_unique<Player>(seed);
        // The game draws from its own generator, seeded from the same seed; reseeding from
        // the clock is ignored, so that the run replays.
        SeededRandom gameRandom(static_cast<unsigned>(seed + 1));
        platform::setBoxAnswerer([this](const platform::BoxRecord& box) { answerBox(box); });
        game.ticksDuringBox = [this] { return ticksWhileABoxIsOpen(); };

        form = std::make_unique<TForm1>(state, solver);
        form2 = std::make_unique<TForm2>(state, [this] { form->zadat_rasstanovku(); });
        form3 = std::make_unique<TForm3>();
        form4 = std::make_unique<TForm4>();
        form->setSecondaryWindows(form2.get(), form3.get(), form4.get());
        solver.setTables(TablesPathFor(PLITON_TEST_PROGRAM_DIR));
        // The test is the clock: the timers tick only when it calls their handlers.
        for (QTimer* timer : {form->Timer1, form->Timer2, form->Timer3}) timer->setInterval(INT_MAX);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        long settledKb = 0;
        int wins = 0, moves = 0;
        for (long event = 1; event <= events; ++event) {
            const bool wonBefore = game.won;
            const int movesBefore = game.moves;
            randomEvent();
            const QString problem = mismatch();
            if (!problem.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nlast events:\n  %4\n"
                                                "replay: PLITON_PLAY_SEED=%1 PLITON_PLAY_EVENTS=%2")
                                     .arg(seed)
                                     .arg(event)
                                     .arg(problem, recent.join(QStringLiteral("\n  ")))));
            }
            wins += !wonBefore && game.won;
            moves += game.moves == movesBefore + 1;
            if (event == kMemorySettleEvents) settledKb = residentKb();
        }
        const long finalKb = residentKb();
        qInfo(
            "random play: %d moves, %d wins, %d forced resets, %d dialog runs, %d boxes; resident memory %ld kB "
            "after %ld events, %ld kB at the end",
            moves, wins, game.forcedResets, dialogRuns, boxesShown, settledKb, kMemorySettleEvents, finalKb);
        qInfo(
            "random play: %d hint requests, %d waits for one (%lld ms in all), %d answers checked, %d of them "
            "after following the hint; %d pars told; %d replays",
            game.hintsAsked, hintWaits, hintWaitedMs, game.hintAnswers, game.hintsFollowed, game.parsTold,
            game.replays);

        if (events < 10 * kMemorySettleEvents) return;  // too short a run to judge
        // The run must have played: moves, wins and dialogs in numbers.
        QVERIFY(moves > events / 20);
        QVERIFY(wins > events / 2000);
        QVERIFY(dialogRuns > events / 200);
        QVERIFY(game.hintsAsked > events / 15);
        QVERIFY(game.hintAnswers > events / 1000);
        QVERIFY(game.hintsFollowed > events / 10000);
        QVERIFY(game.replays > events / 1000);
        QVERIFY(game.parsTold > 0);
#ifndef PLITON_UNDER_SANITIZER
        // A sanitizer keeps freed memory in quarantine or history, so the bound means nothing there.
        constexpr long kResidentGrowthLimitKb = 4 * 1024;
        QVERIFY2(finalKb - settledKb < kResidentGrowthLimitKb, "memory grows");
#endif
    }

    void cleanupTestCase() {
        platform::setBoxAnswerer({});
        qInstallMessageHandler(passOn);
        form.reset();
        form2.reset();
        form3.reset();
        form4.reset();
    }
};

QTEST_MAIN(TestRandomPlay)
#include "random_play_test.moc"
