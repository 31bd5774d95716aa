#pragma once

#include <QLabel>

// A balloon in the desktop's tooltip look (its font, colours and frame) that stays until it
// is hidden, unlike a tooltip, which the next key release or click takes away.
class HintBalloon : public QLabel {
    Q_OBJECT
public:
    static constexpr int kGap = 4;  // between the balloon and what it speaks of

    explicit HintBalloon(QWidget* parent);

    // Shows `text` beside `anchor` (a rectangle in the parent's coordinates): to its right,
    // or to its left where the parent has no room on the right.
    void showBeside(const QString& text, const QRect& anchor);
    // Wraps the text at spaces to lines no wider than `pixels` (0, as made: one line per line
    // of the text).
    void setWrapWidth(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int wrapWidth_ = 0;
};
