// Reading, caching and drawing mesh objects.
#include "visuals/mesh.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include "engine/bytes.h"
#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "engine/texture.h"

MeshCache meshCache;

namespace {

constexpr int kMeshHeaderBytes = 37;
constexpr float kSplitMark = 10000.0f; // added to a corner's u once the corner has its output vertex

void loadingMessage(const char* fileName, const char* what) {
    std::fprintf(stderr, "Loading Error: %s: %s\n", fileName, what);
}

glm::vec3 faceNormal(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    glm::vec3 n = glm::cross(b - a, c - a);
    float l = glm::length(n);
    return l > 0 ? n / l : glm::vec3(0, 1, 0);
}

// Each corner (face f, corner k) gets an output vertex per distinct (vertex, texture pair).
void buildSmooth(Mesh& mesh, const glm::vec3* pos, int v, const int32_t* faces, int f, float* uv) {
    glm::vec3* normals = new glm::vec3[static_cast<size_t>(v)]();
    for (int i = 0; i < f; i++) {
        const int32_t* c = faces + 3 * i;
        // Area-weighted: the cross product's length is twice the face's area.
        glm::vec3 n = glm::cross(pos[c[1]] - pos[c[0]], pos[c[2]] - pos[c[0]]);
        for (int k = 0; k < 3; k++) normals[c[k]] += n;
    }
    for (int i = 0; i < v; i++) {
        float l = glm::length(normals[i]);
        normals[i] = l > 0 ? normals[i] / l : glm::vec3(0, 1, 0);
    }
    const int corners = 3 * f;
    mesh.vertices = new LitVertex[static_cast<size_t>(corners)];
    mesh.indices = new uint32_t[static_cast<size_t>(corners)];
    int out = 0;
    for (int c = 0; c < corners; c++) {
        if (uv[2 * c] >= kSplitMark * 0.5f) continue; // already pointed at its output vertex
        int vertex = faces[c];
        float u = uv[2 * c], w = uv[2 * c + 1];
        const glm::vec3& p = pos[vertex];
        const glm::vec3& n = normals[vertex];
        mesh.vertices[out] = {p.x, p.y, p.z, n.x, n.y, n.z, u, w};
        // Every later corner with the same vertex and texture pair shares this output vertex.
        for (int d = c; d < corners; d++) {
            if (faces[d] != vertex || uv[2 * d] >= kSplitMark * 0.5f) continue;
            if (uv[2 * d] != u || uv[2 * d + 1] != w) continue;
            mesh.indices[d] = static_cast<uint32_t>(out);
            uv[2 * d] += kSplitMark;
        }
        out++;
    }
    for (int c = 0; c < corners; c++) uv[2 * c] -= kSplitMark;
    mesh.vertexCount = out;
    mesh.indexCount = corners;
    delete[] normals;
}

} // namespace

