// The level map: the painted land with its winding road ("menumap.jpg"), the road's points
// ("trajectory1.spl", 20 units apart, stored 30 units below where they are drawn because the game
// lifts them by 30), the level mark and the fifteen artefacts at the stage borders.
#include "catalogue.h"
#include "shading.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

struct Pt {
    double x, y; // menu units: origin at the centre, y up
};

// The road, as drawn on the map; it winds in four rows and keeps clear of the top right corner, where
// the game shows the chosen level's board.
const Pt kRoad[] = {
    {-350, -235}, {-250, -200}, {-120, -235}, {0, -205},   {120, -240}, {240, -212}, {330, -180},
    {352, -120},  {290, -72},   {170, -98},   {50, -62},   {-70, -92},  {-190, -58}, {-300, -82},
    {-352, -22},  {-318, 48},   {-200, 80},   {-80, 45},   {40, 80},    {160, 52},   {238, 84},
    {190, 148},   {95, 192},    {-30, 168},   {-150, 208}, {-265, 186}, {-345, 238},
};

Pt catmull(const Pt& a, const Pt& b, const Pt& c, const Pt& d, double t) {
    double t2 = t * t, t3 = t2 * t;
    auto f = [&](double p0, double p1, double p2, double p3) {
        return 0.5 * (2 * p1 + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                      (-p0 + 3 * p1 - 3 * p2 + p3) * t3);
    };
    return {f(a.x, b.x, c.x, d.x), f(a.y, b.y, c.y, d.y)};
}

// Points of the road every 20 units along it.
std::vector<Pt> roadPoints() {
    const int n = int(sizeof kRoad / sizeof kRoad[0]);
    std::vector<Pt> dense;
    for (int i = 0; i < n - 1; i++) {
        const Pt& a = kRoad[std::max(0, i - 1)];
        const Pt& d = kRoad[std::min(n - 1, i + 2)];
        for (int k = 0; k < 200; k++) dense.push_back(catmull(a, kRoad[i], kRoad[i + 1], d, k / 200.0));
    }
    dense.push_back(kRoad[n - 1]);
    // Each point is exactly 20 units (straight-line) from the one before, as the game interpolates
    // linearly between them.
    std::vector<Pt> out{dense[0]};
    size_t i = 1;
    while (i < dense.size()) {
        const Pt& from = out.back();
        while (i < dense.size() && std::hypot(dense[i].x - from.x, dense[i].y - from.y) < 20) i++;
        if (i == dense.size()) break;
        // Where the segment dense[i-1]..dense[i] crosses the circle of radius 20 around the last point.
        Pt a = dense[i - 1], b = dense[i];
        double dx = b.x - a.x, dy = b.y - a.y, fx = a.x - from.x, fy = a.y - from.y;
        double qa = dx * dx + dy * dy, qb = 2 * (fx * dx + fy * dy), qc = fx * fx + fy * fy - 400;
        double t = (-qb + std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc))) / (2 * qa);
        out.push_back({a.x + dx * t, a.y + dy * t});
    }
    return out;
}

double px(double x) {
    return x + 400;
}
double py(double y) {
    return 300 - y;
}

// Colours of the fourteen stages along the road, in the order of the landscapes.
const Rgba kStageLand[14] = {
    rgb(150, 205, 100), rgb(120, 190, 95),  rgb(70, 140, 85),   rgb(220, 150, 90),  rgb(236, 200, 130),
    rgb(90, 180, 90),   rgb(130, 175, 150), rgb(160, 150, 175), rgb(215, 140, 70),  rgb(230, 236, 246),
    rgb(200, 160, 215), rgb(120, 160, 150), rgb(120, 80, 70),   rgb(190, 220, 240),
};

