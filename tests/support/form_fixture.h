#pragma once

// The main window under test: a fresh one for each test, the game's start-up settings,
// playing a layout, finding a tile, running a slide out, whether the tiles mirror a board,
// and what the hint shows.
#include <QColor>
#include <QString>
#include <QTest>
#include <QTimer>

#include <memory>
#include <set>

#include "board_text.h"
#include "box_recorder.h"
#include "design.h"
#include "engine/puzzle_state.h"
#include "game_texts.h"
#include "sanitizer_build.h"
#include "solving/solver_service.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_box.h"
#include "ui/widgets/bevel_frame.h"
#include "ui/widgets/caption_panel.h"
#include "ui/widgets/form_surface.h"
#include "ui/widgets/message_line.h"

// The hinted tile's caption colour; the key that is H on a Russian layout (Р).
inline const QColor kHintedCaption(255, 0, 0);
inline constexpr Qt::Key kKeyCyrillicEr = Qt::Key(0x0420);

// What the window shows that its design does not name: the client area below the menu bar,
// the message line, and the tile the hint shows red (null while none is).
inline FormSurface* clientArea(const TForm1& form) { return qobject_cast<FormSurface*>(form.centralWidget()); }
inline MessageLine* messageLine(const TForm1& form) { return form.findChild<MessageLine*>(); }
inline CaptionPanel* hintedTile(const TForm1& form) {
    for (int k = 1; k <= TForm1::kTileCount; ++k) {
        if (form.TilePanel(k)->fontColor() == kHintedCaption) return form.TilePanel(k);
    }
    return nullptr;
}

// The message line's message, whole, while it shows; empty while it is hidden.
inline QString lineText(const TForm1& form) {
    const MessageLine* line = messageLine(form);
    return line->isVisible() ? line->message() : QString();
}

// What the line says of the hint, the par and the cue: its message where that is theirs,
// else empty.
inline QString cueText(const TForm1& form) {
    const QString said = lineText(form);
    return said.startsWith(kCue) ? said : QString();
}
inline QString parText(const TForm1& form) {
    const QString said = lineText(form);
    return said.startsWith(kParShortest) ? said : QString();
}
inline QString hintText(const TForm1& form) {
    return cueText(form).isEmpty() && parText(form).isEmpty() ? lineText(form) : QString();
}

// A game, its solver service (without tables until a test gives them) and its main window,
// made anew for each test: a test class derives from it beside QObject, and its init()
// calls makeWindow().
struct WindowUnderTest {
    engine::PuzzleState state;
    std::unique_ptr<SolverService> solver;
    std::unique_ptr<TForm1> form;
    void makeWindow() {
        form.reset();
        state = {};
        solver = std::make_unique<SolverService>();
        form = std::make_unique<TForm1>(state, *solver);
    }
};

// What the game's start-up sets before the main window exists.
inline void prepareGameApplication() {
    platform::setApplicationTitle(kTitle);
    platform::installFontSubstitutes();
}

// Puts a layout on the board as an applied arrangement does: the board playable, the clock on.
inline void playLayout(TForm1& form, engine::PuzzleState& state, const engine::Grid& layout) {
    state.Board = layout;
    form.zadat_rasstanovku();
}

// The tile panel showing `value`, or null.
inline CaptionPanel* panelShowing(const TForm1& form, int value) {
    return form.panelShowing(static_cast<std::uint8_t>(value));
}

// A double click as the window system delivers it, through the shown window: press,
// release, then a press that is also a double click, and its release.
inline void doubleClickOn(QWidget* widget, QPoint at) {
    QWidget* window = widget->window();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
}

// Runs a slide in progress to its end.
inline void finishSlide(TForm1& form) {
    for (int guard = 0; form.Timer1->isActive() && guard < 20; ++guard) form.Timer1Timer();
}

// Empty when every tile panel stands on its own cell and shows the value Board holds
// there; otherwise a description of the first difference.
inline QString mirrorMismatch(const TForm1& form, const engine::Grid& board) {
    std::set<int> cellsTaken;
    for (int k = 1; k <= TForm1::kTileCount; ++k) {
        const CaptionPanel* panel = form.TilePanel(k);
        const int left = panel->x(), top = panel->y();
        const int row = design::lineAt(top), column = design::lineAt(left);
        if (row == 0 || column == 0)
            return QStringLiteral("TilePanel %1 off the grid at %2,%3").arg(k).arg(left).arg(top);
        const int cell = engine::CellIndex(row, column);
        if (!cellsTaken.insert(cell).second) return QStringLiteral("two panels on cell %1").arg(cell);
        if (board.at(cell) == 0 || panel->caption() != QString::number(board.at(cell))) {
            return QStringLiteral("cell %1 holds %2, its panel shows %3")
                .arg(cell)
                .arg(board.at(cell))
                .arg(panel->caption());
        }
    }
    return {};
}
