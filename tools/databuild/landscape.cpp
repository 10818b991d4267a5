// The landscapes behind the board. Each is painted from far to near as ridges (hills, mountains, tree
// lines) with haze; the sky and the water are cut out so that the scrolling sky and water objects of
// the scene file show through from behind.
#include "scenery.h"
#include "shading.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kW = 800, kH = 600;

enum class Trees { None, Pines, Round, Palms };
enum class Water { None, Lake, Brook, Waterfall, Pool };

struct Layer {
    // A ridge (water == None) or a water cut-out.
    Water water = Water::None;
    float base = 300;  // ridge: mean height line (pixels from the top); lake: water line
    float amp = 40;    // ridge height variation
    float freq = 3;    // features across the picture
    float plateau = 0; // > 0 flattens the tops (mesas, dunes)
    Rgba top, bottom;  // colour at the ridge line and 200 pixels below it
    Trees trees = Trees::None;
    float treeSize = 20;
    float snow = 0;                              // depth of snow caps in pixels
    Rgba treeTone{0, 0, 0, 0};                   // leaf colour of the trees when it differs from the ridge's
    float coneX = 0, coneWidth = 0, coneTop = 0; // a volcano rising from the ridge: centre, half-width, top
    float rough = 0.15f;                         // texture strength
    uint32_t seed = 1;
    float x = 400, width = 40; // water: position of a waterfall or brook, its width
    float y0 = 0, y1 = 0;      // water: vertical extent of a waterfall or brook, pool centre
};

struct Theme {
    int sky;   // sky picture 1..4 behind
    Rgba haze; // haze over the sky just above the hills
    std::vector<Layer> layers;
    Rgba flowers[3];
    int flowerCount = 0;
    int grass = 0;  // 0 none, 1 green blades, 2 dry blades
    int leaves = 0; // leaves type in the upper left corner, 0 none
    int extra = 0;  // 1 cacti, 2 castle, 3 lava glow, 4 ice crystals, 5 blossoms
};

float ridgeHeight(const Layer& l, float x) {
    float n = fractalNoise(l.seed, x / kW * l.freq, 0.5f, 5) * 2 - 1;
    float h = l.base - n * l.amp;
    if (l.coneWidth > 0) {
        float k = 1 - std::fabs(x - l.coneX) / l.coneWidth;
        if (k > 0)
            h = std::min(h, l.coneTop + (l.base - l.coneTop) * (1 - std::min(1.0f, k * k * 1.4f + k * 0.3f)));
    }
    if (l.plateau > 0) {
        float top = l.base - l.amp * l.plateau;
        if (h < top) h = top + (h - top) * 0.08f;
    }
    return h;
}

// How much of a pixel a water shape covers (0..1), with soft edges.
float waterCover(const Layer& l, float x, float y, float widen) {
    switch (l.water) {
    case Water::Lake:
        return std::clamp(y - l.base + widen + 0.5f, 0.0f, 1.0f);
    case Water::Brook: {
        if (y < l.y0) return 0;
        float t = (y - l.y0) / (kH - l.y0); // 0 far, 1 near
        float cx = l.x + std::sin(t * 7.0f + l.seed) * (20 + 90 * t) + (t * t) * 80 * std::cos(l.seed * 1.3f);
        float w = l.width * (0.08f + t * t * 1.1f) + widen * (0.3f + t);
        return std::clamp(w / 2 - std::fabs(x - cx) + 0.5f, 0.0f, 1.0f) *
               std::clamp((y - l.y0) / 4, 0.0f, 1.0f);
    }
    case Water::Waterfall: {
        if (y < l.y0 || y > l.y1) return 0;
        float t = (y - l.y0) / (l.y1 - l.y0);
        float w = l.width * (0.8f + 0.35f * t) + 4 * std::sin(y * 0.05f + l.seed) + widen;
        return std::clamp(w / 2 - std::fabs(x - l.x) + 0.5f, 0.0f, 1.0f) *
               std::clamp((y - l.y0) / 3, 0.0f, 1.0f);
    }
    case Water::Pool: {
        float dx = (x - l.x) / (l.width / 2 + widen), dy = (y - l.y0) / (l.width / 6 + widen * 0.5f);
        float d = std::sqrt(dx * dx + dy * dy);
        return std::clamp((1 - d) * l.width / 6, 0.0f, 1.0f);
    }
    default:
        return 0;
    }
}

Rgba ridgeColour(const Layer& l, float x, float y, float h, float slope) {
    float t = std::clamp((y - h) / 200.0f, 0.0f, 1.0f);
    Rgba c = mix(l.top, l.bottom, t);
    float tex = l.rough > 0.25f ? fractalNoise(l.seed + 50, x / 7.0f, y / 28.0f, 3) - 0.5f
                                : fractalNoise(l.seed + 50, x / 18.0f, y / 9.0f, 3) - 0.5f;
    float big = fractalNoise(l.seed + 60, x / 90.0f, y / 50.0f, 3) - 0.5f;
    float fade = std::exp(-(y - h) / 40.0f);
    float light = 1.0f + std::clamp(-slope * 0.35f, -0.25f, 0.25f) * fade + tex * l.rough * 2 + big * 0.18f;
    // A lit rim along the ridge line.
    if (y - h < 3) light += 0.12f * (1 - (y - h) / 3);
    c = scaled(c, light);
    if (l.snow > 0) {
        float depth = l.snow * (0.5f + 0.9f * fractalNoise(l.seed + 70, x / 70.0f, 0.3f, 2));
        if (y - h < depth) {
            float k = std::clamp((depth - (y - h)) / 4, 0.0f, 1.0f);
            Rgba snow =
                scaled(rgb(240, 246, 255), 0.92f + std::clamp(-slope * 0.3f, -0.2f, 0.1f) + tex * 0.1f);
            c = mix(c, snow, k);
        }
    }
    c.a = 1;
    return c;
}

