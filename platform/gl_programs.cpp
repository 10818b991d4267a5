#include "platform/gl_programs.h"

#include <cstdio>
#include <string>

#include <epoxy/gl.h>

namespace {

const char* kVertexShader = R"(
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 colorBgra;  // the ARGB word's bytes in memory order
layout(location = 3) in vec2 uv;
layout(location = 4) in uint blendCode;  // source factor << 4 | destination factor
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
#ifdef LIT
uniform vec3 lightDirection;
uniform vec4 lightDiffuse;
uniform vec4 lightAmbient;
#endif
out vec4 color;
out vec2 texCoord;
#ifdef SHADER_BLEND
flat out uint blend;
#endif
void main() {
#ifdef SHADER_BLEND
    blend = blendCode;
#endif
    vec4 clip = projection * (view * (world * vec4(position, 1.0)));
    // The game's projections give depth 0..1; OpenGL clips to -1..1.
    clip.z = clip.z * 2.0 - clip.w;
    gl_Position = clip;
    color = colorBgra.zyxw;
#ifdef LIT
    vec3 n = normalize(mat3(world) * normal);
    float facing = max(dot(n, -normalize(lightDirection)), 0.0);
    color.rgb *= clamp(lightAmbient.rgb + lightDiffuse.rgb * facing, 0.0, 1.0);
#endif
    texCoord = uv;
}
)";

// Blending by factors that do not read the picture is done here, with two outputs: the source's part
// (colour times its factor) and the factor of the picture below; the fixed blend then only adds them
// (ONE, SRC1_COLOR). So quads of different blend modes can share a draw, each with its own factors.
const char* kFragmentShader = R"(
in vec4 color;
in vec2 texCoord;
uniform sampler2D picture;
uniform float alphaRef;  // 0..255
#ifdef SHADER_BLEND
flat in uint blend;
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
#else
layout(location = 0) out vec4 fragment;
#endif
void main() {
#ifdef TEXTURED
    vec4 c = color * texture(picture, texCoord);
#else
    vec4 c = color;
#endif
#ifdef ALPHA_TEST
    if (floor(c.a * 255.0 + 0.5) < alphaRef) discard;
#endif
#if defined(COVERAGE)
    fragment = vec4(c.a);
#elif defined(SHADER_BLEND)
    fragment = c * factor(blend >> 4u, c);
    belowFactor = factor(blend & 15u, c);
#else
    fragment = c;
#endif
}
)";

// One triangle covering the viewport.
const char* kCoverVertexShader = R"(
void main() {
    gl_Position = vec4((gl_VertexID & 1) * 4.0 - 1.0, (gl_VertexID & 2) * 2.0 - 1.0, 0.0, 1.0);
}
)";

// One colour, multiplied into the picture by blending.
const char* kFactorFragmentShader = R"(
uniform float factor;
out vec4 fragment;
void main() {
    fragment = vec4(vec3(factor), 1.0);
}
)";

// The captured picture, pixel for pixel: the viewport's pixel at origin + p shows the capture's p.
const char* kCopyFragmentShader = R"(
uniform sampler2D picture;
uniform ivec2 origin;
out vec4 fragment;
void main() {
    fragment = texelFetch(picture, ivec2(gl_FragCoord.xy) - origin, 0);
}
)";

// Two triangles of a strip over the whole viewport, the picture's corners at its corners, filtered.
const char* kStretchVertexShader = R"(
out vec2 texCoord;
void main() {
    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    texCoord = corner;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* kStretchFragmentShader = R"(
in vec2 texCoord;
uniform sampler2D picture;
out vec4 fragment;
void main() {
    fragment = texture(picture, texCoord);
}
)";

GLuint compile(GLenum kind, const std::string& defines, const char* body) {
    std::string source = "#version 330 core\n" + defines + body;
    const char* text = source.c_str();
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &text, nullptr);
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

GLuint link(const std::string& defines, const char* vertexSource, const char* fragmentSource) {
    GLuint vs = compile(GL_VERTEX_SHADER, defines, vertexSource);
    GLuint fs = compile(GL_FRAGMENT_SHADER, defines, fragmentSource);
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

} // namespace

bool linkDrawProgram(int variant, DrawProgram& out) {
    out = DrawProgram();
    std::string defines;
    if (variant & kVariantTextured) defines += "#define TEXTURED\n";
    if (variant & kVariantAlphaTest) defines += "#define ALPHA_TEST\n";
    if (variant & kVariantShaderBlend) defines += "#define SHADER_BLEND\n";
    if (variant & kVariantLit) defines += "#define LIT\n";
    if (variant & kVariantCoverage) defines += "#define COVERAGE\n";
    out.program = link(defines, kVertexShader, kFragmentShader);
    if (!out.program) return false;
    out.world = glGetUniformLocation(out.program, "world");
    out.view = glGetUniformLocation(out.program, "view");
    out.projection = glGetUniformLocation(out.program, "projection");
    out.lightDirection = glGetUniformLocation(out.program, "lightDirection");
    out.lightDiffuse = glGetUniformLocation(out.program, "lightDiffuse");
    out.lightAmbient = glGetUniformLocation(out.program, "lightAmbient");
    out.alphaRef = glGetUniformLocation(out.program, "alphaRef");
    glUseProgram(out.program);
    glUniform1i(glGetUniformLocation(out.program, "picture"), 0);
    return true;
}

uint32_t linkFactorProgram() {
    return link("", kCoverVertexShader, kFactorFragmentShader);
}

uint32_t linkCopyProgram() {
    return link("", kCoverVertexShader, kCopyFragmentShader);
}

uint32_t linkStretchProgram() {
    return link("", kStretchVertexShader, kStretchFragmentShader);
}
