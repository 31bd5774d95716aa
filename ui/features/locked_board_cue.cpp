#include "locked_board_cue.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include "ui/widgets/message_line.h"

namespace {

constexpr QStringView kCue = u"Нажмите «%1», чтобы начать игру";

}  // namespace

LockedBoardCue::LockedBoardCue(QWidget* board, QPushButton* startButton, MessageLine* line, QObject* parent)
    : QObject(parent), board_(board), startButton_(startButton), line_(line), timeout_(new QTimer(this)) {
    timeout_->setSingleShot(true);
    timeout_->setInterval(kShownMs);
    connect(timeout_, &QTimer::timeout, this, &LockedBoardCue::hide);
}

QString LockedBoardCue::text() const { return kCue.toString().arg(startButton_->text()); }

void LockedBoardCue::show() {
    if (QApplication::activeModalWidget()) return;
    line_->post(this, text());
    shown_ = true;
    timeout_->start();
    // The click or key that showed the cue is still on its way: it is not the next one.
    QTimer::singleShot(0, this, [this] {
        if (shown_) qApp->installEventFilter(this);
    });
}

void LockedBoardCue::hide() {
    if (!shown_) return;
    shown_ = false;
    qApp->removeEventFilter(this);
    timeout_->stop();
    line_->withdraw(this);
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
