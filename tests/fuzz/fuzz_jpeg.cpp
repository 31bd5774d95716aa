// Arbitrary bytes into the JPEG decoder: each input gives a picture or an error, never a
// crash, a leak or a hang, and a picture is never larger than the decoder allows.
#include <cstddef>
#include <cstdint>
#include <functional>

#include <QRegularExpression>

#include "require.h"
#include "ui/platform/jpeg_decoder.h"

namespace {

// libjpeg is the system's library and carries no coverage instrumentation, so libFuzzer
// cannot see how far into it an input got. Each distinct outcome (the error message with
// its numbers left out, or the shape of a picture) and each kind of header marks a counter
// of its own instead, and inputs that reach new ones are kept.
constexpr std::size_t kOutcomeCounters = 4096;
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t outcomeCounters[kOutcomeCounters];

void markOutcome(const QString& outcome) {
    QString shape = outcome;
    shape.remove(QRegularExpression(QStringLiteral("0x[0-9a-fA-F]+|[0-9]+")));
    outcomeCounters[std::hash<QString>()(shape) % kOutcomeCounters] = 1;
}

// The kinds of markers before the first scan, and the frame header's kind, component
// count and main sampling, so that seeds of different kinds (progressive, arithmetic, restart
// markers, grey) count as different even when all of them decode. Unknown markers and
// implausible frames are not told apart, or every junk byte would make a new kind.
void markHeaders(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 2;
    while (at + 4 <= size && data[at] == 0xFF) {
        const std::uint8_t marker = data[at + 1];
        const std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
        const bool frame = (marker >= 0xC0 && marker <= 0xC3) || marker == 0xC9 || marker == 0xCA;
        const bool known = frame || marker == 0xC4 || marker == 0xCC || marker == 0xDB || marker == 0xDD ||
                           marker == 0xDA || marker == 0xFE || (marker >= 0xE0 && marker <= 0xEF);
        if (known) {
            QString kind = QStringLiteral("marker %1").arg(marker >= 0xE0 && marker <= 0xEF ? 0xE0 : marker);
            if (frame && at + 12 <= size && data[at + 9] >= 1 && data[at + 9] <= 4) {
                // The first component's sampling tells the usual layouts apart: 4:4:4, 4:2:2, 4:2:0.
                const std::uint8_t sampling = data[at + 11];
                const bool plausible =
                    (sampling >> 4) >= 1 && (sampling >> 4) <= 4 && (sampling & 15) >= 1 && (sampling & 15) <= 4;
                kind += QStringLiteral(" components %1 sampling %2").arg(data[at + 9]).arg(plausible ? sampling : 0);
            }
            outcomeCounters[std::hash<QString>()(kind) % kOutcomeCounters] = 1;
        }
        if (marker == 0xDA) break;
        at += 2 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    markHeaders(data, size);
    const platform::DecodedPicture picture = platform::decodeJpeg({data, size});
    Require(picture.ok() != !picture.error.isEmpty());
    if (!picture.ok()) {
        markOutcome(picture.error);
        return 0;
    }
    const QImage& image = picture.image;
    Require(image.format() == QImage::Format_RGBX8888);
    Require(image.width() > 0 && image.height() > 0 && image.width() <= 8192 && image.height() <= 8192);
    Require(static_cast<long long>(image.width()) * image.height() <= 4096LL * 4096LL);
    markOutcome(QStringLiteral("picture %1 %2").arg(image.width() % 16).arg(image.height() % 16));
    return 0;
}
