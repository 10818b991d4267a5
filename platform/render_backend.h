// The graphics backend under the render layer: what a draw needs, and the interface that the OpenGL
// backend and the recording backend of the tests implement.
//
// The render layer hands the backend finished draws: every state a draw depends on, the three
// transforms and the vertices. Matrices follow the row-vector convention of the game (a point is
// multiplied from the left, translation in the bottom row); stored in glm's column-major order this is
// the same memory, so glm's matrix * vector computes exactly the game's vector * matrix.
#pragma once

#include <cstdint>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

// Blend factors, as the blend modes and effects name them.
enum class BlendFactor : uint8_t {
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestColor,
    InvDestColor,
    DestAlpha,
    InvDestAlpha,
};

// Blend factors that do not read the picture drawn so far: a backend can blend with them per quad, so
// that quads of different blend modes can share one draw (see DrawCall::quadBlends).
inline bool blendsWithoutDestination(BlendFactor f) {
    return f == BlendFactor::Zero || f == BlendFactor::One || f == BlendFactor::SrcColor ||
           f == BlendFactor::InvSrcColor || f == BlendFactor::SrcAlpha || f == BlendFactor::InvSrcAlpha;
}
// One quad's blend factors in a byte: source << 4 | destination.
inline uint8_t quadBlendCode(BlendFactor src, BlendFactor dst) {
    return static_cast<uint8_t>(static_cast<int>(src) << 4 | static_cast<int>(dst));
}

// Primitive types (the values the game's lists pass).
constexpr int kPointList = 1;
constexpr int kLineList = 2;
constexpr int kLineStrip = 3;
constexpr int kTriangleList = 4;
constexpr int kTriangleStrip = 5;
constexpr int kTriangleFan = 6;

// Vertex format flags: members are laid out in this order, each present when its flag is set.
constexpr uint32_t kFormatPosition = 0x002;  // x, y, z floats (always present)
constexpr uint32_t kFormatNormal = 0x010;    // nx, ny, nz floats
constexpr uint32_t kFormatPointSize = 0x020; // one float
constexpr uint32_t kFormatDiffuse = 0x040;   // ARGB colour
constexpr uint32_t kFormatSpecular = 0x080;  // ARGB colour
constexpr uint32_t kFormatTex1 = 0x100;      // u, v floats

// Every state that changes what a draw puts on the picture. Compared bytewise to decide whether two
// draws may share a batch, so it has no padding holes with undefined contents (see static_assert).
struct RenderStates {
    uint8_t lighting = 0;  // lit meshes: one directional light
    uint8_t depthTest = 1; // less-or-equal
    uint8_t depthWrite = 1;
    uint8_t alphaBlend = 0;
    uint8_t alphaTest = 0; // keep fragments whose alpha >= alphaRef
    uint8_t pointSprites = 1;
    uint8_t linearFilter = 0;         // off: point sampling, no mipmaps
    uint8_t cullCounterClockwise = 1; // triangles that run counter-clockwise on screen are dropped
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor dstBlend = BlendFactor::Zero;
    uint8_t alphaRef = 128;       // 0..255
    uint8_t cullClockwise = 0;    // triangles that run clockwise on screen are dropped (a mesh wound the
                                  // other way round; not together with cullCounterClockwise)
    uint32_t texture = 0;         // backend texture handle; 0 = none (reads as opaque white)
    uint32_t transformSerial = 0; // changes whenever a transform changes
};
static_assert(sizeof(RenderStates) == 20, "RenderStates is compared bytewise and must have no holes");

// One directional light and the ambient level for lit meshes (material: white).
struct LightSetup {
    glm::vec3 direction = glm::vec3(0.0f, 0.0f, 1.0f); // the way the light travels, world space
    glm::vec4 diffuse = glm::vec4(1.0f);
    glm::vec4 ambient = glm::vec4(0.0f);
};

struct Transforms {
    glm::mat4 world = glm::mat4(1.0f);
    glm::mat4 view = glm::mat4(1.0f);
    glm::mat4 projection = glm::mat4(1.0f);
};

