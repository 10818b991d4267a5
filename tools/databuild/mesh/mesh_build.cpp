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

Image pebbleTexture() {
    const int w = 128, h = 64;
    Image img(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float n = tiledNoise(970, x / 16.0f, y / 16.0f, 8, 4, 4);
            float vein = std::fabs(std::sin((x / 128.0f + n * 0.6f) * 6.2831853f * 3));
            Rgba c = mix(rgb(96, 130, 150), rgb(196, 214, 222), n);
            c = mix(c, rgb(240, 246, 250), std::pow(1 - vein, 8.0f) * 0.8f);
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
    const int slices = 16, rings = 10;
    std::vector<float> pos;
    // Rings from top to bottom; each ring has `slices` vertices (the seam vertex is shared).
    for (int r = 0; r <= rings; r++) {
        float lat = 3.14159265f * r / rings;
        for (int s = 0; s < slices; s++) {
            float lon = 6.2831853f * s / slices;
            float bulge = 1 + 0.08f * std::sin(lon * 3) * std::sin(lat);
            pos.push_back(std::sin(lat) * std::cos(lon) * 1.3f * bulge);
            pos.push_back(std::cos(lat) * 0.75f);
            pos.push_back(std::sin(lat) * std::sin(lon) * bulge);
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
