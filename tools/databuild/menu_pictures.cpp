// The menu widgets: the 4 x 8 tile atlas, the speech balloon, the button, the fills, the cursors and the
// program icon.
#include "catalogue.h"
#include "icons.h"
#include "shading.h"

#include <cmath>

namespace {

const Rgba kGoldLight = rgb(255, 226, 140);
const Rgba kGold = rgb(232, 170, 60);
const Rgba kGoldDark = rgb(130, 78, 20);

// A golden moulding along a line: the stroke is layered dark, gold, and a light core.
void moulding(cairo_t* cr, double width) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_source_rgba(cr, 0.2, 0.1, 0.02, 0.7);
    cairo_set_line_width(cr, width + 3);
    cairo_stroke_preserve(cr);
    setColor(cr, kGoldDark);
    cairo_set_line_width(cr, width);
    cairo_stroke_preserve(cr);
    setColor(cr, kGold);
    cairo_set_line_width(cr, width * 0.62);
    cairo_stroke_preserve(cr);
    setColor(cr, kGoldLight);
    cairo_set_line_width(cr, width * 0.2);
    cairo_stroke(cr);
}

void gem(cairo_t* cr, double cx, double cy, double r, const Rgba& c) {
    cairo_arc(cr, cx, cy, r + 2, 0, 2 * M_PI);
    setColor(cr, kGoldDark);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r + 1, 0, 2 * M_PI);
    setColor(cr, kGold);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r - 1, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, 0.5, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.35, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1, c.r * 0.4, c.g * 0.4, c.b * 0.4);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void arrowPath(cairo_t* cr, double cx, double cy, double s, bool right) {
    double d = right ? 1 : -1;
    cairo_move_to(cr, cx + d * s, cy);
    cairo_line_to(cr, cx - d * s * 0.6, cy - s * 0.85);
    cairo_line_to(cr, cx - d * s * 0.6, cy + s * 0.85);
    cairo_close_path(cr);
}

void glossyFill(cairo_t* cr, double y0, double y1, const Rgba& c) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    Rgba hi = mix(c, rgb(255, 255, 255), 0.45f), lo = scaled(c, 0.55f);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.15, 0.07, 0, 0.85);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// The arrow cursor, its tip at (2, 0) of its tile, which the game puts at the mouse position.
void cursorArrowPath(cairo_t* cr, double ox, double oy) {
    cairo_move_to(cr, ox + 3, oy + 1.5);
    cairo_line_to(cr, ox + 3, oy + 36);
    cairo_line_to(cr, ox + 11.5, oy + 28);
    cairo_line_to(cr, ox + 18, oy + 42);
    cairo_line_to(cr, ox + 24, oy + 39);
    cairo_line_to(cr, ox + 17.5, oy + 26);
    cairo_line_to(cr, ox + 29, oy + 25);
    cairo_close_path(cr);
}

