#include "engine/recording_backend.h"

#include <cassert>
#include <cstring>

void RecordingBackend::clearFrame() {
    draws.clear();
    clears.clear();
    vertexBytes.clear();
    indices.clear();
    quadBlends.clear();
    presents.clear();
    areas.clear();
    lowDetailStarts.clear();
    lowDetailCopies = 0;
    sequence = 0;
}

const ColoredVertex& RecordingBackend::coloredVertex(const RecordedDraw& draw, int i) const {
    assert(draw.format == kColoredFormat && i >= 0 && i < draw.vertexCount);
    return reinterpret_cast<const ColoredVertex*>(vertexBytes.data() + draw.vertexOffset)[i];
}

int RecordingBackend::totalPrimitives() const {
    int total = 0;
    for (const RecordedDraw& d : draws) total += d.primitiveCount;
    return total;
}

uint32_t RecordingBackend::createTexture(int width, int height, int mipLevels, const uint8_t* rgba) {
    if (failTextures || width <= 0 || height <= 0) return 0;
    RecordedTexture t;
    t.width = width;
    t.height = height;
    t.mipLevels = mipLevels;
    t.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
    if (rgba) std::memcpy(t.rgba.data(), rgba, t.rgba.size());
    textures.push_back(std::move(t));
    return static_cast<uint32_t>(textures.size());
}

void RecordingBackend::updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba) {
    assert(texture >= 1 && texture <= textures.size());
    RecordedTexture& t = textures[texture - 1];
    assert(t.width == width && t.height == height);
    std::memcpy(t.rgba.data(), rgba, static_cast<size_t>(width) * height * 4);
}

void RecordingBackend::releaseTexture(uint32_t texture) {
    assert(texture >= 1 && texture <= textures.size() && !textures[texture - 1].released);
    textures[texture - 1].released = true;
}

uint32_t RecordingBackend::createBuffer(const void* vertices, int vertexBytes, const uint16_t* indexData,
                                        int indexCount) {
    RecordedBuffer b;
    const uint8_t* bytes = static_cast<const uint8_t*>(vertices);
    b.vertices.assign(bytes, bytes + vertexBytes);
    if (indexData) b.indices.assign(indexData, indexData + indexCount);
    buffers.push_back(std::move(b));
    return static_cast<uint32_t>(buffers.size());
}

void RecordingBackend::releaseBuffer(uint32_t buffer) {
    assert(buffer >= 1 && buffer <= buffers.size());
    buffers[buffer - 1].released = true;
}

void RecordingBackend::clear(bool color, uint32_t argb, bool depth, float z) {
    clears.push_back({color, argb, depth, z, sequence++, inLowDetail});
}

bool RecordingBackend::beginLowDetail(uint32_t argb) {
    if (!lowDetailPicture || inLowDetail) return false;
    inLowDetail = true;
    lowDetailStarts.push_back(argb);
    return true;
}

void RecordingBackend::endLowDetail() {
    assert(inLowDetail);
    inLowDetail = false;
    lowDetailCopies++;
    sequence++;
}

void RecordingBackend::draw(const DrawCall& call) {
    assert(call.states && call.transforms && call.light);
    RecordedDraw d;
    d.states = *call.states;
    d.transforms = *call.transforms;
    d.light = *call.light;
    d.primitive = call.primitive;
    d.format = call.format;
    d.stride = call.stride;
    d.vertexCount = call.vertexCount;
    d.indexCount = call.indexCount;
    d.buffer = call.buffer;
    d.primitiveCount = call.primitiveCount;
    d.sequence = sequence++;
    d.lowDetail = inLowDetail;
    if (call.buffer) {
        assert(call.buffer <= buffers.size() && !buffers[call.buffer - 1].released);
    } else if (keepVertices) {
        d.vertexOffset = vertexBytes.size();
        const uint8_t* bytes = static_cast<const uint8_t*>(call.vertices);
        vertexBytes.insert(vertexBytes.end(), bytes,
                           bytes + static_cast<size_t>(call.vertexCount) * call.stride);
        d.indexOffset = indices.size();
        if (call.indices) indices.insert(indices.end(), call.indices, call.indices + call.indexCount);
    }
    if (call.quadBlends) {
        assert(perQuadBlends && "quad blends go only to a backend that blends per quad");
        d.quadBlendOffset = quadBlends.size();
        d.mixedBlends = true;
        quadBlends.insert(quadBlends.end(), call.quadBlends, call.quadBlends + call.vertexCount / 4);
    }
    if (d.states.texture)
        assert(d.states.texture <= textures.size() && !textures[d.states.texture - 1].released);
    draws.push_back(d);
}

void RecordingBackend::setPictureArea(const PictureArea& area) {
    areas.push_back(area);
}

void RecordingBackend::present(float gammaFactor) {
    presents.push_back(gammaFactor);
    sequence++;
}
