// The render layer's device, transforms, states and the batch of quads.
#include "engine/render.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/limits.h"
#include "engine/texture.h"
#include "platform/window.h"

RenderLayer render;

namespace {

// Transforms change the meaning of gathered vertices, so a change draws the batch first.
void transformsChanging() {
    flushBatch();
    render.states.transformSerial++;
}

void setFlag(uint8_t& flag, bool value) {
    flag = value ? 1 : 0;
}

} // namespace

void resetRender() {
    render.backend = nullptr;
    render.states = RenderStates();
    render.transforms = Transforms();
    render.light = LightSetup();
    render.perspective = glm::mat4(1.0f);
    render.cameraView = glm::mat4(1.0f);
    render.isVisible = nullptr;
    render.tint = glm::vec4(1.0f);
    render.texturePacked = false;
    render.pageRect = kWholeTexture;
    render.triangleCount = 0;
    render.gamma = 0.5f;
    render.gammaDirty = false;
    render.appliedGammaFactor = 1.0f;
    render.wantedFullScreen = false;
    render.resetRequested = false;
    render.applyDisplayMode = nullptr;
    render.inScene = false;
    render.batchQuads = 0;
    render.batchMixed = false;
    render.blendsPerQuad = false;
    render.batching = true;
    render.drawCalls = 0;
    render.drawableSize = nullptr;
    render.pictureArea = PictureArea();
    render.pictureAreaPending = true;
    render.lowDetail = false;
    render.clearPending = false;
    render.pendingClear = 0;
    render.depthPending = false;
    render.pendingDepth = 1.0f;
    render.clipped = false;
    setPerspective(kScreenWidth, kScreenHeight);
}

bool createDisplay(RenderBackend* backend) {
    if (!backend) return false;
    render.backend = backend;
    render.batchQuads = 0;
    render.blendsPerQuad = backend->blendsPerQuad();
    render.pictureAreaPending = true;
    applyDefaultStates();
    return true;
}

void applyDefaultStates() {
    flushBatch();
    uint32_t serial = render.states.transformSerial;
    uint32_t texture = render.states.texture;
    render.states = RenderStates(); // the defaults are the member initialisers
    render.states.transformSerial = serial + 1;
    render.states.texture = texture;
}

void requestDisplayReset(bool fullScreen) {
    render.wantedFullScreen = fullScreen;
    render.resetRequested = true;
}

void setGamma(float gamma) {
    if (gamma != render.gamma) {
        render.gamma = gamma;
        render.gammaDirty = true;
    }
}

void presentFrame() {
    endLowDetailLayers();
    flushBatch();
    settleClear();
    if (render.gammaDirty) {
        // The ramp entry i was (gamma + 0.5) * 256 * i, saturating: the same as one factor on every channel.
        render.appliedGammaFactor = std::max(0.0f, render.gamma + 0.5f);
        render.gammaDirty = false;
    }
    // The window applies a requested switch right after the swap it is told about before it, so the
    // switch happens between two frames, never inside one.
    bool switching = render.resetRequested;
    if (switching && render.applyDisplayMode) render.applyDisplayMode(render.wantedFullScreen);
    if (render.backend) render.backend->present(render.appliedGammaFactor);
    render.drawCalls = 0;
    render.pictureAreaPending = true; // the window may be another size by the next frame
    if (switching) {
        applyDefaultStates();
        render.resetRequested = false;
    }
}

void releaseDisplay() {
    endLowDetailLayers();
    flushBatch();
    settleClear();
    render.blendsPerQuad = false;
    render.gamma = 0.5f;
    render.gammaDirty = false;
    render.appliedGammaFactor = 1.0f;
    render.backend = nullptr;
}

void clearColor(uint32_t argb) {
    flushBatch();
    settlePictureArea();
    if (render.clipped || render.lowDetail) {
        if (render.backend) render.backend->clear(true, argb, false, 1.0f);
        return;
    }
    render.clearPending = true; // a later clear of the whole picture replaces it
    render.pendingClear = argb;
}

void settleClear() {
    if (!render.clearPending) return;
    render.clearPending = false;
    if (render.backend) render.backend->clear(true, render.pendingClear, false, 1.0f);
}

void clearDepth(float z) {
    flushBatch();
    settlePictureArea();
    if (render.clipped || render.lowDetail) {
        if (render.backend) render.backend->clear(false, 0, true, z);
        return;
    }
    render.depthPending = true;
    render.pendingDepth = z;
}