Image makeMenuAtlas() {
    Canvas cv(256, 512);
    cairo_t* cr = cv.cr;
    auto tile = [](int c, int r) { return std::pair<double, double>(c * 64.0, r * 64.0); };
    // Corners 0..3: the frame lines meet at the tile centre; a gem caps each corner.
    const int corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; i++) {
        auto [x, y] = tile(corners[i][0], corners[i][1]);
        double cx = x + 32, cy = y + 32;
        double hx = (i == 0 || i == 2) ? 1 : -1; // direction of the horizontal edge from the corner
        double vy = (i == 0 || i == 1) ? 1 : -1; // direction of the vertical edge
        cairo_save(cr);
        cairo_rectangle(cr, x, y, 64, 64);
        cairo_clip(cr);
        cairo_move_to(cr, cx + hx * 40, cy);
        cairo_line_to(cr, cx, cy);
        cairo_line_to(cr, cx, cy + vy * 40);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        moulding(cr, 10);
        gem(cr, cx, cy, 9, rgb(220, 40, 60));
        cairo_restore(cr);
    }
    // Edge strips 4 (horizontal) and 5 (vertical), centred on the tile's middle line.
    {
        auto [x, y] = tile(0, 2);
        cairo_move_to(cr, x, y + 32);
        cairo_line_to(cr, x + 64, y + 32);
        moulding(cr, 10);
        auto [vx, vy] = tile(1, 2);
        cairo_move_to(cr, vx + 32, vy);
        cairo_line_to(cr, vx + 32, vy + 64);
        moulding(cr, 10);
    }
    // Tiles 6..9 (not drawn by the widgets): small gems in four colours.
    const Rgba spare[4] = {rgb(40, 120, 230), rgb(60, 190, 80), rgb(250, 200, 40), rgb(170, 70, 220)};
    const int spareAt[4][2] = {{2, 0}, {3, 0}, {2, 1}, {3, 1}};
    for (int i = 0; i < 4; i++) {
        auto [x, y] = tile(spareAt[i][0], spareAt[i][1]);
        gem(cr, x + 32, y + 32, 14, spare[i]);
    }
    // Ornaments 10, 11 (2 x 1, middle of top and bottom edges) and 12, 13 (1 x 2, left and right).
    auto crest = [&](double cx, double cy, double angle) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, angle);
        // A scroll of two curls with a gem in the middle, lying on the edge line.
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, side * 10, 0);
            cairo_curve_to(cr, side * 26, -16, side * 46, -10, side * 50, 0);
            cairo_curve_to(cr, side * 53, 8, side * 42, 12, side * 38, 4);
            moulding(cr, 6);
        }
        cairo_restore(cr);
        gem(cr, cx, cy, 11, rgb(230, 50, 60));
    };
    {
        auto [x, y] = tile(0, 3);
        cairo_save(cr);
        cairo_rectangle(cr, x, y, 128, 64);
        cairo_clip(cr);
        crest(x + 64, y + 32, 0);
        cairo_restore(cr);
        auto [bx, by] = tile(0, 4);
        cairo_save(cr);
        cairo_rectangle(cr, bx, by, 128, 64);
        cairo_clip(cr);
        crest(bx + 64, by + 32, M_PI);
        cairo_restore(cr);
        auto [lx, ly] = tile(2, 3);
        cairo_save(cr);
        cairo_rectangle(cr, lx, ly, 64, 128);
        cairo_clip(cr);
        crest(lx + 32, ly + 64, -M_PI / 2);
        cairo_restore(cr);
        auto [rx, ry] = tile(3, 3);
        cairo_save(cr);
        cairo_rectangle(cr, rx, ry, 64, 128);
        cairo_clip(cr);
        crest(rx + 32, ry + 64, M_PI / 2);
        cairo_restore(cr);
    }
    // Arrows 14 and 15.
    for (int i = 0; i < 2; i++) {
        auto [x, y] = tile(i, 7);
        arrowPath(cr, x + 32 + 1, y + 32 + 2, 17, i == 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill(cr);
        arrowPath(cr, x + 32, y + 32, 17, i == 1);
        glossyFill(cr, y + 15, y + 49, rgb(255, 170, 40));
    }
    // Vertical slider end caps 16 (top) and 17 (bottom): the rail ends in a round knob.
    for (int i = 0; i < 2; i++) {
        auto [x, y] = tile(0, 5 + i);
        cairo_move_to(cr, x + 32, i == 0 ? y + 32 : y);
        cairo_line_to(cr, x + 32, i == 0 ? y + 64 : y + 32);
        moulding(cr, 10);
        gem(cr, x + 32, y + 32, 8, rgb(250, 190, 60));
    }
    // Tile 18 (defined, not drawn): a plain gold disc.
    {
        auto [x, y] = tile(2, 5);
        gem(cr, x + 32, y + 32, 12, kGold);
    }
    // Slider knob 19: a glossy orange jewel.
    {
        auto [x, y] = tile(3, 5);
        cairo_arc(cr, x + 33, y + 34, 17, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill(cr);
        gem(cr, x + 32, y + 32, 15, rgb(255, 140, 30));
    }
    // Check boxes: 21 unchecked (1,5), 20 checked (1,6).
    for (int checked = 0; checked < 2; checked++) {
        auto [x, y] = tile(1, checked ? 6 : 5);
        roundedRect(cr, x + 14, y + 14, 36, 36, 8);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y + 14, 0, y + 50);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.16, 0.07, 0.02);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.36, 0.18, 0.06);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        moulding(cr, 4);
        if (checked) {
            cairo_move_to(cr, x + 20, y + 32);
            cairo_line_to(cr, x + 29, y + 42);
            cairo_line_to(cr, x + 47, y + 16);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
            cairo_set_line_width(cr, 8);
            cairo_stroke_preserve(cr);
            cairo_set_source_rgb(cr, 0.45, 0.95, 0.3);
            cairo_set_line_width(cr, 5);
            cairo_stroke(cr);
        }
    }
    // Cursor glow 23 (2,7) and arrow cursor 22 (3,7).
    Image atlas = cv.toImage();
    {
        Canvas glow(64, 64);
        cursorArrowPath(glow.cr, 0, 0);
        cairo_set_source_rgb(glow.cr, 1, 0.8, 0.3);
        cairo_set_line_width(glow.cr, 6);
        cairo_stroke_preserve(glow.cr);
        cairo_fill(glow.cr);
        atlas.over(blurred(glow.toImage(), 3), 128, 448);
        Canvas arrow(64, 64);
        cr = arrow.cr;
        cursorArrowPath(cr, 0, 0);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 24, 40);
        cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.97, 0.85);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.98, 0.72, 0.25);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        cairo_set_source_rgb(cr, 0.3, 0.14, 0.02);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        atlas.over(arrow.toImage(), 192, 448);
    }
    return atlas;
}