bool readMesh(const char* fileName, const uint8_t* data, int size, Mesh& mesh) {
    std::memset(static_cast<void*>(&mesh), 0, sizeof mesh);
    std::snprintf(mesh.fileName, sizeof mesh.fileName, "%s", fileName);
    if (!data || size < kMeshHeaderBytes) {
        loadingMessage(fileName, "the mesh header is cut short");
        return false;
    }
    int32_t v = readInt32(data + 29), f = readInt32(data + 33);
    // Counts come from the file: check them against the bytes that are really there (in 64 bits).
    int64_t need = kMeshHeaderBytes + 12LL * v + 12LL * f + 24LL * f;
    if (v <= 0 || f <= 0 || v > kMaxMeshVertices || f > kMaxMeshVertices || need > size) {
        loadingMessage(fileName, "the vertex or face count does not fit the file");
        return false;
    }
    mesh.smooth = data[3] != 0;
    glm::vec3 translation(readFloat32(data + 4), readFloat32(data + 8), readFloat32(data + 12));
    glm::vec3 angles(readFloat32(data + 16), readFloat32(data + 20), readFloat32(data + 24));
    glm::quat q = glm::angleAxis(angles.z, glm::vec3(0, 0, 1)) *
                  glm::angleAxis(angles.y, glm::vec3(0, 1, 0)) *
                  glm::angleAxis(angles.x, glm::vec3(1, 0, 0)); // x first, then y, then z
    mesh.local = glm::translate(glm::mat4(1.0f), translation) * glm::mat4_cast(q);

    const uint8_t* p = data + kMeshHeaderBytes;
    glm::vec3* pos = new glm::vec3[static_cast<size_t>(v)];
    for (int i = 0; i < v; i++, p += 12)
        pos[i] = glm::vec3(readFloat32(p), readFloat32(p + 4), readFloat32(p + 8));
    int32_t* faces = new int32_t[static_cast<size_t>(3 * f)];
    bool indicesOk = true;
    for (int i = 0; i < 3 * f; i++, p += 4) {
        faces[i] = readInt32(p);
        if (faces[i] < 0 || faces[i] >= v) indicesOk = false;
    }
    float* uv = new float[static_cast<size_t>(6 * f)];
    for (int i = 0; i < 3 * f; i++, p += 8) {
        uv[2 * i] = readFloat32(p);
        uv[2 * i + 1] = 1.0f - readFloat32(p + 4);
    }
    if (!indicesOk) {
        loadingMessage(fileName, "a face names a vertex the mesh does not have");
        delete[] pos;
        delete[] faces;
        delete[] uv;
        return false;
    }
    glm::vec3 lo = pos[0], hi = pos[0];
    for (int i = 1; i < v; i++) {
        lo = glm::min(lo, pos[i]);
        hi = glm::max(hi, pos[i]);
    }
    mesh.boxCentre = (lo + hi) * 0.5f;
    mesh.boxHalf = (hi - lo) * 0.5f;
    mesh.sphereCentre = mesh.boxCentre;
    float r2 = 0;
    for (int i = 0; i < v; i++) {
        glm::vec3 d = pos[i] - mesh.sphereCentre;
        r2 = std::fmax(r2, glm::dot(d, d));
    }
    mesh.sphereRadius = std::sqrt(r2);

    if (mesh.smooth) {
        buildSmooth(mesh, pos, v, faces, f, uv);
    } else {
        mesh.vertexCount = 3 * f;
        mesh.vertices = new LitVertex[static_cast<size_t>(3 * f)];
        for (int i = 0; i < f; i++) {
            const int32_t* c = faces + 3 * i;
            glm::vec3 n = faceNormal(pos[c[0]], pos[c[1]], pos[c[2]]);
            for (int k = 0; k < 3; k++) {
                const glm::vec3& q3 = pos[c[k]];
                mesh.vertices[3 * i + k] = {
                    q3.x, q3.y, q3.z, n.x, n.y, n.z, uv[2 * (3 * i + k)], uv[2 * (3 * i + k) + 1]};
            }
        }
    }
    delete[] pos;
    delete[] faces;
    delete[] uv;
    return true;
}

void freeMesh(Mesh& mesh) {
    if (mesh.buffer.buffer != 0) releaseMesh(mesh.buffer);
    delete[] mesh.vertices;
    delete[] mesh.indices;
    mesh.vertices = nullptr;
    mesh.indices = nullptr;
}

Mesh* getMesh(const char* fileName) {
    for (Mesh* cached : meshCache.meshes)
        if (std::strcmp(cached->fileName, fileName) == 0) return cached;
    if (meshCache.meshes.full()) return nullptr;
    int size = 0;
    uint8_t* data = openFile(fileName, &size, false);
    if (!data) {
        loadingMessage(fileName, "the file is missing");
        return nullptr;
    }
    Mesh* mesh = new Mesh;
    bool ok = readMesh(fileName, data, size, *mesh);
    releaseFile(data);
    if (!ok) {
        freeMesh(*mesh);
        delete mesh;
        return nullptr;
    }
    MeshData upload;
    upload.vertices = mesh->vertices;
    upload.vertexCount = mesh->vertexCount;
    upload.indices = mesh->indices;
    upload.indexCount = mesh->indexCount;
    if (render.backend) uploadMesh(upload, kLitFormat, mesh->buffer);
    meshCache.meshes.push(mesh);
    return mesh;
}

