// Arbitrary bytes into the JPEG decoder: each input gives a picture or an error, never a
// crash, a leak or a hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/platform/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const platform::DecodedPicture picture = platform::decodeJpeg({data, size});
    if (picture.ok() == !picture.error.isEmpty()) std::abort();
    if (picture.ok() && (picture.image.width() <= 0 || picture.image.height() <= 0)) std::abort();
    return 0;
}