// Balloon frame: 4 x 2 tiles of 64 (corners, edges) and the pointer in the lower right quarter.
Image makeBalloon() {
    Canvas cv(256, 128);
    cairo_t* cr = cv.cr;
    auto line = [&](double w) {
        cairo_set_source_rgba(cr, 0.25, 0.12, 0.03, 0.8);
        cairo_set_line_width(cr, w + 3);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 1, 0.86, 0.55);
        cairo_set_line_width(cr, w);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 1, 0.97, 0.86);
        cairo_set_line_width(cr, w * 0.35);
        cairo_stroke(cr);
    };
    const int corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; i++) {
        double x = corners[i][0] * 64, y = corners[i][1] * 64, cx = x + 32, cy = y + 32;
        double hx = (i == 0 || i == 2) ? 1 : -1, vy = (i == 0 || i == 1) ? 1 : -1;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, 64, 64);
        cairo_clip(cr);
        // A rounded corner: the frame passes through the tile centre lines at the tile edges.
        cairo_move_to(cr, cx + hx * 40, cy);
        cairo_line_to(cr, cx + hx * 12, cy);
        cairo_curve_to(cr, cx, cy, cx, cy, cx, cy + vy * 12);
        cairo_line_to(cr, cx, cy + vy * 40);
        line(6);
        cairo_restore(cr);
    }
    cairo_move_to(cr, 128, 32);
    cairo_line_to(cr, 192, 32);
    line(6);
    cairo_move_to(cr, 224, 0);
    cairo_line_to(cr, 224, 64);
    line(6);
    // Pointer: a tail from the balloon's edge (top of the area) to its tip (bottom middle).
    cairo_move_to(cr, 146, 66);
    cairo_curve_to(cr, 176, 84, 186, 104, 190, 124);
    cairo_curve_to(cr, 200, 102, 214, 84, 238, 66);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 63 / 255.0, 30 / 255.0, 11 / 255.0, 210 / 255.0);
    cairo_fill_preserve(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 146, 66);
    cairo_curve_to(cr, 176, 84, 186, 104, 190, 124);
    cairo_curve_to(cr, 200, 102, 214, 84, 238, 66);
    line(5);
    return cv.toImage();
}

