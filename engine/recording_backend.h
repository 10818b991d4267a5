// A graphics backend without a display: it keeps every draw, clear, texture and buffer so that tests
// can look at vertices, states and draw calls. Storage grows while a test runs and is kept by
// clearFrame, so a warmed-up frame allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/render.h"

struct RecordedDraw {
    RenderStates states;
    Transforms transforms;
    LightSetup light;
    int primitive = 0;
    uint32_t format = 0;
    int stride = 0;
    size_t vertexOffset = 0; // into RecordingBackend::vertexBytes (user-memory draws)
    int vertexCount = 0;
    size_t indexOffset = 0; // into RecordingBackend::indices
    int indexCount = 0;
    uint32_t buffer = 0; // mesh buffer drawn, or 0
    int primitiveCount = 0;
    int sequence = 0;           // position among all recorded operations (draws, clears, presents)
    bool lowDetail = false;     // drawn into the low-detail picture
    bool mixedBlends = false;   // the quads carry their own blend factors (RecordingBackend::quadBlends)
    size_t quadBlendOffset = 0; // into RecordingBackend::quadBlends, one code per quad
};

struct RecordedClear {
    bool color = false;
    uint32_t argb = 0;
    bool depth = false;
    float z = 0.0f;
    int sequence = 0;
    bool lowDetail = false; // a clear of the low-detail picture
};

struct RecordedTexture {
    int width = 0;
    int height = 0;
    int mipLevels = 0;
    std::vector<uint8_t> rgba; // width * height * 4
    bool released = false;
};

struct RecordedBuffer {
    std::vector<uint8_t> vertices;
    std::vector<uint16_t> indices;
    bool released = false;
};

class RecordingBackend : public RenderBackend {
  public:
    std::vector<RecordedDraw> draws;
    std::vector<RecordedClear> clears;
    std::vector<uint8_t> vertexBytes;
    std::vector<uint16_t> indices;
    std::vector<RecordedTexture> textures; // handle h is textures[h - 1]
    std::vector<RecordedBuffer> buffers;   // handle h is buffers[h - 1]
    std::vector<float> presents;           // gamma factor of every present
    std::vector<PictureArea> areas;        // every place the picture was given, in order
    std::vector<uint8_t> quadBlends;       // per-quad blend codes of draws with mixedBlends
    int sequence = 0;
    bool keepVertices = true;      // false: count draws only (benchmarks)
    bool failTextures = false;     // makes createTexture fail (tests of the failure path)
    bool perQuadBlends = false;    // blends per quad as the OpenGL backend does (set before createDisplay)
    bool lowDetailPicture = false; // has a low-detail picture
    bool inLowDetail = false;      // drawing into it now
    std::vector<uint32_t> lowDetailStarts; // the colour each low-detail picture started as
    int lowDetailCopies = 0;               // low-detail pictures copied onto the picture area

    void clearFrame(); // forgets draws, clears, areas, presents and low-detail pictures; keeps textures,
                       // buffers and capacity

    // The i-th vertex of a coloured user-memory draw.
    const ColoredVertex& coloredVertex(const RecordedDraw& draw, int i) const;
    // Index i of a draw, relative to its first vertex.
    int index(const RecordedDraw& draw, int i) const { return indices[draw.indexOffset + i]; }
    int totalPrimitives() const;

    uint32_t createTexture(int width, int height, int mipLevels, const uint8_t* rgba) override;
    void updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba) override;
    void releaseTexture(uint32_t texture) override;
    uint32_t createBuffer(const void* vertices, int vertexBytes, const uint16_t* indices,
                          int indexCount) override;
    void releaseBuffer(uint32_t buffer) override;
    void setPictureArea(const PictureArea& area) override;
    void clear(bool color, uint32_t argb, bool depth, float z) override;
    void draw(const DrawCall& call) override;
    void present(float gammaFactor) override;
    bool blendsPerQuad() const override { return perQuadBlends; }
    bool beginLowDetail(uint32_t argb) override;
    void endLowDetail() override;
};
