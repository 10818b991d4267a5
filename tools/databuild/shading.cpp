#include "shading.h"

#include <algorithm>
#include <cmath>

void paintSphere(Image& img, float cx, float cy, float r, const SphereLook& look,
                 const std::function<Rgba(float, float, float)>& colourAt) {
    const float lx = -0.45f, ly = -0.62f, lz = 0.64f; // light from the upper left, toward the viewer
    const int ss = 4;
    int x0 = std::max(0, int(cx - r - 2)), x1 = std::min(img.width - 1, int(cx + r + 2));
    int y0 = std::max(0, int(cy - r - 2)), y1 = std::min(img.height - 1, int(cy + r + 2));
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            float acc[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < ss; sy++)
                for (int sx = 0; sx < ss; sx++) {
                    float px = (x + (sx + 0.5f) / ss - cx) / r;
                    float py = (y + (sy + 0.5f) / ss - cy) / r;
                    float d2 = px * px + py * py;
                    if (d2 > 1) continue;
                    float nz = std::sqrt(1 - d2);
                    Rgba base = colourAt ? colourAt(px, py, nz) : look.base;
                    float diff = std::max(0.0f, px * lx + py * ly + nz * lz);
                    // Light passing through the glass gathers at the side away from the light.
                    float back = std::max(0.0f, -(px * lx + py * ly) * 0.8f + nz * 0.2f);
                    float bounce = look.bounce * back * back;
                    float shade = 0.28f + 0.85f * diff;
                    float rimK = 1 - look.rim * std::pow(1 - nz, 2.0f);
                    Rgba c{base.r * shade * rimK + base.r * bounce + 0.12f * bounce,
                           base.g * shade * rimK + base.g * bounce + 0.12f * bounce,
                           base.b * shade * rimK + base.b * bounce + 0.12f * bounce, 1};
                    // Sharp highlight of the light's reflection.
                    float rz = 2 * nz * (px * lx + py * ly + nz * lz) - lz;
                    float spec = std::pow(std::max(0.0f, rz), 60.0f) * look.gloss;
                    // A broad soft sheen across the upper half.
                    float sheen = std::pow(std::max(0.0f, diff), 6.0f) * 0.25f * look.gloss;
                    float w = std::min(1.0f, spec + sheen);
                    c.r = c.r * (1 - w) + w;
                    c.g = c.g * (1 - w) + w;
                    c.b = c.b * (1 - w) + w;
                    // Thin dark outline so the ball reads on any square.
                    float edge = std::sqrt(d2);
                    if (look.outline > 0 && edge > 0.93f) {
                        float k = std::min(1.0f, (edge - 0.93f) / 0.07f) * look.outline;
                        c.r *= 1 - k;
                        c.g *= 1 - k;
                        c.b *= 1 - k;
                    }
                    acc[0] += std::min(1.0f, c.r);
                    acc[1] += std::min(1.0f, c.g);
                    acc[2] += std::min(1.0f, c.b);
                    acc[3] += 1;
                }
            float n = ss * ss;
            if (acc[3] == 0) continue;
            float cov = acc[3] / n;
            Rgba c{acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], 1};
            img.blendPixel(x, y, c, cov);
        }
}

void paintGlow(Image& img, float cx, float cy, float rx, float ry, const Rgba& c, float power) {
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++) {
            float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d >= 1) continue;
            float k = std::pow(1 - d, power);
            float* p = img.at(x, y);
            float a = c.a * k;
            p[0] = std::min(1.0f, p[0] + c.r * a);
            p[1] = std::min(1.0f, p[1] + c.g * a);
            p[2] = std::min(1.0f, p[2] + c.b * a);
            p[3] = std::min(1.0f, p[3] + a * (1 - p[3]));
        }
}

Image blurred(const Image& src, int radius) {
    Image a = src, b = src;
    // Three box passes approximate a gaussian.
    for (int pass = 0; pass < 3; pass++) {
        for (int y = 0; y < src.height; y++)
            for (int x = 0; x < src.width; x++) {
                float acc[4] = {0, 0, 0, 0};
                for (int k = -radius; k <= radius; k++) {
                    int xx = std::clamp(x + k, 0, src.width - 1);
                    bool inside = x + k >= 0 && x + k < src.width;
                    for (int c = 0; c < 4; c++) acc[c] += inside ? a.at(xx, y)[c] : 0;
                }
                for (int c = 0; c < 4; c++) b.at(x, y)[c] = acc[c] / (2 * radius + 1);
            }
        for (int y = 0; y < src.height; y++)
            for (int x = 0; x < src.width; x++) {
                float acc[4] = {0, 0, 0, 0};
                for (int k = -radius; k <= radius; k++) {
                    int yy = std::clamp(y + k, 0, src.height - 1);
                    bool inside = y + k >= 0 && y + k < src.height;
                    for (int c = 0; c < 4; c++) acc[c] += inside ? b.at(x, yy)[c] : 0;
                }
                for (int c = 0; c < 4; c++) a.at(x, y)[c] = acc[c] / (2 * radius + 1);
            }
    }
    return a;
}

Image tinted(const Image& src, const Rgba& c) {
    Image out(src.width, src.height);
    for (size_t i = 0; i < size_t(src.width) * src.height; i++) {
        float a = src.px[i * 4 + 3] * c.a;
        out.px[i * 4 + 0] = c.r * a;
        out.px[i * 4 + 1] = c.g * a;
        out.px[i * 4 + 2] = c.b * a;
        out.px[i * 4 + 3] = a;
    }
    return out;
}

Image dropShadow(const Image& src, int radius, const Rgba& c, int dx, int dy) {
    Image shadow(src.width, src.height);
    shadow.over(tinted(src, c), dx, dy);
    return blurred(shadow, radius);
}

void alphaFromBrightness(Image& img) {
    for (size_t i = 0; i < size_t(img.width) * img.height; i++) {
        float* p = &img.px[i * 4];
        float m = std::max({p[0], p[1], p[2]});
        p[3] = std::min(1.0f, std::max(p[3] * 0.0f, m));
    }
}
