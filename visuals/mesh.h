// Mesh objects: a ".cgo" text lists textured triangle meshes (".msh_s" files) and named bounding
// shapes. Meshes and mesh objects are cached by file name; drawing tests each mesh's bounding sphere
// against the view frustum.
#pragma once

#include <cstdint>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/limits.h"
#include "engine/render.h"
#include "platform/fixed_list.h"

struct Texture;

struct MeshBound {
    char name[16];
    bool circle;
    glm::vec3 centre;
    float radius;       // circles
    float halfX, halfZ; // boxes: both from the one half-extent of the file, so boxes are square
};

struct Mesh {
    char fileName[64];
    bool smooth;
    glm::mat4 local; // translation and the x, then y, then z rotation
    glm::vec3 boxCentre, boxHalf;
    glm::vec3 sphereCentre;
    float sphereRadius;
    LitVertex* vertices; // prepared vertices (position, normal, texture point)
    int vertexCount;
    uint32_t* indices; // smooth meshes: three per face; flat meshes: null
    int indexCount;
    MeshBuffer buffer; // device copy; buffer 0 until uploaded
};

struct MeshPart {
    Mesh* mesh;
    const Texture* texture; // null: drawn untextured
};

struct MeshObject {
    char fileName[64];
    FixedList<MeshPart, kMaxMeshesPerObject> parts; // in file order; a mesh that fails to load is left out
    FixedList<MeshBound, kMaxBoundsPerObject> bounds;
    glm::mat4 transform; // identity at load
};

struct MeshCache {
    FixedList<Mesh*, kMaxMeshes> meshes;             // full: further meshes are not loaded
    FixedList<MeshObject*, kMaxMeshObjects> objects; // full: further objects are not loaded
};

extern MeshCache meshCache;

// Reads a ".msh_s" file image into mesh; false (and the loading message) when a count does not fit the
// file or an index points past the vertices. Nothing is read past size.
bool readMesh(const char* fileName, const uint8_t* data, int size, Mesh& mesh);
// Reads a ".cgo" text into object (meshes through getMesh); false when a count is out of range.
bool readMeshObject(const char* fileName, const uint8_t* data, int size, MeshObject& object);
Mesh* getMesh(const char* fileName);             // cached or loaded; null when missing or malformed
MeshObject* getMeshObject(const char* fileName); // cached or loaded; null when missing or malformed
void drawMeshObject(const MeshObject& object);   // every mesh inside the view frustum
bool sphereInFrustum(const glm::mat4& viewProjection, const glm::vec3& centre, float radius);
void releaseMeshes();      // frees every cached mesh, object and device buffer
void freeMesh(Mesh& mesh); // the arrays of a mesh not in the cache
