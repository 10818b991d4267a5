// The scenery files: backgrounds "_a_back%i.jpg" and scene files "level%i.lev" in animbacks/, and the
// pictures of the animated scenery objects (skies, waterfall, water, spray, leaves) for the archives.
#include "scenery.h"

#include "catalogue.h"
#include "shading.h"

#include <cmath>
#include <cstdio>
#include <thread>

namespace {

struct SkyLook {
    Rgba top, horizon, cloudLight, cloudShade;
    float cover; // how much of the sky the clouds take
};

Image makeSky(int n) {
    static const SkyLook kLooks[4] = {
        {rgb(62, 124, 214), rgb(184, 216, 248), rgb(255, 255, 255), rgb(190, 204, 228), 0.5f},
        {rgb(96, 96, 170), rgb(255, 196, 120), rgb(255, 226, 190), rgb(220, 130, 110), 0.45f},
        {rgb(140, 168, 220), rgb(255, 214, 222), rgb(255, 246, 244), rgb(214, 180, 210), 0.45f},
        {rgb(52, 26, 36), rgb(206, 92, 52), rgb(150, 90, 80), rgb(70, 40, 44), 0.6f},
    };
    const SkyLook& k = kLooks[n];
    const int w = 512, h = 256;
    Image img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float t = y / float(h - 1);
            Rgba c = mix(k.top, k.horizon, std::pow(t, 1.3f));
            // Clouds: tiling noise, thicker in a band, lit from above.
            float band = std::exp(-std::pow((t - 0.55f) / 0.3f, 2.0f));
            float d = tiledNoise(900 + n, x / 64.0f, y / 40.0f, 8, 0, 5);
            float dens = std::clamp((d - (1 - k.cover * band)) * 3.5f, 0.0f, 1.0f);
            if (dens > 0) {
                float below = tiledNoise(900 + n, x / 64.0f, (y - 6) / 40.0f, 8, 0, 5);
                float lit = std::clamp(0.5f + (d - below) * 4, 0.0f, 1.0f);
                Rgba cloud = mix(k.cloudShade, k.cloudLight, lit);
                c = mix(c, cloud, dens);
            }
            img.blendPixel(x, y, c, 1);
        }
    return img;
}

Image makeWaterfall() {
    const int w = 128, h = 256;
    Image img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float streak = tiledNoise(950, x / 6.0f, y / 48.0f, 128 / 6 + 0, 0, 3);
            // Use a whole number of cells across so the texture tiles.
            streak = tiledNoise(950, x / 8.0f, y / 32.0f, 16, 8, 3);
            float foam = tiledNoise(951, x / 16.0f, y / 16.0f, 8, 16, 3);
            float v = std::clamp(streak * 1.3f - 0.15f + foam * 0.25f, 0.0f, 1.0f);
            Rgba c = mix(rgb(70, 140, 190), rgb(240, 250, 255), v);
            img.blendPixel(x, y, c, 1);
        }
    return img;
}

Image makeWater() {
    const int w = 256, h = 128;
    Image img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float a = tiledNoise(960, x / 32.0f, y / 8.0f, 8, 16, 4);
            float b = tiledNoise(961, x / 16.0f, y / 16.0f, 16, 8, 3);
            float ripple = std::pow(std::clamp((a - 0.55f) * 4, 0.0f, 1.0f), 1.5f);
            Rgba c = mix(rgb(40, 110, 160), rgb(90, 170, 205), b);
            c = mix(c, rgb(235, 248, 255), ripple * 0.85f);
            img.blendPixel(x, y, c, 1);
        }
    return img;
}

Image makeSpray() {
    Image img(64, 64);
    paintGlow(img, 32, 32, 31, 31, rgb(255, 255, 255, 0.9f), 2.0f);
    for (int i = 0; i < 6; i++)
        paintGlow(img, 20 + 24 * hashUnit(970, i, 0), 20 + 24 * hashUnit(970, i, 1), 9, 9,
                  rgb(255, 255, 255, 0.4f), 1.5f);
    alphaFromBrightness(img);
    return img;
}

