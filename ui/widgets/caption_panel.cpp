#include "caption_panel.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "bevel_painting.h"

CaptionPanel::CaptionPanel(QWidget* parent)
    : QWidget(parent),
      color_(palette().color(QPalette::Active, QPalette::Button)),
      fontColor_(palette().color(QPalette::Active, QPalette::ButtonText)) {}

void CaptionPanel::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    faceChanged();
#if QT_CONFIG(accessibility)
    // The caption is the panel's name for assistive tools.
    if (QAccessible::isActive()) {
        QAccessibleEvent notice(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&notice);
    }
#endif
}

void CaptionPanel::setColor(const QColor& color) {
    color_ = color;
    faceChanged();
}

void CaptionPanel::setFontColor(const QColor& color) {
    fontColor_ = color;
    faceChanged();
}

void CaptionPanel::setBevels(Bevel outer, Bevel inner, int width) {
    outer_ = outer;
    inner_ = inner;
    bevelWidth_ = width;
    faceChanged();
}

int CaptionPanel::bevelInset() const {
    return (outer_ != Bevel::None ? bevelWidth_ : 0) + (inner_ != Bevel::None ? bevelWidth_ : 0);
}

void CaptionPanel::faceChanged() {
    face_ = QPixmap();
    update();
}

namespace {

// How many device pixels a pixel of the panel spans under `toDevice`, when that is a whole
// number and the panel's pixels fall on device pixels; otherwise 0.
int wholePixelScale(const QTransform& toDevice) {
    const qreal scale = toDevice.m11();
    const bool whole = toDevice.type() <= QTransform::TxScale && toDevice.m22() == scale && scale >= 1 &&
                       scale == std::floor(scale) && toDevice.dx() == std::floor(toDevice.dx()) &&
                       toDevice.dy() == std::floor(toDevice.dy());
    return whole ? static_cast<int>(scale) : 0;
}

}  // namespace

void CaptionPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Only a caption is worth keeping: the background and bevels fill faster than a pixmap
    // blits. A translucent background blends with what lies behind it, and a fractional
    // scale or offset rounds the panel's edges to device pixels otherwise than the face's;
    // such panels are painted directly.
    const int scale = wholePixelScale(painter.deviceTransform());
    if (caption_.isEmpty() || color_.alpha() != 255 || scale == 0) {
        paintFace(painter);
        return;
    }
    // The size and scale are checked here rather than tracked: a resize, a move to another
    // screen or a change of the screen's scale all come before the repaint they cause.
    if (face_.isNull() || face_.size() != size() * scale || face_.devicePixelRatio() != scale) {
        face_ = QPixmap(size() * scale);
        face_.setDevicePixelRatio(scale);
        QPainter facePainter(&face_);
        facePainter.setLayoutDirection(layoutDirection());
        paintFace(facePainter);
    }
    painter.drawPixmap(0, 0, face_);
}

void CaptionPanel::paintFace(QPainter& painter) const {
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
    switch (event->type()) {
        case QEvent::EnabledChange: {
            // QWidget would repaint the panel and, through the board, all fifteen tiles at
            // every slide's start and end, for no change on the screen. Assistive tools still
            // hear of it.
#if QT_CONFIG(accessibility)
            if (QAccessible::isActive()) {
                QAccessible::State changed;
                changed.disabled = true;
                QAccessibleStateChangeEvent notice(this, changed);
                QAccessible::updateAccessibility(&notice);
            }
#endif
            return;
        }
        // What the face is painted with. A screen of another resolution comes as a font change.
        case QEvent::FontChange:
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
        case QEvent::LayoutDirectionChange: face_ = QPixmap(); break;
        default: break;
    }
    QWidget::changeEvent(event);
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
