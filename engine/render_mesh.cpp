// Triangle lists, mesh buffers and mesh normals.
#include <cassert>
#include <cstring>
#include <vector>

#include <glm/geometric.hpp>

#include "engine/render.h"

int vertexStride(uint32_t format) {
    int stride = 12;
    if (format & kFormatNormal) stride += 12;
    if (format & kFormatPointSize) stride += 4;
    if (format & kFormatDiffuse) stride += 4;
    if (format & kFormatSpecular) stride += 4;
    if (format & kFormatTex1) stride += 8;
    return stride;
}

namespace {

int verticesFor(int primitive, int count) {
    switch (primitive) {
    case kPointList:
        return count;
    case kLineList:
        return count * 2;
    case kLineStrip:
        return count + 1;
    case kTriangleList:
        return count * 3;
    case kTriangleStrip:
    case kTriangleFan:
        return count + 2;
    default:
        return 0;
    }
}

} // namespace

void drawPrimitives(const void* vertices, int primitiveCount, uint32_t format, int primitive) {
    if (primitiveCount <= 0 || !vertices) return;
    int vertexCount = verticesFor(primitive, primitiveCount);
    assert(vertexCount > 0 && "unknown primitive type");
    if (vertexCount <= 0) return;
    flushBatch(); // earlier quads are drawn first
    render.triangleCount += primitiveCount;
    if (!render.backend) return;
    DrawCall call;
    RenderStates scratch;
    call.states = statesForDraw(render.states, scratch);
    call.transforms = &render.transforms;
    call.light = &render.light;
    call.primitive = primitive;
    call.format = format;
    call.stride = vertexStride(format);
    call.vertices = vertices;
    call.vertexCount = vertexCount;
    call.primitiveCount = primitiveCount;
    settlePictureArea();
    settleClear();
    render.backend->draw(call);
    render.drawCalls++;
}

bool uploadMesh(const MeshData& mesh, uint32_t format, MeshBuffer& out) {
    out = MeshBuffer();
    if (!mesh.vertices || mesh.vertexCount <= 0) return false;
    out.format = format;
    out.stride = vertexStride(format);
    out.vertexCount = mesh.vertexCount;
    std::vector<uint16_t> narrow; // loading time only
    if (mesh.indices && mesh.indexCount > 0) {
        // 16-bit indices reach 65536 vertices; a larger index would silently point at the wrong vertex.
        if (mesh.indexCount % 3 != 0) return false;
        narrow.resize(mesh.indexCount);
        for (int i = 0; i < mesh.indexCount; i++) {
            uint32_t index = mesh.indices[i];
            if (index >= static_cast<uint32_t>(mesh.vertexCount) || index > 0xFFFF) return false;
            narrow[i] = static_cast<uint16_t>(index);
        }
        out.indexCount = mesh.indexCount;
        out.triangleCount = mesh.indexCount / 3;
    } else {
        out.triangleCount = mesh.vertexCount / 3;
    }
    if (!render.backend) return true; // counted and drawn nowhere, like every draw without a backend
    out.buffer = render.backend->createBuffer(mesh.vertices, mesh.vertexCount * out.stride,
                                              narrow.empty() ? nullptr : narrow.data(), out.indexCount);
    return out.buffer != 0;
}

void drawMesh(const MeshBuffer& mesh) {
    if (mesh.triangleCount <= 0) return;
    flushBatch();
    render.triangleCount += mesh.triangleCount;
    if (!render.backend || !mesh.buffer) return;
    DrawCall call;
    RenderStates scratch;
    call.states = statesForDraw(render.states, scratch);
    call.transforms = &render.transforms;
    call.light = &render.light;
    call.primitive = kTriangleList;
    call.format = mesh.format;
    call.stride = mesh.stride;
    call.vertexCount = mesh.vertexCount;
    call.indexCount = mesh.indexCount;
    call.buffer = mesh.buffer;
    call.primitiveCount = mesh.triangleCount;
    settlePictureArea();
    settleClear();
    render.backend->draw(call);
    render.drawCalls++;
}

void releaseMesh(MeshBuffer& mesh) {
    if (mesh.buffer && render.backend) render.backend->releaseBuffer(mesh.buffer);
    mesh = MeshBuffer();
}

namespace {

glm::vec3 normalisedOrZero(const glm::vec3& v) {
    float length = glm::length(v);
    return length > 0.0f ? v / length : glm::vec3(0.0f);
}

} // namespace

glm::vec3* computeFaceNormals(const glm::vec3* positions, const uint32_t* triangles, int triangleCount,
                              glm::vec3* out) {
    if (!out) out = new glm::vec3[triangleCount > 0 ? triangleCount : 1];
    for (int t = 0; t < triangleCount; t++) {
        const glm::vec3& v0 = positions[triangles[t * 3]];
        const glm::vec3& v1 = positions[triangles[t * 3 + 1]];
        const glm::vec3& v2 = positions[triangles[t * 3 + 2]];
        out[t] = normalisedOrZero(glm::cross(v2 - v0, v1 - v0));
    }
    return out;
}

glm::vec3* computeVertexNormals(const glm::vec3* positions, int vertexCount, const uint32_t* triangles,
                                int triangleCount, glm::vec3* out) {
    if (!out) out = new glm::vec3[vertexCount > 0 ? vertexCount : 1];
    for (int i = 0; i < vertexCount; i++) out[i] = glm::vec3(0.0f);
    for (int t = 0; t < triangleCount; t++) {
        uint32_t i0 = triangles[t * 3], i1 = triangles[t * 3 + 1], i2 = triangles[t * 3 + 2];
        uint32_t n = static_cast<uint32_t>(vertexCount);
        if (i0 >= n || i1 >= n || i2 >= n) continue; // a bad index in a mesh file must not write past out
        glm::vec3 face =
            normalisedOrZero(glm::cross(positions[i2] - positions[i0], positions[i1] - positions[i0]));
        out[i0] += face;
        out[i1] += face;
        out[i2] += face;
    }
    for (int i = 0; i < vertexCount; i++) out[i] = normalisedOrZero(out[i]);
    return out;
}
