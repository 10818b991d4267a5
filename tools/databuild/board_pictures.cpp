// The pieces and squares of the board: eight ball colours with a symbol each, the joker, the two bombs,
// the turning diamond, the shadow, the chain and the floor squares with their glows.
#include "catalogue.h"
#include "shading.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kPiece = 64; // pieces are drawn about 35 units wide; 64 texels keep them sharp when they grow

struct BallColour {
    Rgba body;
    int symbol; // a shape per colour so that colours can be told apart without seeing hue
};

} // namespace

// Red, orange, yellow, green, cyan, blue, violet, pearl: far apart in hue and in lightness.
const Rgba kBallBodies[8] = {rgb(222, 36, 40),  rgb(250, 108, 14), rgb(255, 224, 44), rgb(70, 196, 48),
                             rgb(36, 206, 222), rgb(40, 86, 226),  rgb(160, 62, 214), rgb(236, 232, 226)};

namespace {

const BallColour kBallColours[8] = {
    {kBallBodies[0], 0}, {kBallBodies[1], 1}, {kBallBodies[2], 2}, {kBallBodies[3], 3},
    {kBallBodies[4], 4}, {kBallBodies[5], 5}, {kBallBodies[6], 6}, {kBallBodies[7], 7},
};

void symbolPath(cairo_t* cr, int symbol, double c, double s) {
    switch (symbol) {
    case 0: // heart
        cairo_move_to(cr, c, c + s * 0.85);
        cairo_curve_to(cr, c - s * 1.3, c - s * 0.1, c - s * 0.6, c - s * 1.1, c, c - s * 0.45);
        cairo_curve_to(cr, c + s * 0.6, c - s * 1.1, c + s * 1.3, c - s * 0.1, c, c + s * 0.85);
        cairo_close_path(cr);
        break;
    case 1: // triangle
        cairo_move_to(cr, c, c - s);
        cairo_line_to(cr, c + s * 0.95, c + s * 0.7);
        cairo_line_to(cr, c - s * 0.95, c + s * 0.7);
        cairo_close_path(cr);
        break;
    case 2:
        starPath(cr, c, c + s * 0.05, s * 1.05, s * 0.45, 5, 0);
        break;
    case 3: // leaf
        cairo_move_to(cr, c - s * 0.8, c + s * 0.8);
        cairo_curve_to(cr, c - s * 0.9, c - s * 0.4, c + s * 0.2, c - s * 0.9, c + s * 0.9, c - s * 0.9);
        cairo_curve_to(cr, c + s * 0.9, c - s * 0.1, c + s * 0.4, c + s * 0.9, c - s * 0.8, c + s * 0.8);
        cairo_close_path(cr);
        break;
    case 4: // drop
        cairo_move_to(cr, c, c - s * 1.05);
        cairo_curve_to(cr, c + s * 0.5, c - s * 0.3, c + s * 0.8, c + s * 0.1, c + s * 0.8, c + s * 0.35);
        cairo_arc(cr, c, c + s * 0.35, s * 0.8, 0, M_PI);
        cairo_curve_to(cr, c - s * 0.8, c + s * 0.1, c - s * 0.5, c - s * 0.3, c, c - s * 1.05);
        cairo_close_path(cr);
        break;
    case 5: // square
        roundedRect(cr, c - s * 0.75, c - s * 0.75, s * 1.5, s * 1.5, s * 0.2);
        break;
    case 6: // crescent
        cairo_arc(cr, c, c, s * 0.95, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, c + s * 0.45, c - s * 0.3, s * 0.8, 2 * M_PI, 0);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        break;
    default: // plus
        cairo_rectangle(cr, c - s * 0.28, c - s * 0.95, s * 0.56, s * 1.9);
        cairo_rectangle(cr, c - s * 0.95, c - s * 0.28, s * 1.9, s * 0.56);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        break;
    }
}

// The symbol sits in the ball like an engraving: a darker shape with a light lower edge.
Image ballSymbol(const BallColour& colour) {
    Canvas cv(kPiece, kPiece);
    double c = kPiece / 2.0 + 1, s = 9.5;
    cairo_t* cr = cv.cr;
    cairo_save(cr);
    cairo_translate(cr, 0, 1.2);
    symbolPath(cr, colour.symbol, c, s);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.38);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    symbolPath(cr, colour.symbol, c, s);
    Rgba dark = scaled(colour.body, colour.symbol == 7 ? 0.55f : 0.5f);
    dark.a = colour.symbol == 2 || colour.symbol == 7 ? 0.5f : 0.42f;
    setColor(cr, dark);
    cairo_fill(cr);
    return cv.toImage();
}

