// The keyboard: the arrows play the tile beside the blank, H (Р, the same key on a Russian
// layout) asks for a hint. Every other key keeps its usual meaning.
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include "caption_panel.h"
#include "engine/moves.h"
#include "tform1.h"

namespace {

// The Cyrillic capital ER, which the H key gives on a Russian layout.
constexpr int kKeyCyrillicEr = 0x0420;

bool isArrow(int key) { return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down; }

// The direction a tile travels for an arrow key.
engine::SlideDirection travelFor(Qt::Key arrow) {
    switch (arrow) {
        case Qt::Key_Left: return engine::SlideDirection::SlideLeft;
        case Qt::Key_Right: return engine::SlideDirection::SlideRight;
        case Qt::Key_Up: return engine::SlideDirection::SlideUp;
        default: return engine::SlideDirection::SlideDown;
    }
}

}  // namespace

bool TForm1::boardTakesInput() const { return Panel1->isEnabled() && !Timer1->isActive(); }

void TForm1::ArrowKey(Qt::Key key) {
    if (!boardTakesInput()) return;
    const std::uint8_t tile = engine::TileToSlide(state_.Board, travelFor(key));
    if (tile == 0) return;
    for (int k = 1; k <= kTileCount; ++k) {
        if (TilePanel(k)->caption() == QString::number(tile)) {
            Panel2Click(TilePanel(k));
            return;
        }
    }
}

bool TForm1::playKey(const QKeyEvent* event) {
    // Plain keys only: with Ctrl, Alt or Meta a key means something else.
    if (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
    const int key = event->key();
    if (isArrow(key) && !(event->modifiers() & Qt::ShiftModifier)) {
        ArrowKey(static_cast<Qt::Key>(key));
        return true;
    }
    if (key == Qt::Key_H || key == kKeyCyrillicEr) {
        ShowHint();
        return true;
    }
    return false;
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    if (playKey(event)) return;
    QMainWindow::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // A focused button would take the arrows to move the focus along; here they play.
    // Enter and Space still press it.
    if (watched == Button1 && event->type() == QEvent::KeyPress && playKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
