#include "form_surface.h"

#include <QMouseEvent>

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {}

void FormSurface::watchControls() {
    for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);
}

bool FormSurface::eventFilter(QObject* watched, QEvent* event) {
    // An enabled control keeps its presses; a disabled one hands them on to the surface.
    if (event->type() == QEvent::MouseButtonPress && static_cast<QWidget*>(watched)->isEnabled()) {
        lastPressHere_ = false;
    }
    return false;
}

void FormSurface::mousePressEvent(QMouseEvent* event) {
    lastPressHere_ = true;
    event->accept();
}

void FormSurface::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void FormSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    // The double click stands for its second press; its first is the last press seen.
    if (event->button() == Qt::LeftButton && lastPressHere_) emit doubleClicked();
    event->accept();
}
