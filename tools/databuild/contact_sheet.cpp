#include "contact_sheet.h"

#include <algorithm>
#include <cstdio>

namespace {

// Checkerboard behind each picture so that transparency shows.
void paintChecker(cairo_t* cr, double x, double y, double w, double h) {
    const double s = 8;
    for (double yy = 0; yy < h; yy += s)
        for (double xx = 0; xx < w; xx += s) {
            bool dark = (int(xx / s) + int(yy / s)) % 2;
            cairo_set_source_rgb(cr, dark ? 0.55 : 0.68, dark ? 0.55 : 0.68, dark ? 0.58 : 0.7);
            cairo_rectangle(cr, x + xx, y + yy, std::min(s, w - xx), std::min(s, h - yy));
            cairo_fill(cr);
        }
}

} // namespace

bool writeContactSheet(const Catalogue& catalogue, const std::string& path) {
    // Large pictures get a bigger cell than the small sprites so that both can be judged.
    struct Cell {
        const BuiltFile* file;
        int box;
    };
    std::vector<Cell> cells;
    for (const BuiltFile& f : catalogue.files)
        if (f.preview.width > 0)
            cells.push_back({&f, std::max(f.preview.width, f.preview.height) > 300 ? 300 : 128});
    const int pageWidth = 1900, label = 14, pad = 8;
    int x = pad, y = pad, rowHeight = 0;
    std::vector<std::pair<int, int>> places;
    for (const Cell& c : cells) {
        double scale =
            std::min(double(c.box) / c.file->preview.width, double(c.box) / c.file->preview.height);
        int w = std::max(int(c.file->preview.width * scale), 100);
        int h = int(c.file->preview.height * scale);
        if (x + w + pad > pageWidth) {
            x = pad;
            y += rowHeight + label + pad;
            rowHeight = 0;
        }
        places.push_back({x, y});
        x += w + pad;
        rowHeight = std::max(rowHeight, h);
    }
    int pageHeight = y + rowHeight + label + pad;
    Canvas page(pageWidth, pageHeight);
    cairo_t* cr = page.cr;
    cairo_set_source_rgb(cr, 0.16, 0.15, 0.17);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 10);
    for (size_t i = 0; i < cells.size(); i++) {
        const Image& img = cells[i].file->preview;
        int box = cells[i].box;
        double scale = std::min(double(box) / img.width, double(box) / img.height);
        double w = img.width * scale, h = img.height * scale;
        auto [px, py] = places[i];
        paintChecker(cr, px, py, w, h);
        Image shown = scale < 1 ? resized(img, std::max(1, int(w)), std::max(1, int(h))) : img;
        page.drawImage(shown, px, py, scale < 1 ? 1.0 : scale);
        cairo_set_source_rgb(cr, 0.9, 0.88, 0.8);
        cairo_move_to(cr, px, py + h + 11);
        char text[96];
        std::snprintf(text, sizeof text, "%s %dx%d", cells[i].file->name.c_str(), img.width, img.height);
        cairo_show_text(cr, text);
    }
    cairo_surface_flush(page.surface);
    return cairo_surface_write_to_png(page.surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
