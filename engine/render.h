// The render layer: screen-space and 3D quads, billboards, beams, lists and mesh buffers, transforms,
// render-state presets, the gamma factor and the triangle counter, over a graphics backend.
//
// Screen space is 800 x 600 units with the origin at the centre, x to the right and y upward; 2D
// drawing uses an orthographic projection and puts quads at z = 10. Colours are ARGB (alpha in the top
// byte). Quads are batched: consecutive quads with the same texture, states and transforms go to the
// backend as one draw; any change, a list or mesh draw, a clear and the end of the frame flush first,
// so the picture and the triangle counter are what drawing the quads one by one would give.
#pragma once

#include <cstdint>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/limits.h"
#include "platform/render_backend.h"

struct Texture;

// Vertex layouts.
struct ColoredVertex {
    float x, y, z;
    uint32_t color; // ARGB
    float u, v;
};
struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
struct TexturedVertex {
    float x, y, z;
    float u, v;
};
static_assert(sizeof(ColoredVertex) == 24);
static_assert(sizeof(LitVertex) == 32);
static_assert(sizeof(TexturedVertex) == 20);

constexpr uint32_t kColoredFormat = kFormatPosition | kFormatDiffuse | kFormatTex1;
constexpr uint32_t kLitFormat = kFormatPosition | kFormatNormal | kFormatTex1;
constexpr uint32_t kTexturedFormat = kFormatPosition | kFormatTex1;
constexpr uint32_t kPositionFormat = kFormatPosition;

// A texture rectangle: left u, top v, right u, bottom v.
struct TexRect {
    float left, top, right, bottom;
};
constexpr TexRect kWholeTexture = {0.0f, 0.0f, 1.0f, 1.0f};

// Render-state presets switched by setRenderState.
enum RenderPreset {
    kPresetLighting = 0,     // lighting
    kPresetDepthTest = 1,    // depth test
    kPresetDepthWrite = 2,   // depth writes
    kPresetProjection = 3,   // on: orthographic 800 x 600, near 1, far 500; off: the 3D perspective
    kPresetAlphaBlend = 4,   // alpha blending
    kPresetAlphaTest = 5,    // alpha test
    kPresetPointSprites = 6, // point sprites
    kPresetFiltering = 7,    // on: linear filters and mipmaps; off: point sampling, no mipmaps
};

// Blend modes of setBlendMode.
constexpr int kBlendNormal = 0;   // source alpha, inverse source alpha
constexpr int kBlendAdditive = 1; // source colour, one
constexpr int kBlendOpaque = 2;   // one, zero

// A mesh as the mesh loader hands it over for uploading.
struct MeshData {
    const void* vertices = nullptr; // vertexCount vertices of the given format
    int vertexCount = 0;
    const uint32_t* indices = nullptr; // three per triangle; null: the vertices are a triangle list
    int indexCount = 0;
};

// A mesh living in backend storage.
struct MeshBuffer {
    uint32_t buffer = 0; // backend buffer; 0 = not uploaded
    uint32_t format = 0;
    int stride = 0;
    int vertexCount = 0;
    int indexCount = 0; // 0: not indexed
    int triangleCount = 0;
};

// The render layer's process-wide state.
struct RenderLayer {
    RenderBackend* backend = nullptr;        // null: drawing is counted but goes nowhere
    RenderStates states;                     // the states the next draw uses
    Transforms transforms;                   // world, view, projection of the next draw
    LightSetup light;                        // the directional light of lit meshes
    glm::mat4 perspective = glm::mat4(1.0f); // the 3D projection (projection preset off, overlay)
    glm::mat4 cameraView = glm::mat4(1.0f);  // the camera's view, restored by the overlay every frame
    // The scenery's visibility test for billboards (centre, radius); null: everything is visible.
    bool (*isVisible)(const glm::vec3& centre, float radius) = nullptr;
    glm::vec4 tint = glm::vec4(1.0f); // multiplies the colours of screen-space quads and glyphs
    // The bound picture's rectangle on its texture page; quads map their texture points into it.
    bool texturePacked = false;
    TexRect pageRect = kWholeTexture;

