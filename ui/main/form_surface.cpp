#include "form_surface.h"

#include <QMouseEvent>

FormSurface::FormSurface(QWidget* parent) : QWidget(parent) {}

void FormSurface::mousePressEvent(QMouseEvent* event) { event->accept(); }

void FormSurface::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void FormSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    event->accept();
}