Theme themeFor(int n) {
    Theme t;
    auto ridge = [](float base, float amp, float freq, Rgba top, Rgba bottom, uint32_t seed) {
        Layer l;
        l.base = base;
        l.amp = amp;
        l.freq = freq;
        l.top = top;
        l.bottom = bottom;
        l.seed = seed;
        return l;
    };
    auto water = [](Water w, float x, float width, float y0, float y1) {
        Layer l;
        l.water = w;
        l.x = x;
        l.width = width;
        l.y0 = y0;
        l.y1 = y1;
        l.base = y0;
        return l;
    };
    t.haze = rgb(230, 240, 255, 0.5f);
    t.flowers[0] = rgb(255, 120, 160);
    t.flowers[1] = rgb(255, 230, 90);
    t.flowers[2] = rgb(255, 255, 255);
    switch (n) {
    case 0: // meadow lake, the menus' landscape
    default: {
        t.sky = 1;
        Layer far = ridge(230, 70, 3, rgb(150, 170, 210), rgb(170, 190, 220), 11);
        far.snow = 18;
        t.layers = {far, ridge(300, 35, 4, rgb(120, 170, 110), rgb(90, 150, 90), 12)};
        Layer lake = water(Water::Lake, 0, 0, 345, 0);
        lake.base = 345;
        t.layers.push_back(lake);
        Layer bank = ridge(470, 40, 2.5f, rgb(140, 200, 90), rgb(90, 160, 60), 13);
        bank.trees = Trees::Round;
        bank.treeSize = 34;
        t.layers.push_back(bank);
        t.layers.push_back(ridge(575, 25, 3, rgb(120, 190, 70), rgb(80, 150, 50), 14));
        t.flowerCount = 60;
        t.grass = 1;
        t.leaves = 1;
        break;
    }
    case 1: { // spring meadow with a brook
        t.sky = 1;
        Layer far = ridge(250, 80, 3.5f, rgb(140, 160, 205), rgb(165, 185, 220), 21);
        far.snow = 22;
        Layer hills = ridge(320, 40, 3, rgb(130, 185, 110), rgb(100, 165, 90), 22);
        hills.trees = Trees::Round;
        hills.treeSize = 22;
        t.layers = {far, hills, ridge(380, 25, 2, rgb(150, 205, 100), rgb(110, 180, 70), 23)};
        t.layers.push_back(water(Water::Brook, 420, 150, 395, 0));
        t.layers.push_back(ridge(580, 20, 4, rgb(130, 200, 80), rgb(90, 160, 50), 24));
        t.flowerCount = 110;
        t.grass = 1;
        t.leaves = 1;
        break;
    }
    case 2: { // green valley with a waterfall
        t.sky = 1;
        Layer far = ridge(220, 90, 3, rgb(140, 155, 200), rgb(160, 175, 215), 31);
        far.snow = 25;
        Layer cliff = ridge(240, 60, 2.2f, rgb(150, 150, 135), rgb(110, 115, 100), 32);
        cliff.rough = 0.3f;
        Layer fall = water(Water::Waterfall, 250, 46, 0, 0);
        Layer mid = ridge(410, 30, 3, rgb(110, 175, 90), rgb(80, 150, 70), 33);
        mid.trees = Trees::Pines;
        mid.treeSize = 30;
        Layer pool = water(Water::Pool, 250, 150, 0, 0);
        t.layers = {far, cliff, fall, mid, pool, ridge(560, 30, 3, rgb(130, 195, 80), rgb(85, 150, 50), 34)};
        t.flowerCount = 50;
        t.grass = 1;
        t.leaves = 2;
        break;
    }
    case 3: { // deep forest with a waterfall at dawn
        t.sky = 3;
        t.haze = rgb(255, 220, 230, 0.5f);
        Layer far = ridge(260, 50, 3, rgb(120, 140, 170), rgb(110, 130, 160), 41);
        far.trees = Trees::Pines;
        far.treeSize = 24;
        Layer cliff = ridge(250, 50, 2, rgb(120, 120, 110), rgb(85, 85, 80), 42);
        cliff.rough = 0.35f;
        Layer fall = water(Water::Waterfall, 560, 40, 0, 0);
        Layer forest = ridge(420, 30, 4, rgb(60, 120, 80), rgb(40, 90, 60), 43);
        forest.trees = Trees::Pines;
        forest.treeSize = 46;
        Layer pool = water(Water::Pool, 560, 140, 0, 0);
        t.layers = {far,    cliff, fall,
                    forest, pool,  ridge(570, 25, 3, rgb(70, 140, 70), rgb(40, 100, 40), 44)};
        t.flowers[0] = rgb(250, 250, 230);
        t.flowers[1] = rgb(180, 200, 255);
        t.flowerCount = 40;
        t.grass = 1;
        t.leaves = 3;
        break;
    }
    case 4: { // desert canyon
        t.sky = 2;
        t.haze = rgb(255, 220, 170, 0.55f);
        Layer far = ridge(260, 70, 2.5f, rgb(210, 150, 120), rgb(200, 140, 110), 51);
        far.plateau = 0.4f;
        Layer mesa = ridge(330, 110, 2, rgb(215, 110, 60), rgb(170, 80, 45), 52);
        mesa.plateau = 0.5f;
        mesa.rough = 0.3f;
        t.layers = {far, mesa, ridge(470, 30, 2, rgb(230, 170, 100), rgb(210, 140, 80), 53),
                    ridge(570, 20, 3, rgb(236, 190, 120), rgb(220, 160, 95), 54)};
        t.grass = 2;
        t.extra = 1;
        break;
    }
    case 5: { // dunes in the evening
        t.sky = 2;
        t.haze = rgb(255, 210, 160, 0.55f);
        Layer a = ridge(290, 50, 1.6f, rgb(235, 170, 120), rgb(215, 150, 105), 61);
        a.rough = 0.05f;
        Layer b = ridge(380, 60, 1.4f, rgb(245, 190, 120), rgb(220, 150, 90), 62);
        b.rough = 0.05f;
        Layer c = ridge(490, 50, 1.5f, rgb(250, 205, 130), rgb(225, 165, 95), 63);
        c.rough = 0.06f;
        Layer d = ridge(580, 25, 2, rgb(252, 214, 150), rgb(230, 180, 110), 64);
        d.trees = Trees::Palms;
        d.treeSize = 70;
        d.treeTone = rgb(70, 150, 60);
        t.layers = {a, b, c, d};
        t.grass = 2;
        t.extra = 1;
        break;
    }
    case 6: { // tropical cliffs with a waterfall
        t.sky = 1;
        Layer far = ridge(240, 80, 3, rgb(110, 160, 170), rgb(100, 150, 160), 71);
        Layer cliff = ridge(230, 70, 2.5f, rgb(90, 140, 90), rgb(70, 110, 75), 72);
        cliff.trees = Trees::Round;
        cliff.treeSize = 20;
        cliff.rough = 0.3f;
        Layer fall = water(Water::Waterfall, 300, 56, 0, 0);
        Layer jungle = ridge(430, 35, 4, rgb(60, 150, 70), rgb(40, 110, 50), 73);
        jungle.trees = Trees::Palms;
        jungle.treeSize = 60;
        Layer pool = water(Water::Pool, 300, 170, 0, 0);
        t.layers = {far,    cliff, fall,
                    jungle, pool,  ridge(575, 20, 3, rgb(80, 170, 70), rgb(50, 130, 45), 74)};
        t.flowers[0] = rgb(255, 80, 90);
        t.flowers[1] = rgb(255, 170, 40);
        t.flowerCount = 70;
        t.grass = 1;
        t.leaves = 2;
        break;
    }
    case 7: { // alpine lake and waterfall
        t.sky = 1;
        Layer peaks = ridge(210, 120, 3.2f, rgb(150, 160, 200), rgb(120, 135, 175), 81);
        peaks.snow = 45;
        Layer cliff = ridge(290, 50, 2.5f, rgb(120, 130, 125), rgb(95, 105, 100), 82);
        cliff.trees = Trees::Pines;
        cliff.treeSize = 22;
        Layer fall = water(Water::Waterfall, 180, 34, 0, 0);
        Layer lake = water(Water::Lake, 0, 0, 0, 0);
        lake.base = 385;
        Layer shore = ridge(520, 50, 2.2f, rgb(110, 170, 90), rgb(75, 135, 65), 83);
        shore.trees = Trees::Pines;
        shore.treeSize = 50;
        t.layers = {peaks, cliff, fall,
                    lake,  shore, ridge(585, 18, 3, rgb(120, 180, 80), rgb(80, 140, 55), 84)};
        t.flowerCount = 40;
        t.grass = 1;
        break;
    }
    case 8: { // misty gorge with a high waterfall
        t.sky = 3;
        t.haze = rgb(240, 235, 250, 0.7f);
        Layer far = ridge(250, 40, 3, rgb(170, 170, 200), rgb(160, 160, 190), 91);
        Layer walls = ridge(160, 70, 3, rgb(130, 120, 130), rgb(100, 90, 100), 92);
        walls.rough = 0.35f;
        Layer fall = water(Water::Waterfall, 400, 60, 0, 0);
        Layer mid = ridge(440, 40, 3, rgb(90, 130, 100), rgb(60, 100, 75), 93);
        mid.trees = Trees::Pines;
        mid.treeSize = 36;
        Layer pool = water(Water::Pool, 400, 200, 0, 0);
        t.layers = {far, walls, fall, mid, pool, ridge(580, 22, 3, rgb(90, 150, 80), rgb(60, 110, 55), 94)};
        t.flowers[0] = rgb(200, 160, 255);
        t.flowerCount = 40;
        t.grass = 1;
        t.leaves = 3;
        break;
    }
    case 9: { // autumn forest with a brook
        t.sky = 2;
        t.haze = rgb(255, 225, 190, 0.5f);
        Layer far = ridge(260, 60, 3, rgb(170, 140, 150), rgb(160, 130, 140), 101);
        Layer wood = ridge(330, 35, 3, rgb(210, 110, 50), rgb(170, 80, 40), 102);
        wood.trees = Trees::Round;
        wood.treeSize = 34;
        Layer field = ridge(390, 20, 2, rgb(200, 160, 80), rgb(170, 130, 60), 103);
        t.layers = {far, wood, field, water(Water::Brook, 380, 160, 405, 0),
                    ridge(585, 18, 3, rgb(190, 140, 60), rgb(150, 100, 40), 104)};
        t.flowers[0] = rgb(230, 90, 30);
        t.flowers[1] = rgb(250, 190, 40);
        t.flowers[2] = rgb(190, 60, 40);
        t.flowerCount = 120;
        t.grass = 2;
        t.leaves = 3;
        break;
    }
    case 10: { // snowy mountains with a waterfall
        t.sky = 1;
        t.haze = rgb(235, 245, 255, 0.6f);
        Layer peaks = ridge(220, 110, 3, rgb(190, 200, 230), rgb(160, 175, 210), 111);
        peaks.snow = 70;
        Layer cliff = ridge(270, 60, 2.5f, rgb(150, 160, 180), rgb(120, 130, 150), 112);
        cliff.snow = 14;
        cliff.rough = 0.3f;
        Layer fall = water(Water::Waterfall, 600, 40, 0, 0);
        Layer pines = ridge(450, 40, 3, rgb(60, 100, 90), rgb(45, 80, 75), 113);
        pines.trees = Trees::Pines;
        pines.treeSize = 48;
        pines.snow = 6;
        Layer pool = water(Water::Pool, 600, 150, 0, 0);
        Layer snow = ridge(570, 25, 3, rgb(235, 240, 250), rgb(210, 220, 240), 114);
        snow.rough = 0.05f;
        t.layers = {peaks, cliff, fall, pines, pool, snow};
        break;
    }
    case 11: { // blossom hills with a brook
        t.sky = 3;
        t.haze = rgb(255, 230, 245, 0.55f);
        Layer far = ridge(270, 60, 3, rgb(180, 160, 210), rgb(170, 150, 200), 121);
        Layer blossoms = ridge(330, 30, 3, rgb(240, 170, 200), rgb(210, 130, 170), 122);
        blossoms.trees = Trees::Round;
        blossoms.treeSize = 30;
        Layer field = ridge(390, 25, 2, rgb(170, 140, 210), rgb(140, 110, 190), 123);
        t.layers = {far, blossoms, field, water(Water::Brook, 450, 150, 405, 0),
                    ridge(585, 18, 3, rgb(140, 190, 100), rgb(100, 150, 70), 124)};
        t.flowers[0] = rgb(200, 140, 255);
        t.flowers[1] = rgb(255, 190, 230);
        t.flowerCount = 140;
        t.grass = 1;
        t.leaves = 1;
        t.extra = 5;
        break;
    }
    case 12: { // rocky highlands with a waterfall
        t.sky = 1;
        Layer far = ridge(230, 80, 3.5f, rgb(130, 150, 170), rgb(120, 140, 160), 131);
        Layer rocks = ridge(260, 80, 2.8f, rgb(150, 150, 130), rgb(105, 110, 100), 132);
        rocks.rough = 0.4f;
        Layer fall = water(Water::Waterfall, 200, 50, 0, 0);
        Layer heath = ridge(440, 40, 3, rgb(170, 120, 170), rgb(120, 90, 130), 133);
        heath.trees = Trees::Round;
        heath.treeSize = 26;
        heath.treeTone = rgb(90, 150, 80);
        Layer pool = water(Water::Pool, 200, 160, 0, 0);
        t.layers = {far,   rocks, fall,
                    heath, pool,  ridge(580, 22, 3, rgb(130, 150, 80), rgb(95, 115, 60), 134)};
        t.flowers[0] = rgb(200, 120, 220);
        t.flowerCount = 50;
        t.grass = 2;
        break;
    }
    case 13: { // volcanic land
        t.sky = 4;
        t.haze = rgb(120, 60, 50, 0.55f);
        Layer cone = ridge(300, 40, 2.2f, rgb(100, 66, 64), rgb(66, 44, 44), 141);
        cone.rough = 0.3f;
        cone.coneX = 470;
        cone.coneWidth = 300;
        cone.coneTop = 150;
        Layer rocks = ridge(380, 60, 3, rgb(70, 50, 50), rgb(45, 32, 32), 142);
        rocks.rough = 0.35f;
        t.layers = {cone, rocks, ridge(560, 30, 3, rgb(60, 45, 42), rgb(35, 25, 25), 143)};
        t.extra = 3;
        break;
    }
    case 14: { // ice fields
        t.sky = 1;
        t.haze = rgb(220, 240, 255, 0.65f);
        Layer far = ridge(230, 70, 3.5f, rgb(150, 180, 225), rgb(130, 165, 215), 150);
        far.snow = 30;
        Layer bergs = ridge(300, 90, 3.5f, rgb(120, 175, 230), rgb(70, 125, 200), 151);
        bergs.rough = 0.3f;
        bergs.snow = 18;
        Layer floe = ridge(420, 40, 2.5f, rgb(200, 230, 250), rgb(120, 170, 225), 152);
        floe.trees = Trees::Pines;
        floe.treeSize = 40;
        floe.snow = 6;
        floe.treeTone = rgb(50, 90, 100);
        t.layers = {far, bergs, floe, ridge(560, 25, 3, rgb(236, 244, 252), rgb(190, 215, 242), 153)};
        t.extra = 4;
        break;
    }
    case 15: { // the golden kingdom with a brook
        t.sky = 2;
        t.haze = rgb(255, 230, 170, 0.55f);
        Layer far = ridge(250, 70, 3, rgb(200, 170, 160), rgb(190, 160, 150), 161);
        Layer hills = ridge(320, 40, 2.5f, rgb(220, 190, 90), rgb(190, 160, 70), 162);
        hills.trees = Trees::Round;
        hills.treeSize = 24;
        Layer field = ridge(390, 25, 2, rgb(230, 200, 90), rgb(200, 165, 60), 163);
        t.layers = {far, hills, field, water(Water::Brook, 360, 160, 405, 0),
                    ridge(585, 18, 3, rgb(200, 190, 80), rgb(160, 150, 50), 164)};
        t.flowers[0] = rgb(255, 255, 255);
        t.flowers[1] = rgb(255, 120, 80);
        t.flowerCount = 90;
        t.grass = 1;
        t.leaves = 1;
        t.extra = 2;
        break;
    }
    }
    return t;
}