// A second, smaller glint keeps the ball glassy after the symbol was laid over it.
void glint(Image& img, float cx, float cy, float r) {
    Canvas cv(img.width, img.height);
    cairo_t* cr = cv.cr;
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.32, cy - r * 0.5);
    cairo_rotate(cr, -0.55);
    cairo_scale(cr, r * 0.42, r * 0.22);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - r * 0.75, 0, cy - r * 0.25);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.85);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.05);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    img.over(cv.toImage(), 0, 0);
}

Image makeBall(const BallColour& colour) {
    Image img(kPiece, kPiece);
    float c = kPiece / 2.0f, r = 29.5f;
    SphereLook look;
    look.base = colour.body;
    if (colour.symbol == 7) { // the pearl: softer, with a faint pink and blue sheen
        paintSphere(img, c, c, r, look, [](float x, float y, float z) {
            float t = 0.5f + 0.5f * std::sin(x * 3 + y * 2 + z * 4);
            return mix(rgb(244, 232, 236), rgb(220, 232, 246), t);
        });
    } else {
        paintSphere(img, c, c, r, look);
    }
    img.over(ballSymbol(colour), 0, 0);
    glint(img, c, c, r);
    return img;
}

Image makeJoker() {
    Image img(kPiece, kPiece);
    float c = kPiece / 2.0f, r = 29.5f;
    SphereLook look;
    look.base = rgb(255, 255, 255);
    look.bounce = 0.5f;
    // Swirling rainbow bands: the joker stands for every colour.
    paintSphere(img, c, c, r, look, [](float x, float y, float z) {
        float a = std::atan2(y, x) + 2.2f * (1 - z);
        float k = (a / (2 * float(M_PI)) + 1.0f) * 6;
        int i = int(std::floor(k)) % 6;
        float f = k - std::floor(k);
        const Rgba band[6] = {rgb(240, 50, 60), rgb(255, 150, 30), rgb(250, 226, 50),
                              rgb(70, 200, 80), rgb(50, 140, 240), rgb(170, 80, 220)};
        float t = f < 0.8f ? 0 : (f - 0.8f) / 0.2f;
        return mix(band[i], band[(i + 1) % 6], t);
    });
    Canvas cv(kPiece, kPiece);
    cairo_t* cr = cv.cr;
    starPath(cr, c, c + 1, 15, 6.5, 5, 0);
    cairo_set_source_rgba(cr, 0.35, 0.1, 0.2, 0.5);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - 3, c - 4, 1, c, c, 16);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 1, 1, 0.92, 0.6);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    img.over(cv.toImage(), 0, 0);
    glint(img, c, c, r);
    return img;
}

