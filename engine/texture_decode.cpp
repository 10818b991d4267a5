#include "engine/texture_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

// TGA: stb_image. JPEG: libjpeg-turbo, whose decoder is fuzzed continuously upstream and which reads
// crafted pictures without leaving its buffers (stb_image's JPEG decoder does not).
// The TGA decoder lives in this file only; static keeps its symbols from meeting another copy in a tool.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS // the reason string is a global: pictures decode on several threads
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

// No picture of the game is larger; a header asking for more is a damaged file, not a reason to
// reserve gigabytes.
constexpr int kMaxPictureSide = 4096;
// A progressive picture needs a handful of scans; thousands of them only cost time.
constexpr int kMaxJpegScans = 256;

bool isJpeg(const uint8_t* data, int size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr) {}

void jpegProgress(j_common_ptr info) {
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    if (decoder->input_scan_number > kMaxJpegScans) jpegFailed(info);
}

// Only plain data lives between the jump point and the decoder's calls: a failure jumps back over them.
bool decodeJpeg(const uint8_t* data, int size, DecodedPicture& out) {
    jpeg_decompress_struct info;
    JpegError error;
    jpeg_progress_mgr progress;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFailed;
    error.manager.output_message = jpegQuiet;
    progress.progress_monitor = jpegProgress;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > kMaxPictureSide || info.image_height > kMaxPictureSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
    out.width = width;
    out.height = height;
    out.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgba.data() + static_cast<size_t>(info.output_scanline) * width * 4;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

// Whether a TGA holds at least the bytes its header promises for its pixels: a file cut short would
// otherwise be decoded in full from nothing (a few bytes claiming thousands of pixels a side).
// Run-length packets hold at most 128 pixels and at least one byte more than one pixel.
bool tgaHoldsItsPixels(const uint8_t* data, int size, int width, int height) {
    constexpr int kHeaderBytes = 18;
    if (size < kHeaderBytes) return false;
    int idBytes = data[0];
    int colourMapBytes = data[1] ? (data[5] | data[6] << 8) * ((data[7] + 7) / 8) : 0;
    int imageType = data[2];
    int pixelBytes = (data[16] + 7) / 8;
    if (pixelBytes <= 0) return false;
    long long available = static_cast<long long>(size) - kHeaderBytes - idBytes - colourMapBytes;
    long long pixels = static_cast<long long>(width) * height;
    long long needed = imageType >= 8 ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    return available >= needed;
}

bool decodeTga(const uint8_t* data, int size, DecodedPicture& out) {
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels) || width <= 0 || height <= 0 ||
        width > kMaxPictureSide || height > kMaxPictureSide || !tgaHoldsItsPixels(data, size, width, height))
        return false;
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (!pixels) return false;
    if (width <= 0 || height <= 0) {
        stbi_image_free(pixels);
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

} // namespace

bool decodePicture(const uint8_t* data, int size, DecodedPicture& out) {
    out = DecodedPicture();
    if (!data || size <= 0) return false;
    bool ok = isJpeg(data, size) ? decodeJpeg(data, size, out) : decodeTga(data, size, out);
    if (!ok) out = DecodedPicture();
    return ok;
}

void splitAlphaJpeg(const uint8_t* data, int size, int& jpegBytes, const uint8_t*& alpha, int& alphaBytes) {
    jpegBytes = size;
    for (int i = 0; i + 1 < size; i++) {
        if (data[i] == 0xFF && data[i + 1] == 0xD9) {
            jpegBytes = i + 2;
            break;
        }
    }
    alpha = data + jpegBytes;
    alphaBytes = size - jpegBytes;
}

bool applyAlphaPlane(const uint8_t* alpha, int alphaBytes, DecodedPicture& picture) {
    size_t texels = static_cast<size_t>(picture.width) * picture.height;
    if (alphaBytes < 0 || static_cast<size_t>(alphaBytes) < texels) return false;
    for (size_t i = 0; i < texels; i++) picture.rgba[i * 4 + 3] = alpha[i];
    return true;
}

void alphaJpegName(const char* tgaName, char* out, size_t capacity) {
    const char* dot = std::strchr(tgaName, '.');
    int base = dot ? static_cast<int>(dot - tgaName) : static_cast<int>(std::strlen(tgaName));
    std::snprintf(out, capacity, "_a_%.*s.jpg", base, tgaName);
}
