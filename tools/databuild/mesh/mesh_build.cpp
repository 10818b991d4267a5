// A smooth, slightly flattened pebble: a latitude-longitude sphere whose seam keeps two texture pairs per
// vertex, so the game's vertex split is exercised by real data.
#include "mesh/mesh_build.h"

#include <cmath>
#include <cstring>
#include <string>

#include "catalogue.h"
#include "shading.h"

namespace {

void put(std::vector<uint8_t>& out, const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
}

// A river stone: warm grey with mottled patches, fine speckles of darker and lighter grains and one
// thin pale band of quartz around it. The texture wraps in u (the seam) and runs from pole to pole in v.
Image pebbleTexture() {
    const int w = 256, h = 128;
    Image img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float mottle = tiledNoise(970, x / 32.0f, y / 32.0f, 8, 4, 4);
            float grain = hashUnit(971, x, y);
            Rgba c = mix(rgb(104, 96, 90), rgb(176, 166, 152), mottle);
            if (grain > 0.93f)
                c = mix(c, rgb(58, 52, 50), 0.7f); // dark grains
            else if (grain < 0.05f)
                c = mix(c, rgb(226, 220, 208), 0.6f); // light grains
            // The band wanders a little around the stone's waist.
            float band = y / float(h) - 0.56f - 0.05f * std::sin(x / float(w) * 6.2831853f * 2 + 0.7f);
            c = mix(c, rgb(232, 228, 218), std::exp(-band * band / 0.0006f) * 0.85f);
            img.blendPixel(x, y, c, 1);
        }
    return img;
}

} // namespace

std::vector<uint8_t> encodeMesh(bool smooth, const float translation[3], const float rotation[3],
                                const std::vector<float>& positions, const std::vector<MeshCorner>& corners) {
    std::vector<uint8_t> out(3, 0);
    out.push_back(smooth ? 1 : 0);
    put(out, translation, 12);
    put(out, rotation, 12);
    out.push_back(0);
    int32_t v = static_cast<int32_t>(positions.size() / 3), f = static_cast<int32_t>(corners.size() / 3);
    put(out, &v, 4);
    put(out, &f, 4);
    put(out, positions.data(), positions.size() * 4);
    for (const MeshCorner& c : corners) put(out, &c.vertex, 4);
    for (const MeshCorner& c : corners) {
        put(out, &c.u, 4);
        put(out, &c.v, 4);
    }
    return out;
}

void buildMeshes(Catalogue& out) {
    const int slices = 28, rings = 16;
    std::vector<float> pos;
    // Rings from top to bottom; each ring has `slices` vertices (the seam vertex is shared).
    for (int r = 0; r <= rings; r++) {
        float lat = 3.14159265f * r / rings;
        for (int s = 0; s < slices; s++) {
            float lon = 6.2831853f * s / slices;
            // An uneven outline (no two sides alike) and a top rounder than the flatter base, as a
            // stone worn by water lies.
            float bulge = 1 + (0.07f * std::sin(lon * 2 + 0.9f) + 0.05f * std::sin(lon * 3)) * std::sin(lat);
            float up = std::cos(lat);
            float height = up > 0 ? 0.72f : 0.5f;
            pos.push_back(std::sin(lat) * std::cos(lon) * 1.3f * bulge);
            pos.push_back(up * height);
            pos.push_back(std::sin(lat) * std::sin(lon) * 0.95f * bulge);
        }
    }
    std::vector<MeshCorner> corners;
    auto corner = [&](int r, int s) {
        // The last column repeats vertex 0 of its ring with u = 1: the seam's second texture pair.
        return MeshCorner{r * slices + s % slices, static_cast<float>(s) / slices,
                          static_cast<float>(r) / rings};
    };
    for (int r = 0; r < rings; r++)
        for (int s = 0; s < slices; s++) {
            MeshCorner a = corner(r, s), b = corner(r, s + 1), c = corner(r + 1, s), d = corner(r + 1, s + 1);
            if (r > 0) corners.insert(corners.end(), {a, c, b});
            if (r < rings - 1) corners.insert(corners.end(), {b, c, d});
        }
    const float zero[3] = {0, 0, 0}, tilt[3] = {0.35f, 0, 0.2f};
    out.addFile("pebble.msh_s", Place::DataFolder, encodeMesh(true, zero, tilt, pos, corners));
    std::string cgo = "nummeshes=1\r\nmesh0=pebble.msh_s\r\ntexture0=pebble.jpg\r\nnumbounds=1\r\n"
                      "bound0.name=pebble\r\nbound0.b_circle=1\r\nbound0.center.x=0\r\nbound0.center.y=0\r\n"
                      "bound0.center.z=0\r\nbound0.radius=1.4\r\n";
    out.addFile("pebble.cgo", Place::DataFolder, std::vector<uint8_t>(cgo.begin(), cgo.end()));
    out.addJpeg("pebble.jpg", pebbleTexture());
}