void iconTree(cairo_t* cr, double x, double y, double s, const Rgba& c) {
    cairo_rectangle(cr, x - s * 0.1, y - s * 0.4, s * 0.2, s * 0.5);
    cairo_set_source_rgb(cr, 0.4, 0.25, 0.12);
    cairo_fill(cr);
    cairo_arc(cr, x, y - s * 0.7, s * 0.45, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - s * 0.2, y - s * 0.9, 1, x, y - s * 0.7, s * 0.45);
    Rgba a = mix(c, rgb(255, 255, 220), 0.3f), b = scaled(c, 0.6f);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void iconPine(cairo_t* cr, double x, double y, double s, const Rgba& c, bool snow) {
    cairo_move_to(cr, x - s * 0.4, y);
    cairo_line_to(cr, x, y - s * 1.3);
    cairo_line_to(cr, x + s * 0.4, y);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - s * 0.4, 0, x + s * 0.4, 0);
    Rgba a = scaled(c, 1.1f), b = scaled(c, 0.6f);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (snow) {
        cairo_move_to(cr, x - s * 0.15, y - s * 0.8);
        cairo_line_to(cr, x, y - s * 1.3);
        cairo_line_to(cr, x + s * 0.15, y - s * 0.8);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
    }
}

void iconMountain(cairo_t* cr, double x, double y, double s, const Rgba& c, bool snow) {
    cairo_move_to(cr, x - s, y);
    cairo_line_to(cr, x, y - s * 1.1);
    cairo_line_to(cr, x + s, y);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - s, 0, x + s, 0);
    Rgba a = scaled(c, 1.15f), b = scaled(c, 0.65f);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5001, b.r, b.g, b.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (snow) {
        cairo_move_to(cr, x - s * 0.35, y - s * 0.72);
        cairo_line_to(cr, x, y - s * 1.1);
        cairo_line_to(cr, x + s * 0.35, y - s * 0.72);
        cairo_line_to(cr, x + s * 0.1, y - s * 0.8);
        cairo_line_to(cr, x - s * 0.1, y - s * 0.68);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
    }
}

void stageIcon(cairo_t* cr, int stage, double x, double y, double s, int variant) {
    switch (stage) {
    case 0:
        iconTree(cr, x, y, s, rgb(110, 190, 70));
        break;
    case 1:
        variant % 2 ? iconTree(cr, x, y, s, rgb(90, 170, 70))
                    : iconMountain(cr, x, y, s, rgb(150, 160, 190), true);
        break;
    case 2:
        iconPine(cr, x, y, s * 1.1, rgb(40, 110, 60), false);
        break;
    case 3:
        iconMountain(cr, x, y, s * 0.9, rgb(200, 110, 60), false);
        break;
    case 4:
        iconMountain(cr, x, y, s * 0.8, rgb(240, 200, 120), false);
        break;
    case 5:
        iconTree(cr, x, y, s, rgb(50, 160, 70));
        break;
    case 6:
        variant % 2 ? iconPine(cr, x, y, s, rgb(50, 110, 80), false)
                    : iconMountain(cr, x, y, s * 1.1, rgb(140, 150, 190), true);
        break;
    case 7:
        iconMountain(cr, x, y, s, rgb(150, 140, 160), false);
        break;
    case 8:
        iconTree(cr, x, y, s, rgb(220, 110, 40));
        break;
    case 9:
        variant % 2 ? iconPine(cr, x, y, s, rgb(60, 100, 90), true)
                    : iconMountain(cr, x, y, s * 1.1, rgb(200, 210, 235), true);
        break;
    case 10:
        iconTree(cr, x, y, s, rgb(240, 160, 200));
        break;
    case 11:
        iconMountain(cr, x, y, s * 0.9, rgb(110, 150, 150), false);
        break;
    case 12: {
        iconMountain(cr, x, y, s * 1.1, rgb(90, 55, 50), false);
        cairo_arc(cr, x, y - s * 1.15, s * 0.25, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 0.5, 0.1, 0.8);
        cairo_fill(cr);
        break;
    }
    default:
        iconMountain(cr, x, y, s * 0.8, rgb(180, 215, 240), true);
        break;
    }
}

