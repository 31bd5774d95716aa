#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>

// A box that shows a JPEG picture stretched to its whole rectangle. The picture is decoded
// the first time the box is shown, not when it is built. When the data cannot be decoded
// the box draws nothing, so the background of the window behind it shows instead.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<QByteArray()>;

    PictureBox(Source source, QWidget* parent);

    // Whether decoding has been attempted, and its outcome.
    bool decodeAttempted() const { return attempted_; }
    const QImage& picture() const { return picture_; }
    const QString& decodeError() const { return error_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void decode();

    Source source_;
    bool attempted_ = false;
    QImage picture_;
    QString error_;
    QPixmap stretched_;  // picture_ scaled to the box, made on the first paint at a given size
};
