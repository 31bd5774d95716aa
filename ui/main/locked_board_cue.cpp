#include "locked_board_cue.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "hint_balloon.h"

namespace {

constexpr QStringView kCue = u"Нажмите «%1», чтобы начать игру";

// Where a cue of `size` stands on the screen: below the window's frame, under the button;
// where the screen has no room below, left of the window at the button's height, else
// right of it. Either way it hides nothing the window shows.
QPoint placeBeside(const QWidget* button, QSize size) {
    const QRect frame = button->window()->frameGeometry();
    const QRect screen = button->screen()->availableGeometry();
    const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
    QPoint place(at.left(), frame.bottom() + 1 + HintBalloon::kGap);
    if (place.y() + size.height() > screen.bottom() + 1) {
        place = QPoint(frame.left() - HintBalloon::kGap - size.width(), at.center().y() - size.height() / 2);
        if (place.x() < screen.left()) place.setX(frame.right() + 1 + HintBalloon::kGap);
    }
    return {std::clamp(place.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())),
            std::clamp(place.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()))};
}

}  // namespace

LockedBoardCue::LockedBoardCue(QWidget* board, QPushButton* startButton, QObject* parent)
    : QObject(parent), board_(board), startButton_(startButton), timeout_(new QTimer(this)) {
    timeout_->setSingleShot(true);
    timeout_->setInterval(kShownMs);
    connect(timeout_, &QTimer::timeout, this, &LockedBoardCue::hide);
}

QString LockedBoardCue::text() const { return kCue.toString().arg(startButton_->text()); }

void LockedBoardCue::show() {
    if (QApplication::activeModalWidget()) return;
    if (!popUp_) {
        popUp_ = new QWidget(startButton_->window(), Qt::ToolTip | Qt::WindowTransparentForInput);
        popUp_->setAttribute(Qt::WA_ShowWithoutActivating);
        balloon_ = new HintBalloon(popUp_);
    }
    balloon_->setText(text());
    balloon_->resize(balloon_->sizeHint());
    balloon_->show();
    popUp_->resize(balloon_->size());
    popUp_->move(placeBeside(startButton_, popUp_->size()));
    popUp_->show();
    // The click or key that showed the cue is still on its way: it is not the next one.
    QTimer::singleShot(0, this, [this] {
        if (popUp_->isVisible()) qApp->installEventFilter(this);
    });
    timeout_->start();
}

void LockedBoardCue::hide() {
    if (!popUp_ || popUp_->isHidden()) return;
    qApp->removeEventFilter(this);
    timeout_->stop();
    balloon_->hide();
    popUp_->hide();
}

void LockedBoardCue::describeBoard(bool locked) {
    const QString description = locked ? text() : QString();
    if (board_->accessibleDescription() != description) board_->setAccessibleDescription(description);
    if (!locked) hide();
}

bool LockedBoardCue::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: hide(); break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}