Image makeMap(const std::vector<Pt>& road) {
    const int w = 800, h = 600;
    double length = 20.0 * (road.size() - 1), zone = length / 14;
    Image img(w, h);
    // Land along the road (coloured by the stage nearest to each place), sea around it.
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            double best = 1e18;
            size_t bi = 0;
            for (size_t i = 0; i < road.size(); i += 2) {
                double dx = px(road[i].x) - x, dy = py(road[i].y) - y;
                double d = dx * dx + dy * dy;
                if (d < best) best = d, bi = i;
            }
            double dist = std::sqrt(best);
            (void)bi;
            // The land takes the colours of the stages around it, weighted by nearness, so that the
            // borders between the rows of the road blend instead of meeting in a seam.
            float acc[3] = {0, 0, 0}, weights = 0;
            const double reach = (dist + 80) * (dist + 80); // beyond it a sample weighs under 1%
            for (size_t i = 0; i < road.size(); i += 3) {
                double dx = px(road[i].x) - x, dy = py(road[i].y) - y;
                if (dx * dx + dy * dy > reach) continue;
                double d = std::sqrt(dx * dx + dy * dy);
                float w = float(std::exp(-(d - dist) / 18.0));
                double f = (i * 20.0) / zone - 0.5;
                int a = std::clamp(int(std::floor(f)), 0, 13), b = std::clamp(a + 1, 0, 13);
                float frac = std::clamp((float(f - std::floor(f)) - 0.35f) / 0.3f, 0.0f, 1.0f);
                Rgba c = mix(kStageLand[a], kStageLand[b], frac);
                acc[0] += c.r * w;
                acc[1] += c.g * w;
                acc[2] += c.b * w;
                weights += w;
            }
            Rgba land =
                weights > 0 ? Rgba{acc[0] / weights, acc[1] / weights, acc[2] / weights, 1} : kStageLand[0];
            float n = fractalNoise(1201, x / 40.0f, y / 40.0f, 5);
            land = scaled(land, 0.88f + 0.24f * n);
            float coast = float(dist) - 95 - 70 * fractalNoise(1202, x / 90.0f, y / 90.0f, 4);
            Rgba sea = mix(rgb(70, 150, 200), rgb(40, 100, 170), fractalNoise(1203, x / 60.0f, y / 30.0f, 3));
            float ripple = std::pow(
                std::clamp(tiledNoise(1204, x / 30.0f, y / 8.0f, 0, 0, 3) * 2 - 1.1f, 0.0f, 1.0f), 2.0f);
            sea = mix(sea, rgb(200, 235, 250), ripple * 0.5f);
            // Sandy shore, then shallow water, then the sea.
            Rgba c;
            if (coast < -8)
                c = land;
            else if (coast < 0)
                c = mix(land, rgb(240, 222, 170), (coast + 8) / 8);
            else if (coast < 14)
                c = mix(rgb(120, 200, 215), sea, coast / 14);
            else
                c = sea;
            // Soft shading where land meets the shore.
            if (coast > -20 && coast < -8) c = scaled(c, 0.92f + 0.08f * (-8 - coast) / 12);
            img.blendPixel(x, y, c, 1);
        }
    Canvas cv(w, h);
    cairo_t* cr = cv.cr;
    // Little landmarks of each stage beside the road, never on it.
    std::vector<std::pair<double, double>> placed;
    for (int i = 0; i < 900 && placed.size() < 140; i++) {
        double x = 20 + 760 * hashUnit(1210, i, 0), y = 30 + 555 * hashUnit(1210, i, 1);
        if (x > 610 && y < 180) continue; // the board preview's corner
        double best = 1e18;
        size_t bi = 0;
        for (size_t k = 0; k < road.size(); k++) {
            double d = std::hypot(px(road[k].x) - x, py(road[k].y) - y);
            if (d < best) best = d, bi = k;
        }
        if (best < 30 || best > 80) continue;
        bool crowded = false;
        for (auto& p : placed)
            if (std::hypot(p.first - x, p.second - y) < 26) crowded = true;
        if (crowded) continue;
        placed.push_back({x, y});
        int stage = std::clamp(int(bi * 20.0 / zone), 0, 13);
        cairo_save(cr);
        cairo_arc(cr, x + 2, y + 1, 9, 0, 2 * M_PI);
        cairo_scale(cr, 1, 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.15);
        cairo_fill(cr);
        cairo_restore(cr);
        stageIcon(cr, stage, x, y, 14 + 6 * hashUnit(1211, i, 0), i);
    }
    // The road: dark edge, sandy surface, a dotted middle line.
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto roadPath = [&] {
        cairo_new_path(cr);
        for (size_t i = 0; i < road.size(); i++) {
            if (i == 0)
                cairo_move_to(cr, px(road[i].x), py(road[i].y));
            else
                cairo_line_to(cr, px(road[i].x), py(road[i].y));
        }
    };
    roadPath();
    cairo_set_source_rgba(cr, 0.2, 0.1, 0.02, 0.35);
    cairo_set_line_width(cr, 24);
    cairo_stroke(cr);
    roadPath();
    cairo_set_source_rgb(cr, 0.5, 0.32, 0.14);
    cairo_set_line_width(cr, 18);
    cairo_stroke(cr);
    roadPath();
    cairo_set_source_rgb(cr, 0.96, 0.86, 0.62);
    cairo_set_line_width(cr, 13);
    cairo_stroke(cr);
    roadPath();
    double dash[2] = {4, 8};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgba(cr, 0.7, 0.5, 0.25, 0.8);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Parchment card in the corner where the game draws the chosen level's board.
    roundedRect(cr, 618, 6, 176, 168, 12);
    cairo_set_source_rgba(cr, 0.3, 0.15, 0.05, 0.85);
    cairo_fill(cr);
    roundedRect(cr, 622, 10, 168, 160, 10);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 10, 0, 170);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.98, 0.9, 0.7);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.9, 0.78, 0.55);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.85, 0.62, 0.25);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    img.over(cv.toImage(), 0, 0);
    // Darkened edges, like an old painted map.
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            double dx = (x - 400) / 400.0, dy = (y - 300) / 300.0;
            float v = float(1 - 0.28 * std::pow(std::max(0.0, std::hypot(dx, dy) - 0.55), 1.5));
            float* q = img.at(x, y);
            for (int k = 0; k < 3; k++) q[k] *= v;
        }
    return img;
}

