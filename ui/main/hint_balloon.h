#pragma once

#include <QLabel>

// A balloon in the desktop's tooltip look (its font, colours and frame) that stays until it
// is hidden, unlike a tooltip, which the next key release or click takes away.
class HintBalloon : public QLabel {
    Q_OBJECT
public:
    explicit HintBalloon(QWidget* parent);

    // Shows `text` beside `anchor` (a rectangle in the parent's coordinates): to its right,
    // or to its left where the parent has no room on the right.
    void showBeside(const QString& text, const QRect& anchor);

protected:
    void paintEvent(QPaintEvent* event) override;
};
