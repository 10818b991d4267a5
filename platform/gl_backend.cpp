#include "platform/gl_backend.h"

#include <malloc.h>

#include <cassert>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include <epoxy/gl.h>
#include <glm/gtc/type_ptr.hpp>

#include "platform/gl_programs.h"
#include "platform/limits.h"

GlBackend glBackend;

namespace {

GLenum blendFactor(BlendFactor f) {
    switch (f) {
    case BlendFactor::Zero:
        return GL_ZERO;
    case BlendFactor::One:
        return GL_ONE;
    case BlendFactor::SrcColor:
        return GL_SRC_COLOR;
    case BlendFactor::InvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha:
        return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestColor:
        return GL_DST_COLOR;
    case BlendFactor::InvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    case BlendFactor::DestAlpha:
        return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    }
    return GL_ONE;
}

GLenum primitiveMode(int primitive) {
    switch (primitive) {
    case kPointList:
        return GL_POINTS;
    case kLineList:
        return GL_LINES;
    case kLineStrip:
        return GL_LINE_STRIP;
    case kTriangleStrip:
        return GL_TRIANGLE_STRIP;
    case kTriangleFan:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

void setFlag(GLenum capability, bool on) {
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

} // namespace

bool GlBackend::init() {
    // The most common variant proves that the shaders compile here; the others are linked when first used.
    program_ = drawProgram(kVariantTextured | kVariantAlphaTest | kVariantShaderBlend).program;
    scaleProgram_ = linkFactorProgram();
    copyProgram_ = linkCopyProgram();
    stretchProgram_ = linkStretchProgram();
    if (!program_ || !scaleProgram_ || !copyProgram_ || !stretchProgram_) {
        shutdown();
        return false;
    }
    uScaleFactor_ = glGetUniformLocation(scaleProgram_, "factor");
    uCopyOrigin_ = glGetUniformLocation(copyProgram_, "origin");
    uCopyPicture_ = glGetUniformLocation(copyProgram_, "picture");
    uStretchPicture_ = glGetUniformLocation(stretchProgram_, "picture");

    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &streamVertices_);
    glBindBuffer(GL_ARRAY_BUFFER, streamVertices_);
    glBufferData(GL_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
    glGenBuffers(1, &streamIndices_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndices_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, kStreamIndexBytes, nullptr, GL_STREAM_DRAW);
    glGenBuffers(1, &streamBlends_);
    glBindBuffer(GL_ARRAY_BUFFER, streamBlends_);
    glBufferData(GL_ARRAY_BUFFER, kStreamBlendBytes, nullptr, GL_STREAM_DRAW);

    glGenSamplers(1, &pointSampler_);
    glSamplerParameteri(pointSampler_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(pointSampler_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenSamplers(1, &scaledPointSampler_);
    glSamplerParameteri(scaledPointSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(scaledPointSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glGenSamplers(1, &linearSampler_);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // A picture drawn a little smaller than its texels (the letters, 2 texels a unit, on a screen of 1.8
    // pixels a unit) is read from its own level rather than half blended with the next smaller one.
    glSamplerParameterf(linearSampler_, GL_TEXTURE_LOD_BIAS, -0.5f);
    for (GLuint s : {pointSampler_, scaledPointSampler_, linearSampler_}) {
        glSamplerParameteri(s, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glSamplerParameteri(s, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    area_ = PictureArea();
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LEQUAL);
    glFrontFace(GL_CW); // the game's front faces run clockwise on screen
    glCullFace(GL_BACK);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    statesValid_ = false;
    current_ = nullptr;
    return glGetError() == GL_NO_ERROR;
}

void GlBackend::shutdown() {
    for (MeshStorage& m : meshes_) {
        if (m.vertexBuffer) glDeleteBuffers(1, &m.vertexBuffer);
        if (m.indexBuffer) glDeleteBuffers(1, &m.indexBuffer);
        m = MeshStorage();
    }
    if (pointSampler_) glDeleteSamplers(1, &pointSampler_);
    if (scaledPointSampler_) glDeleteSamplers(1, &scaledPointSampler_);
    if (linearSampler_) glDeleteSamplers(1, &linearSampler_);
    if (streamVertices_) glDeleteBuffers(1, &streamVertices_);
    if (streamIndices_) glDeleteBuffers(1, &streamIndices_);
    if (streamBlends_) glDeleteBuffers(1, &streamBlends_);
    if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
    for (DrawProgram& p : programs_) {
        if (p.program) glDeleteProgram(p.program);
        p = DrawProgram();
    }
    current_ = nullptr;
    if (scaleProgram_) glDeleteProgram(scaleProgram_);
    if (copyProgram_) glDeleteProgram(copyProgram_);
    if (stretchProgram_) glDeleteProgram(stretchProgram_);
    if (lowFramebuffer_) glDeleteFramebuffers(1, &lowFramebuffer_);
    if (lowTexture_) glDeleteTextures(1, &lowTexture_);
    if (lowDepth_) glDeleteRenderbuffers(1, &lowDepth_);
    lowFramebuffer_ = lowTexture_ = lowDepth_ = stretchProgram_ = 0;
    lowDetail_ = false;
    if (captureFramebuffer_) glDeleteFramebuffers(1, &captureFramebuffer_);
    if (captureTexture_) glDeleteTextures(1, &captureTexture_);
    if (coverageTexture_) glDeleteTextures(1, &coverageTexture_);
    captureFramebuffer_ = captureTexture_ = coverageTexture_ = 0;
    captureWidth_ = captureHeight_ = 0;
    capturing_ = capturingCoverage_ = false;
    pointSampler_ = scaledPointSampler_ = linearSampler_ = 0;
    streamVertices_ = streamIndices_ = streamBlends_ = vertexArray_ = program_ = scaleProgram_ = 0;
    copyProgram_ = 0;
    statesValid_ = false;
}

uint32_t GlBackend::createTexture(int width, int height, int mipLevels, const uint8_t* rgba) {
    if (width <= 0 || height <= 0) return 0;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    statesValid_ = false; // the binding of the next draw's texture has just changed
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The levels before the texels: a driver sizes the storage by them (Mesa makes room for a full chain
    // of mipmaps unless the texture is known to have one level).
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipLevels > 1 ? mipLevels - 1 : 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    if (mipLevels > 1) glGenerateMipmap(GL_TEXTURE_2D);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

void GlBackend::updateTexture(uint32_t texture, int width, int height, const uint8_t* rgba) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    GLint maxLevel = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    if (maxLevel > 0) glGenerateMipmap(GL_TEXTURE_2D);
    statesValid_ = false;
}

void GlBackend::releaseTexture(uint32_t texture) {
    GLuint t = texture;
    glDeleteTextures(1, &t);
    statesValid_ = false;
}

uint32_t GlBackend::createBuffer(const void* vertices, int vertexBytes, const uint16_t* indices,
                                 int indexCount) {
    int slot = 0;
    while (slot < kMaxMeshBuffers && meshes_[slot].vertexBuffer) slot++;
    if (slot == kMaxMeshBuffers || vertexBytes <= 0) return 0;
    MeshStorage& m = meshes_[slot];
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &m.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, vertexBytes, vertices, GL_STATIC_DRAW);
    if (indices && indexCount > 0) {
        glGenBuffers(1, &m.indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexCount * sizeof(uint16_t), indices, GL_STATIC_DRAW);
    }
    return static_cast<uint32_t>(slot + 1);
}

void GlBackend::releaseBuffer(uint32_t buffer) {
    if (buffer == 0 || buffer > kMaxMeshBuffers) return;
    MeshStorage& m = meshes_[buffer - 1];
    if (m.vertexBuffer) glDeleteBuffers(1, &m.vertexBuffer);
    if (m.indexBuffer) glDeleteBuffers(1, &m.indexBuffer);
    m = MeshStorage();
}

void GlBackend::setPictureArea(const PictureArea& area) {
    if (!program_) return;
    area_ = area;
    // The whole drawable black, the bars with it: a clear of all of it is only a mark per tile for a
    // software rasteriser, where a clear of a rectangle is drawn pixel by pixel.
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    windowColour_ = 0xFF000000u;
    windowUniform_ = true;
    clipWidth_ = 0;
    placeViewport();
    statesValid_ = false; // the sampler of point-sampled pictures depends on the scale
}

int GlBackend::surfaceWidth() const {
    return lowDetail_ ? kScreenWidth : area_.width;
}

int GlBackend::surfaceHeight() const {
    return lowDetail_ ? kScreenHeight : area_.height;
}

// Off-screen pictures are drawn from their corner; the window's picture area lies inside the drawable.
void GlBackend::placeViewport() {
    bool window = !capturing_ && !lowDetail_;
    int x = window ? area_.x : 0;
    int bottom = window ? area_.drawableHeight - area_.y - area_.height : 0;
    int width = surfaceWidth(), height = surfaceHeight();
    glViewport(x, bottom, width, height);
    if (clipWidth_ > 0)
        glScissor(x + clipX_, bottom + height - clipY_ - clipHeight_, clipWidth_, clipHeight_);
    else
        glScissor(x, bottom, width, height);
}

void GlBackend::bindSurface() {
    glBindFramebuffer(GL_FRAMEBUFFER, capturing_ ? captureFramebuffer_ : lowDetail_ ? lowFramebuffer_ : 0);
    placeViewport();
}

bool GlBackend::beginLowDetail(uint32_t argb) {
    if (!program_ || lowDetail_ || capturing_ || area_.width <= 0 || area_.height <= 0) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!lowFramebuffer_) {
        glGenTextures(1, &lowTexture_);
        glBindTexture(GL_TEXTURE_2D, lowTexture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0); // before the storage: one level of it
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kScreenWidth, kScreenHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     nullptr);
        glGenFramebuffers(1, &lowFramebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, lowFramebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, lowTexture_, 0);
        bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        statesValid_ = false;
        if (!complete || glGetError() != GL_NO_ERROR) {
            glDeleteFramebuffers(1, &lowFramebuffer_);
            glDeleteTextures(1, &lowTexture_);
            lowFramebuffer_ = lowTexture_ = 0;
            return false;
        }
    }
    lowDetail_ = true;
    clipWidth_ = 0;
    bindSurface();
    clear(true, argb, false, 1.0f);
    statesValid_ = false; // point-sampled pictures are at their own size here
    return true;
}

// Depths in the low-detail picture only once something there tests or writes them (nothing the game draws
// among the painted layers does: the menus' pebble is culled instead), and at 16 bits.
void GlBackend::attachLowDepth() {
    if (lowDepth_ || !lowDetail_ || capturing_) return;
    glGenRenderbuffers(1, &lowDepth_);
    glBindRenderbuffer(GL_RENDERBUFFER, lowDepth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, kScreenWidth, kScreenHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, lowDepth_);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_DEPTH_BUFFER_BIT); // a new buffer's depths are undefined
    glEnable(GL_SCISSOR_TEST);
    statesValid_ = false;
}

void GlBackend::endLowDetail() {
    if (!lowDetail_) return;
    if (capturing_) endCapture();
    lowDetail_ = false;
    clipWidth_ = 0;
    bindSurface();
    windowUniform_ = false;
    glUseProgram(stretchProgram_);
    current_ = nullptr;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, lowTexture_);
    glBindSampler(0, 0);
    glUniform1i(uStretchPicture_, 0);
    glBindVertexArray(vertexArray_);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    statesValid_ = false;
}

bool GlBackend::beginCapture(bool coverage) {
    int width = surfaceWidth(), height = surfaceHeight();
    if (!program_ || capturing_ || width <= 0 || height <= 0) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!captureFramebuffer_) glGenFramebuffers(1, &captureFramebuffer_);
    auto makeTexture = [&](GLuint& texture, GLenum format, GLenum layout, GLenum type) {
        if (!texture) glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0); // before the storage: one level of it
        glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, layout, type, nullptr);
    };
    if (coverage) {
        makeTexture(coverageTexture_, GL_R32F, GL_RED, GL_FLOAT);
    } else if (!captureTexture_ || captureWidth_ != width || captureHeight_ != height) {
        makeTexture(captureTexture_, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE);
        captureWidth_ = width;
        captureHeight_ = height;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, captureFramebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           coverage ? coverageTexture_ : captureTexture_, 0);
    statesValid_ = false;
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || glGetError() != GL_NO_ERROR) {
        bindSurface();
        return false;
    }
    capturing_ = true;
    capturingCoverage_ = coverage;
    placeViewport();
    return true;
}

void GlBackend::endCapture() {
    if (!capturing_) return;
    capturing_ = false;
    bindSurface();
    glBlendEquation(GL_FUNC_ADD);
    if (capturingCoverage_) {
        glDeleteTextures(1, &coverageTexture_);
        coverageTexture_ = 0;
        // The coverage is a picture's worth of floats, made only when the still scenery changes: once the
        // rasteriser has let it go, its pages go back to the system instead of staying in the heap.
        glFinish();
        malloc_trim(0);
    }
    capturingCoverage_ = false;
    statesValid_ = false;
}

bool GlBackend::readCoverageRow(int row, float* alpha) {
    if (!capturingCoverage_ || row < 0 || row >= surfaceHeight()) return false;
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, surfaceHeight() - 1 - row, surfaceWidth(), 1, GL_RED, GL_FLOAT, alpha);
    return glGetError() == GL_NO_ERROR;
}