std::vector<uint8_t> encodePath(const std::vector<Pt>& road) {
    std::vector<uint8_t> out;
    auto put = [&](const void* p, size_t n) { appendRaw(out, p, n); };
    int32_t n = int32_t(road.size());
    float length = 20.0f * float(road.size() - 1);
    put(&n, 4);
    put(&length, 4);
    for (const Pt& p : road) {
        float xy[2] = {float(p.x), float(p.y - 30)}; // the game lifts every point by 30
        put(xy, 8);
    }
    float unused[10] = {};
    put(unused, sizeof unused);
    return out;
}

// The level mark: a white pebble (the game tints it), long along the road.
Image makeLevelMark() {
    Image img(32, 32);
    SphereLook look;
    look.base = rgb(250, 250, 250);
    look.outline = 0.7f;
    Image ball(32, 32);
    paintSphere(ball, 16, 16, 14, look);
    return ball;
}

// Fifteen treasures, one at each border of the stages.
void goldFill(cairo_t* cr, double y0, double y1) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.95, 0.6);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.95, 0.7, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.6, 0.35, 0.05);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.35, 0.18, 0.02);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void jewel(cairo_t* cr, double x, double y, double r, const Rgba& c) {
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.4, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1, c.r * 0.4, c.g * 0.4, c.b * 0.4);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.2, 0.1, 0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

