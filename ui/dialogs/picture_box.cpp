#include "picture_box.h"

#include <QPainter>

#include <cstdint>
#include <span>

#include "ui/platform/jpeg_decoder.h"

PictureBox::PictureBox(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source)) {}

void PictureBox::showEvent(QShowEvent* event) {
    if (!attempted_) decode();
    QWidget::showEvent(event);
}

void PictureBox::decode() {
    attempted_ = true;
    const QByteArray bytes = source_ ? source_() : QByteArray();
    const platform::DecodedPicture decoded = platform::decodeJpeg(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
    picture_ = decoded.image;
    error_ = decoded.error;
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    if (stretched_.size() != size()) {
        stretched_ = QPixmap::fromImage(picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, stretched_);
}