void GlBackend::clipRect(int x, int y, int width, int height) {
    clipX_ = x;
    clipY_ = y;
    clipWidth_ = width;
    clipHeight_ = height;
    placeViewport();
}

void GlBackend::drawCapture() {
    if (!captureTexture_ || capturing_ || captureWidth_ != surfaceWidth() ||
        captureHeight_ != surfaceHeight())
        return;
    glUseProgram(copyProgram_);
    current_ = nullptr;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, captureTexture_);
    glBindSampler(0, 0);
    glUniform1i(uCopyPicture_, 0);
    if (lowDetail_) {
        glUniform2i(uCopyOrigin_, 0, 0);
    } else {
        glUniform2i(uCopyOrigin_, area_.x, area_.drawableHeight - area_.y - area_.height);
        windowUniform_ = false;
    }
    glBindVertexArray(vertexArray_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    statesValid_ = false;
}

void GlBackend::clear(bool color, uint32_t argb, bool depth, float z) {
    bool window = !capturing_ && !lowDetail_;
    if (color && window && clipWidth_ == 0) {
        // The picture area holds one colour already: clearing it to that colour again changes nothing.
        if (windowUniform_ && argb == windowColour_) color = false;
        windowColour_ = argb;
        windowUniform_ = true;
    }
    if (color) {
        glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                     (argb >> 24) / 255.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (depth) {
        attachLowDepth();
        // A clear reaches the whole depth buffer whatever the depth-write state says. Only the picture's
        // depths are ever tested, so the window's are cleared whole (a mark per tile, not a drawn rectangle).
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        bool whole = window && clipWidth_ == 0;
        if (whole) glDisable(GL_SCISSOR_TEST);
        glClear(GL_DEPTH_BUFFER_BIT);
        if (whole) glEnable(GL_SCISSOR_TEST);
        statesValid_ = false;
    }
}

void GlBackend::bindAttributes(uint32_t format, int stride, size_t offset) {
    size_t at = offset;
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(at));
    at += 12;
    if (format & kFormatNormal) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(at));
        at += 12;
    } else {
        glDisableVertexAttribArray(1);
        glVertexAttrib3f(1, 0.0f, 0.0f, -1.0f);
    }
    if (format & kFormatPointSize) at += 4;
    if (format & kFormatDiffuse) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<const void*>(at));
        at += 4;
    } else {
        glDisableVertexAttribArray(2);
        glVertexAttrib4f(2, 1.0f, 1.0f, 1.0f, 1.0f); // no colour: opaque white
    }
    if (format & kFormatSpecular) at += 4;
    if (format & kFormatTex1) {
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(at));
    } else {
        glDisableVertexAttribArray(3);
        glVertexAttrib2f(3, 0.0f, 0.0f);
    }
}

