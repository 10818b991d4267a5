// The OpenGL 3.3 core backend of the render layer. A small shader pair, in a variant per kind of draw
// (platform/gl_programs.h), does what the game expects of a fixed pipeline: vertex colour times texture,
// the alpha test (keep alpha >= reference), one directional light for lit meshes. The 800 x 600 screen
// space is drawn straight into the picture's rectangle of the window (the viewport and scissor of every
// draw), so each quad is rasterised at the screen's own pixels; the bars around it are black. The
// painterly layers may go into an 800 x 600 low-detail picture first, copied scaled onto the picture
// area. Presenting multiplies the picture by the gamma factor where it is not neutral, then swaps.
#pragma once

#include <cstdint>

#include "platform/gl_programs.h"
#include "platform/limits.h"
#include "platform/render_backend.h"

class GlBackend : public RenderBackend {
  public:
    // Needs a current OpenGL 3.3 core context. False (and nothing left behind) when it cannot work.
    bool init();
    void shutdown(); // releases every object it made; the context must still be current
    bool ready() const { return program_ != 0; }

    void (*swapBuffers)() = nullptr; // shows the drawn frame; null: nothing is swapped
    // Reads the picture drawn so far as 800 x 600 RGBA, rows from the top, before the gamma factor: the
    // drawable's pixel at the centre of each unit of the screen space.
    bool readPicture(uint8_t* rgba);

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
    bool blendsPerQuad() const override { return true; } // dual-source blending is core in OpenGL 3.3
    bool beginLowDetail(uint32_t argb) override;
    void endLowDetail() override;
    bool beginCapture(bool coverage) override;
    void endCapture() override;
    bool readCoverageRow(int row, float* alpha) override;
    void clipRect(int x, int y, int width, int height) override;
    void drawCapture() override;

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

    DrawProgram& drawProgram(int variant);  // linked on first use; program 0 when it does not compile
    bool applyStates(const DrawCall& call); // false: no program for the draw
    void bindAttributes(uint32_t format, int stride, size_t offset);
    void bindBlends(const DrawCall& call);
    void scaleColours(float factor);
    int surfaceWidth() const; // what is drawn into now: the picture area or the low-detail picture
    int surfaceHeight() const;
    void placeViewport();  // the viewport and scissor of what is drawn into now
    void bindSurface();    // its framebuffer, viewport and scissor
    void attachLowDepth(); // the low-detail picture's depths, made at their first use

    uint32_t program_ = 0; // the most common drawing variant, linked at init (0: not ready)
    uint32_t scaleProgram_ = 0, copyProgram_ = 0, stretchProgram_ = 0;
    DrawProgram programs_[kVariantCount];
    DrawProgram* current_ = nullptr; // the drawing variant in use; null after another program
    uint32_t vertexArray_ = 0, streamVertices_ = 0, streamIndices_ = 0;
    uint32_t streamBlends_ = 0;
    size_t streamOffset_ = 0, streamIndexOffset_ = 0, streamBlendOffset_ = 0;
    uint8_t vertexBlends_[kMaxBatchQuads * 4] = {};
    // Point sampling at the picture's own size; drawn larger or smaller, point-sampled pictures are
    // filtered linearly (as the scaled copy of the picture once was), without mipmaps.
    uint32_t pointSampler_ = 0, scaledPointSampler_ = 0, linearSampler_ = 0;
    PictureArea area_;
    // The picture area is all windowColour_ (cleared, nothing drawn since): the same clear again is skipped.
    uint32_t windowColour_ = 0;
    bool windowUniform_ = false;
    // The low-detail picture: 800 x 600 colours (and depths once needed), stretched onto the picture area
    // when it ends.
    uint32_t lowFramebuffer_ = 0, lowTexture_ = 0, lowDepth_ = 0;
    bool lowDetail_ = false;
    // The captured picture (colours, 8 bits a channel like the window) and the coverage being captured
    // (one float a pixel, so that only a truly opaque fragment reads as 1); the coverage lives only while
    // captured.
    uint32_t captureFramebuffer_ = 0, captureTexture_ = 0, coverageTexture_ = 0;
    int captureWidth_ = 0, captureHeight_ = 0;
    bool capturing_ = false, capturingCoverage_ = false;
    int clipX_ = 0, clipY_ = 0, clipWidth_ = 0, clipHeight_ = 0; // from the picture's top left; width 0: all
    MeshStorage meshes_[kMaxMeshBuffers] = {};
    // Uniform locations.
    int uScaleFactor_ = -1, uCopyOrigin_ = -1, uCopyPicture_ = -1, uStretchPicture_ = -1;
    // What the context has now, to skip unchanged uploads.
    RenderStates applied_;
    bool statesValid_ = false;
};

extern GlBackend glBackend;
