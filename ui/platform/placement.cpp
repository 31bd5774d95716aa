#include "placement.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace platform {

namespace {

// A window is placed before the window manager frames it, so its client area goes where
// its frame was meant to: a title bar then added above a window as tall as the area
// would lie off it. From the window's first showing, this waits for its frame (a second
// at most: without a window manager there is none), then moves the frame onto the area if
// it lies outside it, and goes.
class FrameKeeper : public QObject {
    Q_OBJECT
public:
    explicit FrameKeeper(QWindow* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
        poll_.setInterval(kPollMs);
        connect(&poll_, &QTimer::timeout, this, &FrameKeeper::keepOnArea);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_->isExposed() && !poll_.isActive()) {
            window_->removeEventFilter(this);
            poll_.start();
        }
        return false;
    }

private:
    static constexpr int kPollMs = 50;
    static constexpr int kPolls = 20;

    void keepOnArea() {
        const bool framed = !window_->frameMargins().isNull();
        if (!framed && ++polls_ < kPolls) return;
        poll_.stop();
        if (const QScreen* screen = window_->screen(); framed && screen) {
            const QRect available = screen->availableGeometry();
            const QRect frame = window_->frameGeometry();
            if (frame.left() < available.left() || frame.top() < available.top()) {
                // The client area goes where it lies within the frame.
                const QPoint clientInFrame = window_->geometry().topLeft() - frame.topLeft();
                window_->setPosition(centredPosition(frame, available) + clientInFrame);
            }
        }
        deleteLater();
    }

    QWindow* window_;
    QTimer poll_;
    int polls_ = 0;
};

}  // namespace

QPoint centredPosition(const QRect& frame, const QRect& available) {
    QRect centred = frame;
    centred.moveCenter(available.center());
    return {std::max(centred.left(), available.left()), std::max(centred.top(), available.top())};
}

void centreOnScreen(QWidget& window, const QScreen* screen) {
    if (!screen) return;
    window.move(centredPosition(window.frameGeometry(), screen->availableGeometry()));
    if (QWindow* handle = window.windowHandle(); handle && !handle->isExposed()) new FrameKeeper(handle);
}

}  // namespace platform

#include "placement.moc"