// Each vertex's blend factors: from the quads' own when they differ, else the states' for all.
void GlBackend::bindBlends(const DrawCall& call) {
    int quads = call.vertexCount / 4;
    if (!call.quadBlends || call.buffer || quads <= 0 || quads > kMaxBatchQuads) {
        glDisableVertexAttribArray(4);
        glVertexAttribI4ui(4, quadBlendCode(call.states->srcBlend, call.states->dstBlend), 0, 0, 0);
        return;
    }
    for (int q = 0; q < quads; q++) std::memset(&vertexBlends_[q * 4], call.quadBlends[q], 4);
    size_t bytes = static_cast<size_t>(quads) * 4;
    glBindBuffer(GL_ARRAY_BUFFER, streamBlends_);
    if (streamBlendOffset_ + bytes > kStreamBlendBytes) {
        glBufferData(GL_ARRAY_BUFFER, kStreamBlendBytes, nullptr, GL_STREAM_DRAW);
        streamBlendOffset_ = 0;
    }
    glBufferSubData(GL_ARRAY_BUFFER, streamBlendOffset_, bytes, vertexBlends_);
    glEnableVertexAttribArray(4);
    glVertexAttribIPointer(4, 1, GL_UNSIGNED_BYTE, 1, reinterpret_cast<const void*>(streamBlendOffset_));
    streamBlendOffset_ += (bytes + 15) & ~size_t(15);
}