// One draw as the backend receives it.
struct DrawCall {
    const RenderStates* states = nullptr;
    const Transforms* transforms = nullptr;
    const LightSetup* light = nullptr;
    int primitive = kTriangleList;  // primitive type
    uint32_t format = 0;            // vertex format flags
    int stride = 0;                 // bytes per vertex
    const void* vertices = nullptr; // user memory (when buffer is 0)
    int vertexCount = 0;
    const uint16_t* indices = nullptr; // null: not indexed
    int indexCount = 0;
    uint32_t buffer = 0;    // a mesh buffer instead of user memory
    int primitiveCount = 0; // primitives drawn (for the triangle counter)
    // Quads (four vertices each) whose blend factors differ: one quadBlendCode per quad, every factor one
    // that blendsWithoutDestination; states->srcBlend and dstBlend are then the first quad's. Null: the
    // states' factors for every primitive. Only given to a backend whose blendsPerQuad is true.
    const uint8_t* quadBlends = nullptr;
};

// Where the 800 x 600 screen space is drawn: the largest centred 4:3 rectangle of the drawable, in the
// drawable's own pixels with y from the top. Quads are rasterised there at those pixels; the rest of the
// drawable is black bars.
struct PictureArea {
    int drawableWidth = 800;
    int drawableHeight = 600;
    int x = 0, y = 0, width = 800, height = 600;
    bool operator==(const PictureArea&) const = default;
};

class RenderBackend {
  public:
    virtual ~RenderBackend() = default;
    // A texture of the given size; pixels are RGBA bytes, rows from the top (null: transparent black).
    // mipLevels 1 draws only the top level; more lets linear filtering use smaller levels. 0 = failure.
    virtual uint32_t createTexture(int width, int height, int mipLevels, const uint8_t* rgba) = 0;
    virtual void updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba) = 0;
    virtual void releaseTexture(uint32_t texture) = 0;
    // Vertex (and optionally 16-bit index) storage created once; 0 = failure.
    virtual uint32_t createBuffer(const void* vertices, int vertexBytes, const uint16_t* indices,
                                  int indexCount) = 0;
    virtual void releaseBuffer(uint32_t buffer) = 0;
    // Before a frame's first clear or draw: the picture's place in the drawable. Clears and draws until
    // the next present stay inside it.
    virtual void setPictureArea(const PictureArea& area) { (void)area; }
    virtual void clear(bool color, uint32_t argb, bool depth, float z) = 0; // the whole picture
    virtual void draw(const DrawCall& call) = 0;
    // Shows the finished picture; every colour channel is multiplied by gammaFactor (1 = neutral).
    virtual void present(float gammaFactor) = 0;
    // True when draws may carry quadBlends: normal and additive sprites of one texture are then one draw.
    virtual bool blendsPerQuad() const { return false; }

    // The painterly layers at the screen space's own size: clears and draws between beginLowDetail and
    // endLowDetail go into an off-screen 800 x 600 picture that starts as the colour argb (what the picture
    // area holds when it begins); endLowDetail copies it, scaled and opaque, onto the whole picture area.
    // False: the backend has no such picture (the draws go on to the window).
    virtual bool beginLowDetail(uint32_t argb) {
        (void)argb;
        return false;
    }
    virtual void endLowDetail() {}

    // A captured picture: clears and draws between beginCapture and endCapture go into an off-screen
    // picture of the size of what is drawn into now (the picture area, or the low-detail picture) instead.
    // Without coverage it holds colours as the window would; with coverage only its alpha counts: each
    // pixel's largest alpha of every fragment drawn there (1: something opaque hides what lies beneath, 0:
    // nothing was drawn). False: the backend cannot capture (the draws go on to the window).
    virtual bool beginCapture(bool coverage) {
        (void)coverage;
        return false;
    }
    virtual void endCapture() {}
    // One row (from the top) of the coverage being captured: as many alphas as it is wide. False when there
    // is none.
    virtual bool readCoverageRow(int row, float* alpha) {
        (void)row;
        (void)alpha;
        return false;
    }
    // Clears and draws stay in this rectangle of what is drawn into now (its own pixels from the top left)
    // until the next call; width 0: all of it.
    virtual void clipRect(int x, int y, int width, int height) {
        (void)x;
        (void)y;
        (void)width;
        (void)height;
    }
    // The colour capture copied pixel for pixel onto what is drawn into now, replacing it (inside the clip).
    virtual void drawCapture() {}
};
