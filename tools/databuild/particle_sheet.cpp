// "particles.tga": 8 x 8 cells of 64 texels, frame n at column n mod 8, row n / 8. Additive frames are
// white light on black (their alpha follows their brightness, so the effect colours tint them); frames
// for normal blending (7, 18-23, 27, 32, 53, 55-59, 62) carry their own colour and alpha.
//
//  0 soft glow       1 hot dot        2 glowing ring    3 four-point sparkle 4 soft star
//  5 streak          6 thin halo      7 smoke puff      8 bubble             9 heart
// 10 comet spark    11 twinkle       12 round glow     13 soft dot          14 spark cluster
// 15 sunburst       16 thin ring     17 bright spark   18 petal             19 leaf
// 20-23 confetti (strip, triangle, disc, ribbon)       24 snowflake         25 flame
// 26 drop           27 coin          28 shard          29 note              30 zigzag bolt
// 31 swirl smoke    32 cloud         33 spiral glow    34 shock ring        35 double ring
// 36 cross glow     37 diamond glow  38 square frame   39 triangle glow     40 clover
// 41 flower         42 sun           43 moon           44 drop glow         45 bolt glow
// 46 firework       47 dust          48 ring of dots   49 heart glow        50 small star
// 51 six-point star 52 sparkle dust  53 golden star    54 feather           55 puff
// 56-59 path preview: target ring, straight beads, turn bead, bead beside the ball
// 60 selection ring 61 bar star      62 gem chip       63 soft square
#include "catalogue.h"
#include "shading.h"

#include <cmath>

