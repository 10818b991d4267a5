// The mesh objects of the game: ".cgo" texts, their ".msh_s" meshes and their textures.
#pragma once

#include <cstdint>
#include <vector>

class Catalogue;

struct MeshCorner {
    int vertex;
    float u, v;
};

// A ".msh_s" image: header (smooth flag, translation, rotation), positions, faces, corner texture pairs.
std::vector<uint8_t> encodeMesh(bool smooth, const float translation[3], const float rotation[3],
                                const std::vector<float>& positions, const std::vector<MeshCorner>& corners);
void buildMeshes(
    Catalogue& out); // the level map's turning pebble: "pebble.cgo", "pebble.msh_s", "pebble.jpg"
