#pragma once

#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

struct DecodedPicture {
    QImage image;   // null when decoding failed
    QString error;  // why it failed; empty on success

    bool ok() const { return !image.isNull(); }
};

// Decodes a baseline or progressive JPEG held in memory. Corrupt, truncated or implausible
// data gives an error, never a crash or an exit: anything libjpeg would only warn about
// counts as corrupt, and so does a picture over 8192 pixels a side or one whose colour is
// not grey or three-component.
DecodedPicture decodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace platform
