// The program's icon, drawn at each size rather than scaled from one picture so that the small icons of
// a desktop's menu stay sharp: a red and a blue glossy ball and a golden star on a rounded warm tile.
#include "icons.h"

#include "shading.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

const int kDesktopIconSizes[] = {48, 64, 128, 256};

} // namespace

Image makeProgramIcon(int size) {
    // Laid out on a 128-unit tile; k takes it to the wanted size.
    const double k = size / 128.0;
    Image img(size, size);
    Canvas cv(size, size);
    cairo_t* cr = cv.cr;
    cairo_scale(cr, k, k);
    roundedRect(cr, 6, 6, 116, 116, 26);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 6, 0, 122);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.84, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.86, 0.45, 0.1);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.45, 0.2, 0.02);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    img.over(cv.toImage(), 0, 0);
    SphereLook look;
    look.base = rgb(40, 90, 226);
    paintSphere(img, float(78 * k), float(74 * k), float(30 * k), look);
    look.base = rgb(222, 36, 40);
    paintSphere(img, float(48 * k), float(56 * k), float(30 * k), look);
    Canvas star(size, size);
    cairo_scale(star.cr, k, k);
    starPath(star.cr, 90, 34, 20, 8, 5, 0.2);
    cairo_set_source_rgb(star.cr, 1, 0.95, 0.5);
    cairo_fill_preserve(star.cr);
    cairo_set_source_rgb(star.cr, 0.55, 0.3, 0);
    cairo_set_line_width(star.cr, 2);
    cairo_stroke(star.cr);
    img.over(star.toImage(), 0, 0);
    return img;
}

bool writeDesktopIcons(const std::string& folder) {
    for (int size : kDesktopIconSizes) {
        std::string dir = folder + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        std::vector<uint8_t> png = encodePng(makeProgramIcon(size));
        std::ofstream out(dir + "/pebblecraft.png", std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        if (!out) {
            std::fprintf(stderr, "databuild: cannot write the icons in %s\n", dir.c_str());
            return false;
        }
    }
    return true;
}