// Bombs: the body lower left, the fuse running to the upper right corner, where the game puts its
// sparks ((9.5, 10.5) x 0.17 of the half-size from the cell centre, with the sprite shifted by (3, 4.4)).
Image makeBomb(bool quadro) {
    Image img(kPiece, kPiece);
    float cx = 28, cy = 37, r = 23;
    Canvas fuse(kPiece, kPiece);
    cairo_t* cr = fuse.cr;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + 13, cy - 17);
    cairo_curve_to(cr, cx + 20, cy - 28, cx + 22, cy - 22, cx + 30, cy - 33);
    cairo_set_source_rgb(cr, 0.35, 0.22, 0.1);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.86, 0.7, 0.45);
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    img.over(fuse.toImage(), 0, 0);
    SphereLook look;
    look.base = quadro ? rgb(150, 26, 40) : rgb(48, 52, 70);
    look.bounce = 0.6f;
    look.gloss = 1.1f;
    paintSphere(img, cx, cy, r, look);
    Canvas deco(kPiece, kPiece);
    cr = deco.cr;
    // Metal cap where the fuse enters.
    cairo_save(cr);
    cairo_translate(cr, cx + 13.5, cy - 17.5);
    cairo_rotate(cr, 0.7);
    roundedRect(cr, -6, -4, 12, 8, 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, -4, 0, 4);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.85, 0.5);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.4, 0.12);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.2, 0.1, 0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
    if (quadro) {
        // Gold band and a four-pointed star: the bigger blast.
        cairo_save(cr);
        cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
        cairo_clip(cr);
        cairo_set_source_rgba(cr, 1, 0.8, 0.3, 0.8);
        cairo_set_line_width(cr, 3.5);
        cairo_move_to(cr, cx - r, cy + 6);
        cairo_curve_to(cr, cx - 8, cy + 14, cx + 8, cy + 14, cx + r, cy + 6);
        cairo_stroke(cr);
        cairo_restore(cr);
        starPath(cr, cx - 1, cy - 2, 11, 3.5, 4, 0);
        cairo_set_source_rgba(cr, 1, 0.88, 0.45, 0.95);
        cairo_fill(cr);
    } else {
        starPath(cr, cx - 1, cy + 1, 8, 3.2, 3, 0);
        cairo_set_source_rgba(cr, 1, 0.72, 0.25, 0.9);
        cairo_fill(cr);
    }
    img.over(deco.toImage(), 0, 0);
    glint(img, cx, cy, r);
    return img;
}

// One frame of the turning diamond: a brilliant seen from the side, its facets moving with the turn.
Image makeDiamondFrame(int frame) {
    Image img(kPiece, kPiece);
    const int facets = 12;
    const float step = 2 * float(M_PI) / facets;
    float turn = frame / 16.0f * step * 2; // two facet steps over the 16 frames: a steady turn
    float cx = 32, top = 13, girdle = 26, tip = 57, rTable = 14, rGirdle = 27;
    Canvas cv(kPiece, kPiece);
    cairo_t* cr = cv.cr;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int i = 0; i < facets; i++) {
        float a0 = turn + i * step, a1 = a0 + step, mid = (a0 + a1) / 2;
        if (std::cos(mid) <= 0) continue; // facing away
        float s0 = std::sin(a0), s1 = std::sin(a1);
        float ex0 = cx + rGirdle * s0, ex1 = cx + rGirdle * s1;
        float tx0 = cx + rTable * s0, tx1 = cx + rTable * s1;
        // Light from the upper left: facets turned that way shine, alternate facets catch more.
        float facing = std::pow(std::max(0.0f, std::cos(mid + 0.7f)), 2.0f);
        float alt = (i % 2) ? 0.15f : 0.0f;
        float crownLight = std::clamp(0.15f + 0.7f * facing + alt, 0.0f, 1.0f);
        cairo_move_to(cr, tx0, top);
        cairo_line_to(cr, tx1, top);
        cairo_line_to(cr, ex1, girdle);
        cairo_line_to(cr, ex0, girdle);
        cairo_close_path(cr);
        Rgba crown = mix(rgb(120, 190, 250), rgb(255, 255, 255), crownLight);
        setColor(cr, crown);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
        // Pavilion: two triangles per facet, the light broken into bands as in a cut stone.
        float pavLight =
            std::clamp(0.25f + 0.6f * std::pow(std::max(0.0f, std::cos(mid - 0.9f)), 3.0f) + alt, 0.0f, 1.0f);
        for (int half = 0; half < 2; half++) {
            float xa = half ? (ex0 + ex1) / 2 : ex0, xb = half ? ex1 : (ex0 + ex1) / 2;
            cairo_move_to(cr, xa, girdle);
            cairo_line_to(cr, xb, girdle);
            cairo_line_to(cr, cx, tip);
            cairo_close_path(cr);
            float k = std::clamp(pavLight + (half ? -0.12f : 0.08f), 0.0f, 1.0f);
            Rgba pav = mix(rgb(40, 100, 210), rgb(220, 245, 255), k);
            // A little fire: some facets throw colour.
            if ((i + frame / 4) % 5 == 0 && half == 0) pav = mix(pav, rgb(255, 200, 230), 0.35f);
            if ((i + frame / 4) % 7 == 3 && half == 1) pav = mix(pav, rgb(255, 240, 160), 0.3f);
            setColor(cr, pav);
            cairo_fill_preserve(cr);
            cairo_set_source_rgba(cr, 0.85, 0.95, 1, 0.4);
            cairo_set_line_width(cr, 0.6);
            cairo_stroke(cr);
        }
    }
    // The table on top and the girdle line.
    cairo_move_to(cr, cx - rTable, top);
    cairo_line_to(cr, cx + rTable, top);
    cairo_line_to(cr, cx + rTable * 0.8f, top - 3);
    cairo_line_to(cr, cx - rTable * 0.8f, top - 3);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.92, 0.98, 1, 1);
    cairo_fill(cr);
    cairo_move_to(cr, cx - rGirdle, girdle);
    cairo_line_to(cr, cx + rGirdle, girdle);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - rTable * 0.8f, top - 3);
    cairo_line_to(cr, cx + rTable * 0.8f, top - 3);
    cairo_line_to(cr, cx + rGirdle, girdle);
    cairo_line_to(cr, cx, tip);
    cairo_line_to(cr, cx - rGirdle, girdle);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.08, 0.2, 0.45, 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    Image stone = cv.toImage();
    // A twinkle that travels over the crown as the stone turns.
    float tx = cx - 14 + 28 * (frame / 15.0f);
    float tw = 0.5f + 0.5f * std::sin(frame * 0.8f);
    Image glow(kPiece, kPiece);
    paintGlow(glow, tx, 19, 9, 9, rgb(255, 255, 255, 0.8f * tw + 0.2f), 1.5f);
    Canvas sp(kPiece, kPiece);
    starPath(sp.cr, tx, 19, 8 * tw + 3, 1.1, 4, 0);
    cairo_set_source_rgba(sp.cr, 1, 1, 1, 0.95);
    cairo_fill(sp.cr);
    img.over(stone, 0, 0);
    for (size_t k = 0; k < img.px.size(); k += 4) {
        float a = glow.px[k + 3] * img.px[k + 3];
        for (int c = 0; c < 3; c++) img.px[k + c] = std::min(img.px[k + 3], img.px[k + c] + a);
    }
    img.over(sp.toImage(), 0, 0);
    return img;
}

