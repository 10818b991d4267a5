#include "platform/gl_backend.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include <epoxy/gl.h>
#include <glm/gtc/type_ptr.hpp>

#include "platform/limits.h"

GlBackend glBackend;

namespace {

const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 colorBgra;  // the ARGB word's bytes in memory order
layout(location = 3) in vec2 uv;
layout(location = 4) in uint blendCode;  // source factor << 4 | destination factor
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
uniform bool lit;
uniform vec3 lightDirection;
uniform vec4 lightDiffuse;
uniform vec4 lightAmbient;
out vec4 color;
out vec2 texCoord;
flat out uint blend;
void main() {
    blend = blendCode;
    vec4 clip = projection * (view * (world * vec4(position, 1.0)));
    // The game's projections give depth 0..1; OpenGL clips to -1..1.
    clip.z = clip.z * 2.0 - clip.w;
    gl_Position = clip;
    color = colorBgra.zyxw;
    if (lit) {
        vec3 n = normalize(mat3(world) * normal);
        float facing = max(dot(n, -normalize(lightDirection)), 0.0);
        color.rgb *= clamp(lightAmbient.rgb + lightDiffuse.rgb * facing, 0.0, 1.0);
    }
    texCoord = uv;
}
)";

// Blending by factors that do not read the picture is done here, with two outputs: the source's part
// (colour times its factor) and the factor of the picture below; the fixed blend then only adds them
// (ONE, SRC1_COLOR). So quads of different blend modes can share a draw, each with its own factors.
const char* kFragmentShader = R"(#version 330 core
in vec4 color;
in vec2 texCoord;
flat in uint blend;
uniform sampler2D picture;
uniform bool hasTexture;
uniform bool alphaTest;
uniform float alphaRef;  // 0..255
uniform bool shaderBlend;
uniform bool coverageOnly;  // every channel is the fragment's alpha
layout(location = 0, index = 0) out vec4 fragment;
layout(location = 0, index = 1) out vec4 belowFactor;
vec4 factor(uint f, vec4 c) {
    if (f == 0u) return vec4(0.0);
    if (f == 1u) return vec4(1.0);
    if (f == 2u) return c;
    if (f == 3u) return vec4(1.0) - c;
    if (f == 4u) return vec4(c.a);
    return vec4(1.0 - c.a);
}
void main() {
    vec4 c = hasTexture ? color * texture(picture, texCoord) : color;
    if (alphaTest && floor(c.a * 255.0 + 0.5) < alphaRef) discard;
    if (shaderBlend) {
        fragment = c * factor(blend >> 4u, c);
        belowFactor = factor(blend & 15u, c);
    } else {
        fragment = c;
        belowFactor = vec4(0.0);
    }
    if (coverageOnly) fragment = vec4(c.a);
}
)";

// One triangle covering the viewport, in one colour: multiplied into the picture by blending.
const char* kCoverVertexShader = R"(#version 330 core
void main() {
    gl_Position = vec4((gl_VertexID & 1) * 4.0 - 1.0, (gl_VertexID & 2) * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* kFactorFragmentShader = R"(#version 330 core
uniform float factor;
out vec4 fragment;
void main() {
    fragment = vec4(vec3(factor), 1.0);
}
)";

// The captured picture, pixel for pixel: the viewport's pixel at origin + p shows the capture's p.
const char* kCopyFragmentShader = R"(#version 330 core
uniform sampler2D picture;
uniform ivec2 origin;
out vec4 fragment;
void main() {
    fragment = texelFetch(picture, ivec2(gl_FragCoord.xy) - origin, 0);
}
)";

