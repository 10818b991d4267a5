// The pictures shown before the archives are loaded: the studio splash, the load screen with the
// game's title and the load bar. They lie as plain files in Data/.
#include "catalogue.h"
#include "scenery.h"
#include "shading.h"

#include <cmath>

namespace {

// Big title lettering: dark outline, golden body, a light upper half.
void titleText(cairo_t* cr, const char* text, double cx, double baseline, double size, const Rgba& top,
               const Rgba& bottom) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    double x = cx - e.width / 2 - e.x_bearing;
    cairo_new_path(cr);
    cairo_move_to(cr, x + 3, baseline + 5);
    cairo_text_path(cr, text);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_fill(cr);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgb(cr, 0.3, 0.12, 0.02);
    cairo_set_line_width(cr, size * 0.12);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, baseline + e.y_bearing, 0, baseline);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 1, 1, 0.9, 0.7);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Sheen on the upper half of the letters.
    cairo_save(cr);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text);
    cairo_clip(cr);
    cairo_rectangle(cr, x, baseline + e.y_bearing, e.width + 10, -e.y_bearing * 0.45);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_fill(cr);
    cairo_restore(cr);
}

Image makeStudioSplash() {
    Canvas cv(800, 600);
    cairo_t* cr = cv.cr;
    cairo_pattern_t* p = cairo_pattern_create_radial(400, 280, 20, 400, 300, 520);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.42, 0.2, 0.1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.03, 0.02);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    Image img = cv.toImage();
    // The studio's emblem: a glossy pebble with a star.
    SphereLook look;
    look.base = rgb(240, 150, 40);
    paintSphere(img, 400, 230, 70, look);
    Canvas fg(800, 600);
    cr = fg.cr;
    starPath(cr, 400, 234, 40, 17, 5, 0);
    cairo_set_source_rgba(cr, 1, 0.97, 0.85, 0.95);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.5, 0.2, 0, 0.6);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    titleText(cr, "ORVANTA GAMES", 400, 390, 54, rgb(255, 240, 190), rgb(230, 150, 50));
    cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 26);
    cairo_text_extents_t e;
    cairo_text_extents(cr, "presents", &e);
    cairo_move_to(cr, 400 - e.width / 2 - e.x_bearing, 440);
    cairo_set_source_rgb(cr, 0.95, 0.85, 0.7);
    cairo_show_text(cr, "presents");
    img.over(fg.toImage(), 0, 0);
    return img;
}

// The load screen: the meadow landscape softened, the title over it, and the trough of the load bar,
// which the game fills from (251, 543) to (561, 591) in pixels.
Image makeLoadScreen(const Catalogue& cat) {
    Image img(800, 600);
    if (const BuiltFile* view = cat.find("view of back0")) img = view->preview;
    Image soft = blurred(img, 2);
    for (size_t i = 0; i < soft.px.size(); i += 4) soft.px[i + 3] = 1;
    Canvas cv(800, 600);
    cairo_t* cr = cv.cr;
    cairo_pattern_t* p = cairo_pattern_create_radial(400, 330, 60, 400, 330, 480);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.05);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.15, 0.05, 0, 0.55);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    soft.over(cv.toImage(), 0, 0);
    // A ring of balls round a pale pebble, all above the title and clear of it: once the game has loaded,
    // two green glows light the pebble (at 386..438, 378 of the picture), never the letters.
    for (int i = 0; i < 8; i++) {
        double a = M_PI * (1.15 + 0.7 * i / 7.0);
        SphereLook look;
        look.base = kBallBodies[i];
        paintSphere(soft, float(400 + 215 * std::cos(a)), float(392 + 215 * std::sin(a)), 24, look);
    }
    SphereLook pebble;
    pebble.base = rgb(226, 236, 214);
    paintSphere(soft, 412, 376, 38, pebble);
    Canvas fg(800, 600);
    cr = fg.cr;
    titleText(cr, "Pebblecraft", 400, 508, 100, rgb(255, 246, 200), rgb(240, 140, 30));
    // Trough of the load bar.
    roundedRect(cr, 245, 537, 322, 60, 16);
    cairo_set_source_rgba(cr, 0.25, 0.1, 0.02, 0.9);
    cairo_fill(cr);
    roundedRect(cr, 249, 541, 314, 52, 13);
    cairo_set_source_rgba(cr, 0.08, 0.04, 0.02, 0.85);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.95, 0.75, 0.35);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    soft.over(fg.toImage(), 0, 0);
    return soft;
}

Image makeLoadBar() {
    Canvas cv(310, 48);
    cairo_t* cr = cv.cr;
    roundedRect(cr, 0, 0, 310, 48, 12);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 48);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.88, 0.5);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.96, 0.6, 0.1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.66, 0.3, 0.02);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Slanted stripes and a glossy top.
    cairo_save(cr);
    roundedRect(cr, 0, 0, 310, 48, 12);
    cairo_clip(cr);
    for (int x = -48; x < 320; x += 24) {
        cairo_move_to(cr, x, 48);
        cairo_line_to(cr, x + 12, 48);
        cairo_line_to(cr, x + 36, 0);
        cairo_line_to(cr, x + 24, 0);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 0.8, 0.18);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 3, 310, 18);
    p = cairo_pattern_create_linear(0, 3, 0, 21);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.6);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.05);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    Image bar = cv.toImage();
    Image out(310, 48);
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 310; x++) out.blendPixel(x, y, rgb(22, 10, 4), 1); // the corners show the trough
    out.over(bar, 0, 0);
    return out;
}

} // namespace

void buildSplashPictures(Catalogue& out) {
    out.addJpeg("splash1.jpg", makeStudioSplash(), Place::DataFolder);
    out.addJpeg("loadscreen.jpg", makeLoadScreen(out), Place::DataFolder);
    out.addJpeg("loadbar.jpg", makeLoadBar(), Place::DataFolder);
}
