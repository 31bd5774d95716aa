// The cost of one whole move, from the click on a tile to the last painted frame of its
// slide, for callgrind to count. Instrumentation is on for exactly that stretch:
//
//   valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=move.callgrind build-bench/bench/move_cost
//   callgrind_annotate move.callgrind | head -40
//
// The window is built as the game builds it, on the offscreen platform unless another is
// chosen. A new game is dealt and the player's shortcut lays out the near-solved board;
// then tile 14 is clicked through the window system, and the event loop runs the nine
// ticks of its slide until the tile's last frame is painted. Outside callgrind the program
// prints how long that took, so it can be run on its own as a check.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <valgrind/callgrind.h>

#include <cstdio>

#include "app/app_icon.h"
#include "engine/puzzle_state.h"
#include "solving/solver_service.h"
#include "ui/main/tform1.h"
#include "ui/platform/fonts.h"
#include "ui/platform/game_application.h"
#include "ui/platform/message_box.h"
#include "ui/widgets/caption_panel.h"
#include "ui/widgets/form_surface.h"

namespace {

// Ends `loop` when `tile` is painted after the slide's last tick.
class LastFrameWatch : public QObject {
public:
    LastFrameWatch(TForm1& form, QEventLoop& loop) : form_(form), loop_(loop) {}
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (form_.SlideTick == TForm1::kSlideEndTick && !form_.Timer1->isActive()) loop_.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TForm1& form_;
    QEventLoop& loop_;
};

QPoint centreInWindow(const QWidget* widget) { return widget->mapTo(widget->window(), widget->rect().center()); }

}  // namespace

int main(int, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::GameApplication app(argv);
    platform::setApplicationTitle(QStringLiteral("Плитон"));
    platform::installFontSubstitutes();
    QApplication::setWindowIcon(applicationIcon());

    engine::PuzzleState puzzle;
    SolverService solver;
    TForm1 form(puzzle, solver);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    QWindow* window = form.windowHandle();

    // A game, then the shortcut: tiles 1 to 14 in order, the blank on cell 15.
    QTest::mouseClick(window, Qt::LeftButton, {}, centreInWindow(form.Button1));
    QTest::mouseDClick(window, Qt::LeftButton, {}, form.centralWidget()->mapTo(&form, QPoint(10, 10)));
    QTest::mouseDClick(window, Qt::LeftButton, {}, form.Panel1->mapTo(&form, QPoint(1, 150)));
    CaptionPanel* tile = form.TilePanel(14);
    if (tile->caption() != QStringLiteral("14") || !form.Panel1->isEnabled()) {
        std::fprintf(stderr, "move_cost: the near-solved layout did not come up\n");
        return 1;
    }
    // Everything the set-up painted is on the screen before the count starts.
    QTest::qWait(200);

    QEventLoop loop;
    LastFrameWatch watch(form, loop);
    tile->installEventFilter(&watch);
    const QPoint start = tile->pos();
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(1); });

    QElapsedTimer elapsed;
    elapsed.start();
    CALLGRIND_START_INSTRUMENTATION;
    QTest::mouseClick(window, Qt::LeftButton, {}, centreInWindow(tile));
    const int outcome = loop.exec();
    CALLGRIND_STOP_INSTRUMENTATION;
    const qint64 ms = elapsed.elapsed();

    const QPoint travelled = tile->pos() - start;
    std::printf("move: tile 14 travelled (%d,%d) in %d ticks, %d paints of the tile, %lld ms%s\n", travelled.x(),
                travelled.y(), form.SlideTick - 1, watch.paints, static_cast<long long>(ms),
                RUNNING_ON_VALGRIND ? " under valgrind" : "");
    return outcome == 0 && travelled == QPoint(TForm1::kCellSize, 0) ? 0 : 1;
}
