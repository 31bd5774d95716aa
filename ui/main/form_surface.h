#pragma once

#include <QWidget>

// The free surface of a window's client area: the controls stand on it, and what it
// receives is what falls outside them (or on a disabled one). Reports double clicks.
class FormSurface : public QWidget {
    Q_OBJECT
public:
    explicit FormSurface(QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