    int triangleCount = 0; // triangles drawn since the overlay last reset it
    float gamma = 0.5f;    // 0.5 neutral; the picture is multiplied by gamma + 0.5
    bool gammaDirty = false;
    float appliedGammaFactor = 1.0f; // factor in use since the last present that applied a change
    bool wantedFullScreen = false;   // window or full screen, taking effect after the next present
    bool resetRequested = false;
    // The window's switch (it takes effect after the present that follows the call); set by the app.
    void (*applyDisplayMode)(bool fullScreen) = nullptr;
    bool inScene = false;
    // The drawable's size in pixels, asked at each frame's first clear or draw; set by the app (null: the
    // drawable is 800 x 600).
    void (*drawableSize)(int* width, int* height) = nullptr;
    PictureArea pictureArea;        // where the frame being drawn goes
    bool pictureAreaPending = true; // the next clear or draw places the picture first
    bool lowDetail = false;         // the painterly layers are going into the low-detail picture
    // A colour clear of the whole picture waits for the next draw: the low-detail layers may take it
    // instead (then the picture area is never cleared, only covered), and a software rasteriser clears a
    // rectangle of the window by drawing it.
    bool clearPending = false;
    uint32_t pendingClear = 0;
    // A depth clear waits for the first draw that writes depths: until then every depth is pendingDepth,
    // and a test against 1.0 that writes nothing passes everywhere, so it is drawn without the test and
    // the window's depths are never touched (a frame that writes none leaves them alone).
    bool depthPending = false;
    float pendingDepth = 1.0f;
    bool clipped = false; // clears and draws stay inside a rectangle of the picture (clipPicture)

    // The batch of quads not yet handed to the backend.
    RenderStates batchStates;
    int batchQuads = 0;
    ColoredVertex batchVertices[kMaxBatchQuads * 4];
    uint16_t batchIndices[kMaxBatchQuads * 6];
    uint8_t batchBlends[kMaxBatchQuads]; // each quad's blend factors (quadBlendCode)
    bool batchMixed = false;             // the batch's quads blend differently
    bool blendsPerQuad = false;          // the backend blends per quad (set by createDisplay)
    bool batching = true;                // false: every quad is its own draw (to compare pictures)
    int drawCalls = 0;                   // backend draws since the last present (diagnostics, benchmarks)
};

extern RenderLayer render;

void resetRender(); // launch values, no backend (tests attach theirs with createDisplay)

// Device.
bool createDisplay(RenderBackend* backend); // attaches the backend and applies the default states
void applyDefaultStates();                  // the states after creation and after a display switch
void requestDisplayReset(bool fullScreen);  // switch window / full screen after the next present
void setGamma(float gamma);                 // stored; marked dirty when it differs
void presentFrame();                        // flushes, applies a dirty gamma, presents, then a pending switch
void releaseDisplay();                      // neutral gamma, detaches the backend
void clearColor(uint32_t argb);             // whole picture, colour only (done before the next draw)
void clearDepth(float z);                   // whole picture, depth only (done before a draw needs it)
// The picture's rectangle in a drawable of the given size: the largest centred 4:3 one.
PictureArea placePicture(int drawableWidth, int drawableHeight);
void settlePictureArea(); // at a frame's first clear or draw: tells the backend where the picture goes
// The painterly layers at the screen space's own 800 x 600, copied once, scaled and opaque, onto a picture
// area larger than that (see RenderBackend::beginLowDetail); what is drawn after them is drawn at the
// screen's own pixels. Only where the picture is still blank (a colour clear and nothing else), so that
// what they are drawn over is known (they then take the pending clear); false: the layers are drawn straight
// onto the picture.
bool beginLowDetailLayers();
void endLowDetailLayers();                 // the copy onto the picture area; nothing when none was begun
void drawingSize(int* width, int* height); // pixels of what is drawn into now (picture area or low detail)
// Captured pictures (see RenderBackend::beginCapture): each call draws the batch first. Rows and the clip
// count from the top left of what is drawn into now, in its own pixels.
bool beginPictureCapture(bool coverage); // false: no capture (nothing changed)
void endPictureCapture();
bool readCoverageRow(int row, float* alpha); // pictureArea.width alphas of the coverage being captured
void clipPicture(int x, int y, int width, int height); // width 0: the whole picture again
void drawCapturedPicture();
void beginScene();
void endScene();                // flushes the batch
void discardManagedResources(); // nothing to evict under OpenGL; kept for the callers
void flushBatch();              // draws the gathered quads now
void settleClear();             // a pending colour clear is done now (before any draw reaches the backend)
// The states a draw reaches the backend with: a pending depth clear is done now when the draw needs the
// depths; a test that would pass everywhere is left out.
const RenderStates* statesForDraw(const RenderStates& states, RenderStates& scratch);

// Transforms.
glm::mat4 orthographicMatrix(float width, float height, float zNear, float zFar);
glm::mat4 perspectiveMatrix(float fovY, float aspect, float zNear, float zFar); // left-handed
void setPerspective(float clientWidth, float clientHeight); // pi/4, width/height, near 5, far 400
void setWorld(const glm::mat4* m);                          // null: identity
void setView(const glm::mat4* m);                           // null: identity
void setProjection(const glm::mat4& m);
void setOrthographic(float width, float height, float zNear, float zFar);
const glm::mat4& getWorld();
const glm::mat4& getView();
const glm::mat4& getProjection();