GLuint compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "shader: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint link(const char* vertexSource, const char* fragmentSource) {
    GLuint vs = compile(GL_VERTEX_SHADER, vertexSource), fs = compile(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = 0;
    if (vs && fs) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            char log[1024];
            glGetProgramInfoLog(program, sizeof log, nullptr, log);
            std::fprintf(stderr, "shader program: %s\n", log);
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return program;
}

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
    program_ = link(kVertexShader, kFragmentShader);
    scaleProgram_ = link(kCoverVertexShader, kFactorFragmentShader);
    copyProgram_ = link(kCoverVertexShader, kCopyFragmentShader);
    if (!program_ || !scaleProgram_ || !copyProgram_) {
        shutdown();
        return false;
    }
    uWorld_ = glGetUniformLocation(program_, "world");
    uView_ = glGetUniformLocation(program_, "view");
    uProjection_ = glGetUniformLocation(program_, "projection");
    uLit_ = glGetUniformLocation(program_, "lit");
    uLightDirection_ = glGetUniformLocation(program_, "lightDirection");
    uLightDiffuse_ = glGetUniformLocation(program_, "lightDiffuse");
    uLightAmbient_ = glGetUniformLocation(program_, "lightAmbient");
    uHasTexture_ = glGetUniformLocation(program_, "hasTexture");
    uAlphaTest_ = glGetUniformLocation(program_, "alphaTest");
    uAlphaRef_ = glGetUniformLocation(program_, "alphaRef");
    uTexture_ = glGetUniformLocation(program_, "picture");
    uShaderBlend_ = glGetUniformLocation(program_, "shaderBlend");
    uCoverageOnly_ = glGetUniformLocation(program_, "coverageOnly");
    uScaleFactor_ = glGetUniformLocation(scaleProgram_, "factor");
    uCopyOrigin_ = glGetUniformLocation(copyProgram_, "origin");
    uCopyPicture_ = glGetUniformLocation(copyProgram_, "picture");

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
    transformsValid_ = false;
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
    if (program_) glDeleteProgram(program_);
    if (scaleProgram_) glDeleteProgram(scaleProgram_);
    if (copyProgram_) glDeleteProgram(copyProgram_);
    if (captureFramebuffer_) glDeleteFramebuffers(1, &captureFramebuffer_);
    if (captureTexture_) glDeleteTextures(1, &captureTexture_);
    if (coverageTexture_) glDeleteTextures(1, &coverageTexture_);
    captureFramebuffer_ = captureTexture_ = coverageTexture_ = 0;
    captureWidth_ = captureHeight_ = 0;
    capturing_ = capturingCoverage_ = false;
    pointSampler_ = scaledPointSampler_ = linearSampler_ = 0;
    streamVertices_ = streamIndices_ = streamBlends_ = vertexArray_ = program_ = scaleProgram_ = 0;
    copyProgram_ = 0;
    statesValid_ = transformsValid_ = false;
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
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, mipLevels > 1 ? mipLevels - 1 : 0);
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
    int bottom = area.drawableHeight - area.y - area.height; // OpenGL counts rows from the bottom
    // The bars: whatever an earlier frame or another size left there becomes black.
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    auto bar = [](int x, int y, int width, int height) {
        if (width <= 0 || height <= 0) return;
        glScissor(x, y, width, height);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    bar(0, 0, area.x, area.drawableHeight);
    bar(area.x + area.width, 0, area.drawableWidth - area.x - area.width, area.drawableHeight);
    bar(area.x, 0, area.width, bottom);
    bar(area.x, bottom + area.height, area.width, area.drawableHeight - bottom - area.height);
    clipWidth_ = 0;
    placeViewport();
    statesValid_ = false; // the sampler of point-sampled pictures depends on the scale
}

void GlBackend::placeViewport() {
    int x = capturing_ ? 0 : area_.x;
    int bottom = capturing_ ? 0 : area_.drawableHeight - area_.y - area_.height;
    glViewport(x, bottom, area_.width, area_.height);
    if (clipWidth_ > 0)
        glScissor(x + clipX_, bottom + area_.height - clipY_ - clipHeight_, clipWidth_, clipHeight_);
    else
        glScissor(x, bottom, area_.width, area_.height);
}

bool GlBackend::beginCapture(bool coverage) {
    if (!program_ || capturing_ || area_.width <= 0 || area_.height <= 0) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!captureFramebuffer_) glGenFramebuffers(1, &captureFramebuffer_);
    auto makeTexture = [&](GLuint& texture, GLenum format, GLenum layout, GLenum type) {
        if (!texture) glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, format, area_.width, area_.height, 0, layout, type, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    };
    if (coverage) {
        makeTexture(coverageTexture_, GL_R32F, GL_RED, GL_FLOAT);
    } else if (!captureTexture_ || captureWidth_ != area_.width || captureHeight_ != area_.height) {
        makeTexture(captureTexture_, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE);
        captureWidth_ = area_.width;
        captureHeight_ = area_.height;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, captureFramebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           coverage ? coverageTexture_ : captureTexture_, 0);
    statesValid_ = false;
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || glGetError() != GL_NO_ERROR) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return false;
    }
    capturing_ = true;
    capturingCoverage_ = coverage;
    glUseProgram(program_);
    glUniform1i(uCoverageOnly_, coverage ? 1 : 0);
    placeViewport();
    return true;
}

