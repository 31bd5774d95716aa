#include "jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace platform {

namespace {

// Pictures larger than this are refused before any pixel memory is allocated.
constexpr JDIMENSION kMaxSide = 8192;
constexpr unsigned long long kMaxPixels = 4096ULL * 4096ULL;

// A crafted progressive file can hold thousands of tiny scans that take minutes to read;
// no honest picture needs more than a few dozen.
constexpr int kMaxScans = 1000;

// libjpeg reports through this record. Its default handler prints and ends the process;
// ours keeps the message and jumps back into the decoding function instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failWithMessage(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Level -1 is a warning: libjpeg patches over corrupt or truncated data (it inserts a fake
// end marker and carries on) and would hand back a partly grey picture. We refuse it.
// Levels 0 and up are trace messages and are dropped.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) failWithMessage(cinfo);
}

void onProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        const auto* decompressor = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (decompressor->input_scan_number > kMaxScans) {
            auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
            std::snprintf(manager->message, sizeof manager->message, "more than %d scans", kMaxScans);
            std::longjmp(manager->jump, 1);
        }
    }
}

struct Header {
    int width = 0;
    int height = 0;
    int components = 0;
};

// Routes libjpeg's errors and warnings to `manager` instead of its default handler, which
// would end the process.
void useErrorManager(jpeg_decompress_struct& cinfo, ErrorManager& manager) {
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = failWithMessage;
    manager.pub.emit_message = onMessage;
}

// The two functions below hold the setjmp. Everything between it and a longjmp is plain C
// data, so jumping over it leaks nothing; the decompression object is always destroyed.

// Reads the header only. False with `manager.message` set when the data is no JPEG.
bool readHeader(std::span<const std::uint8_t> bytes, Header& header, ErrorManager& manager) {
    jpeg_decompress_struct cinfo;
    useErrorManager(cinfo, manager);
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    header.width = static_cast<int>(cinfo.image_width);
    header.height = static_cast<int>(cinfo.image_height);
    header.components = cinfo.num_components;
    const bool plainColour = cinfo.jpeg_color_space == JCS_GRAYSCALE || cinfo.jpeg_color_space == JCS_YCbCr ||
                             cinfo.jpeg_color_space == JCS_RGB;
    if (!plainColour) header.components = 0;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Decodes the whole picture as RGBX into `pixels`, `stride` bytes per row, which must hold
// header.width x header.height pixels. False with `manager.message` set on any error or
// warning.
bool decodePixels(std::span<const std::uint8_t> bytes, const Header& header, std::uint8_t* pixels, std::size_t stride,
                  ErrorManager& manager) {
    jpeg_decompress_struct cinfo;
    jpeg_progress_mgr progress;
    useErrorManager(cinfo, manager);
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&cinfo);
    if (static_cast<int>(cinfo.output_width) != header.width ||
        static_cast<int>(cinfo.output_height) != header.height || cinfo.output_components != 4) {
        std::snprintf(manager.message, sizeof manager.message, "unexpected output layout");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

DecodedPicture failure(const QString& why) { return {QImage(), QStringLiteral("JPEG picture: ") + why}; }

}  // namespace

DecodedPicture decodeJpeg(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return failure(QStringLiteral("no data"));

    ErrorManager manager{};
    Header header;
    if (!readHeader(bytes, header, manager)) return failure(QString::fromLocal8Bit(manager.message));

    if (header.components != 1 && header.components != 3) {
        return failure(QStringLiteral("unsupported colour layout (%1 components)").arg(header.components));
    }
    if (header.width <= 0 || header.height <= 0 || static_cast<JDIMENSION>(header.width) > kMaxSide ||
        static_cast<JDIMENSION>(header.height) > kMaxSide ||
        static_cast<unsigned long long>(header.width) * static_cast<unsigned long long>(header.height) > kMaxPixels) {
        return failure(QStringLiteral("implausible size %1 x %2").arg(header.width).arg(header.height));
    }

    QImage image(header.width, header.height, QImage::Format_RGBX8888);
    if (image.isNull()) return failure(QStringLiteral("out of memory"));

    if (!decodePixels(bytes, header, image.bits(), static_cast<std::size_t>(image.bytesPerLine()), manager)) {
        return failure(QString::fromLocal8Bit(manager.message));
    }
    return {std::move(image), QString()};
}

}  // namespace platform