// States.
void setRenderState(int preset, bool enable);
void setBlendMode(int mode); // kBlendNormal, kBlendAdditive, kBlendOpaque
void setBlendFactors(BlendFactor src, BlendFactor dst);
void setAlphaReference(int reference);        // alpha test keeps alpha >= reference (0..255)
void setCulling(bool cullCounterClockwise);   // false: both sides drawn
void setCullingClockwise(bool cullClockwise); // the other side dropped instead; false: both drawn
void setLight(const glm::vec3& direction, const glm::vec4& diffuse, const glm::vec4& ambient);
void begin2D(); // the states of every screen-space sequence
// Pictures without transparency drawn over the whole view: on, blending and the alpha test are off for
// them (the same pixels, less work for a software rasteriser); off, the 2D defaults are back.
void setOpaqueDrawing(bool opaque);
void setTexture(const Texture* texture); // null: no texture
uint32_t tintColor(uint32_t argb);       // each channel times the tint, truncated

// A quad of four finished vertices into the batch (no tint): strip order 0 1 2 3, or triangles 0 1 2
// and 0 2 3. Adds 2 to the triangle counter. With a picture of a texture page bound, the texture points
// (the picture's own, whole periods apart as wrap addressing would read them) go into its rectangle.
void submitQuad(const ColoredVertex vertices[4], bool strip);

// Screen-space quads (tinted; triangle strip top-right, bottom-right, top-left, bottom-left).
void drawRect(float left, float top, float right, float bottom, const TexRect& tex, uint32_t color,
              float z = 10.0f);
void drawCentered(float x, float y, float width, float height, const TexRect& tex, uint32_t color,
                  float z = 10.0f);
void drawRotated(float x, float y, float pivotX, float pivotY, float angleDeg, float width, float height,
                 const TexRect& tex, uint32_t color, float z = 10.0f);
// Pixels of the 800 x 600 view with y down; the texture rectangle is moved inwards by 0.001.
void drawScreenRect(float left, float top, float right, float bottom, const TexRect& tex, uint32_t color);

// 3D quads (not tinted; culling applies to counter-clockwise corners).
// Four colours, triangles 0 1 2 and 0 2 3, texture points (0,0) (0,-1) (-1,-1) (-1,0): turned half a turn.
void drawQuad4(const glm::vec3 corners[4], const uint32_t colors[4]);
// One colour, triangles 0 1 2 and 0 2 3, texture points (0,0) (0,1) (1,1) (1,0).
void drawQuad(const glm::vec3 corners[4], uint32_t color);
// Explicit texture points and one colour, as a strip 0 1 2 3.
void drawQuadStrip(const glm::vec3 corners[4], const glm::vec2 uv[4], uint32_t color);
// Explicit texture points, no colour (opaque white), triangles 0 1 2 and 0 2 3.
void drawQuadTextured(const glm::vec3 corners[4], const glm::vec2 uv[4]);

// Camera-facing squares: the current view's right and up axes turned by 90 degrees minus the angle
// (so the angle turns the picture clockwise), scaled by size; corner 0 shows the picture's bottom-right,
// 1 top-right, 2 top-left, 3 bottom-left. Skipped when the visibility test rejects the centre with the
// size as radius. They switch alpha blending on with mode 0 and bind the texture.
void drawBillboard(const Texture* texture, const glm::vec3& centre, float angleDeg, float size);
void drawBillboard2D(const Texture* texture, float x, float y, float angleDeg, float size, uint32_t color);
void billboardCorners(const glm::vec3& centre, float angleDeg, float size, glm::vec3 out[4]);

// Beams between two 3D points: the side is the normalised cross product of the direction and the
// reversed view direction, halfWidth long; corners start - side, start + side, end + side, end - side.
void drawBeam(const glm::vec3& start, const glm::vec3& end, float halfWidth, uint32_t color);
void drawBeam2(const glm::vec3& start, const glm::vec3& end, float halfWidth, uint32_t startColor,
               uint32_t endColor);

// Lists and meshes.
int vertexStride(uint32_t format); // bytes per vertex of a format
void drawPrimitives(const void* vertices, int primitiveCount, uint32_t format, int primitive);
bool uploadMesh(const MeshData& mesh, uint32_t format, MeshBuffer& out); // false: too large or no storage
void drawMesh(const MeshBuffer& mesh);
void releaseMesh(MeshBuffer& mesh);
// Normals: out may be null, then an array is allocated (new[]) and returned; the caller delete[]s it.
glm::vec3* computeFaceNormals(const glm::vec3* positions, const uint32_t* triangles, int triangleCount,
                              glm::vec3* out);
glm::vec3* computeVertexNormals(const glm::vec3* positions, int vertexCount, const uint32_t* triangles,
                                int triangleCount, glm::vec3* out);

// Fast square root from two tables (even and odd exponents) and the periodic pulse.
void buildSqrtTables();
float fastSqrt(float x);
float pulse(float frequency, float timeMs = -2000000.0f); // 0..1; time below -1000000 means now
