// The heads-up display: the right panel with its boxes and buttons, lives, the hammer bar, the level
// progress bar, the help button and the additive glows.
#include "catalogue.h"
#include "shading.h"

#include <cmath>

namespace {

void fillLinear(cairo_t* cr, double y0, double y1, const Rgba& a, const Rgba& b, bool preserve = false) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, a.a);
    cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, b.a);
    cairo_set_source(cr, p);
    if (preserve)
        cairo_fill_preserve(cr);
    else
        cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A recessed box: dark inside, shadow along its upper edge, light along its lower edge.
void insetBox(cairo_t* cr, double x, double y, double w, double h) {
    roundedRect(cr, x, y, w, h, h / 2.6);
    fillLinear(cr, y, y + h, rgb(30, 14, 6, 0.95f), rgb(62, 32, 14, 0.95f));
    roundedRect(cr, x + 1, y + 1, w - 2, h - 2, h / 2.6);
    cairo_set_line_width(cr, 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.7);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.85, 0.6, 0.55);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
}

// A glossy pill or round button: body gradient, upper sheen, dark rim.
void glossyButton(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgba& c) {
    roundedRect(cr, x + 1, y + 2, w, h, radius);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, radius);
    fillLinear(cr, y, y + h, mix(c, rgb(255, 255, 255), 0.25f), scaled(c, 0.62f), true);
    cairo_set_source_rgba(cr, c.r * 0.3, c.g * 0.3, c.b * 0.3, 0.9);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    roundedRect(cr, x + 3, y + 2, w - 6, h * 0.46, std::max(1.0, radius - 2));
    fillLinear(cr, y + 2, y + 2 + h * 0.46, rgb(255, 255, 255, 0.65f), rgb(255, 255, 255, 0.08f));
}

void moonPath(cairo_t* cr, double cx, double cy, double r) {
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + r * 0.5, cy - r * 0.35, r * 0.85, 0, 2 * M_PI);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
}