// Trees standing on a ridge line: firs, round crowns or palms, lit from the upper left.
void paintTrees(cairo_t* cr, const Layer& l, const std::vector<float>& hs, const Rgba& tone) {
    float spacing = l.treeSize * (l.trees == Trees::Pines ? 0.55f : l.trees == Trees::Palms ? 2.4f : 0.9f);
    int count = int(kW / spacing) + 2;
    Rgba leaf = mix(tone, rgb(40, 90, 40), l.trees == Trees::Pines ? 0.35f : 0.0f);
    for (int i = -1; i < count; i++) {
        if (hashUnit(l.seed + 7, i, 0) < (l.trees == Trees::Palms ? 0.3f : 0.15f)) continue;
        double x = (i + hashUnit(l.seed + 8, i, 0) * 0.7) * spacing;
        double size = l.treeSize * (0.65 + 0.6 * hashUnit(l.seed + 9, i, 0));
        double ground = hs[size_t(std::clamp(int(x), 0, kW - 1))] + size * 0.25;
        if (l.trees == Trees::Pines) {
            cairo_rectangle(cr, x - size * 0.05, ground - size * 0.3, size * 0.1, size * 0.35);
            cairo_set_source_rgb(cr, 0.3, 0.2, 0.12);
            cairo_fill(cr);
            for (int tier = 0; tier < 3; tier++) {
                double w = size * (0.42 - tier * 0.1), bottom = ground - size * (0.2 + tier * 0.38);
                double top = bottom - size * 0.62;
                cairo_move_to(cr, x - w, bottom);
                cairo_line_to(cr, x, top);
                cairo_line_to(cr, x + w, bottom);
                cairo_close_path(cr);
                cairo_pattern_t* p = cairo_pattern_create_linear(x - w, 0, x + w, 0);
                Rgba a = scaled(leaf, 1.15f), b = scaled(leaf, 0.62f);
                cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
                cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
                cairo_set_source(cr, p);
                cairo_fill(cr);
                cairo_pattern_destroy(p);
                if (l.snow > 0) {
                    cairo_move_to(cr, x - w * 0.35, top + size * 0.22);
                    cairo_line_to(cr, x, top);
                    cairo_line_to(cr, x + w * 0.35, top + size * 0.22);
                    cairo_close_path(cr);
                    cairo_set_source_rgba(cr, 0.95, 0.97, 1, 0.9);
                    cairo_fill(cr);
                }
            }
        } else if (l.trees == Trees::Round) {
            cairo_rectangle(cr, x - size * 0.07, ground - size * 0.55, size * 0.14, size * 0.6);
            cairo_set_source_rgb(cr, 0.36, 0.24, 0.14);
            cairo_fill(cr);
            const double blobs[4][3] = {
                {0, -0.95, 0.45}, {-0.3, -0.7, 0.33}, {0.3, -0.72, 0.35}, {0.05, -1.2, 0.3}};
            for (const auto& bl : blobs) {
                double bx = x + bl[0] * size, by = ground + bl[1] * size, br = bl[2] * size;
                cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
                cairo_pattern_t* p =
                    cairo_pattern_create_radial(bx - br * 0.4, by - br * 0.4, br * 0.1, bx, by, br);
                Rgba a = mix(leaf, rgb(255, 255, 220), 0.25f), b = scaled(leaf, 0.6f);
                cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
                cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
                cairo_set_source(cr, p);
                cairo_fill(cr);
                cairo_pattern_destroy(p);
            }
        } else {
            double lean = (hashUnit(l.seed + 10, i, 0) - 0.5) * size * 0.5;
            double tx = x + lean, ty = ground - size * 1.3;
            cairo_move_to(cr, x, ground);
            cairo_curve_to(cr, x, ground - size * 0.6, tx, ty + size * 0.3, tx, ty);
            cairo_set_source_rgb(cr, 0.5, 0.36, 0.2);
            cairo_set_line_width(cr, size * 0.09);
            cairo_stroke(cr);
            for (int k = 0; k < 7; k++) {
                double a = -M_PI / 2 + (k - 3) * 0.5;
                double ex = tx + std::cos(a) * size * 0.65, ey = ty + std::sin(a) * size * 0.35 + size * 0.25;
                cairo_move_to(cr, tx, ty);
                cairo_curve_to(cr, tx + std::cos(a) * size * 0.3, ty - size * 0.2, ex, ey - size * 0.15, ex,
                               ey);
                cairo_set_source_rgb(cr, leaf.r * 0.8, leaf.g * 0.8, leaf.b * 0.8);
                cairo_set_line_width(cr, size * 0.07);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                cairo_stroke(cr);
            }
        }
    }
}

