// Pictures in memory for the data builder: premultiplied float RGBA, cairo canvases, noise and the
// writers of the game's picture formats (TGA, JPEG, JPEG followed by an alpha plane).
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0; // straight (not premultiplied) colour, 0..1
};

Rgba rgb(int r, int g, int b, float a = 1.0f);   // from bytes
Rgba mix(const Rgba& x, const Rgba& y, float t); // linear blend of straight colours
Rgba scaled(const Rgba& c, float k);             // colour channels times k, alpha kept

struct Image {
    int width = 0;
    int height = 0;
    std::vector<float> px; // premultiplied RGBA, row after row from the top

    Image() = default;
    Image(int w, int h);
    float* at(int x, int y) { return &px[(size_t(y) * width + x) * 4]; }
    const float* at(int x, int y) const { return &px[(size_t(y) * width + x) * 4]; }
    void blendPixel(int x, int y, const Rgba& c, float coverage); // source-over of a straight colour
    void over(const Image& src, int dx, int dy);                  // source-over of another picture
    void add(const Image& src, int dx, int dy);                   // additive (glows)
    Rgba sample(float x, float y) const;                          // bilinear, straight colour
    std::vector<uint8_t> toRgba8() const;                         // straight RGBA bytes
    std::vector<uint8_t> alphaPlane() const;                      // one alpha byte per pixel
};

// A cairo drawing surface of the picture's size; toImage() takes the drawing out.
struct Canvas {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    int width = 0, height = 0;

    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Image toImage() const;
    void drawImage(const Image& img, double x, double y, double scale = 1.0, double alpha = 1.0);
};

void setColor(cairo_t* cr, const Rgba& c);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn);

// Repeatable value noise; the same seed always gives the same field.
float hashUnit(uint32_t seed, int x, int y);                                              // 0..1
float valueNoise(uint32_t seed, float x, float y);                                        // smooth, 0..1
float fractalNoise(uint32_t seed, float x, float y, int octaves);                         // 0..1
float tiledNoise(uint32_t seed, float x, float y, int periodX, int periodY, int octaves); // wraps

// Encoders. Every output is a pure function of the pixels (no time stamps).
std::vector<uint8_t> encodeTga(const Image& img);                    // 32-bit, run-length coded
std::vector<uint8_t> encodeJpeg(const Image& img, int quality);      // colour over black, no alpha
std::vector<uint8_t> encodeAlphaJpeg(const Image& img, int quality); // JPEG then the alpha plane
size_t firstEndOfImage(const std::vector<uint8_t>& bytes); // offset after the first FF D9, 0 if none
std::vector<uint8_t> encodePng(const Image& img);

Image decodePicture(const std::vector<uint8_t>& bytes); // TGA/JPEG/PNG back into a picture (for checks)
Image resized(const Image& img, int w, int h);          // box/bilinear scaling for previews