DrawProgram& GlBackend::drawProgram(int variant) {
    DrawProgram& p = programs_[variant];
    if (!p.program) linkDrawProgram(variant, p);
    return p;
}

bool GlBackend::applyStates(const DrawCall& call) {
    const RenderStates& s = *call.states;
    bool shaderBlend = s.alphaBlend && !capturingCoverage_ && blendsWithoutDestination(s.srcBlend) &&
                       blendsWithoutDestination(s.dstBlend);
    int variant = (s.texture ? kVariantTextured : 0) | (s.alphaTest ? kVariantAlphaTest : 0) |
                  (shaderBlend ? kVariantShaderBlend : 0) |
                  (s.lighting && (call.format & kFormatNormal) ? kVariantLit : 0) |
                  (capturingCoverage_ ? kVariantCoverage : 0);
    DrawProgram& p = drawProgram(variant);
    if (!p.program) return false;
    if (current_ != &p) {
        glUseProgram(p.program);
        current_ = &p;
    }
    if (!p.transformsValid || s.transformSerial != p.transformSerial) {
        glUniformMatrix4fv(p.world, 1, GL_FALSE, glm::value_ptr(call.transforms->world));
        glUniformMatrix4fv(p.view, 1, GL_FALSE, glm::value_ptr(call.transforms->view));
        glUniformMatrix4fv(p.projection, 1, GL_FALSE, glm::value_ptr(call.transforms->projection));
        glUniform3fv(p.lightDirection, 1, glm::value_ptr(call.light->direction));
        glUniform4fv(p.lightDiffuse, 1, glm::value_ptr(call.light->diffuse));
        glUniform4fv(p.lightAmbient, 1, glm::value_ptr(call.light->ambient));
        p.transformSerial = s.transformSerial;
        p.transformsValid = true;
    }
    if (p.appliedAlphaRef != s.alphaRef) {
        glUniform1f(p.alphaRef, s.alphaRef);
        p.appliedAlphaRef = s.alphaRef;
    }
    if (statesValid_ && std::memcmp(&s, &applied_, sizeof s) == 0) return true;
    setFlag(GL_DEPTH_TEST, s.depthTest);
    glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    setFlag(GL_BLEND, s.alphaBlend);
    if (shaderBlend)
        glBlendFunc(GL_ONE, GL_SRC1_COLOR);
    else
        glBlendFunc(blendFactor(s.srcBlend), blendFactor(s.dstBlend));
    if (capturingCoverage_) {
        // Only the largest alpha counts: 1 exactly where a fragment hides what lies beneath.
        glEnable(GL_BLEND);
        glBlendEquation(GL_MAX);
    }
    setFlag(GL_CULL_FACE, s.cullCounterClockwise || s.cullClockwise);
    glCullFace(s.cullClockwise ? GL_FRONT : GL_BACK); // front faces run clockwise
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    bool ownSize = surfaceWidth() == kScreenWidth && surfaceHeight() == kScreenHeight;
    glBindSampler(0, s.linearFilter ? linearSampler_ : ownSize ? pointSampler_ : scaledPointSampler_);
    applied_ = s;
    statesValid_ = true;
    return true;
}