const RenderStates* statesForDraw(const RenderStates& states, RenderStates& scratch) {
    settlePictureArea();
    if (!states.depthTest || render.lowDetail) return &states;
    // Depths lie in 0..1, and a test of less-or-equal against 1.0 keeps them all.
    if (render.depthPending && !states.depthWrite && render.pendingDepth >= 1.0f) {
        scratch = states;
        scratch.depthTest = 0;
        return &scratch;
    }
    if (render.depthPending) {
        render.depthPending = false;
        if (render.backend) render.backend->clear(false, 0, true, render.pendingDepth);
    }
    return &states;
}

PictureArea placePicture(int drawableWidth, int drawableHeight) {
    ViewRect r = fitPicture(drawableWidth, drawableHeight);
    PictureArea area;
    area.drawableWidth = drawableWidth;
    area.drawableHeight = drawableHeight;
    area.x = r.x;
    area.y = r.y;
    area.width = r.w;
    area.height = r.h;
    return area;
}

void settlePictureArea() {
    if (!render.pictureAreaPending || !render.backend) return;
    int width = kScreenWidth, height = kScreenHeight;
    if (render.drawableSize) render.drawableSize(&width, &height);
    render.pictureArea = placePicture(width, height);
    render.backend->setPictureArea(render.pictureArea);
    render.pictureAreaPending = false;
}

bool beginLowDetailLayers() {
    flushBatch();
    settlePictureArea();
    const PictureArea& a = render.pictureArea;
    if (!render.backend || render.lowDetail || !render.clearPending || render.clipped) return false;
    if (a.width <= kScreenWidth && a.height <= kScreenHeight) return false; // no larger than its own size
    render.lowDetail = render.backend->beginLowDetail(render.pendingClear);
    if (render.lowDetail) render.clearPending = false; // the copy covers the whole picture area
    return render.lowDetail;
}

void endLowDetailLayers() {
    if (!render.lowDetail) return;
    flushBatch();
    render.backend->endLowDetail();
    render.lowDetail = false;
    render.clipped = false;
    render.drawCalls++;
}

void drawingSize(int* width, int* height) {
    settlePictureArea();
    *width = render.lowDetail ? kScreenWidth : render.pictureArea.width;
    *height = render.lowDetail ? kScreenHeight : render.pictureArea.height;
}

bool beginPictureCapture(bool coverage) {
    flushBatch();
    settlePictureArea();
    settleClear();
    return render.backend && render.backend->beginCapture(coverage);
}

void endPictureCapture() {
    flushBatch();
    if (render.backend) render.backend->endCapture();
}

bool readCoverageRow(int row, float* alpha) {
    flushBatch();
    return render.backend && render.backend->readCoverageRow(row, alpha);
}

void clipPicture(int x, int y, int width, int height) {
    flushBatch();
    settlePictureArea();
    settleClear();
    if (render.backend) render.backend->clipRect(x, y, width, height);
    render.clipped = width > 0;
}

void drawCapturedPicture() {
    flushBatch();
    settlePictureArea();
    settleClear();
    if (render.backend) {
        render.backend->drawCapture();
        render.drawCalls++;
    }
}

void beginScene() {
    render.inScene = true;
}

void endScene() {
    flushBatch();
    settleClear();
    render.inScene = false;
}

void discardManagedResources() {}

void flushBatch() {
    if (render.batchQuads == 0) return;
    if (render.backend) {
        DrawCall call;
        RenderStates scratch;
        call.states = statesForDraw(render.batchStates, scratch);
        call.transforms = &render.transforms;
        call.light = &render.light;
        call.primitive = kTriangleList;
        call.format = kColoredFormat;
        call.stride = sizeof(ColoredVertex);
        call.vertices = render.batchVertices;
        call.vertexCount = render.batchQuads * 4;
        call.indices = render.batchIndices;
        call.indexCount = render.batchQuads * 6;
        call.primitiveCount = render.batchQuads * 2;
        call.quadBlends = render.batchMixed ? render.batchBlends : nullptr;
        settlePictureArea();
        settleClear();
        render.backend->draw(call);
        render.drawCalls++;
    }
    render.batchQuads = 0;
}

// Transforms.

glm::mat4 orthographicMatrix(float width, float height, float zNear, float zFar) {
    glm::mat4 m(0.0f);
    m[0][0] = 2.0f / width;
    m[1][1] = 2.0f / height;
    m[2][2] = 1.0f / (zFar - zNear);
    m[3][2] = zNear / (zNear - zFar);
    m[3][3] = 1.0f;
    return m;
}

glm::mat4 perspectiveMatrix(float fovY, float aspect, float zNear, float zFar) {
    return glm::perspectiveLH_ZO(fovY, aspect, zNear, zFar);
}

void setPerspective(float clientWidth, float clientHeight) {
    float aspect = clientHeight > 0.0f ? clientWidth / clientHeight : 4.0f / 3.0f;
    render.perspective = perspectiveMatrix(glm::pi<float>() / 4.0f, aspect, 5.0f, 400.0f);
}

