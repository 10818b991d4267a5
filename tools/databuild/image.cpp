#include "image.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cassert>
#include <cmath>

Rgba rgb(int r, int g, int b, float a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba mix(const Rgba& x, const Rgba& y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

Image::Image(int w, int h) : width(w), height(h), px(size_t(w) * h * 4, 0.0f) {}

void Image::blendPixel(int x, int y, const Rgba& c, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    float* p = at(x, y);
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void Image::over(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.height; y++) {
        int ty = y + dy;
        if (ty < 0 || ty >= height) continue;
        for (int x = 0; x < src.width; x++) {
            int tx = x + dx;
            if (tx < 0 || tx >= width) continue;
            const float* s = src.at(x, y);
            float* d = at(tx, ty);
            float k = 1 - s[3];
            for (int i = 0; i < 4; i++) d[i] = s[i] + d[i] * k;
        }
    }
}

void Image::add(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.height; y++) {
        int ty = y + dy;
        if (ty < 0 || ty >= height) continue;
        for (int x = 0; x < src.width; x++) {
            int tx = x + dx;
            if (tx < 0 || tx >= width) continue;
            const float* s = src.at(x, y);
            float* d = at(tx, ty);
            for (int i = 0; i < 3; i++) d[i] = std::min(1.0f, d[i] + s[i]);
            d[3] = std::max(d[3], std::min(1.0f, s[3]));
        }
    }
}

Rgba Image::sample(float x, float y) const {
    x = std::clamp(x, 0.0f, float(width - 1));
    y = std::clamp(y, 0.0f, float(height - 1));
    int x0 = int(x), y0 = int(y);
    int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
    float fx = x - x0, fy = y - y0;
    float v[4];
    for (int i = 0; i < 4; i++) {
        float a = at(x0, y0)[i] * (1 - fx) + at(x1, y0)[i] * fx;
        float b = at(x0, y1)[i] * (1 - fx) + at(x1, y1)[i] * fx;
        v[i] = a * (1 - fy) + b * fy;
    }
    if (v[3] <= 1e-6f) return {0, 0, 0, 0};
    return {v[0] / v[3], v[1] / v[3], v[2] / v[3], v[3]};
}

static uint8_t toByte(float v) {
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<uint8_t> Image::toRgba8() const {
    std::vector<uint8_t> out(size_t(width) * height * 4);
    for (size_t i = 0; i < size_t(width) * height; i++) {
        const float* p = &px[i * 4];
        float a = std::clamp(p[3], 0.0f, 1.0f);
        for (int c = 0; c < 3; c++) out[i * 4 + c] = a > 1e-6f ? toByte(p[c] / a) : 0;
        out[i * 4 + 3] = toByte(a);
    }
    return out;
}

std::vector<uint8_t> Image::alphaPlane() const {
    std::vector<uint8_t> out(size_t(width) * height);
    for (size_t i = 0; i < out.size(); i++) out[i] = toByte(px[i * 4 + 3]);
    return out;
}

Canvas::Canvas(int w, int h) : width(w), height(h) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

Image Canvas::toImage() const {
    cairo_surface_flush(surface);
    Image img(width, height);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; y++) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < width; x++) {
            uint32_t v = row[x]; // premultiplied ARGB in native order
            float* p = img.at(x, y);
            p[0] = ((v >> 16) & 255) / 255.0f;
            p[1] = ((v >> 8) & 255) / 255.0f;
            p[2] = (v & 255) / 255.0f;
            p[3] = (v >> 24) / 255.0f;
        }
    }
    return img;
}