Image makeArtefact(int n) {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr;
    const Rgba ruby = rgb(230, 30, 50), sapphire = rgb(40, 90, 240), emerald = rgb(30, 190, 80),
               amethyst = rgb(170, 60, 220), topaz = rgb(255, 180, 30);
    switch (n) {
    case 1: // crown
        cairo_move_to(cr, 10, 46);
        cairo_line_to(cr, 8, 18);
        cairo_line_to(cr, 21, 32);
        cairo_line_to(cr, 32, 12);
        cairo_line_to(cr, 43, 32);
        cairo_line_to(cr, 56, 18);
        cairo_line_to(cr, 54, 46);
        cairo_close_path(cr);
        goldFill(cr, 12, 46);
        cairo_new_path(cr);
        roundedRect(cr, 9, 44, 46, 9, 3);
        goldFill(cr, 44, 53);
        cairo_new_path(cr);
        jewel(cr, 32, 35, 5, ruby);
        jewel(cr, 18, 40, 3, sapphire);
        jewel(cr, 46, 40, 3, emerald);
        break;
    case 2: // chalice
        cairo_move_to(cr, 14, 10);
        cairo_curve_to(cr, 14, 34, 26, 36, 29, 38);
        cairo_line_to(cr, 29, 48);
        cairo_line_to(cr, 18, 54);
        cairo_line_to(cr, 46, 54);
        cairo_line_to(cr, 35, 48);
        cairo_line_to(cr, 35, 38);
        cairo_curve_to(cr, 38, 36, 50, 34, 50, 10);
        cairo_close_path(cr);
        goldFill(cr, 10, 54);
        cairo_new_path(cr);
        jewel(cr, 32, 22, 5, emerald);
        break;
    case 3: // amulet
        cairo_arc(cr, 32, 10, 8, M_PI, 0);
        cairo_set_source_rgb(cr, 0.8, 0.6, 0.2);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_arc(cr, 32, 36, 18, 0, 2 * M_PI);
        goldFill(cr, 18, 54);
        cairo_new_path(cr);
        jewel(cr, 32, 36, 11, sapphire);
        break;
    case 4: // crystal cluster
        for (int i = -1; i <= 1; i++) {
            double x = 32 + i * 12, top = i == 0 ? 6 : 18;
            cairo_move_to(cr, x - 7, 54);
            cairo_line_to(cr, x - 7, top + 10);
            cairo_line_to(cr, x, top);
            cairo_line_to(cr, x + 7, top + 10);
            cairo_line_to(cr, x + 7, 54);
            cairo_close_path(cr);
            cairo_pattern_t* p = cairo_pattern_create_linear(x - 7, 0, x + 7, 0);
            cairo_pattern_add_color_stop_rgb(p, 0, 0.9, 0.8, 1);
            cairo_pattern_add_color_stop_rgb(p, 1, 0.5, 0.25, 0.8);
            cairo_set_source(cr, p);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(p);
            cairo_set_source_rgb(cr, 0.25, 0.1, 0.4);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
        break;
    case 5: // key
        cairo_arc(cr, 20, 22, 12, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 20, 22, 6, 0, 2 * M_PI);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        goldFill(cr, 10, 34);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_new_path(cr);
        cairo_move_to(cr, 29, 29);
        cairo_line_to(cr, 54, 54);
        cairo_line_to(cr, 50, 58);
        cairo_line_to(cr, 25, 33);
        cairo_close_path(cr);
        cairo_move_to(cr, 44, 44);
        cairo_line_to(cr, 50, 38);
        cairo_line_to(cr, 54, 42);
        cairo_line_to(cr, 48, 48);
        cairo_close_path(cr);
        goldFill(cr, 29, 58);
        break;
    case 6: // compass
        cairo_arc(cr, 32, 32, 22, 0, 2 * M_PI);
        goldFill(cr, 10, 54);
        cairo_new_path(cr);
        cairo_arc(cr, 32, 32, 17, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.98, 0.94, 0.82);
        cairo_fill(cr);
        cairo_move_to(cr, 32, 16);
        cairo_line_to(cr, 36, 32);
        cairo_line_to(cr, 28, 32);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
        cairo_fill(cr);
        cairo_move_to(cr, 32, 48);
        cairo_line_to(cr, 36, 32);
        cairo_line_to(cr, 28, 32);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.2, 0.25, 0.4);
        cairo_fill(cr);
        break;
    case 7: // lantern
        roundedRect(cr, 20, 18, 24, 32, 4);
        cairo_set_source_rgba(cr, 1, 0.85, 0.4, 0.9);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.35, 0.18, 0.02);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_arc(cr, 32, 34, 7, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 0.8, 0.9);
        cairo_fill(cr);
        cairo_rectangle(cr, 17, 12, 30, 7);
        cairo_rectangle(cr, 17, 49, 30, 6);
        goldFill(cr, 12, 55);
        cairo_new_path(cr);
        cairo_arc(cr, 32, 12, 6, M_PI, 0);
        cairo_set_source_rgb(cr, 0.6, 0.4, 0.1);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        break;
    case 8: // lyre
        cairo_move_to(cr, 16, 10);
        cairo_curve_to(cr, 6, 30, 20, 44, 24, 52);
        cairo_line_to(cr, 40, 52);
        cairo_curve_to(cr, 44, 44, 58, 30, 48, 10);
        cairo_set_source_rgb(cr, 0.4, 0.2, 0.03);
        cairo_set_line_width(cr, 8);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 1, 0.78, 0.3);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        for (int i = 0; i < 4; i++) {
            cairo_move_to(cr, 24 + i * 5.3, 20);
            cairo_line_to(cr, 24 + i * 5.3, 50);
        }
        cairo_move_to(cr, 18, 20);
        cairo_line_to(cr, 46, 20);
        cairo_set_source_rgb(cr, 0.95, 0.92, 0.85);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        break;
    case 9: // shield
        cairo_move_to(cr, 12, 10);
        cairo_line_to(cr, 52, 10);
        cairo_curve_to(cr, 52, 36, 44, 48, 32, 56);
        cairo_curve_to(cr, 20, 48, 12, 36, 12, 10);
        goldFill(cr, 10, 56);
        cairo_new_path(cr);
        cairo_move_to(cr, 17, 15);
        cairo_line_to(cr, 47, 15);
        cairo_curve_to(cr, 47, 34, 41, 44, 32, 50);
        cairo_curve_to(cr, 23, 44, 17, 34, 17, 15);
        cairo_set_source_rgb(cr, 0.2, 0.35, 0.8);
        cairo_fill(cr);
        starPath(cr, 32, 30, 10, 4, 5, 0);
        cairo_set_source_rgb(cr, 1, 0.85, 0.35);
        cairo_fill(cr);
        break;
    case 10: // ring
        cairo_arc(cr, 32, 38, 16, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 32, 38, 11, 0, 2 * M_PI);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        goldFill(cr, 22, 54);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_new_path(cr);
        jewel(cr, 32, 18, 9, ruby);
        break;
    case 11: // hourglass
        cairo_rectangle(cr, 14, 8, 36, 6);
        cairo_rectangle(cr, 14, 50, 36, 6);
        goldFill(cr, 8, 56);
        cairo_new_path(cr);
        cairo_move_to(cr, 18, 14);
        cairo_line_to(cr, 46, 14);
        cairo_line_to(cr, 34, 32);
        cairo_line_to(cr, 46, 50);
        cairo_line_to(cr, 18, 50);
        cairo_line_to(cr, 30, 32);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0.8, 0.92, 1, 0.8);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.3, 0.4, 0.5);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_move_to(cr, 24, 50);
        cairo_line_to(cr, 32, 40);
        cairo_line_to(cr, 40, 50);
        cairo_close_path(cr);
        cairo_move_to(cr, 24, 20);
        cairo_line_to(cr, 40, 20);
        cairo_line_to(cr, 32, 30);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.95, 0.75, 0.35);
        cairo_fill(cr);
        break;
    case 12: // golden egg
        cairo_save(cr);
        cairo_translate(cr, 32, 34);
        cairo_scale(cr, 17, 22);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        goldFill(cr, 12, 56);
        cairo_new_path(cr);
        jewel(cr, 26, 30, 3.5, ruby);
        jewel(cr, 38, 38, 3.5, sapphire);
        jewel(cr, 30, 45, 3, emerald);
        break;
    case 13: // feather
        cairo_move_to(cr, 14, 56);
        cairo_curve_to(cr, 16, 30, 34, 12, 54, 6);
        cairo_curve_to(cr, 52, 28, 38, 48, 14, 56);
        cairo_pattern_t* p;
        p = cairo_pattern_create_linear(14, 56, 54, 6);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.2, 0.5, 0.9);
        cairo_pattern_add_color_stop_rgb(p, 0.6, 0.3, 0.85, 0.8);
        cairo_pattern_add_color_stop_rgb(p, 1, 1, 0.9, 0.4);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        cairo_set_source_rgb(cr, 0.1, 0.2, 0.4);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_move_to(cr, 14, 56);
        cairo_line_to(cr, 50, 10);
        cairo_set_source_rgb(cr, 1, 1, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        break;
    case 14: // sceptre with an orb
        cairo_move_to(cr, 30, 24);
        cairo_line_to(cr, 34, 24);
        cairo_line_to(cr, 35, 58);
        cairo_line_to(cr, 29, 58);
        cairo_close_path(cr);
        goldFill(cr, 24, 58);
        cairo_new_path(cr);
        jewel(cr, 32, 16, 11, amethyst);
        starPath(cr, 32, 16, 5, 2, 4, 0);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_fill(cr);
        break;
    default: // sun medallion
        starPath(cr, 32, 32, 27, 19, 12, 0);
        goldFill(cr, 5, 59);
        cairo_new_path(cr);
        jewel(cr, 32, 32, 13, topaz);
        break;
    }
    Image art = cv.toImage();
    Image out(64, 64);
    out.over(dropShadow(art, 2, rgb(0, 0, 0, 0.5f), 2, 3), 0, 0);
    out.over(art, 0, 0);
    return out;
}

} // namespace

