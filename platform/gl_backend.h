// The OpenGL 3.3 core backend of the render layer. One small shader pair does what the game expects of
// a fixed pipeline: vertex colour times texture, the alpha test (keep alpha >= reference), one
// directional light for lit meshes. The 800 x 600 picture is drawn into an off-screen target; presenting
// draws it into the picture's rectangle of the window (scaled and centred, black bars around it) with
// the gamma factor, then swaps.
#pragma once

#include <cstdint>

#include "platform/limits.h"
#include "platform/render_backend.h"

// Where the finished picture goes, in drawable pixels with y from the top.
struct GlPresentTarget {
    int drawableWidth = 800;
    int drawableHeight = 600;
    int x = 0, y = 0, width = 800, height = 600; // the picture's rectangle
};

class GlBackend : public RenderBackend {
  public:
    // Needs a current OpenGL 3.3 core context. False (and nothing left behind) when it cannot work.
    bool init();
    void shutdown(); // releases every object it made; the context must still be current
    bool ready() const { return program_ != 0; }

    GlPresentTarget (*presentTarget)() = nullptr; // the picture's place in the window; null: 800 x 600
    void (*swapBuffers)() = nullptr;              // shows the drawn frame; null: nothing is swapped
    // Reads the picture drawn so far (800 x 600 RGBA, rows from the top, before the gamma factor).
    bool readPicture(uint8_t* rgba);

    uint32_t createTexture(int width, int height, int mipLevels, const uint8_t* rgba) override;
    void updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba) override;
    void releaseTexture(uint32_t texture) override;
    uint32_t createBuffer(const void* vertices, int vertexBytes, const uint16_t* indices,
                          int indexCount) override;
    void releaseBuffer(uint32_t buffer) override;
    void clear(bool color, uint32_t argb, bool depth, float z) override;
    void draw(const DrawCall& call) override;
    void present(float gammaFactor) override;
    bool blendsPerQuad() const override { return true; } // dual-source blending is core in OpenGL 3.3

  private:
    struct MeshStorage {
        uint32_t vertexBuffer = 0;
        uint32_t indexBuffer = 0;
    };
    static constexpr int kMaxMeshBuffers = 256;
    static constexpr int kStreamBytes =
        1 << 20; // user-memory vertices of the draws, a ring (a full batch is 384 KB)
    static constexpr int kStreamIndexBytes = 256 << 10;
    static constexpr int kStreamBlendBytes = 256 << 10; // per-vertex blend factors of mixed batches

    void applyStates(const DrawCall& call);
    void bindAttributes(uint32_t format, int stride, size_t offset);
    void bindBlends(const DrawCall& call);

    uint32_t program_ = 0, blitProgram_ = 0;
    uint32_t vertexArray_ = 0, streamVertices_ = 0, streamIndices_ = 0;
    uint32_t streamBlends_ = 0;
    size_t streamOffset_ = 0, streamIndexOffset_ = 0, streamBlendOffset_ = 0;
    uint8_t vertexBlends_[kMaxBatchQuads * 4] = {};
    uint32_t framebuffer_ = 0, colorTarget_ = 0, depthTarget_ = 0;
    uint32_t pointSampler_ = 0, linearSampler_ = 0;
    MeshStorage meshes_[kMaxMeshBuffers] = {};
    // Uniform locations.
    int uWorld_ = -1, uView_ = -1, uProjection_ = -1, uLit_ = -1, uLightDirection_ = -1, uLightDiffuse_ = -1,
        uLightAmbient_ = -1, uHasTexture_ = -1, uShaderBlend_ = -1, uAlphaTest_ = -1, uAlphaRef_ = -1,
        uTexture_ = -1, uBlitPicture_ = -1, uBlitGamma_ = -1;
    // What the context has now, to skip unchanged uploads.
    RenderStates applied_;
    bool statesValid_ = false;
    uint32_t appliedSerial_ = 0;
    bool transformsValid_ = false;
};

extern GlBackend glBackend;