void paintExtras(Canvas& cv, const Theme& t, const std::vector<std::vector<float>>& heights) {
    cairo_t* cr = cv.cr;
    const std::vector<float>& nearTop = heights.back();
    if (t.extra == 1) { // cacti on the sand
        for (int i = 0; i < 5; i++) {
            double x = 60 + i * 170 + 40 * hashUnit(201, i, 0),
                   base = nearTop[size_t(std::min(799.0, x))] + 30;
            double h = 40 + 30 * hashUnit(202, i, 0);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, x, base);
            cairo_line_to(cr, x, base - h);
            cairo_move_to(cr, x, base - h * 0.5);
            cairo_line_to(cr, x - 12, base - h * 0.5);
            cairo_line_to(cr, x - 12, base - h * 0.8);
            cairo_move_to(cr, x, base - h * 0.35);
            cairo_line_to(cr, x + 11, base - h * 0.35);
            cairo_line_to(cr, x + 11, base - h * 0.65);
            cairo_set_source_rgb(cr, 0.2, 0.42, 0.22);
            cairo_set_line_width(cr, 11);
            cairo_stroke_preserve(cr);
            cairo_set_source_rgb(cr, 0.36, 0.62, 0.3);
            cairo_set_line_width(cr, 6);
            cairo_stroke(cr);
        }
    } else if (t.extra == 2) { // a castle on the far hills
        double x = 560, base = heights[0][560] + 6;
        cairo_set_source_rgba(cr, 0.78, 0.68, 0.66, 1);
        cairo_rectangle(cr, x - 40, base - 50, 80, 50);
        cairo_rectangle(cr, x - 52, base - 80, 20, 80);
        cairo_rectangle(cr, x + 32, base - 80, 20, 80);
        cairo_rectangle(cr, x - 10, base - 100, 20, 60);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.85, 0.35, 0.35);
        for (double tx : {x - 42.0, x + 42.0, x}) {
            double top = tx == x ? base - 100 : base - 80;
            cairo_move_to(cr, tx - 13, top);
            cairo_line_to(cr, tx, top - 24);
            cairo_line_to(cr, tx + 13, top);
            cairo_close_path(cr);
        }
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 0.4, 0.3, 0.35, 0.8);
        for (int i = 0; i < 3; i++) {
            cairo_rectangle(cr, x - 25 + i * 20, base - 38, 7, 12);
        }
        cairo_fill(cr);
    } else if (t.extra == 3) { // glowing lava cracks
        for (int i = 0; i < 9; i++) {
            double x = 40 + i * 90 + 30 * hashUnit(301, i, 0), y = 420 + 150 * hashUnit(302, i, 0);
            cairo_move_to(cr, x, y);
            for (int k = 0; k < 5; k++) {
                x += 10 + 20 * hashUnit(303, i, k);
                y += (hashUnit(304, i, k) - 0.5) * 30;
                cairo_line_to(cr, x, y);
            }
            cairo_set_source_rgba(cr, 1, 0.4, 0.05, 0.5);
            cairo_set_line_width(cr, 7);
            cairo_stroke_preserve(cr);
            cairo_set_source_rgb(cr, 1, 0.85, 0.3);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        }
        // Glow at the crater and smoke rising from it.
        double cx = 0, top = 1e9;
        for (int x = 0; x < kW; x++)
            if (heights[0][size_t(x)] < top) top = heights[0][size_t(x)], cx = x;
        for (int i = 0; i < 9; i++) {
            double r = 14 + i * 5, sx = cx + 18 * std::sin(i * 0.9) + i * 6, sy = top - 10 - i * 16;
            cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 0.35, 0.3, 0.3, 0.55 - i * 0.05);
            cairo_fill(cr);
        }
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, top + 10, 2, cx, top + 10, 70);
        cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.7, 0.2, 0.9);
        cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.3, 0.0, 0);
        cairo_set_source(cr, p);
        cairo_arc(cr, cx, top + 10, 70, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    } else if (t.extra == 4) { // ice crystals
        for (int i = 0; i < 7; i++) {
            double x = 50 + i * 115 + 30 * hashUnit(401, i, 0),
                   base = nearTop[size_t(std::min(799.0, x))] + 25;
            double h = 30 + 40 * hashUnit(402, i, 0);
            for (int k = -1; k <= 1; k++) {
                double hx = x + k * 12, hh = h * (k == 0 ? 1 : 0.6);
                cairo_move_to(cr, hx - 7, base);
                cairo_line_to(cr, hx - 7, base - hh * 0.8);
                cairo_line_to(cr, hx, base - hh);
                cairo_line_to(cr, hx + 7, base - hh * 0.8);
                cairo_line_to(cr, hx + 7, base);
                cairo_close_path(cr);
                cairo_pattern_t* p = cairo_pattern_create_linear(hx - 7, 0, hx + 7, 0);
                cairo_pattern_add_color_stop_rgba(p, 0, 0.9, 0.97, 1, 0.95);
                cairo_pattern_add_color_stop_rgba(p, 1, 0.5, 0.75, 0.95, 0.95);
                cairo_set_source(cr, p);
                cairo_fill(cr);
                cairo_pattern_destroy(p);
            }
        }
    }
    // Grass blades along the nearest ridge line.
    if (t.grass > 0) {
        for (int x = 0; x < kW; x += 3) {
            double base = nearTop[size_t(x)] + 2, h = 6 + 10 * hashUnit(501, x, 0);
            double lean = (hashUnit(502, x, 0) - 0.5) * 8;
            cairo_move_to(cr, x - 1.5, base + 2);
            cairo_curve_to(cr, x - 1, base - h * 0.3, x + lean * 0.5, base - h * 0.7, x + lean, base - h);
            cairo_curve_to(cr, x + lean * 0.5 + 1, base - h * 0.6, x + 1.5, base - h * 0.3, x + 1.5,
                           base + 2);
            cairo_close_path(cr);
        }
        if (t.grass == 1)
            cairo_set_source_rgba(cr, 0.42, 0.72, 0.25, 0.95);
        else
            cairo_set_source_rgba(cr, 0.78, 0.62, 0.3, 0.95);
        cairo_fill(cr);
    }
    // Flowers scattered over the nearest ground.
    for (int i = 0; i < t.flowerCount; i++) {
        double x = 800 * hashUnit(601, i, 0);
        double top = nearTop[size_t(std::min(799.0, x))];
        if (top > 590) continue;
        double y = top + 6 + (600 - top - 6) * hashUnit(602, i, 0);
        double r = 1.8 + 2.2 * hashUnit(603, i, 0) * (0.5 + (y - top) / 60);
        const Rgba& c = t.flowers[i % 3];
        for (int k = 0; k < 5; k++) {
            double a = k * 2 * M_PI / 5;
            cairo_new_sub_path(cr);
            cairo_arc(cr, x + r * std::cos(a), y + r * std::sin(a), r * 0.75, 0, 2 * M_PI);
        }
        setColor(cr, c);
        cairo_fill(cr);
        cairo_arc(cr, x, y, r * 0.5, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 1, 0.85, 0.3);
        cairo_fill(cr);
    }
    if (t.extra == 5) { // falling blossom petals in the air
        for (int i = 0; i < 40; i++) {
            double x = 800 * hashUnit(701, i, 0), y = 300 + 280 * hashUnit(702, i, 0);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, 6.28 * hashUnit(703, i, 0));
            cairo_scale(cr, 4, 2.4);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_set_source_rgba(cr, 1, 0.8, 0.9, 0.85);
            cairo_fill(cr);
        }
    }
}

} // namespace

