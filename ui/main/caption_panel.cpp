#include "caption_panel.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include "bevel_painting.h"

CaptionPanel::CaptionPanel(QWidget* parent)
    : QWidget(parent),
      color_(palette().color(QPalette::Active, QPalette::Button)),
      fontColor_(palette().color(QPalette::Active, QPalette::ButtonText)) {}

void CaptionPanel::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void CaptionPanel::setColor(const QColor& color) {
    color_ = color;
    update();
}

void CaptionPanel::setFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}

void CaptionPanel::setBevels(Bevel outer, Bevel inner, int width) {
    outer_ = outer;
    inner_ = inner;
    bevelWidth_ = width;
    update();
}

int CaptionPanel::bevelInset() const {
    return (outer_ != Bevel::None ? bevelWidth_ : 0) + (inner_ != Bevel::None ? bevelWidth_ : 0);
}

void CaptionPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, color_);

    // The active colour group throughout: a disabled panel looks like an enabled one.
    const QColor highlight = palette().color(QPalette::Active, QPalette::Light);
    const QColor shadow = palette().color(QPalette::Active, QPalette::Dark);
    for (const Bevel bevel : {outer_, inner_}) {
        if (bevel == Bevel::None) continue;
        const bool raised = bevel == Bevel::Raised;
        area = drawFrame3D(painter, area, raised ? highlight : shadow, raised ? shadow : highlight, bevelWidth_);
    }

    painter.setPen(fontColor_);
    painter.setFont(font());
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

void CaptionPanel::changeEvent(QEvent* event) {
    if (event->type() != QEvent::EnabledChange) {
        QWidget::changeEvent(event);
        return;
    }
    // QWidget would repaint the panel and, through the board, all fifteen tiles at every
    // slide's start and end, for no change on the screen. Assistive tools still hear of it.
#if QT_CONFIG(accessibility)
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent notice(this, changed);
    QAccessible::updateAccessibility(&notice);
#endif
}

void CaptionPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void CaptionPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        if (rect().contains(event->position().toPoint())) emit clicked();
    }
    event->accept();
}

void CaptionPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // The release that follows must not make a second click.
        pressed_ = false;
        emit doubleClicked();
    }
    event->accept();
}