// Button: a pill split in two caps; its middle column stretches.
Image makeButton() {
    Canvas cv(128, 64);
    cairo_t* cr = cv.cr;
    roundedRect(cr, 3, 7, 122, 52, 26);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_fill(cr);
    roundedRect(cr, 3, 4, 122, 52, 26);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, 56);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.78, 0.38);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.93, 0.5, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.62, 0.24, 0.02);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 1, 0.87, 0.5);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 0.3, 0.12, 0, 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    roundedRect(cr, 12, 8, 104, 20, 10);
    p = cairo_pattern_create_linear(0, 8, 0, 28);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.7);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.05);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    return cv.toImage();
}

// A pale fill with a faint paper grain; the game tints it dark for panels and balloons.
Image makeWhite() {
    Image img(128, 128);
    for (int y = 0; y < 128; y++)
        for (int x = 0; x < 128; x++) {
            float n = tiledNoise(11, x / 16.0f, y / 16.0f, 8, 8, 4);
            float v = 0.86f + 0.14f * n;
            float* p = img.at(x, y);
            p[0] = p[1] = p[2] = v;
            p[3] = 1;
        }
    return img;
}

Image makeWinfill() {
    Image img(256, 256);
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            float n = fractalNoise(21, x / 40.0f, y / 40.0f, 4);
            Rgba c = mix(rgb(255, 214, 130), rgb(226, 120, 40), y / 255.0f * 0.7f + n * 0.3f);
            img.blendPixel(x, y, c, 1);
        }
    return img;
}

// Highlight behind a text: a wide soft glow, black around it (drawn additively).
Image makePodsvet() {
    Image img(128, 64);
    paintGlow(img, 64, 32, 64, 32, rgb(255, 255, 255), 1.6f);
    return img;
}

Image makeHammerCursor() {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr;
    cairo_save(cr);
    cairo_translate(cr, 30, 32);
    cairo_rotate(cr, -0.8);
    roundedRect(cr, -3.5, -6, 7, 34, 3);
    cairo_pattern_t* p = cairo_pattern_create_linear(-3.5, 0, 3.5, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.85, 0.55, 0.25);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.5, 0.28, 0.1);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.2, 0.08, 0);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    roundedRect(cr, -16, -20, 32, 15, 4);
    p = cairo_pattern_create_linear(0, -20, 0, -5);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.96, 1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.47, 0.55);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.12, 0.12, 0.18);
    cairo_stroke(cr);
    cairo_restore(cr);
    Image shape = cv.toImage();
    Image out(64, 64);
    out.over(dropShadow(shape, 2, rgb(0, 0, 0, 0.55f), 2, 3), 0, 0);
    out.over(shape, 0, 0);
    return out;
}

Image makeQuestionCursor() {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr;
    cairo_arc(cr, 32, 32, 24, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(26, 24, 2, 32, 32, 26);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.7, 0.9, 1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.1, 0.4, 0.85);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 34);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "?", &e);
    cairo_move_to(cr, 32 - e.width / 2 - e.x_bearing, 32 - e.height / 2 - e.y_bearing);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_show_text(cr, "?");
    return cv.toImage();
}

} // namespace

void buildMenuPictures(Catalogue& out) {
    out.addTga("menutex.tga", makeMenuAtlas());
    out.addJpeg("white.jpg", makeWhite());
    out.addTga("baloon.tga", makeBalloon());
    out.addTga("button.tga", makeButton());
    out.addJpeg("winfill.jpg", makeWinfill());
    out.addJpeg("podsvet.jpg", makePodsvet());
    out.addTga("hammercursor.tga", makeHammerCursor());
    out.addTga("questioncursor.tga", makeQuestionCursor());
    out.addTga("icon.tga", makeProgramIcon(128), Place::DataFolder); // the window's icon
}