void GlBackend::endCapture() {
    if (!capturing_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBlendEquation(GL_FUNC_ADD);
    if (capturingCoverage_) {
        glDeleteTextures(1, &coverageTexture_);
        coverageTexture_ = 0;
        glUseProgram(program_);
        glUniform1i(uCoverageOnly_, 0);
    }
    capturing_ = capturingCoverage_ = false;
    placeViewport();
    statesValid_ = false;
}

bool GlBackend::readCoverageRow(int row, float* alpha) {
    if (!capturingCoverage_ || row < 0 || row >= area_.height) return false;
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, area_.height - 1 - row, area_.width, 1, GL_RED, GL_FLOAT, alpha);
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
    if (!captureTexture_ || capturing_ || captureWidth_ != area_.width || captureHeight_ != area_.height)
        return;
    glUseProgram(copyProgram_);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, captureTexture_);
    glBindSampler(0, 0);
    glUniform1i(uCopyPicture_, 0);
    glUniform2i(uCopyOrigin_, area_.x, area_.drawableHeight - area_.y - area_.height);
    glBindVertexArray(vertexArray_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    statesValid_ = false;
}

void GlBackend::clear(bool color, uint32_t argb, bool depth, float z) {
    GLbitfield mask = 0;
    if (color) {
        glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                     (argb >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depth) {
        // A clear reaches the whole depth buffer whatever the depth-write state says.
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
        statesValid_ = false;
    }
    if (mask) glClear(mask);
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

void GlBackend::applyStates(const DrawCall& call) {
    const RenderStates& s = *call.states;
    glUseProgram(program_);
    if (!transformsValid_ || s.transformSerial != appliedSerial_) {
        glUniformMatrix4fv(uWorld_, 1, GL_FALSE, glm::value_ptr(call.transforms->world));
        glUniformMatrix4fv(uView_, 1, GL_FALSE, glm::value_ptr(call.transforms->view));
        glUniformMatrix4fv(uProjection_, 1, GL_FALSE, glm::value_ptr(call.transforms->projection));
        glUniform3fv(uLightDirection_, 1, glm::value_ptr(call.light->direction));
        glUniform4fv(uLightDiffuse_, 1, glm::value_ptr(call.light->diffuse));
        glUniform4fv(uLightAmbient_, 1, glm::value_ptr(call.light->ambient));
        appliedSerial_ = s.transformSerial;
        transformsValid_ = true;
    }
    glUniform1i(uLit_, s.lighting && (call.format & kFormatNormal) ? 1 : 0);
    if (statesValid_ && std::memcmp(&s, &applied_, sizeof s) == 0) return;
    setFlag(GL_DEPTH_TEST, s.depthTest);
    glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
    setFlag(GL_BLEND, s.alphaBlend);
    bool shaderBlend =
        s.alphaBlend && blendsWithoutDestination(s.srcBlend) && blendsWithoutDestination(s.dstBlend);
    if (shaderBlend)
        glBlendFunc(GL_ONE, GL_SRC1_COLOR);
    else
        glBlendFunc(blendFactor(s.srcBlend), blendFactor(s.dstBlend));
    glUniform1i(uShaderBlend_, shaderBlend ? 1 : 0);
    if (capturingCoverage_) {
        // Only the largest alpha counts: 1 exactly where a fragment hides what lies beneath.
        glEnable(GL_BLEND);
        glBlendEquation(GL_MAX);
    }
    setFlag(GL_CULL_FACE, s.cullCounterClockwise);
    glUniform1i(uAlphaTest_, s.alphaTest);
    glUniform1f(uAlphaRef_, s.alphaRef);
    glUniform1i(uHasTexture_, s.texture != 0);
    glUniform1i(uTexture_, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    bool ownSize = area_.width == kScreenWidth && area_.height == kScreenHeight;
    glBindSampler(0, s.linearFilter ? linearSampler_ : ownSize ? pointSampler_ : scaledPointSampler_);
    applied_ = s;
    statesValid_ = true;
}

void GlBackend::draw(const DrawCall& call) {
    if (!program_) return;
    applyStates(call);
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
    transformsValid_ = false;
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