void buildLevelMap(Catalogue& out) {
    std::vector<Pt> road = roadPoints();
    Image map = makeMap(road);
    out.addJpeg("menumap.jpg", map);
    out.addFile("trajectory1.spl", Place::DataFolder, encodePath(road));
    out.addTga("levelmark.tga", makeLevelMark());
    char name[32];
    for (int i = 1; i <= 15; i++) {
        std::snprintf(name, sizeof name, "artefact%d.tga", i);
        out.addTga(name, makeArtefact(i));
    }
    // For review: the map as the game lays it out, with artefacts and the seventy marks.
    Image view = map;
    double length = 20.0 * (road.size() - 1), zone = length / 14;
    auto at = [&](double d) {
        int k = int(d / 20);
        if (k > int(road.size()) - 2) return road.back();
        double f = d / 20 - k;
        return Pt{road[size_t(k)].x + (road[size_t(k) + 1].x - road[size_t(k)].x) * f,
                  road[size_t(k)].y + (road[size_t(k) + 1].y - road[size_t(k)].y) * f};
    };
    for (int i = 0; i < 15; i++) {
        Pt p = at(i == 14 ? zone * 14 - 0.1 : zone * i);
        view.over(out.find(std::string("artefact") + std::to_string(i + 1) + ".tga")->preview,
                  int(px(p.x) - 32), int(py(p.y) - 32));
    }
    Image mark = resized(out.find("levelmark.tga")->preview, 16, 16);
    for (int e = 0; e < 70; e++) {
        double b = zone * (e / 5) + 33 + (e % 5 + 0.5) * (zone - 66) / 5;
        Pt p = at(b - 2);
        view.over(mark, int(px(p.x) - 8), int(py(p.y) - 8));
    }
    out.addReview("view of the map", view);
}
