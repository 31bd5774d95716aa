#pragma once

#include <QWidget>

// The free surface of a window's client area: the controls stand on it, and what it
// receives is what falls outside them (or on a disabled one). Reports double clicks.
//
// A double click counts only when both of its presses fell on the surface. When the first
// press went to a control that then locked itself (a tile that starts a slide), the second
// falls through to the surface, yet the player double-clicked the control, not the window.
class FormSurface : public QWidget {
    Q_OBJECT
public:
    explicit FormSurface(QWidget* parent = nullptr);

    // Watches the presses that the controls now on the surface take for themselves; call
    // once the controls are built.
    void watchControls();

signals:
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool lastPressHere_ = false;  // whether the last press fell on the surface
};