bool readMeshObject(const char* fileName, const uint8_t* data, int size, MeshObject& object) {
    std::memset(static_cast<void*>(&object), 0, sizeof object);
    std::snprintf(object.fileName, sizeof object.fileName, "%s", fileName);
    object.transform = glm::mat4(1.0f);
    std::string_view text = keyedText(data, size);
    int m = readInt(text, "nummeshes="), b = readInt(text, "numbounds=");
    if (m < 0 || m > kMaxMeshesPerObject || b < 0 || b > kMaxBoundsPerObject) {
        loadingMessage(fileName, "the mesh or bound count is out of range");
        return false;
    }
    char key[48], value[128];
    for (int i = 0; i < m; i++) {
        std::snprintf(key, sizeof key, "mesh%d=", i);
        readValueText(text, key, value, sizeof value);
        Mesh* mesh = value[0] ? getMesh(value) : nullptr;
        if (!mesh) continue; // already reported; the object keeps its other meshes
        std::snprintf(key, sizeof key, "texture%d=", i);
        readValueText(text, key, value, sizeof value);
        object.parts.push({mesh, value[0] ? getTexture(value, false) : nullptr});
    }
    for (int i = 0; i < b; i++) {
        MeshBound& bound = *object.bounds.add(); // b is within the capacity
        auto key2 = [&](const char* field) {
            std::snprintf(key, sizeof key, "bound%d.%s=", i, field);
            return key;
        };
        readValueText(text, key2("name"), bound.name, sizeof bound.name);
        bound.circle = readInt(text, key2("b_circle")) != 0;
        bound.centre.x = readFloat(text, key2("center.x"));
        bound.centre.y = readFloat(text, key2("center.y"));
        bound.centre.z = readFloat(text, key2("center.z"));
        if (bound.circle) {
            bound.radius = readFloat(text, key2("radius"));
        } else {
            bound.halfX = bound.halfZ = readFloat(text, key2("dx"));
        }
    }
    return true;
}

MeshObject* getMeshObject(const char* fileName) {
    for (MeshObject* cached : meshCache.objects)
        if (std::strcmp(cached->fileName, fileName) == 0) return cached;
    if (meshCache.objects.full()) return nullptr;
    int size = 0;
    uint8_t* data = openFile(fileName, &size, false);
    if (!data) {
        loadingMessage(fileName, "the file is missing");
        return nullptr;
    }
    // The object's text is read from a copy: a mesh or texture it names may be this very file, and
    // opening and releasing that one would free the buffer still being read.
    std::vector<uint8_t> text(data, data + size);
    releaseFile(data);
    MeshObject* object = new MeshObject;
    bool ok = readMeshObject(fileName, text.data(), size, *object);
    if (!ok) {
        delete object;
        return nullptr;
    }
    meshCache.objects.push(object);
    return object;
}

// The six planes of the clip matrix (left, right, bottom, top, near, far), tested against the sphere.
bool sphereInFrustum(const glm::mat4& m, const glm::vec3& c, float radius) {
    glm::vec4 rows[4] = {
        glm::vec4(m[0][0], m[1][0], m[2][0], m[3][0]), glm::vec4(m[0][1], m[1][1], m[2][1], m[3][1]),
        glm::vec4(m[0][2], m[1][2], m[2][2], m[3][2]), glm::vec4(m[0][3], m[1][3], m[2][3], m[3][3])};
    glm::vec4 planes[6] = {rows[3] + rows[0], rows[3] - rows[0], rows[3] + rows[1],
                           rows[3] - rows[1], rows[2],           rows[3] - rows[2]};
    for (const glm::vec4& p : planes) {
        float len = glm::length(glm::vec3(p));
        if (len <= 0) continue;
        if ((glm::dot(glm::vec3(p), c) + p.w) / len < -radius) return false;
    }
    return true;
}

void drawMeshObject(const MeshObject& object) {
    const glm::mat4 viewProjection = getProjection() * getView();
    for (const MeshPart& part : object.parts) {
        const Mesh& mesh = *part.mesh;
        glm::mat4 world = object.transform * mesh.local;
        glm::vec3 centre = glm::vec3(world * glm::vec4(mesh.sphereCentre, 1.0f));
        float scale =
            std::fmax(glm::length(glm::vec3(world[0])),
                      std::fmax(glm::length(glm::vec3(world[1])), glm::length(glm::vec3(world[2]))));
        if (!sphereInFrustum(viewProjection, centre, mesh.sphereRadius * scale)) continue;
        setWorld(&world);
        const Texture* t = part.texture;
        setTexture(t);
        bool blend = t && t->hasAlpha;
        setRenderState(kPresetAlphaBlend, blend);
        if (blend) setBlendMode(kBlendNormal);
        drawMesh(mesh.buffer);
    }
    setRenderState(kPresetAlphaBlend, false);
    setRenderState(kPresetAlphaTest, false);
    setWorld(nullptr);
}

void releaseMeshes() {
    for (Mesh* mesh : meshCache.meshes) {
        freeMesh(*mesh);
        delete mesh;
    }
    for (MeshObject* object : meshCache.objects) delete object;
    meshCache.meshes.clear();
    meshCache.objects.clear();
}