Landscape paintLandscape(int themeNumber) {
    Theme t = themeFor(themeNumber);
    Landscape out;
    // Heights of every ridge per column; water shapes borrow the ridges around them.
    std::vector<std::vector<float>> heights;
    std::vector<float> slope;
    std::vector<Layer*> ridges;
    for (Layer& l : t.layers)
        if (l.water == Water::None) ridges.push_back(&l);
    for (Layer* l : ridges) {
        std::vector<float> h(kW);
        for (int x = 0; x < kW; x++) h[size_t(x)] = ridgeHeight(*l, x + 0.5f);
        heights.push_back(std::move(h));
    }
    // Place the waterfalls and pools on the ridges they fall between.
    int ridgeIndex = -1;
    for (size_t i = 0; i < t.layers.size(); i++) {
        Layer& l = t.layers[i];
        if (l.water == Water::None) {
            ridgeIndex++;
            continue;
        }
        size_t xi = size_t(std::clamp(int(l.x), 0, kW - 1));
        if (l.water == Water::Waterfall) {
            l.y0 = heights[size_t(ridgeIndex)][xi] + 4;
            l.y1 = heights[size_t(ridgeIndex) + 1][xi] + 14;
        } else if (l.water == Water::Pool) {
            l.y0 = heights[size_t(ridgeIndex)][xi] + 8;
        }
    }
    float skyLine = 0; // lowest point of the farthest ridge: the sky object reaches below it
    for (float h : heights[0]) skyLine = std::max(skyLine, h);

    Image img(kW, kH);
    // Haze over the sky just above the far ridge (the sky picture shows through it).
    for (int y = 0; y < kH; y++)
        for (int x = 0; x < kW; x++) {
            float hz = heights[0][size_t(x)] - y;
            if (hz > 0) img.blendPixel(x, y, t.haze, std::exp(-hz / 70.0f) * std::max(0.0f, 1 - hz / 220));
        }
    int r = 0;
    for (const Layer& l : t.layers) {
        if (l.water != Water::None) {
            // A darker wet bank around the water, then the water itself cut out.
            for (int y = 0; y < kH; y++)
                for (int x = 0; x < kW; x++) {
                    float bank = l.water == Water::Lake ? 0 : waterCover(l, x + 0.5f, y + 0.5f, 5);
                    float cut = waterCover(l, x + 0.5f, y + 0.5f, 0);
                    if (bank > 0) {
                        const float* p = img.at(x, y);
                        Rgba under =
                            p[3] > 0 ? Rgba{p[0] / p[3], p[1] / p[3], p[2] / p[3], 1} : rgb(120, 100, 70);
                        img.blendPixel(x, y, mix(scaled(under, 0.6f), rgb(200, 190, 160), 0.25f),
                                       bank * 0.9f);
                    }
                    if (cut > 0) {
                        float* p = img.at(x, y);
                        for (int k = 0; k < 4; k++) p[k] *= 1 - cut;
                    }
                }
            continue;
        }
        const std::vector<float>& hs = heights[size_t(r)];
        r++;
        float far = 1 - float(r) / float(ridges.size() + 1);
        Rgba hazeTone = mix(t.haze, rgb(255, 255, 255), 0.2f);
        hazeTone.a = 1;
        for (int y = 0; y < kH; y++)
            for (int x = 0; x < kW; x++) {
                float h = hs[size_t(x)];
                float cov = std::clamp(y + 0.5f - h, 0.0f, 1.0f);
                if (cov <= 0) continue;
                float sl = (hs[size_t(std::min(x + 4, kW - 1))] - hs[size_t(std::max(x - 4, 0))]) / 4;
                Rgba c = ridgeColour(l, x + 0.5f, y + 0.5f, h, sl);
                c = mix(c, hazeTone, far * 0.35f);
                img.blendPixel(x, y, c, cov);
            }
        if (l.trees != Trees::None) {
            Canvas trees(kW, kH);
            paintTrees(trees.cr, l, hs, mix(l.treeTone.a > 0 ? l.treeTone : l.top, hazeTone, far * 0.3f));
            img.over(trees.toImage(), 0, 0);
        }
    }
    // Grass, flowers and the theme's props, then the nearest water cut again so props never cover it.
    Canvas cv(kW, kH);
    paintExtras(cv, t, heights);
    img.over(cv.toImage(), 0, 0);

    // Scene objects. Scene units: x = px - 400, y = 300 - py.
    auto sx = [](float px) { return px - 400; };
    auto sy = [](float py) { return 300 - py; };
    static const char* const kSkies[4] = {"sky1", "sky2", "sky3", "sky4"};
    out.objects.push_back({kSkies[t.sky - 1], -400, 300, 400, sy(skyLine + 6), 0, 0, 0, false, 0});
    for (const Layer& l : t.layers) {
        if (l.water == Water::Waterfall) {
            float half = l.width * 0.7f + 6;
            out.objects.push_back({"waterfall", sx(l.x - half), sy(l.y0 - 2), sx(l.x + half), sy(l.y1 + 2), 0,
                                   0, 40, false, 0});
        } else if (l.water == Water::Pool) {
            float half = l.width / 2 + 4, vh = l.width / 6 + 4;
            out.objects.push_back(
                {"water", sx(l.x - half), sy(l.y0 - vh), sx(l.x + half), sy(l.y0 + vh), 0, 30, 6, false, 0});
            out.objects.push_back({"spray", sx(l.x - l.width * 0.3f), sy(l.y0 - vh), sx(l.x + l.width * 0.3f),
                                   sy(l.y0 + 2), 0, 0, 0, false, 0});
        } else if (l.water == Water::Lake) {
            out.objects.push_back({"water", -400, sy(l.base - 2), 400, -300, 0, 30, 6, false, 0});
        } else if (l.water == Water::Brook) {
            out.objects.push_back({"water", -400, sy(l.y0 - 2), 400, -300, 0, 20, -40, false, 0});
        }
    }
    if (t.leaves > 0) {
        static const char* const kLeaves[3] = {"leaves1", "leaves2", "leaves3"};
        out.objects.push_back(
            {kLeaves[t.leaves - 1], -400, 300, -400 + 256, 300 - 128, 0, 0.05f, 0, false, 0});
    }
    out.picture = std::move(img);
    return out;
}