namespace {

constexpr int kCell = 64;

Image glowCell(float radius, float power) {
    Image img(kCell, kCell);
    paintGlow(img, 32, 32, radius, radius, rgb(255, 255, 255), power);
    return img;
}

// Light from a cairo path: the filled shape, blurred into a glow, plus the sharp shape on top.
Image lightShape(const std::function<void(cairo_t*)>& path, int blur, float glowGain, bool stroke = false,
                 double lineWidth = 3) {
    Canvas cv(kCell, kCell);
    cairo_t* cr = cv.cr;
    cairo_set_source_rgb(cr, 1, 1, 1);
    path(cr);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (stroke)
        cairo_stroke(cr);
    else
        cairo_fill(cr);
    Image shape = cv.toImage();
    Image out(kCell, kCell);
    if (blur > 0) {
        Image glow = blurred(shape, blur);
        for (float& v : glow.px) v = std::min(1.0f, v * glowGain);
        out.add(glow, 0, 0);
    }
    out.add(shape, 0, 0);
    return out;
}

Image colourShape(const std::function<void(cairo_t*)>& draw) {
    Canvas cv(kCell, kCell);
    draw(cv.cr);
    return cv.toImage();
}

void heart(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.35, cy - s * 0.05, cx - s * 0.75, cy - s * 1.15, cx, cy - s * 0.5);
    cairo_curve_to(cr, cx + s * 0.75, cy - s * 1.15, cx + s * 1.35, cy - s * 0.05, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

void bead(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + 0.8, cy + 1.2, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.2, 0.08, 0, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 1, 0.84, 0.3);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.85, 0.5, 0.05);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.45, 0.2, 0, 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

Image makeFrame(int n) {
    using Cr = cairo_t*;
    switch (n) {
    case 0:
        return glowCell(31, 2.0f);
    case 1: {
        Image img = glowCell(14, 1.5f);
        paintGlow(img, 32, 32, 30, 30, rgb(255, 255, 255, 0.35f), 3);
        return img;
    }
    case 2:
        return lightShape([](Cr cr) { cairo_arc(cr, 32, 32, 20, 0, 2 * M_PI); }, 4, 1.6f, true, 5);
    case 3:
    case 17: {
        Image img = glowCell(n == 17 ? 22 : 14, 2.5f);
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 32, 30, 3.2, 4, 0); }, 2, 1.2f), 0, 0);
        return img;
    }
    case 4:
        return lightShape([](Cr cr) { starPath(cr, 32, 33, 22, 9, 5, 0); }, 5, 1.5f);
    case 5: {
        Image img(kCell, kCell);
        paintGlow(img, 32, 32, 32, 5, rgb(255, 255, 255), 1.2f);
        paintGlow(img, 32, 32, 14, 14, rgb(255, 255, 255, 0.5f), 2);
        return img;
    }
    case 6:
        return lightShape([](Cr cr) { cairo_arc(cr, 32, 32, 26, 0, 2 * M_PI); }, 2, 1.2f, true, 2);
    case 7:
    case 55:
    case 32: {
        // Puffs for normal blending: white, soft edged, a little lumpy.
        Image img(kCell, kCell);
        uint32_t seed = 70 + n;
        for (int y = 0; y < kCell; y++)
            for (int x = 0; x < kCell; x++) {
                float dx = (x - 32) / 30.0f, dy = (y - 32) / (n == 32 ? 20.0f : 30.0f);
                float d = std::sqrt(dx * dx + dy * dy) +
                          0.35f * (fractalNoise(seed, x / 12.0f, y / 12.0f, 3) - 0.5f);
                float a = std::clamp((1 - d) * 2.0f, 0.0f, 1.0f) * 0.85f;
                img.blendPixel(x, y, rgb(255, 255, 255), a);
            }
        return img;
    }
    case 8: {
        Image img = lightShape([](Cr cr) { cairo_arc(cr, 32, 32, 22, 0, 2 * M_PI); }, 2, 0.8f, true, 2);
        img.add(lightShape([](Cr cr) { cairo_arc(cr, 24, 23, 5, 0, 2 * M_PI); }, 2, 1.0f), 0, 0);
        return img;
    }
    case 9:
        return lightShape([](Cr cr) { heart(cr, 32, 33, 18); }, 4, 1.4f);
    case 10: {
        Image img(kCell, kCell);
        paintGlow(img, 32, 40, 5, 24, rgb(255, 255, 255), 1.3f);
        paintGlow(img, 32, 22, 9, 9, rgb(255, 255, 255), 1.5f);
        return img;
    }
    case 11: {
        Image img = glowCell(12, 2);
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 32, 28, 2.5, 8, 0); }, 1, 0.8f), 0, 0);
        return img;
    }
    case 12: {
        Image img = glowCell(31, 1.7f);
        paintGlow(img, 32, 32, 11, 11, rgb(255, 255, 255, 0.7f), 1.4f);
        return img;
    }
    case 13: {
        Image img = glowCell(22, 1.8f);
        paintGlow(img, 32, 32, 7, 7, rgb(255, 255, 255), 1.0f);
        return img;
    }
    case 14:
    case 52:
    case 47: {
        Image img(kCell, kCell);
        int count = n == 14 ? 7 : n == 52 ? 14 : 30;
        for (int i = 0; i < count; i++) {
            float x = 8 + 48 * hashUnit(n, i, 1), y = 8 + 48 * hashUnit(n, i, 2);
            float r = (n == 47 ? 2.0f : 3.0f) + (n == 47 ? 2 : 6) * hashUnit(n, i, 3);
            paintGlow(img, x, y, r, r, rgb(255, 255, 255), 1.2f);
        }
        return img;
    }
    case 15: {
        Image img = glowCell(16, 2);
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 32, 31, 8, 12, 0); }, 3, 0.7f), 0, 0);
        for (float& v : img.px) v *= 0.8f;
        return img;
    }
    case 16:
        return lightShape([](Cr cr) { cairo_arc(cr, 32, 32, 28, 0, 2 * M_PI); }, 1, 0.8f, true, 1.5);
    case 18:
        return colourShape([](Cr cr) {
            cairo_move_to(cr, 32, 8);
            cairo_curve_to(cr, 52, 20, 48, 50, 32, 58);
            cairo_curve_to(cr, 16, 50, 12, 20, 32, 8);
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 8, 0, 58);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.92, 0.95);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.98, 0.55, 0.72);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        });
    case 19:
        return colourShape([](Cr cr) {
            cairo_move_to(cr, 10, 54);
            cairo_curve_to(cr, 8, 24, 30, 8, 56, 8);
            cairo_curve_to(cr, 56, 34, 38, 56, 10, 54);
            cairo_set_source_rgb(cr, 0.45, 0.75, 0.2);
            cairo_fill(cr);
            cairo_move_to(cr, 10, 54);
            cairo_line_to(cr, 50, 14);
            cairo_set_source_rgba(cr, 0.85, 1, 0.6, 0.8);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        });
    case 20:
    case 21:
    case 22:
    case 23:
        return colourShape([n](Cr cr) {
            cairo_set_source_rgb(cr, 1, 1, 1);
            if (n == 20)
                roundedRect(cr, 22, 12, 20, 40, 3);
            else if (n == 21) {
                cairo_move_to(cr, 32, 12);
                cairo_line_to(cr, 52, 50);
                cairo_line_to(cr, 12, 50);
                cairo_close_path(cr);
            } else if (n == 22)
                cairo_arc(cr, 32, 32, 16, 0, 2 * M_PI);
            if (n != 23) {
                cairo_fill(cr);
                return;
            }
            cairo_move_to(cr, 10, 32);
            cairo_curve_to(cr, 20, 12, 28, 52, 38, 32);
            cairo_curve_to(cr, 44, 20, 50, 24, 56, 30);
            cairo_set_line_width(cr, 6);
            cairo_stroke(cr);
        });
    case 24:
        return lightShape(
            [](Cr cr) {
                for (int i = 0; i < 6; i++) {
                    double a = i * M_PI / 3;
                    cairo_move_to(cr, 32, 32);
                    cairo_line_to(cr, 32 + 26 * std::cos(a), 32 + 26 * std::sin(a));
                    double bx = 32 + 16 * std::cos(a), by = 32 + 16 * std::sin(a);
                    cairo_move_to(cr, bx, by);
                    cairo_line_to(cr, bx + 8 * std::cos(a + 0.8), by + 8 * std::sin(a + 0.8));
                    cairo_move_to(cr, bx, by);
                    cairo_line_to(cr, bx + 8 * std::cos(a - 0.8), by + 8 * std::sin(a - 0.8));
                }
            },
            2, 1.2f, true, 3);
    case 25:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 32, 4);
                cairo_curve_to(cr, 44, 24, 52, 36, 46, 48);
                cairo_curve_to(cr, 40, 60, 24, 60, 18, 48);
                cairo_curve_to(cr, 12, 36, 24, 28, 32, 4);
            },
            5, 1.3f);
    case 26:
    case 44:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 32, 8);
                cairo_curve_to(cr, 40, 24, 48, 32, 48, 40);
                cairo_arc(cr, 32, 40, 16, 0, M_PI);
                cairo_curve_to(cr, 16, 32, 24, 24, 32, 8);
            },
            n == 44 ? 6 : 2, n == 44 ? 1.6f : 0.6f);
    case 27:
        return colourShape([](Cr cr) {
            cairo_arc(cr, 32, 32, 20, 0, 2 * M_PI);
            cairo_pattern_t* p = cairo_pattern_create_radial(26, 24, 2, 32, 32, 20);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.97, 0.7);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.85, 0.55, 0.08);
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            cairo_set_source_rgb(cr, 0.55, 0.32, 0.02);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
            starPath(cr, 32, 33, 9, 4, 5, 0);
            cairo_set_source_rgba(cr, 1, 1, 0.85, 0.8);
            cairo_fill(cr);
        });
    case 28:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 32, 6);
                cairo_line_to(cr, 42, 30);
                cairo_line_to(cr, 34, 58);
                cairo_line_to(cr, 24, 32);
                cairo_close_path(cr);
            },
            3, 1.0f);
    case 29:
        return lightShape(
            [](Cr cr) {
                cairo_arc(cr, 24, 46, 8, 0, 2 * M_PI);
                cairo_rectangle(cr, 29, 12, 4, 34);
                cairo_move_to(cr, 29, 12);
                cairo_curve_to(cr, 40, 14, 46, 22, 44, 32);
                cairo_curve_to(cr, 42, 24, 36, 20, 33, 20);
                cairo_close_path(cr);
            },
            3, 1.0f);
    case 30:
    case 45:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 38, 4);
                cairo_line_to(cr, 22, 30);
                cairo_line_to(cr, 34, 32);
                cairo_line_to(cr, 26, 60);
                cairo_line_to(cr, 44, 28);
                cairo_line_to(cr, 32, 26);
                cairo_close_path(cr);
            },
            n == 45 ? 6 : 2, n == 45 ? 1.6f : 0.8f);
    case 31:
    case 33:
        return lightShape(
            [](Cr cr) {
                for (int i = 0; i <= 60; i++) {
                    double t = i / 60.0, a = t * 4 * M_PI, r = 3 + 25 * t;
                    double x = 32 + r * std::cos(a), y = 32 + r * std::sin(a);
                    if (i == 0)
                        cairo_move_to(cr, x, y);
                    else
                        cairo_line_to(cr, x, y);
                }
            },
            n == 33 ? 4 : 2, 1.4f, true, n == 33 ? 4 : 2.5);
    case 34: {
        Image img(kCell, kCell);
        for (int y = 0; y < kCell; y++)
            for (int x = 0; x < kCell; x++) {
                float d = std::hypot(x + 0.5f - 32, y + 0.5f - 32);
                float k = std::exp(-std::pow((d - 24) / 5.0f, 2.0f)) +
                          0.25f * std::exp(-std::pow((d - 15) / 8.0f, 2.0f));
                img.blendPixel(x, y, rgb(255, 255, 255), std::min(1.0f, k));
            }
        return img;
    }
    case 35:
        return lightShape(
            [](Cr cr) {
                cairo_arc(cr, 32, 32, 27, 0, 2 * M_PI);
                cairo_new_sub_path(cr);
                cairo_arc(cr, 32, 32, 17, 0, 2 * M_PI);
            },
            2, 1.2f, true, 3);
    case 36:
        return lightShape(
            [](Cr cr) {
                cairo_rectangle(cr, 28, 6, 8, 52);
                cairo_rectangle(cr, 6, 28, 52, 8);
            },
            5, 1.3f);
    case 37:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 32, 6);
                cairo_line_to(cr, 54, 32);
                cairo_line_to(cr, 32, 58);
                cairo_line_to(cr, 10, 32);
                cairo_close_path(cr);
            },
            5, 1.2f, true, 4);
    case 38:
        return lightShape([](Cr cr) { roundedRect(cr, 10, 10, 44, 44, 8); }, 4, 1.4f, true, 4);
    case 39:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 32, 8);
                cairo_line_to(cr, 56, 52);
                cairo_line_to(cr, 8, 52);
                cairo_close_path(cr);
            },
            5, 1.2f, true, 4);
    case 40:
    case 41:
        return lightShape(
            [n](Cr cr) {
                int petals = n == 40 ? 4 : 6;
                for (int i = 0; i < petals; i++) {
                    double a = i * 2 * M_PI / petals;
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, 32 + 12 * std::cos(a), 32 + 12 * std::sin(a), n == 40 ? 11 : 8, 0,
                              2 * M_PI);
                }
            },
            3, 1.1f);
    case 42: {
        Image img = glowCell(30, 1.5f);
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 32, 26, 15, 10, 0); }, 3, 1.0f), 0, 0);
        return img;
    }
    case 43:
        return lightShape(
            [](Cr cr) {
                cairo_arc(cr, 30, 32, 20, 0, 2 * M_PI);
                cairo_new_sub_path(cr);
                cairo_arc(cr, 40, 26, 17, 0, 2 * M_PI);
                cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            },
            4, 1.2f);
    case 46:
        return lightShape(
            [](Cr cr) {
                for (int i = 0; i < 12; i++) {
                    double a = i * M_PI / 6;
                    cairo_move_to(cr, 32 + 8 * std::cos(a), 32 + 8 * std::sin(a));
                    cairo_line_to(cr, 32 + 28 * std::cos(a), 32 + 28 * std::sin(a));
                }
            },
            3, 1.3f, true, 3);
    case 48:
        return lightShape(
            [](Cr cr) {
                for (int i = 0; i < 10; i++) {
                    double a = i * M_PI / 5;
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, 32 + 24 * std::cos(a), 32 + 24 * std::sin(a), 3.5, 0, 2 * M_PI);
                }
            },
            2, 1.3f);
    case 49:
        return lightShape([](Cr cr) { heart(cr, 32, 33, 20); }, 7, 1.8f, true, 3);
    case 50:
        return lightShape([](Cr cr) { starPath(cr, 32, 33, 14, 6, 5, 0); }, 4, 1.6f);
    case 51: {
        Image img = glowCell(20, 2);
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 32, 29, 9, 6, 0); }, 4, 1.0f), 0, 0);
        return img;
    }
    case 53:
        return colourShape([](Cr cr) {
            starPath(cr, 32, 34, 26, 11, 5, 0);
            cairo_pattern_t* p = cairo_pattern_create_radial(28, 26, 2, 32, 32, 28);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 0.85);
            cairo_pattern_add_color_stop_rgb(p, 0.6, 1, 0.8, 0.2);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.9, 0.5, 0.05);
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            cairo_set_source_rgb(cr, 0.55, 0.28, 0);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
        });
    case 54:
        return lightShape(
            [](Cr cr) {
                cairo_move_to(cr, 14, 56);
                cairo_curve_to(cr, 18, 30, 36, 10, 54, 6);
                cairo_curve_to(cr, 52, 28, 36, 48, 14, 56);
            },
            3, 1.0f);
    case 56: // target: ring with a chevron pointing down toward it
        return colourShape([](Cr cr) {
            cairo_arc(cr, 32, 32, 11, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 0.25, 0.1, 0, 0.5);
            cairo_set_line_width(cr, 6);
            cairo_stroke_preserve(cr);
            cairo_set_source_rgb(cr, 1, 0.85, 0.3);
            cairo_set_line_width(cr, 3.5);
            cairo_stroke(cr);
            bead(cr, 32, 32, 4);
            cairo_move_to(cr, 26, 14);
            cairo_line_to(cr, 32, 19);
            cairo_line_to(cr, 38, 14);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_source_rgba(cr, 0.25, 0.1, 0, 0.5);
            cairo_set_line_width(cr, 5.5);
            cairo_stroke_preserve(cr);
            cairo_set_source_rgb(cr, 1, 0.9, 0.45);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
        });
    case 57:
        return colourShape([](Cr cr) {
            bead(cr, 32, 16, 3);
            bead(cr, 32, 32, 4);
            bead(cr, 32, 48, 3);
        });
    case 58:
        return colourShape([](Cr cr) { bead(cr, 32, 32, 4.5); });
    case 59:
        return colourShape([](Cr cr) {
            bead(cr, 32, 16, 3);
            bead(cr, 32, 32, 3);
        });
    case 60:
        return lightShape([](Cr cr) { cairo_arc(cr, 32, 32, 22, 0, 2 * M_PI); }, 5, 1.8f, true, 4);
    case 61: {
        Image img = glowCell(30, 2.2f);
        for (float& v : img.px) v *= 0.6f;
        img.add(lightShape([](Cr cr) { starPath(cr, 32, 33, 20, 8.5, 5, 0); }, 3, 1.2f), 0, 0);
        return img;
    }
    case 62:
        return colourShape([](Cr cr) {
            cairo_move_to(cr, 32, 18);
            cairo_line_to(cr, 44, 30);
            cairo_line_to(cr, 32, 48);
            cairo_line_to(cr, 20, 30);
            cairo_close_path(cr);
            cairo_pattern_t* p = cairo_pattern_create_linear(20, 18, 44, 48);
            cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.75, 0.8, 0.9);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        });
    default: { // 63: soft square
        Image img(kCell, kCell);
        for (int y = 0; y < kCell; y++)
            for (int x = 0; x < kCell; x++) {
                float dx = std::fabs(x + 0.5f - 32) / 28, dy = std::fabs(y + 0.5f - 32) / 28;
                float d = std::max(dx, dy);
                img.blendPixel(x, y, rgb(255, 255, 255), std::clamp((1 - d) * 4, 0.0f, 1.0f));
            }
        return img;
    }
    }
}

bool isNormalBlendFrame(int n) {
    return n == 7 || (n >= 18 && n <= 23) || n == 27 || n == 32 || n == 53 || (n >= 55 && n <= 59) ||
           n == 62 || n == 63;
}

} // namespace

void buildParticleSheet(Catalogue& out) {
    Image sheet(512, 512);
    for (int n = 0; n < 64; n++) {
        Image frame = makeFrame(n);
        if (!isNormalBlendFrame(n)) alphaFromBrightness(frame);
        sheet.over(frame, (n % 8) * kCell, (n / 8) * kCell);
    }
    out.addTga("particles.tga", sheet);
}