void GlBackend::draw(const DrawCall& call) {
    if (lowDetail_ && !lowDepth_ && call.states && (call.states->depthTest || call.states->depthWrite))
        attachLowDepth();
    if (!program_ || !applyStates(call)) return;
    if (!capturing_ && !lowDetail_) windowUniform_ = false;
    glBindVertexArray(vertexArray_);
    GLenum mode = primitiveMode(call.primitive);
    if (call.buffer) {
        if (call.buffer > kMaxMeshBuffers || !meshes_[call.buffer - 1].vertexBuffer) return;
        const MeshStorage& m = meshes_[call.buffer - 1];
        bindBlends(call);
        glBindBuffer(GL_ARRAY_BUFFER, m.vertexBuffer);
        bindAttributes(call.format, call.stride, 0);
        if (m.indexBuffer) {
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.indexBuffer);
            glDrawElements(mode, call.indexCount, GL_UNSIGNED_SHORT, nullptr);
        } else {
            glDrawArrays(mode, 0, call.vertexCount);
        }
        return;
    }
    bindBlends(call);
    size_t bytes = static_cast<size_t>(call.vertexCount) * call.stride;
    size_t indexBytes = call.indices ? static_cast<size_t>(call.indexCount) * sizeof(uint16_t) : 0;
    if (bytes > kStreamBytes || indexBytes > kStreamIndexBytes) {
        assert(!"draw larger than the vertex stream");
        return;
    }
    // The stream is a ring; starting it over hands the driver fresh storage instead of waiting for it.
    glBindBuffer(GL_ARRAY_BUFFER, streamVertices_);
    if (streamOffset_ + bytes > kStreamBytes) {
        glBufferData(GL_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
        streamOffset_ = 0;
    }
    glBufferSubData(GL_ARRAY_BUFFER, streamOffset_, bytes, call.vertices);
    bindAttributes(call.format, call.stride, streamOffset_);
    streamOffset_ += (bytes + 15) & ~size_t(15);
    if (call.indices) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndices_);
        if (streamIndexOffset_ + indexBytes > kStreamIndexBytes) {
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, kStreamIndexBytes, nullptr, GL_STREAM_DRAW);
            streamIndexOffset_ = 0;
        }
        glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, streamIndexOffset_, indexBytes, call.indices);
        glDrawElements(mode, call.indexCount, GL_UNSIGNED_SHORT,
                       reinterpret_cast<const void*>(streamIndexOffset_));
        streamIndexOffset_ += (indexBytes + 15) & ~size_t(15);
    } else {
        glDrawArrays(mode, 0, call.vertexCount);
    }
}

