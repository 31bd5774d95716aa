#include "balloon_tip.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <array>

namespace {

bool onWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

BalloonTip::BalloonTip(QWidget* window) : QLabel(window->window(), Qt::ToolTip | Qt::BypassGraphicsProxyWidget) {
    setTextFormat(Qt::PlainText);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setIndent(1);
    // The balloon only speaks: clicks go to what lies under it, and it never takes focus.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowTransparentForInput);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    QLabel::setVisible(false);
}

void BalloonTip::setVisible(bool visible) {
    if (!byWindow_) wanted_ = visible;
    QLabel::setVisible(visible);
}

void BalloonTip::showBeside(const QString& text, QWidget* anchor, const QString& heard) {
    if (anchor_ != anchor) {
        if (window_) window_->removeEventFilter(this);
        anchor_ = anchor;
        window_ = anchor->window();
        window_->installEventFilter(this);
    }
    setText(text);
    // Set each time, so that assistive tools hear every change.
    setAccessibleName(heard.isEmpty() ? text : heard);
    wanted_ = true;
    if (!window_->isVisible() || window_->isMinimized()) return;  // it shows with the window
    place();
    show();
}

void BalloonTip::place() {
    if (!anchor_) return;
    const int margin = 3 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this);
    const QRect target(anchor_->mapToGlobal(QPoint(0, 0)), anchor_->size());
    const QRect frame = window_->frameGeometry();
    QScreen* const screen = window_->screen();
    const bool wayland = onWayland();
    const QRect room = screen && !wayland ? screen->availableGeometry() : QRect();

    // The body's margins, and the tail's room on the side that faces the window.
    const auto layOut = [&](Side side) {
        QMargins margins(margin, margin, margin, margin);
        switch (side) {
            case Side::Right: margins.setLeft(margin + kTail); break;
            case Side::Left: margins.setRight(margin + kTail); break;
            case Side::Below: margins.setTop(margin + kTail); break;
            case Side::Above: margins.setBottom(margin + kTail); break;
        }
        setContentsMargins(margins);
        const QSize size = sizeHint();
        QPoint at;
        switch (side) {
            case Side::Right: at = {frame.right() + 1 + kGap, target.center().y() - size.height() / 2}; break;
            case Side::Left: at = {frame.left() - kGap - size.width(), target.center().y() - size.height() / 2}; break;
            case Side::Below: at = {target.center().x() - size.width() / 2, frame.bottom() + 1 + kGap}; break;
            case Side::Above: at = {target.center().x() - size.width() / 2, frame.top() - kGap - size.height()}; break;
        }
        return QRect(at, size);
    };
    const auto fits = [&](const QRect& place, Side side) {
        if (room.isNull()) return true;
        switch (side) {
            case Side::Right: return place.right() <= room.right();
            case Side::Left: return place.left() >= room.left();
            case Side::Below: return place.bottom() <= room.bottom();
            case Side::Above: return place.top() >= room.top();
        }
        return false;
    };

    constexpr std::array kOrder = {Side::Right, Side::Left, Side::Below, Side::Above};
    side_ = Side::Below;  // where none fits: below, kept on the screen over the window's foot
    for (const Side side : kOrder) {
        if (fits(layOut(side), side)) {
            side_ = side;
            break;
        }
    }
    QRect place = layOut(side_);
    if (!room.isNull()) {
        place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() + 1 - place.width())));
        place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() + 1 - place.height())));
    }
    // The tail leaves the body level with the anchor's middle, within the body's side.
    const bool across = side_ == Side::Right || side_ == Side::Left;
    const int along = across ? target.center().y() - place.top() : target.center().x() - place.left();
    const int length = across ? place.height() : place.width();
    tailAt_ = std::clamp(along, kTail, std::max(kTail, length - kTail));
    setGeometry(place);
    setMask(QRegion(outline(), Qt::WindingFill));
}

QPolygon BalloonTip::outline() const {
    const QRect body =
        rect().marginsRemoved(QMargins(side_ == Side::Right ? kTail : 0, side_ == Side::Below ? kTail : 0,
                                       side_ == Side::Left ? kTail : 0, side_ == Side::Above ? kTail : 0));
    const int half = kTail * 3 / 4;
    QPolygon shape;
    const auto corner = [&shape](int x, int y) { shape << QPoint(x, y); };
    corner(body.left(), body.top());
    if (side_ == Side::Below) {
        corner(tailAt_ - half, body.top());
        corner(tailAt_, 0);
        corner(tailAt_ + half, body.top());
    }
    corner(body.right() + 1, body.top());
    if (side_ == Side::Left) {
        corner(body.right() + 1, tailAt_ - half);
        corner(width(), tailAt_);
        corner(body.right() + 1, tailAt_ + half);
    }
    corner(body.right() + 1, body.bottom() + 1);
    if (side_ == Side::Above) {
        corner(tailAt_ + half, body.bottom() + 1);
        corner(tailAt_, height());
        corner(tailAt_ - half, body.bottom() + 1);
    }
    corner(body.left(), body.bottom() + 1);
    if (side_ == Side::Right) {
        corner(body.left(), tailAt_ + half);
        corner(0, tailAt_);
        corner(body.left(), tailAt_ - half);
    }
    return shape;
}

QPoint BalloonTip::tailTip() const {
    switch (side_) {
        case Side::Right: return mapToGlobal(QPoint(0, tailAt_));
        case Side::Left: return mapToGlobal(QPoint(width() - 1, tailAt_));
        case Side::Below: return mapToGlobal(QPoint(tailAt_, 0));
        case Side::Above: return mapToGlobal(QPoint(tailAt_, height() - 1));
    }
    return {};
}

bool BalloonTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && wanted_) {
        byWindow_ = true;
        switch (event->type()) {
            case QEvent::Move:
                if (isVisible()) place();
                break;
            case QEvent::Hide: hide(); break;
            case QEvent::Show:
            case QEvent::WindowStateChange:
                if (window_->isMinimized()) {
                    hide();
                } else if (window_->isVisible() && !isVisible()) {
                    place();
                    show();
                }
                break;
            default: break;
        }
        byWindow_ = false;
    }
    return QLabel::eventFilter(watched, event);
}

void BalloonTip::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.setBrush(palette().color(QPalette::ToolTipBase));
        QPolygon edge = outline();
        // The pen draws right and below each point: the outline's far edges one pixel in.
        for (QPoint& point : edge) {
            point.setX(std::min(point.x(), width() - 1));
            point.setY(std::min(point.y(), height() - 1));
        }
        painter.drawPolygon(edge);
    }
    QLabel::paintEvent(event);
}
