#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;

// A panel in the classic desktop style: a filled rectangle with an outer and an inner
// bevel and a caption centred inside them. It reports a click (press and release inside
// the panel with the left button) and a double click. The second press of a double click
// is a double click only, so a fast double click counts as one click.
//
// The panel paints with its own colours whether it is enabled or not: a disabled panel
// passes no mouse input (Qt hands it to the parent) but keeps its look, so enabling or
// disabling it repaints nothing.
//
// A captioned panel keeps its face, painted once, in a pixmap and repaints from it until
// something the face shows changes: a sliding tile is repainted at every tick, and a
// caption as large as a tile's is rasterised from its outlines each time it is drawn.
class CaptionPanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Lowered, Raised };

    explicit CaptionPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Background colour.
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // Caption colour.
    QColor fontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);

    // Outer bevel, inner bevel, and the width of each in pixels.
    void setBevels(Bevel outer, Bevel inner, int width);
    // The pixels the bevels take from each edge.
    int bevelInset() const;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Paints the whole face: background, bevels and caption.
    void paintFace(QPainter& painter) const;
    // Forgets the kept face and schedules a repaint.
    void faceChanged();

    QString caption_;
    QColor color_;
    QColor fontColor_;
    Bevel outer_ = Bevel::Raised;
    Bevel inner_ = Bevel::None;
    int bevelWidth_ = 1;
    bool pressed_ = false;
    // The face as last painted, at the scale it was painted for; null when it must be
    // painted anew.
    QPixmap face_;
};