// One leaf along +x from the origin: kind 0 oval, 1 long tropical, 2 pointed autumn leaf.
void leafPath(cairo_t* cr, int kind, double size) {
    cairo_move_to(cr, 0, 0);
    if (kind == 2) {
        cairo_line_to(cr, size * 0.35, -size * 0.38);
        cairo_line_to(cr, size * 0.55, -size * 0.2);
        cairo_line_to(cr, size * 1.0, -size * 0.3);
        cairo_line_to(cr, size * 1.2, 0);
        cairo_line_to(cr, size * 1.0, size * 0.3);
        cairo_line_to(cr, size * 0.55, size * 0.2);
        cairo_line_to(cr, size * 0.35, size * 0.38);
        cairo_close_path(cr);
        return;
    }
    double wide = kind == 1 ? 0.3 : 0.42;
    cairo_curve_to(cr, size * 0.3, -size * wide, size * 0.8, -size * wide, size * 1.2, 0);
    cairo_curve_to(cr, size * 0.8, size * wide, size * 0.3, size * wide, 0, 0);
}

// A branch hinged at the left edge of its picture: a bough with twigs, leaves in clusters on them.
Image makeLeaves(int kind) {
    const int w = 256, h = 128;
    Canvas cv(w, h);
    cairo_t* cr = cv.cr;
    const Rgba light[3] = {rgb(150, 210, 80), rgb(70, 185, 90), rgb(250, 170, 50)};
    const Rgba dark[3] = {rgb(50, 120, 30), rgb(20, 100, 50), rgb(190, 70, 20)};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto bark = [&](double width) {
        cairo_set_source_rgb(cr, 0.3, 0.18, 0.08);
        cairo_set_line_width(cr, width);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 0.5, 0.34, 0.18);
        cairo_set_line_width(cr, width * 0.4);
        cairo_stroke(cr);
    };
    cairo_move_to(cr, 0, 62);
    cairo_curve_to(cr, 60, 56, 130, 70, 200, 62);
    bark(7);
    // Twigs leave the bough up and down; each ends in a cluster of leaves.
    struct Twig {
        double t, dx, dy;
    };
    const Twig twigs[6] = {{0.25, 24, -22}, {0.38, 20, 24}, {0.55, 26, -20},
                           {0.66, 22, 24},  {0.8, 24, -18}, {0.97, 12, 6}};
    auto bough = [](double t) {
        return std::pair<double, double>(t * 200, 62 - 4 * std::sin(t * 3.14) + t * 2);
    };
    int leafIndex = 0;
    auto drawLeaf = [&](double x, double y, double angle, double size) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, angle);
        leafPath(cr, kind, size);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, -size * 0.4, 0, size * 0.4);
        Rgba a = light[kind], b = dark[kind];
        float vary = hashUnit(983 + kind, leafIndex, 0);
        if (kind == 2)
            a = mix(a, rgb(225, 70, 35), vary);
        else
            a = mix(a, rgb(220, 240, 120), vary * 0.3f);
        cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
        cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        cairo_set_source_rgba(cr, 0, 0.12, 0, 0.45);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, size * 1.05, 0);
        cairo_set_source_rgba(cr, 1, 1, 0.8, 0.45);
        cairo_stroke(cr);
        cairo_restore(cr);
        leafIndex++;
    };
    for (const Twig& tw : twigs) {
        auto [x, y] = bough(tw.t);
        double ex = x + tw.dx, ey = y + tw.dy;
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + tw.dx * 0.3, y + tw.dy * 0.6, ex - tw.dx * 0.2, ey, ex, ey);
        bark(3);
        int n = kind == 1 ? 3 : 5;
        double base = std::atan2(tw.dy, tw.dx);
        for (int k = 0; k < n; k++) {
            double spread = (k - (n - 1) / 2.0) * (kind == 1 ? 0.7 : 0.5);
            double size = (kind == 1 ? 34 : 21) * (0.85 + 0.3 * hashUnit(984, leafIndex, kind));
            drawLeaf(ex, ey, base + spread, size);
        }
    }
    // Leaves straight on the bough between the twigs.
    for (int i = 0; i < 7; i++) {
        double t = 0.15 + i * 0.12;
        auto [x, y] = bough(t);
        double side = i % 2 ? 1.0 : -1.0;
        drawLeaf(x, y, side * 1.0 + 0.3, (kind == 1 ? 34 : 18) * (0.8 + 0.3 * hashUnit(985, i, kind)));
    }
    Image leaves = cv.toImage();
    Image out(w, h);
    out.over(dropShadow(leaves, 3, rgb(0, 0, 0, 0.35f), 3, 5), 0, 0);
    out.over(leaves, 0, 0);
    return out;
}

