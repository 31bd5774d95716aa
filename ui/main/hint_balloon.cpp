#include "hint_balloon.h"

#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>

HintBalloon::HintBalloon(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setIndent(1);
    // The balloon only speaks: clicks go to what lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void HintBalloon::setWrapWidth(int pixels) {
    wrapWidth_ = pixels;
    setWordWrap(pixels > 0);
}

void HintBalloon::showBeside(const QString& text, const QRect& anchor) {
    setText(text);
    // A wrapped label's own size hint chooses a narrower width than it needs.
    resize(wrapWidth_ > 0 ? QSize(wrapWidth_, heightForWidth(wrapWidth_)) : sizeHint());
    const QRect room = parentWidget()->rect();
    int left = anchor.right() + 1 + kGap;
    if (left + width() > room.right()) left = anchor.left() - kGap - width();
    const int top = anchor.center().y() - height() / 2;
    move(std::clamp(left, 0, std::max(0, room.width() - width())), std::clamp(top, 0, std::max(0, room.height() - height())));
    raise();
    show();
}

void HintBalloon::paintEvent(QPaintEvent* event) {
    {
        QStylePainter painter(this);
        QStyleOptionFrame option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_PanelTipLabel, option);
    }
    QLabel::paintEvent(event);
}