Image makeShadow() {
    Image img(kPiece, kPiece);
    for (int y = 0; y < kPiece; y++)
        for (int x = 0; x < kPiece; x++) {
            float dx = (x + 0.5f - 32) / 30, dy = (y + 0.5f - 32) / 30;
            float d = std::sqrt(dx * dx + dy * dy);
            float a = d < 1 ? std::pow(1 - d, 1.4f) * 0.75f : 0;
            float* p = img.at(x, y);
            p[0] = p[1] = p[2] = 0.02f * a;
            p[3] = a;
        }
    return img;
}

// The chain over a locked piece, drawn turned by 45 degrees across the cell.
Image makeChain() {
    Image img(kPiece, kPiece);
    Canvas cv(kPiece, kPiece);
    cairo_t* cr = cv.cr;
    auto link = [&](double x, bool flat) {
        cairo_save(cr);
        cairo_translate(cr, x, 32);
        if (flat) cairo_scale(cr, 1, 0.42);
        cairo_new_path(cr);
        roundedRect(cr, -8.5, -6.5, 17, 13, 6.5);
        cairo_set_line_width(cr, flat ? 6 : 4.4);
        cairo_set_source_rgb(cr, 0.18, 0.17, 0.2);
        cairo_stroke_preserve(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, -7, 0, 7);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.95, 1);
        cairo_pattern_add_color_stop_rgb(p, 0.45, 0.62, 0.64, 0.7);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.35, 0.35, 0.42);
        cairo_set_source(cr, p);
        cairo_set_line_width(cr, flat ? 3.6 : 2.6);
        cairo_stroke(cr);
        cairo_pattern_destroy(p);
        cairo_restore(cr);
    };
    for (int i = 0; i < 5; i++) link(4 + i * 14, i % 2 == 1);
    Image chain = cv.toImage();
    img.over(dropShadow(chain, 1, rgb(0, 0, 0, 0.6f), 1, 2), 0, 0);
    img.over(chain, 0, 0);
    return img;
}

