#pragma once

#include <QLabel>
#include <QPointer>

// A balloon in the desktop's tooltip look (its font, colours and frame) that stands outside
// its window, beside it, and points with a tail at one of the window's widgets: so it hides
// nothing the window shows. A pop-up of the tooltip kind, it takes no focus and no click.
//
// It stands on the window's right, level with the widget; where the screen has no room
// there, on its left; then below the window or above it, and always on the screen. On
// Wayland, where a window knows nothing of its place on the screen, it is placed relative to
// the window as a pop-up is, and the compositor keeps it on the screen. It follows the
// window when the window moves, and hides while the window is hidden or minimised, to show
// again with it. Unlike a tooltip it stays until it is hidden.
class BalloonTip : public QLabel {
    Q_OBJECT
public:
    // Where the balloon stands from its window.
    enum class Side { Right, Left, Below, Above };
    static constexpr int kGap = 2;   // between the window's frame and the tail's tip
    static constexpr int kTail = 8;  // how far the tail reaches out of the balloon's body

    // A balloon for the window `window` (any widget of it will do).
    explicit BalloonTip(QWidget* window);

    // Shows `text`, one line per line of it, beside the window of `anchor`, pointing at it.
    // Assistive tools are told `heard` where it is given, the text otherwise.
    void showBeside(const QString& text, QWidget* anchor, const QString& heard = {});
    // The widget it points at (null before the first showBeside()).
    QWidget* anchor() const { return anchor_; }
    Side side() const { return side_; }
    // Where the tail's tip points, in global coordinates.
    QPoint tailTip() const;

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Sizes and places the balloon for the anchor where it now stands.
    void place();
    // The body and the tail as one outline, in the balloon's coordinates.
    QPolygon outline() const;

    QPointer<QWidget> anchor_;
    QPointer<QWidget> window_;  // the anchor's window, whose moves the balloon follows
    Side side_ = Side::Right;
    int tailAt_ = 0;         // where the tail leaves the body, along its side
    bool wanted_ = false;    // shown by its owner, whether or not the window lets it show now
    bool byWindow_ = false;  // the window, not the owner, shows or hides it now
};