void sunPath(cairo_t* cr, double cx, double cy, double r, int rays) {
    starPath(cr, cx, cy, r * 1.55, r * 1.05, rays, 0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

// The side panel's walnut: fine grain lines across it and a soft sheen down its left side, inside the clip
// the caller set. The panel and its foot draw the same wood with their own run of lines.
struct WoodGrain {
    int lines;     // grain lines, 8.3 texels apart
    double firstY; // where the first one runs
    double wave;   // how the lines' heights wander, line by line
    double shade;  // how their darkness wanders
    double sheenHeight;
};

// The panel's golden rim with its thin dark edge, round the path the caller filled (and kept).
void walnutRim(cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.98, 0.78, 0.36);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.45, 0.25, 0.06);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

void woodGrain(cairo_t* cr, const WoodGrain& g) {
    for (int i = 0; i < g.lines; i++) {
        double y = g.firstY + i * 8.3 + 3 * std::sin(i * g.wave);
        cairo_move_to(cr, 8, y);
        cairo_curve_to(cr, 40, y + 3 * std::sin(i), 80, y - 3 * std::cos(i * 0.7), 130, y + 2);
        cairo_set_source_rgba(cr, 0.2, 0.08, 0, 0.12 + 0.06 * std::sin(i * g.shade));
        cairo_set_line_width(cr, 1.2 + (i % 3) * 0.5);
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, 8, 0, 40, g.sheenHeight);
    cairo_pattern_t* p = cairo_pattern_create_linear(8, 0, 48, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.9, 0.7, 0.22);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.9, 0.7, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

Image makeGamebar() {
    Canvas cv(128, 512);
    cairo_t* cr = cv.cr;
    // Panel body: polished walnut with a golden rim; it runs off the right screen edge.
    roundedRect(cr, 8, 3, 140, 500, 22);
    fillLinear(cr, 0, 512, rgb(128, 70, 34), rgb(74, 36, 16), true);
    walnutRim(cr);
    cairo_save(cr);
    roundedRect(cr, 11, 6, 134, 494, 20);
    cairo_clip(cr);
    woodGrain(cr, WoodGrain{60, 8, 1.7, 2.3, 512});
    cairo_restore(cr);
    // Gold studs between the sections.
    for (double y : {100.0, 190.0, 288.0, 362.0}) {
        cairo_move_to(cr, 24, y);
        cairo_line_to(cr, 122, y);
        cairo_set_source_rgba(cr, 1, 0.82, 0.45, 0.45);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_arc(cr, 73, y, 3.2, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 1, 0.85, 0.45);
        cairo_fill(cr);
    }
    insetBox(cr, 28, 40, 90, 30);                             // score
    insetBox(cr, 28, 130, 90, 30);                            // level
    insetBox(cr, 28, 230, 90, 30);                            // lives
    glossyButton(cr, 28, 315, 90, 30, 14, rgb(236, 140, 30)); // menu (the game writes its caption)
    // Relax button: a green pill with a pause sign.
    glossyButton(cr, 38, 383, 75, 30, 14, rgb(80, 176, 70));
    cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
    roundedRect(cr, 67, 390, 6, 16, 2);
    roundedRect(cr, 78, 390, 6, 16, 2);
    cairo_fill(cr);
    // Night, morning and day buttons.
    const double bx[3] = {48, 73, 98};
    const Rgba bc[3] = {rgb(52, 60, 150), rgb(232, 110, 110), rgb(80, 170, 236)};
    for (int i = 0; i < 3; i++) {
        glossyButton(cr, bx[i] - 12, 423, 24, 24, 12, bc[i]);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        if (i == 0) {
            moonPath(cr, bx[i] - 1, 435, 6.5);
            cairo_set_source_rgb(cr, 1, 0.95, 0.7);
            cairo_fill(cr);
        } else if (i == 1) {
            cairo_save(cr);
            cairo_rectangle(cr, bx[i] - 12, 423, 24, 14);
            cairo_clip(cr);
            sunPath(cr, bx[i], 438, 5, 7);
            cairo_set_source_rgb(cr, 1, 0.86, 0.45);
            cairo_fill(cr);
            cairo_restore(cr);
            cairo_rectangle(cr, bx[i] - 8, 438, 16, 1.6);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
            cairo_fill(cr);
        } else {
            sunPath(cr, bx[i], 435, 4.6, 8);
            cairo_set_source_rgb(cr, 1, 0.93, 0.35);
            cairo_fill(cr);
        }
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    }
    Image panel = cv.toImage();
    Image out(128, 512);
    out.over(panel, 0, 0);
    return out;
}

// The panel's foot on levels with a hammer: the same walnut and golden rim carried on below the panel to
// past the screen's bottom, its top fading into the panel above the old lower edge, and a recessed holder
// that the hammer bar sits in. Drawn 128 x 256 units from 150 units above the panel's lower edge.
Image makeGamebarFoot() {
    Canvas cv(128, 256);
    cairo_t* cr = cv.cr;
    cairo_rectangle(cr, 8, -30, 150, 300);
    // The panel's gradient runs from (128, 70, 34) at its top to (74, 36, 16) at its foot, 512 texels.
    fillLinear(cr, -450, 62, rgb(128, 70, 34), rgb(74, 36, 16), true);
    walnutRim(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 11, 0, 134, 256);
    cairo_clip(cr);
    woodGrain(cr, WoodGrain{30, 4, 1.3, 2.1, 256});
    cairo_restore(cr);
    // The holder: a recessed bay round the hammer bar, which lies at texels 48..112 across, 12..140 down.
    roundedRect(cr, 42, 8, 76, 138, 18);
    fillLinear(cr, 8, 146, rgb(30, 14, 6, 0.95f), rgb(62, 32, 14, 0.95f));
    roundedRect(cr, 43, 9, 74, 136, 17);
    cairo_set_line_width(cr, 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 8, 0, 146);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.6);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.85, 0.6, 0.5);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
    Image foot = cv.toImage();
    // The top 8 texels fade in over the panel, so that no seam shows where the two meet.
    for (int y = 0; y < 8; y++) {
        float a = y / 8.0f;
        for (int x = 0; x < 128; x++)
            for (int c = 0; c < 4; c++) foot.at(x, y)[c] *= a; // premultiplied: every channel
    }
    return foot;
}

void heartPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_move_to(cr, cx, cy + s * 0.9);
    cairo_curve_to(cr, cx - s * 1.35, cy - s * 0.05, cx - s * 0.75, cy - s * 1.15, cx, cy - s * 0.5);
    cairo_curve_to(cr, cx + s * 0.75, cy - s * 1.15, cx + s * 1.35, cy - s * 0.05, cx, cy + s * 0.9);
    cairo_close_path(cr);
}

Image makeHeart() {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr;
    heartPath(cr, 32, 34, 26);
    cairo_pattern_t* p = cairo_pattern_create_radial(24, 22, 2, 32, 32, 34);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.55, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.9, 0.1, 0.16);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.02, 0.08);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.35, 0.02, 0.05);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 21, 21);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 8, 4.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.75);
    cairo_fill(cr);
    Image heart = cv.toImage();
    Image out(64, 64);
    out.over(dropShadow(heart, 2, rgb(0, 0, 0, 0.5f), 1, 2), 0, 0);
    out.over(heart, 0, 0);
    return out;
}

// The hammer, head to the upper left, handle down to the lower right.
void hammerShape(cairo_t* cr, double cx, double cy, double s, const Rgba& head, const Rgba& handle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, -0.5);
    roundedRect(cr, -3.2 * s, -8 * s, 6.4 * s, 30 * s, 2.5 * s);
    fillLinear(cr, -8 * s, 22 * s, mix(handle, rgb(255, 255, 255), 0.3f), scaled(handle, 0.7f), true);
    cairo_set_source_rgba(cr, 0.15, 0.06, 0, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    roundedRect(cr, -13 * s, -17 * s, 26 * s, 12 * s, 3 * s);
    fillLinear(cr, -17 * s, -5 * s, mix(head, rgb(255, 255, 255), 0.45f), scaled(head, 0.6f), true);
    cairo_set_source_rgba(cr, 0.1, 0.06, 0.02, 0.85);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The two states of the hammer bar share one layout so that the filled one can be cut over the empty.
Image makeHammerBar(bool filled) {
    Canvas cv(64, 128);
    cairo_t* cr = cv.cr;
    roundedRect(cr, 6, 4, 52, 120, 16);
    if (filled)
        fillLinear(cr, 4, 124, rgb(255, 200, 80, 0.95f), rgb(220, 100, 20, 0.95f), true);
    else
        fillLinear(cr, 4, 124, rgb(58, 40, 30, 0.9f), rgb(36, 24, 18, 0.9f), true);
    cairo_set_source_rgb(cr, 0.98, 0.78, 0.36);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    if (filled)
        hammerShape(cr, 32, 62, 1.5, rgb(200, 206, 220), rgb(170, 100, 44));
    else
        hammerShape(cr, 32, 62, 1.5, rgb(96, 92, 96), rgb(88, 70, 56));
    roundedRect(cr, 10, 7, 44, 40, 12);
    fillLinear(cr, 7, 47, rgb(255, 255, 255, 0.38f), rgb(255, 255, 255, 0.0f));
    return cv.toImage();
}

Image makeHammerGlow() {
    Image img(64, 128);
    paintGlow(img, 32, 64, 34, 66, rgb(255, 190, 70), 1.2f);
    Canvas cv(64, 128);
    hammerShape(cv.cr, 32, 62, 1.5, rgb(255, 240, 180), rgb(255, 200, 120));
    Image shape = blurred(cv.toImage(), 2);
    img.add(shape, 0, 0);
    return img;
}

Image makeFlare() {
    Image img(64, 64);
    paintGlow(img, 32, 32, 32, 32, rgb(255, 230, 170), 2.2f);
    paintGlow(img, 32, 32, 12, 12, rgb(255, 255, 255), 1.5f);
    return img;
}

// The progress bar: a glass tube whose inside runs from 23 to 489 texels above the bottom.
Image makeLevelBar(bool filled) {
    Canvas cv(64, 512);
    cairo_t* cr = cv.cr;
    roundedRect(cr, 14, 6, 36, 500, 18);
    fillLinear(cr, 0, 512, rgb(150, 92, 40), rgb(96, 52, 20), true);
    cairo_set_source_rgb(cr, 0.98, 0.78, 0.36);
    cairo_set_line_width(cr, 3.5);
    cairo_stroke(cr);
    roundedRect(cr, 20, 16, 24, 480, 12);
    if (filled) {
        cairo_pattern_t* p = cairo_pattern_create_linear(20, 0, 44, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.45, 0.78, 0.12);
        cairo_pattern_add_color_stop_rgb(p, 0.4, 0.72, 0.98, 0.35);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.3, 0.6, 0.08);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        // Rising bubbles inside the liquid.
        for (int i = 0; i < 26; i++) {
            double y = 30 + i * 17.5, x = 27 + 10 * (0.5 + 0.5 * std::sin(i * 2.1));
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, 1.4 + (i % 3), 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 1, 1, 0.85, 0.35);
            cairo_fill(cr);
        }
        roundedRect(cr, 20, 16, 24, 480, 12);
    } else {
        fillLinear(cr, 16, 496, rgb(34, 22, 16, 0.95f), rgb(50, 32, 22, 0.95f), true);
    }
    cairo_set_source_rgba(cr, 0.1, 0.05, 0, 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Glass sheen over the tube.
    roundedRect(cr, 23, 20, 6, 472, 3);
    fillLinear(cr, 20, 492, rgb(255, 255, 255, 0.45f), rgb(255, 255, 255, 0.25f));
    // Scale marks every fifth of the way.
    for (int i = 1; i < 5; i++) {
        double y = 512 - 23 - 466.0 * i / 5;
        cairo_move_to(cr, 14, y);
        cairo_line_to(cr, 20, y);
        cairo_move_to(cr, 44, y);
        cairo_line_to(cr, 50, y);
        cairo_set_source_rgba(cr, 1, 0.85, 0.5, 0.9);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    return cv.toImage();
}

Image makeQuestion() {
    Canvas cv(64, 64);
    cairo_t* cr = cv.cr;
    Image out(64, 64);
    SphereLook look;
    look.base = rgb(50, 130, 230);
    look.outline = 0.4f;
    paintSphere(out, 32, 32, 29, look);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 40);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "?", &e);
    double x = 32 - e.width / 2 - e.x_bearing, y = 32 - e.height / 2 - e.y_bearing;
    cairo_move_to(cr, x + 1, y + 2);
    cairo_text_path(cr, "?");
    cairo_set_source_rgba(cr, 0, 0.1, 0.3, 0.6);
    cairo_fill(cr);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, "?");
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    out.over(cv.toImage(), 0, 0);
    return out;
}

} // namespace

void buildHudPictures(Catalogue& out) {
    out.addTga("gamebar.tga", makeGamebar());
    out.addTga("gamebarfoot.tga", makeGamebarFoot());
    out.addTga("heart.tga", makeHeart());
    out.addTga("molotok1.tga", makeHammerBar(false));
    out.addTga("molotok2.tga", makeHammerBar(true));
    out.addJpeg("hammer_lum.jpg", makeHammerGlow());
    out.addJpeg("flare.jpg", makeFlare());
    out.addTga("levelbar1.tga", makeLevelBar(false));
    out.addTga("levelbar2.tga", makeLevelBar(true));
    out.addTga("question.tga", makeQuestion());
}
