// The decoder on the two embedded pictures and on data that is not a whole, sound JPEG:
// every failure must come back as an error, never as a crash, an exit or a half-grey picture.
// What arbitrary damage may do (an error or a picture, never a crash) is fuzz_jpeg's to find.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "assets/assets.h"
#include "ui/platform/jpeg_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const QByteArray& data) { return Bytes(data.begin(), data.end()); }

platform::DecodedPicture decode(const Bytes& bytes) { return platform::decodeJpeg(std::span(bytes)); }

// What the frame header (SOF marker) of a JPEG says, and where it starts.
struct Frame {
    std::size_t at;
    int marker;  // 0xC0 baseline, 0xC2 progressive, ...
    int height;
    int width;
    int components;
    int precision;
};

// Walks the marker segments up to the first frame header.
std::optional<Frame> frameOf(const Bytes& jpeg) {
    std::size_t at = 2;  // after SOI
    while (at + 9 < jpeg.size()) {
        if (jpeg[at] != 0xFF) return std::nullopt;
        const int marker = jpeg[at + 1];
        const std::size_t length = (std::size_t{jpeg[at + 2]} << 8) | jpeg[at + 3];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            return Frame{
                at,           marker,      (jpeg[at + 5] << 8) | jpeg[at + 6], (jpeg[at + 7] << 8) | jpeg[at + 8],
                jpeg[at + 9], jpeg[at + 4]};
        }
        at += 2 + length;
    }
    return std::nullopt;
}

// A failed decode: an error to show and no picture.
void expectFailure(const platform::DecodedPicture& picture) {
    EXPECT_FALSE(picture.ok());
    EXPECT_TRUE(picture.image.isNull());
    EXPECT_FALSE(picture.error.isEmpty());
}

// The mean of each channel over a picture.
struct Means {
    double red = 0, green = 0, blue = 0;
    double luminance() const { return 0.299 * red + 0.587 * green + 0.114 * blue; }
};

Means meansOf(const QImage& image) {
    Means sums;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            sums.red += qRed(pixel);
            sums.green += qGreen(pixel);
            sums.blue += qBlue(pixel);
        }
    }
    const double pixels = image.width() * image.height();
    return {sums.red / pixels, sums.green / pixels, sums.blue / pixels};
}

}  // namespace

TEST(EmbeddedPictures, AreBaselineWithThreeEightBitComponentsOfTheirSizes) {
    struct Expected {
        Bytes bytes;
        int width, height;
    };
    for (const Expected& expected : {Expected{bytesOf(assets::arrangementBackground()), 700, 438},
                                     Expected{bytesOf(assets::rulesBanner()), 639, 54}}) {
        ASSERT_FALSE(expected.bytes.empty());
        EXPECT_LT(expected.bytes.size(), 150u * 1024u);
        const std::optional<Frame> frame = frameOf(expected.bytes);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->marker, 0xC0);
        EXPECT_EQ(frame->components, 3);
        EXPECT_EQ(frame->precision, 8);
        EXPECT_EQ(frame->width, expected.width);
        EXPECT_EQ(frame->height, expected.height);

        const platform::DecodedPicture picture = decode(expected.bytes);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_TRUE(picture.error.isEmpty());
        EXPECT_EQ(picture.image.size(), QSize(expected.width, expected.height));
    }
}

TEST(EmbeddedPictures, LookLikeWhatTheWindowsExpect) {
    // The lattice is mostly dark with blue and violet light: blue outweighs red and green.
    const QImage lattice = decode(bytesOf(assets::arrangementBackground())).image;
    ASSERT_FALSE(lattice.isNull());
    const Means means = meansOf(lattice);
    EXPECT_LT(means.luminance(), 90.0);
    EXPECT_GT(means.blue, means.red);
    EXPECT_GT(means.blue, means.green);

    // The banner is black with gold: its bright pixels have far more red than blue, which
    // also proves the channels come out in the right order.
    const QImage banner = decode(bytesOf(assets::rulesBanner())).image;
    ASSERT_FALSE(banner.isNull());
    EXPECT_LT(meansOf(banner).luminance(), 80.0);
    int goldPixels = 0;
    for (int y = 0; y < banner.height(); ++y) {
        for (int x = 0; x < banner.width(); ++x) {
            const QRgb pixel = banner.pixel(x, y);
            if (qRed(pixel) > 160) {
                ++goldPixels;
                EXPECT_GT(qRed(pixel), qBlue(pixel) + 40) << x << "," << y;
            }
        }
    }
    EXPECT_GT(goldPixels, 500);
}

TEST(BrokenData, EveryTruncationIsAnError) {
    const Bytes whole = bytesOf(assets::rulesBanner());
    ASSERT_TRUE(decode(whole).ok());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const platform::DecodedPicture picture = decode(cut);
        ASSERT_FALSE(picture.ok()) << "decoded when cut to " << length << " of " << whole.size() << " bytes";
        ASSERT_FALSE(picture.error.isEmpty()) << length;
    }
}

TEST(BrokenData, DamagedHeadersAreErrors) {
    const Bytes whole = bytesOf(assets::rulesBanner());

    Bytes noStart = whole;
    noStart[1] = 0x00;  // SOI becomes FF 00
    expectFailure(decode(noStart));

    // Frame headers claiming pictures that libjpeg itself would accept: 20000 pixels a side,
    // over the limit of a side, and 5000, within it but over the limit of the area. Each is
    // refused for its size, before any memory is set aside for it.
    const std::size_t frame = frameOf(whole).value().at;
    for (const int side : {20000, 5000}) {
        Bytes huge = whole;
        huge[frame + 5] = huge[frame + 7] = static_cast<std::uint8_t>(side >> 8);
        huge[frame + 6] = huge[frame + 8] = static_cast<std::uint8_t>(side & 0xFF);
        const platform::DecodedPicture picture = decode(huge);
        expectFailure(picture);
        EXPECT_TRUE(picture.error.contains(QStringLiteral("implausible size %1 x %1").arg(side)))
            << picture.error.toStdString();
    }
}

TEST(BrokenData, InputThatIsNoJpegIsAnError) {
    expectFailure(decode({}));
    expectFailure(decode({0xFF, 0xD8}));
    expectFailure(decode({0xFF, 0xD8, 0xFF, 0xD9}));

    Bytes noise(4096);
    std::mt19937 generator(7);
    for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>(generator());
    expectFailure(decode(noise));

    QImage square(16, 16, QImage::Format_RGB32);
    square.fill(Qt::darkBlue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(square.save(&buffer, "PNG"));
    const platform::DecodedPicture picture = decode(bytesOf(png));
    expectFailure(picture);
    EXPECT_TRUE(picture.error.startsWith(QStringLiteral("JPEG picture: "))) << picture.error.toStdString();
}