void setWorld(const glm::mat4* m) {
    transformsChanging();
    render.transforms.world = m ? *m : glm::mat4(1.0f);
}

void setView(const glm::mat4* m) {
    transformsChanging();
    render.transforms.view = m ? *m : glm::mat4(1.0f);
}

void setProjection(const glm::mat4& m) {
    transformsChanging();
    render.transforms.projection = m;
}

void setOrthographic(float width, float height, float zNear, float zFar) {
    setProjection(orthographicMatrix(width, height, zNear, zFar));
}

const glm::mat4& getWorld() {
    return render.transforms.world;
}
const glm::mat4& getView() {
    return render.transforms.view;
}
const glm::mat4& getProjection() {
    return render.transforms.projection;
}

// States.

void setRenderState(int preset, bool enable) {
    RenderStates& s = render.states;
    switch (preset) {
    case kPresetLighting:
        setFlag(s.lighting, enable);
        break;
    case kPresetDepthTest:
        setFlag(s.depthTest, enable);
        break;
    case kPresetDepthWrite:
        setFlag(s.depthWrite, enable);
        break;
    case kPresetProjection:
        if (enable)
            setOrthographic(kScreenWidth, kScreenHeight, 1.0f, 500.0f);
        else
            setProjection(render.perspective);
        break;
    case kPresetAlphaBlend:
        setFlag(s.alphaBlend, enable);
        break;
    case kPresetAlphaTest:
        setFlag(s.alphaTest, enable);
        break;
    case kPresetPointSprites:
        setFlag(s.pointSprites, enable);
        break;
    case kPresetFiltering:
        setFlag(s.linearFilter, enable);
        break;
    default:
        assert(!"unknown render-state preset");
    }
}

void setBlendMode(int mode) {
    switch (mode) {
    case kBlendNormal:
        setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
        break;
    case kBlendAdditive:
        setBlendFactors(BlendFactor::SrcColor, BlendFactor::One);
        break;
    case kBlendOpaque:
        setBlendFactors(BlendFactor::One, BlendFactor::Zero);
        break;
    default:
        assert(!"unknown blend mode");
    }
}

void setBlendFactors(BlendFactor src, BlendFactor dst) {
    render.states.srcBlend = src;
    render.states.dstBlend = dst;
}

void setAlphaReference(int reference) {
    render.states.alphaRef = static_cast<uint8_t>(std::clamp(reference, 0, 255));
}

void setCulling(bool cullCounterClockwise) {
    setFlag(render.states.cullCounterClockwise, cullCounterClockwise);
    if (cullCounterClockwise) setFlag(render.states.cullClockwise, false);
}

void setCullingClockwise(bool cullClockwise) {
    setFlag(render.states.cullClockwise, cullClockwise);
    if (cullClockwise) setFlag(render.states.cullCounterClockwise, false);
}

void setLight(const glm::vec3& direction, const glm::vec4& diffuse, const glm::vec4& ambient) {
    transformsChanging(); // the light is part of what a gathered draw was made with
    render.light.direction = direction;
    render.light.diffuse = diffuse;
    render.light.ambient = ambient;
}

void begin2D() {
    setRenderState(kPresetDepthTest, false);
    setBlendMode(kBlendNormal);
    setRenderState(kPresetAlphaBlend, true);
    setRenderState(kPresetAlphaTest, true);
    setAlphaReference(1);
    setRenderState(kPresetFiltering, true);
    setWorld(nullptr);
    setView(nullptr);
    setOrthographic(kScreenWidth, kScreenHeight, 1.0f, 100.0f);
}

void setOpaqueDrawing(bool opaque) {
    setRenderState(kPresetAlphaBlend, !opaque);
    setRenderState(kPresetAlphaTest, !opaque);
}

void setTexture(const Texture* texture) {
    render.states.texture = texture ? texture->handle : 0;
    render.texturePacked = texture && texture->packed;
    if (render.texturePacked)
        render.pageRect = {texture->pageLeft, texture->pageTop, texture->pageRight, texture->pageBottom};
}

uint32_t tintColor(uint32_t argb) {
    const glm::vec4& t = render.tint;
    auto channel = [](uint32_t value, float factor) {
        float v = static_cast<float>(value) * factor;
        if (!(v > 0.0f)) return 0u; // also NaN
        return v >= 255.0f ? 255u : static_cast<uint32_t>(v);
    };
    uint32_t a = channel(argb >> 24, t.a);
    uint32_t r = channel((argb >> 16) & 0xFF, t.r);
    uint32_t g = channel((argb >> 8) & 0xFF, t.g);
    uint32_t b = channel(argb & 0xFF, t.b);
    return (a << 24) | (r << 16) | (g << 8) | b;
}