// Every colour channel of the picture times a factor, saturating: a factor above 1 adds the picture
// times (factor - 1) to itself, at most doubling it per pass; a smaller one multiplies it.
void GlBackend::scaleColours(float factor) {
    glUseProgram(scaleProgram_);
    current_ = nullptr;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBindVertexArray(vertexArray_);
    while (factor > 1.0f + 1e-4f) {
        float step = factor < 2.0f ? factor : 2.0f;
        glBlendFuncSeparate(GL_DST_COLOR, GL_ONE, GL_ZERO, GL_ONE);
        glUniform1f(uScaleFactor_, step - 1.0f);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        factor /= step;
    }
    if (factor < 1.0f - 1e-4f) {
        glBlendFuncSeparate(GL_ZERO, GL_SRC_COLOR, GL_ZERO, GL_ONE);
        glUniform1f(uScaleFactor_, factor);
        glDrawArrays(GL_TRIANGLES, 0, 3);
    }
}

void GlBackend::present(float gammaFactor) {
    if (!program_) return;
    if (gammaFactor != 1.0f) scaleColours(gammaFactor);
    if (swapBuffers) swapBuffers();
    statesValid_ = false;
    current_ = nullptr;
}

bool GlBackend::readPicture(uint8_t* rgba) {
    if (!program_ || area_.width <= 0 || area_.height <= 0) return false;
    std::vector<uint8_t> row(static_cast<size_t>(area_.width) * 4);
    int bottom = area_.drawableHeight - area_.y - area_.height;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int r = 0; r < kScreenHeight; r++) {
        int fromTop = (2 * r + 1) * area_.height / (2 * kScreenHeight);
        glReadPixels(area_.x, bottom + area_.height - 1 - fromTop, area_.width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     row.data());
        for (int c = 0; c < kScreenWidth; c++) {
            int from = (2 * c + 1) * area_.width / (2 * kScreenWidth);
            std::memcpy(rgba + (static_cast<size_t>(r) * kScreenWidth + c) * 4,
                        &row[static_cast<size_t>(from) * 4], 4);
        }
    }
    return glGetError() == GL_NO_ERROR;
}