// What the game shows: the objects that lie behind the picture, then the picture (for the contact sheet).
Image composeForReview(const Landscape& land, const Catalogue& cat) {
    Image view(800, 600);
    for (const SceneObject& o : land.objects) {
        const BuiltFile* f =
            cat.find(o.type + (o.type == "spray" || o.type.rfind("leaves", 0) == 0 ? ".tga" : ".jpg"));
        if (!f || o.type == "spray" || o.type.rfind("leaves", 0) == 0) continue;
        const Image& tex = f->preview;
        int x0 = int(o.left + 400), x1 = int(o.right + 400), y0 = int(300 - o.top), y1 = int(300 - o.bottom);
        for (int y = std::max(0, y0); y < std::min(600, y1); y++)
            for (int x = std::max(0, x0); x < std::min(800, x1); x++) {
                float u = std::fmod(float(x - x0), float(tex.width)),
                      v = std::fmod(float(y - y0), float(tex.height));
                if (o.type.rfind("sky", 0) == 0)
                    v = (y - y0) / float(std::max(1, y1 - y0)) * (tex.height - 1);
                Rgba c = tex.sample(u, v);
                view.blendPixel(x, y, c, 1);
            }
    }
    view.over(land.picture, 0, 0);
    for (const SceneObject& o : land.objects) {
        if (o.type.rfind("leaves", 0) != 0) continue;
        const BuiltFile* f = cat.find(o.type + ".tga");
        if (f)
            view.over(resized(f->preview, int(o.right - o.left), int(o.top - o.bottom)), int(o.left + 400),
                      int(300 - o.top));
    }
    return view;
}

} // namespace

void buildScenery(Catalogue& out) {
    char name[32];
    for (int i = 0; i < 4; i++) {
        std::snprintf(name, sizeof name, "sky%d.jpg", i + 1);
        out.addJpeg(name, makeSky(i));
    }
    out.addJpeg("waterfall.jpg", makeWaterfall());
    out.addJpeg("water.jpg", makeWater());
    out.addTga("spray.tga", makeSpray());
    for (int i = 0; i < 3; i++) {
        std::snprintf(name, sizeof name, "leaves%d.tga", i + 1);
        out.addTga(name, makeLeaves(i));
    }
    // The landscapes are independent: paint them on two threads, then add them in their order.
    std::vector<Landscape> lands(16);
    std::thread helper([&lands] {
        for (int i = 1; i <= 15; i += 2) lands[size_t(i)] = paintLandscape(i);
    });
    for (int i = 0; i <= 15; i += 2) lands[size_t(i)] = paintLandscape(i);
    helper.join();
    for (int i = 0; i <= 15; i++) {
        const Landscape& land = lands[size_t(i)];
        std::snprintf(name, sizeof name, "_a_back%d.jpg", i);
        out.addAlphaJpeg(name, land.picture, Place::Animbacks);
        char scene[32];
        std::snprintf(scene, sizeof scene, "level%d.lev", i);
        char title[32];
        std::snprintf(title, sizeof title, "landscape %d", i);
        out.addFile(scene, Place::Animbacks, encodeSceneFile(title, land.objects));
        std::snprintf(name, sizeof name, "view of back%d", i);
        out.addReview(name, composeForReview(land, out));
    }
}