void Canvas::drawImage(const Image& img, double x, double y, double scale, double alpha) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
    uint8_t* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int yy = 0; yy < img.height; yy++) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(yy) * stride);
        for (int xx = 0; xx < img.width; xx++) {
            const float* p = img.at(xx, yy);
            row[xx] = uint32_t(toByte(p[3])) << 24 | uint32_t(toByte(p[0])) << 16 |
                      uint32_t(toByte(p[1])) << 8 | toByte(p[2]);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

void setColor(cairo_t* cr, const Rgba& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; i++) {
        double r = (i % 2) ? inner : outer;
        double a = turn - M_PI / 2 + i * M_PI / points;
        double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

// A small integer hash (no library generator) so that every run gives the same pictures.
static uint32_t mixBits(uint32_t v) {
    v ^= v >> 16;
    v *= 0x7feb352dU;
    v ^= v >> 15;
    v *= 0x846ca68bU;
    v ^= v >> 16;
    return v;
}

float hashUnit(uint32_t seed, int x, int y) {
    uint32_t h = mixBits(seed * 0x9e3779b9U ^ mixBits(uint32_t(x) * 0x85ebca6bU ^ mixBits(uint32_t(y))));
    return (h & 0xffffff) / float(0xffffff);
}

static float smooth(float t) {
    return t * t * (3 - 2 * t);
}

static float latticeNoise(uint32_t seed, float x, float y, int px, int py) {
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = smooth(x - x0), fy = smooth(y - y0);
    auto wrap = [](int v, int p) { return p > 0 ? ((v % p) + p) % p : v; };
    int xa = wrap(x0, px), xb = wrap(x0 + 1, px), ya = wrap(y0, py), yb = wrap(y0 + 1, py);
    float a = hashUnit(seed, xa, ya), b = hashUnit(seed, xb, ya);
    float c = hashUnit(seed, xa, yb), d = hashUnit(seed, xb, yb);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

float valueNoise(uint32_t seed, float x, float y) {
    return latticeNoise(seed, x, y, 0, 0);
}

float fractalNoise(uint32_t seed, float x, float y, int octaves) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; i++) {
        sum += latticeNoise(seed + i * 131, x, y, 0, 0) * amp;
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
    }
    return sum / norm;
}

float tiledNoise(uint32_t seed, float x, float y, int periodX, int periodY, int octaves) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; i++) {
        sum += latticeNoise(seed + i * 131, x, y, periodX, periodY) * amp;
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

static void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

std::vector<uint8_t> encodeTga(const Image& img) {
    std::vector<uint8_t> rgba = img.toRgba8();
    std::vector<uint8_t> out;
    stbi_write_tga_with_rle = 1;
    stbi_write_tga_to_func(appendBytes, &out, img.width, img.height, 4, rgba.data());
    return out;
}

static std::vector<uint8_t> rgbOverBlack(const Image& img) {
    std::vector<uint8_t> out(size_t(img.width) * img.height * 3);
    for (size_t i = 0; i < size_t(img.width) * img.height; i++)
        for (int c = 0; c < 3; c++) out[i * 3 + c] = toByte(img.px[i * 4 + c]);
    return out;
}

std::vector<uint8_t> encodeJpeg(const Image& img, int quality) {
    std::vector<uint8_t> rgb = rgbOverBlack(img);
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(appendBytes, &out, img.width, img.height, 3, rgb.data(), quality);
    return out;
}

size_t firstEndOfImage(const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); i++)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) return i + 2;
    return 0;
}

std::vector<uint8_t> encodeAlphaJpeg(const Image& img, int quality) {
    // The colour part carries straight colour so that the edges of transparent areas keep their hue.
    Image straight(img.width, img.height);
    for (size_t i = 0; i < size_t(img.width) * img.height; i++) {
        float a = img.px[i * 4 + 3];
        for (int c = 0; c < 3; c++) straight.px[i * 4 + c] = a > 1e-4f ? img.px[i * 4 + c] / a : 0;
        straight.px[i * 4 + 3] = 1;
    }
    // The game splits the file at the first end-of-image marker; a marker inside the headers would cut
    // the picture short, so try a nearby quality until the first marker is the real end.
    for (int q = quality; q > quality - 10; q--) {
        std::vector<uint8_t> out = encodeJpeg(straight, q);
        if (firstEndOfImage(out) != out.size()) continue;
        std::vector<uint8_t> alpha = img.alphaPlane();
        out.insert(out.end(), alpha.begin(), alpha.end());
        return out;
    }
    assert(false && "no JPEG quality gave a clean end-of-image marker");
    return {};
}

std::vector<uint8_t> encodePng(const Image& img) {
    std::vector<uint8_t> rgba = img.toRgba8();
    std::vector<uint8_t> out;
    stbi_write_png_to_func(appendBytes, &out, img.width, img.height, 4, rgba.data(), img.width * 4);
    return out;
}

Image decodePicture(const std::vector<uint8_t>& bytes) {
    int w = 0, h = 0, n = 0;
    size_t jpegEnd = bytes.size();
    std::vector<uint8_t> alpha;
    uint8_t* pixels = stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &n, 4);
    if (!pixels) return {};
    Image img(w, h);
    // A JPEG followed by an alpha plane: the plane fills the alpha channel.
    if (bytes.size() > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        jpegEnd = firstEndOfImage(bytes);
        if (jpegEnd > 0 && bytes.size() - jpegEnd == size_t(w) * h)
            alpha.assign(bytes.begin() + long(jpegEnd), bytes.end());
    }
    for (size_t i = 0; i < size_t(w) * h; i++) {
        float a = alpha.empty() ? pixels[i * 4 + 3] / 255.0f : alpha[i] / 255.0f;
        for (int c = 0; c < 3; c++) img.px[i * 4 + c] = pixels[i * 4 + c] / 255.0f * a;
        img.px[i * 4 + 3] = a;
    }
    stbi_image_free(pixels);
    return img;
}

Image resized(const Image& img, int w, int h) {
    Image out(w, h);
    float sx = float(img.width) / w, sy = float(img.height) / h;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            // Average over the source footprint so that shrinking does not alias.
            int x0 = int(x * sx), x1 = std::max(x0 + 1, int((x + 1) * sx));
            int y0 = int(y * sy), y1 = std::max(y0 + 1, int((y + 1) * sy));
            float acc[4] = {0, 0, 0, 0};
            int n = 0;
            for (int yy = y0; yy < y1 && yy < img.height; yy++)
                for (int xx = x0; xx < x1 && xx < img.width; xx++, n++)
                    for (int c = 0; c < 4; c++) acc[c] += img.at(xx, yy)[c];
            for (int c = 0; c < 4; c++) out.at(x, y)[c] = n ? acc[c] / n : 0;
        }
    return out;
}