// Floor squares. The square is drawn 46.2 units wide on a 40-unit cell, so the tile body leaves a soft
// margin that lets neighbouring squares meet without a hard seam.
Image makeSquare(const Rgba& top, const Rgba& bottom, float alpha, int pattern) {
    Canvas cv(kPiece, kPiece);
    cairo_t* cr = cv.cr;
    double m = 4.5, s = kPiece - 2 * m;
    roundedRect(cr, m, m, s, s, 9);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, m, 0, m + s);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (pattern > 0) {
        // Busy squares carry a pattern of crossing stripes, one set per remaining hit.
        cairo_save(cr);
        roundedRect(cr, m + 3, m + 3, s - 6, s - 6, 7);
        cairo_clip(cr);
        cairo_set_line_width(cr, 3);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
        for (int i = -6; i < 8; i++) {
            cairo_move_to(cr, i * 10, 0);
            cairo_line_to(cr, i * 10 + 64, 64);
        }
        if (pattern > 1)
            for (int i = -6; i < 8; i++) {
                cairo_move_to(cr, i * 10 + 64, 0);
                cairo_line_to(cr, i * 10, 64);
            }
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    // Bevel: light upper-left rim, darker lower-right rim.
    roundedRect(cr, m + 1.5, m + 1.5, s - 3, s - 3, 8);
    cairo_set_line_width(cr, 2.2);
    cairo_pattern_t* rim = cairo_pattern_create_linear(m, m, m + s, m + s);
    cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, 0.7);
    cairo_pattern_add_color_stop_rgba(rim, 0.5, 1, 1, 1, 0.15);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.35);
    cairo_set_source(cr, rim);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    roundedRect(cr, m, m, s, s, 9);
    cairo_set_source_rgba(cr, 0.22, 0.12, 0.04, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return cv.toImage();
}

// Additive glow of a busy square: a bright rim with a warm centre, black elsewhere.
Image makeSquareGlow(const Rgba& c) {
    Image img(kPiece, kPiece);
    for (int y = 0; y < kPiece; y++)
        for (int x = 0; x < kPiece; x++) {
            float dx = std::fabs(x + 0.5f - 32) / 27, dy = std::fabs(y + 0.5f - 32) / 27;
            float box = std::pow(std::pow(dx, 6.0f) + std::pow(dy, 6.0f), 1 / 6.0f);
            float rim = std::exp(-std::pow((box - 0.9f) / 0.12f, 2.0f));
            float inner = box < 1 ? 0.25f * (1 - box) : 0;
            float k = std::min(1.0f, rim + inner);
            float* p = img.at(x, y);
            p[0] = c.r * k;
            p[1] = c.g * k;
            p[2] = c.b * k;
            p[3] = k;
        }
    alphaFromBrightness(img);
    return img;
}

} // namespace

void buildBoardPictures(Catalogue& out) {
    char name[32];
    for (int i = 0; i < 8; i++) {
        std::snprintf(name, sizeof name, "bal%02d.tga", i);
        out.addTga(name, makeBall(kBallColours[i]));
    }
    out.addTga("jocker.tga", makeJoker());
    out.addTga("bomb.tga", makeBomb(false));
    out.addTga("superbomb.tga", makeBomb(true));
    for (int i = 0; i < 16; i++) {
        std::snprintf(name, sizeof name, "diamond01%02d.tga", i);
        out.addTga(name, makeDiamondFrame(i));
    }
    out.addTga("shadow.tga", makeShadow());
    out.addTga("zep2.tga", makeChain());
    // A warm stone of middle brightness, nearly opaque: it stands off a bright sky and a green
    // meadow alike, and every ball colour reads on it.
    out.addTga("field0.tga", makeSquare(rgb(224, 208, 180), rgb(170, 144, 110), 0.93f, 0));
    out.addTga("field1.tga", makeSquare(rgb(255, 206, 96), rgb(226, 146, 36), 0.9f, 1));
    out.addTga("field2.tga", makeSquare(rgb(250, 150, 96), rgb(200, 80, 50), 0.9f, 2));
    out.addTga("field1a.tga", makeSquareGlow(rgb(255, 220, 110)));
    out.addTga("field2a.tga", makeSquareGlow(rgb(255, 120, 70)));
    out.addTga("fieldspodsv.tga", makeSquareGlow(rgb(255, 250, 220)));
}
