#include "app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kIconSide = 32;
// Drawn from the basic sixteen colours only.
const QColor kBody(0, 0, 0);
const QColor kPin(255, 255, 0);
const QColor kMarking(128, 128, 128);
constexpr int kPinsPerSide = 5;

// The renderings beside the 32 x 32 drawing.
constexpr int kLargerSides[] = {48, 64, 128, 256};

}  // namespace

QImage applicationIconImage(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    if (side > kIconSide) painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<qreal>(side) / kIconSide, static_cast<qreal>(side) / kIconSide);
    // The chip lies turned by 30 degrees about the icon's centre.
    painter.translate(kIconSide / 2.0, kIconSide / 2.0);
    painter.rotate(-30);

    // Pins along both long sides, then the body over their inner ends.
    // Everything stays within 15 units of the centre, so no corner is cut off.
    for (int i = 0; i < kPinsPerSide; ++i) {
        const qreal x = -9 + i * 4.5;
        painter.fillRect(QRectF(x, -11, 2, 22), kPin);
    }
    painter.fillRect(QRectF(-11, -7, 22, 14), kBody);
    // The dot that marks pin 1.
    painter.setBrush(kMarking);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(-7, 2), 2, 2);
    painter.end();

    return image;
}

QIcon applicationIcon() {
    QIcon icon(QPixmap::fromImage(applicationIconImage(kIconSide)));
    for (const int side : kLargerSides) icon.addPixmap(QPixmap::fromImage(applicationIconImage(side)));
    return icon;
}
