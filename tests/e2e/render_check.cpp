// End-to-end check of the render layer in a real window: text, sprites in the three blend modes, a
// picture with an alpha plane, a padded full-view picture and a lightning bolt, drawn through the
// OpenGL backend. Checks pixels of the finished picture, saves it as a PNG and keeps the window up for
// a moment so that a screenshot of the screen can be taken.
//
// Usage: e2e_render_check OUTPUT.png [HOLD-MS [GAME-DATA.png]]. With the third argument it also draws
// the built game data (archives of the Data folder beside it): both fonts, balls, the highlight and the
// flare, and saves that picture too. Exit code 0 when every check passes.
#include <SDL.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_EASY_FONT_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_easy_font.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include "app/overlay.h"
#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/lightning.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/text_effects.h"
#include "engine/texture.h"
#include "platform/folders.h"
#include "platform/gl_backend.h"
#include "platform/message_box.h"
#include "visuals/mesh.h"
#include "visuals/scenery.h"
#include "visuals/scenery_cache.h"

namespace {

SDL_Window* window = nullptr;
int failures = 0;

void check(bool ok, const char* what) {
    std::printf("  %s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) failures++;
}

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

void registerBytes(const char* name, const std::vector<uint8_t>& bytes) {
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(bytes.size() + 1));
    std::memcpy(copy, bytes.data(), bytes.size());
    registerFile(name, static_cast<int>(bytes.size()), copy, true);
}

std::vector<uint8_t> tga(int w, int h, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_tga_to_func(append, &out, w, h, 4, rgba.data());
    return out;
}

std::vector<uint8_t> jpeg(int w, int h, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(append, &out, w, h, 4, rgba.data(), 95);
    return out;
}

// A round sprite: solid colour inside the circle, transparent outside.
std::vector<uint8_t> ball(int size, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgba(size * size * 4, 0);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
            float d = std::sqrt(dx * dx + dy * dy) / (size / 2.0f);
            uint8_t* p = &rgba[(y * size + x) * 4];
            p[0] = r, p[1] = g, p[2] = b;
            p[3] = d < 0.95f ? 255 : 0;
        }
    return rgba;
}

// A soft glow: white fading out from the centre, in the colour channels.
std::vector<uint8_t> glow(int size) {
    std::vector<uint8_t> rgba(size * size * 4, 255);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
            float v = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) / (size / 2.0f));
            uint8_t* p = &rgba[(y * size + x) * 4];
            p[0] = p[1] = p[2] = static_cast<uint8_t>(255 * v);
        }
    return rgba;
}

// A 512 x 512 font of 16 x 16 cells made from stb's easy font, three times its size, centred in the
// cells; the metrics give each character its ink width in texels of the 512-wide texture.
void makeFont(const char* base) {
    const int cell = 32, side = 512;
    std::vector<uint8_t> rgba(side * side * 4, 0);
    std::vector<uint8_t> dat(kFontFileBytes, 0);
    dat[0] = 16;
    static char quads[64 * 1024];
    for (int c = 32; c < 127; c++) {
        char s[2] = {static_cast<char>(c), 0};
        int width = stb_easy_font_width(s) * 3;
        int count = stb_easy_font_print(0, 0, s, nullptr, quads, sizeof quads);
        int cx = (c % 16) * cell + (cell - width) / 2, cy = (c / 16) * cell + 5;
        for (int q = 0; q < count; q++) {
            const float* v = reinterpret_cast<const float*>(quads + q * 64); // 4 vertices of 16 bytes
            int x0 = static_cast<int>(v[0] * 3), y0 = static_cast<int>(v[1] * 3);
            int x1 = static_cast<int>(v[8] * 3), y1 = static_cast<int>(v[9] * 3);
            for (int y = y0; y < y1; y++)
                for (int x = x0; x < x1; x++) {
                    int px = cx + x, py = cy + y;
                    if (px < 0 || py < 0 || px >= side || py >= side) continue;
                    uint8_t* p = &rgba[(py * side + px) * 4];
                    p[0] = p[1] = p[2] = p[3] = 255;
                }
        }
        dat[4 + c] = static_cast<uint8_t>(width + 3);
        dat[260 + c] = static_cast<uint8_t>(c);
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s.tga", base);
    registerBytes(name, tga(side, side, rgba));
    std::snprintf(name, sizeof name, "%s.dat", base);
    registerBytes(name, dat);
}

void makePictures() {
    registerBytes("ball.tga", tga(64, 64, ball(64, 255, 140, 0)));
    registerBytes("late.tga", tga(64, 64, ball(64, 40, 80, 255)));
    // The star: a JPEG of a green square followed by an alpha plane shaped like a diamond.
    std::vector<uint8_t> green(64 * 64 * 4, 0);
    for (int i = 0; i < 64 * 64; i++) green[i * 4 + 1] = 220, green[i * 4 + 3] = 255;
    std::vector<uint8_t> star = jpeg(64, 64, green);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) star.push_back(std::abs(x - 32) + std::abs(y - 32) < 30 ? 255 : 0);
    registerBytes("_a_star.jpg", star);
    registerBytes("flare.jpg", jpeg(64, 64, glow(64)));
    registerBytes("podsvet.jpg", jpeg(64, 64, glow(64)));
    // The background: 800 x 600, blue to purple from left to right, to be padded to 1024 x 1024.
    std::vector<uint8_t> back(800 * 600 * 4);
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            uint8_t* p = &back[(y * 800 + x) * 4];
            p[0] = static_cast<uint8_t>(20 + x * 60 / 800), p[1] = 30,
            p[2] = static_cast<uint8_t>(70 + y * 40 / 600);
            p[3] = 255;
        }
    registerBytes("back.jpg", jpeg(800, 600, back));
    makeFont("font");
}

struct Pixel {
    int r, g, b;
};

void drawableSize(int* width, int* height) {
    SDL_GL_GetDrawableSize(window, width, height);
}

// When set, the next swap first reads the whole window (RGBA, rows from the top) into it.
std::vector<uint8_t>* windowCapture = nullptr;
int captureWidth = 0, captureHeight = 0;

void swapBuffers() {
    if (windowCapture) {
        SDL_GL_GetDrawableSize(window, &captureWidth, &captureHeight);
        windowCapture->assign(static_cast<size_t>(captureWidth) * captureHeight * 4, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, captureWidth, captureHeight, GL_RGBA, GL_UNSIGNED_BYTE, windowCapture->data());
        windowCapture = nullptr;
    }
    SDL_GL_SwapWindow(window);
}

// A pixel of the captured window, y from the top.
Pixel windowPixel(const std::vector<uint8_t>& capture, int x, int y) {
    const uint8_t* p = &capture[(static_cast<size_t>(captureHeight - 1 - y) * captureWidth + x) * 4];
    return {p[0], p[1], p[2]};
}

void drawScene(bool everything);

// Resizes the window and lets it settle; false when it did not take the size.
bool resizeWindow(int width, int height) {
    SDL_SetWindowSize(window, width, height);
    for (int i = 0; i < 20; i++) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        SDL_Delay(10);
    }
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    if (w != width || h != height)
        std::printf("  (the window stayed %i x %i, not %i x %i)\n", w, h, width, height);
    return w == width && h == height;
}

// The window made wider and taller than the picture: the picture is drawn into the largest centred 4:3
// rectangle at the window's own pixels, with black bars, and the gamma factor brightens it.
void checkScaledPresent() {
    std::vector<uint8_t> plain, bright;
    if (resizeWindow(1000, 700)) {
        drawScene(true);
        windowCapture = &plain;
        presentFrame();
        setGamma(0.7f); // factor 1.2
        drawScene(true);
        windowCapture = &bright;
        presentFrame();
        setGamma(0.5f);
        // Scale 700 / 600: the picture is 933 x 700 from x = 33.
        Pixel bar = windowPixel(plain, 10, 350), ball = windowPixel(plain, 33 + 450 * 7 / 6, 150 * 7 / 6);
        check(bar.r == 0 && bar.g == 0 && bar.b == 0,
              "scaled presenting leaves black bars beside the picture");
        check(ball.r > 240 && ball.g > 120 && ball.g < 160, "and scales the picture into the middle");
        Pixel plainBack = windowPixel(plain, 500, 40), brightBack = windowPixel(bright, 500, 40);
        check(std::abs(brightBack.r - plainBack.r * 6 / 5) <= 2 &&
                  std::abs(brightBack.b - plainBack.b * 6 / 5) <= 2,
              "the gamma factor multiplies the presented picture");
    }
    // Taller than wide: bars above and below; the picture 800 x 600 from y = 80, the right way up.
    if (resizeWindow(800, 760)) {
        drawScene(true);
        windowCapture = &plain;
        presentFrame();
        Pixel above = windowPixel(plain, 400, 40), below = windowPixel(plain, 400, 720);
        Pixel ball = windowPixel(plain, 450, 80 + 150), under = windowPixel(plain, 450, 80 + 450);
        check(above.r + above.g + above.b == 0 && below.r + below.g + below.b == 0,
              "a taller window has black bars above and below the picture");
        check(ball.r > 240 && ball.g > 120 && ball.g < 160 && !(under.r > 240 && under.g > 120),
              "and the picture between them the right way up");
    }
    resizeWindow(800, 600);
}

// A pixel of the picture at screen-space coordinates.
Pixel at(const std::vector<uint8_t>& picture, float x, float y) {
    int px = static_cast<int>(x + 400), py = static_cast<int>(300 - y);
    const uint8_t* p = &picture[(py * 800 + px) * 4];
    return {p[0], p[1], p[2]};
}

void drawScene(bool everything) {
    clearColor(0xFF101020);
    clearDepth(1.0f);
    beginScene();
    begin2D();
    setTexture(findTexture("back.jpg"));
    drawRect(-400, 300, 400, -300, kWholeTexture, 0xFFFFFFFF);
    if (everything) {
        Texture* b = getTexture("ball.tga");
        setTexture(b);
        setBlendMode(kBlendNormal);
        drawCentered(-250, 150, 100, 100, kWholeTexture, 0xFFFFFFFF);
        setBlendMode(kBlendAdditive);
        drawCentered(-100, 150, 100, 100, kWholeTexture, 0xFFFFFFFF);
        setBlendMode(kBlendOpaque);
        drawCentered(50, 150, 100, 100, kWholeTexture, 0xFFFFFFFF);
        // A picture first asked for in the middle of a frame must not change what the next draw uses.
        setBlendMode(kBlendNormal);
        setTexture(b);
        drawCentered(-340, 240, 30, 30, kWholeTexture, 0xFFFFFFFF);
        flushBatch();
        Texture* late = getTexture("late.tga");
        drawCentered(-300, 240, 30, 30, kWholeTexture, 0xFFFFFFFF);
        setTexture(late);
        drawCentered(-260, 240, 30, 30, kWholeTexture, 0xFFFFFFFF);
        setTexture(getTexture("star.tga"));
        drawRotated(220, 150, 220, 150, 30, 100, 100, kWholeTexture, 0xFFFFFFFF);
        drawRotated(330, 150, 330, 150, 0, 60, 60, kWholeTexture, 0x80FFFFFF);

        setTextColor(0xFFFFFFFF);
        drawText(-380, 60, 14, "PEBBLECRAFT RENDER CHECK 0123456789");
        setTextColor(255, 230, 120, 255);
        drawTextCentered(0, 10, 18, "CENTRED TEXT\r\nON TWO LINES");
        drawTextHighlighted(-200, -60, 14, 0xFF4060FF, "HIGHLIGHTED", true);
        setTextColor(0xFFFFFFFF);
        drawBottomMessage();

        addLightning({-350, -160, 10}, {350, -110, 10}, 20, 1.5f, 8, 12, 0xFFFFFFFF, 0x806080FF);
        drawLightning();
    }
    drawOverlay(true);
    endScene();
    if (Texture* late = findTexture("late.tga")) releaseTexture(late); // made again in the next frame
}

// A clear to the colour the picture already has is skipped only while nothing was drawn since: a sprite
// drawn between two clears of one colour is gone after the second.
void checkRepeatedClear() {
    std::vector<uint8_t> picture(800 * 600 * 4);
    clearColor(0xFF204060);
    begin2D();
    setTexture(getTexture("ball.tga"));
    drawCentered(0, 0, 200, 200, kWholeTexture, 0xFFFFFFFF);
    clearColor(0xFF204060);
    endScene();
    glBackend.readPicture(picture.data());
    presentFrame();
    Pixel centre = at(picture, 0, 0);
    check(centre.r == 0x20 && centre.g == 0x40 && centre.b == 0x60,
          "a second clear of the same colour clears what was drawn in between");
}

// The menus' landscape drawn through the captured still layers equals drawing every layer, pixel for
// pixel, at the picture's own size and at a larger one with bars: the first frame draws every layer,
// the second makes the captures and uses them, the third uses them again.
void checkSceneryCapture() {
    loadScenery();
    setSceneryForMenus();
    for (int size = 0; size < 2; size++) {
        if (!resizeWindow(size ? 1000 : 800, size ? 700 : 600)) continue;
        std::vector<uint8_t> frames[3];
        int rects = 0;
        forgetSceneryCapture();
        for (auto& frame : frames) {
            app.runTimeMs = 5000.0f; // the sky and the water where they were
            app.frameTimeMs = 0.0f;
            clearColor(0xFF000000u);
            begin2D();
            setSceneryMenuFade(1.0f);
            drawScenery();
            rects = sceneryCaptureRects();
            windowCapture = &frame;
            presentFrame();
        }
        int differing = 0;
        for (size_t i = 0; i < frames[0].size(); i++)
            differing += frames[0][i] != frames[1][i] || frames[0][i] != frames[2][i];
        std::printf("  (%i x %i: %i rectangles, %i bytes differ)\n", size ? 1000 : 800, size ? 700 : 600,
                    rects, differing);
        check(rects > 0 && !frames[0].empty() && differing == 0,
              "the landscape through its captured still layers equals every layer drawn");
        // Under a covered rectangle the landscape may be left unfilled; everywhere else it is the same.
        std::vector<uint8_t> covered;
        clearColor(0xFFFF00FFu);
        begin2D();
        setSceneryMenuFade(1.0f);
        setSceneryCovered(-250, 150, 100, -120);
        drawScenery();
        windowCapture = &covered;
        presentFrame();
        int outside = 0, inside = 0;
        int width = size ? 1000 : 800, height = size ? 700 : 600;
        int barX = size ? (1000 - 700 * 4 / 3) / 2 : 0;
        float scale = static_cast<float>(height) / 600; // the picture area's pixels a unit
        for (int y = 0; y < height && !covered.empty(); y++)
            for (int x = 0; x < width; x++) {
                // Rows come from the bottom.
                float ux = (x + 0.5f - barX) / scale - 400, uy = (y + 0.5f) / scale - 300;
                bool under = ux > -250 - 2 && ux < 100 + 2 && uy < 150 + 2 && uy > -120 - 2;
                size_t i = (static_cast<size_t>(y) * width + x) * 4;
                bool same = std::memcmp(&covered[i], &frames[0][i], 3) == 0;
                (under ? inside : outside) += !same;
            }
        std::printf("  (%i x %i covered: %i pixels differ outside, %i inside)\n", width, height, outside,
                    inside);
        check(!covered.empty() && outside == 0 && inside > 0,
              "the landscape under a covered rectangle is left unfilled and the rest is unchanged");
    }
    resizeWindow(800, 600);
}

// The menus' pebble is drawn with its far faces culled and no depths (the game's window has none); with
// depths and both sides drawn it looks the same, at any turn.
void checkPebbleWithoutDepths() {
    MeshObject* pebble = scenery.ornament;
    check(pebble != nullptr, "the menus' pebble loads");
    if (!pebble) return;
    int stonePixels = 0, differing = 0;
    for (int turn = 0; turn < 6; turn++) {
        std::vector<uint8_t> culled, depths;
        app.runTimeMs = turn * 1700.0f;
        clearColor(0xFF000000u);
        begin2D();
        drawMenuOrnament();
        windowCapture = &culled;
        presentFrame();
        // The same pebble under the light the ornament set, drawn with depths and both sides.
        clearColor(0xFF000000u);
        begin2D();
        setRenderState(kPresetProjection, false);
        setView(nullptr);
        clearDepth(1.0f);
        setRenderState(kPresetDepthTest, true);
        setRenderState(kPresetDepthWrite, true);
        setRenderState(kPresetLighting, true);
        setCulling(false);
        drawMeshObject(*pebble);
        setRenderState(kPresetLighting, false);
        setRenderState(kPresetDepthWrite, false);
        setRenderState(kPresetProjection, true);
        windowCapture = &depths;
        presentFrame();
        for (size_t i = 0; i + 3 < culled.size() && culled.size() == depths.size(); i += 4) {
            stonePixels += depths[i] + depths[i + 1] + depths[i + 2] > 0;
            differing += std::abs(culled[i] - depths[i]) + std::abs(culled[i + 1] - depths[i + 1]) +
                             std::abs(culled[i + 2] - depths[i + 2]) >
                         6;
        }
    }
    std::printf("  (pebble: %i pixels of stone, %i differ)\n", stonePixels, differing);
    check(stonePixels > 6 * 500 && differing <= stonePixels / 500,
          "the pebble with its far faces culled looks as it does drawn with depths");
}

// The game's own pictures and fonts from the built archives.
void drawGameData(const char* output) {
    std::printf("game data\n");
    releaseAllTextures();
    resetFileRegistry();
    resetText();
    loadArchive("targa.dat");
    loadArchive("jpeg.dat");
    loadArchive("texts.dat");
    checkSceneryCapture();
    checkPebbleWithoutDepths();
    check(findFile("font.dat") && findFile("font2.dat"), "the built archives hold both fonts");
    if (!findFile("font.dat")) return;
    loadFont("font", 1.0f, 0.9f);
    loadFont("font2", 1.2f, 0.75f);
    check(text.fonts.size() == 2, "both fonts load");
    std::vector<uint8_t> picture(800 * 600 * 4);
    for (int frame = 0; frame < 3; frame++) {
        clearColor(0xFF203040);
        clearDepth(1.0f);
        begin2D();
        // As the game scene draws its board: the view moved 50 units along the line of sight, no culling.
        glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 50.0f));
        setView(&view);
        setCulling(false);
        setTexture(getTexture("menumap.jpg", false));
        drawRect(-400, 300, 400, -300, kWholeTexture, 0xFF808080);
        for (int i = 0; i < 8; i++) {
            char name[16];
            std::snprintf(name, sizeof name, "bal%.2i.tga", i);
            drawBillboard2D(getTexture("shadow.tga"), -300 + i * 80 - 2, 200 - 3, 180, 24, 0x80FFFFFF);
            drawBillboard2D(getTexture(name), -300 + i * 80 + 2, 200 + 3, 0, 18, 0xFFFFFFFF);
        }
        selectFont(0);
        setTextColor(0xFFFFFFFF);
        drawText(-380, 130, 16, "font: The quick brown fox jumps over the lazy dog 0123456789");
        selectFont(1);
        drawText(-380, 90, 16, "font2: The quick brown fox jumps over the lazy dog 0123456789");
        setTextColor(255, 255, 155, 255);
        float height = wrapText(300,
                                "Wrapped text: three or more balls of one colour in a row, a column or a "
                                "diagonal are removed and score.",
                                14);
        drawTextCentered(0, 30, 14, text.wrapBuffer);
        setTextColor(0xFFFFFFFF);
        drawTextHighlighted(0, 30 - height - 20, 18, 0xFF60A0FF, "Highlighted", true);
        addLightning({-350, -200, 10}, {350, -150, 10}, 15, 1.5f, 10, 10, 0xFFFFFFFF, 0x806080FF);
        drawLightning();
        drawOverlay(true);
        endScene();
        if (frame == 2) glBackend.readPicture(picture.data());
        presentFrame();
    }
    int textPixels = 0;
    for (int y = 80; y < 140; y++)
        for (int x = -380; x < 300; x++) textPixels += at(picture, x, y).r > 230 && at(picture, x, y).g > 230;
    check(textPixels > 1000, "the game's fonts draw text");
    int ballPixels = 0;
    for (int i = 0; i < 8; i++) {
        Pixel p = at(picture, -300 + i * 80 + 2, 203);
        ballPixels += std::abs(p.r - p.g) + std::abs(p.g - p.b) > 60 || p.r + p.g + p.b > 600;
    }
    check(ballPixels >= 7, "the game's balls are drawn in their colours");
    check(stbi_write_png(output, 800, 600, 4, picture.data(), 800 * 4) != 0,
          "the game-data picture is saved");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [HOLD-MS]\n", argv[0]);
        return 2;
    }
    int holdMs = argc > 2 ? std::atoi(argv[2]) : 0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "render check needs a display: %s\n", SDL_GetError());
        return 2;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window = SDL_CreateWindow("Pebblecraft render check", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800,
                              600, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "no OpenGL 3.3 core context: %s\n", SDL_GetError());
        return 2;
    }
    messageBoxes.useWindow = false;
    check(glBackend.init(), "the OpenGL backend starts");
    if (failures) return 1;
    glBackend.swapBuffers = swapBuffers;
    resetRender();
    createDisplay(&glBackend);
    render.drawableSize = drawableSize;
    setPerspective(800, 600);
    buildSqrtTables();

    makePictures();
    check(loadPictureSized("back.jpg", 800, 600)->width == 800,
          "the background is a texture of its own size");
    loadFont("font", 1.0f, 0.9f);
    std::strcpy(app.fpsText, "60.0 FPS");

    std::vector<uint8_t> backgroundOnly(800 * 600 * 4), picture(800 * 600 * 4);
    drawScene(false);
    glBackend.readPicture(backgroundOnly.data());
    presentFrame();

    bottomMessage("BOTTOM MESSAGE");
    for (int frame = 0; frame < 30; frame++) {
        app.frameTimeMs = 16.0f;
        app.runTimeMs += 16.0f;
        drawScene(true);
        if (frame == 29) glBackend.readPicture(picture.data());
        presentFrame();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    // The same frame once more with every quad drawn on its own: batching must not change a pixel.
    std::vector<uint8_t> unbatched(800 * 600 * 4), batched(800 * 600 * 4);
    app.frameTimeMs = 0.0f; // the bottom message stands still
    presentationRandom.seed(77);
    drawScene(true);
    glBackend.readPicture(batched.data());
    int batchedCalls = render.drawCalls;
    presentFrame();
    render.batching = false;
    presentationRandom.seed(77);
    drawScene(true);
    glBackend.readPicture(unbatched.data());
    int unbatchedCalls = render.drawCalls;
    presentFrame();
    render.batching = true;
    std::printf("  (%i draw calls batched, %i unbatched)\n", batchedCalls, unbatchedCalls);
    check(unbatchedCalls > 3 * batchedCalls, "batching gathers the quads into far fewer draws");
    int differing = 0;
    for (size_t i = 0; i < batched.size(); i++) differing += batched[i] != unbatched[i];
    if (differing) std::printf("  (%i bytes differ)\n", differing);
    check(differing == 0, "the batched picture equals the unbatched one pixel for pixel");

    Pixel back = at(backgroundOnly, 0, 200), corner = at(backgroundOnly, -395, 295);
    check(back.r > 35 && back.r < 70 && back.b > 60 && back.b < 130, "the padded background fills the view");
    check(corner.r < 35 && corner.b > 60, "its left edge shows the picture's left edge");
    Pixel normal = at(picture, -250, 150), opaque = at(picture, 50, 150);
    check(normal.r > 240 && normal.g > 120 && normal.g < 160 && normal.b < 20,
          "a normally blended sprite shows its colour");
    check(opaque.r > 240 && opaque.g > 120 && opaque.g < 160 && opaque.b < 20,
          "an opaque sprite replaces the picture");
    Pixel opaqueCorner = at(picture, 50 + 48, 150 + 48), under = at(backgroundOnly, 50 + 48, 150 + 48);
    check(std::abs(opaqueCorner.b - under.b) < 8,
          "the alpha test keeps the opaque sprite's transparent corners out");
    Pixel additive = at(picture, -100, 150), beneath = at(backgroundOnly, -100, 150);
    // Source colour times itself, plus the picture: orange (255, 140, 0) adds (255, 77, 0).
    check(additive.r >= 250 && std::abs(additive.g - (beneath.g + 77)) < 10 &&
              std::abs(additive.b - beneath.b) < 10,
          "an additive sprite adds its colour to what lies beneath");
    Pixel beforeLate = at(picture, -300, 240), lateBall = at(picture, -260, 240);
    check(beforeLate.r > 240 && beforeLate.b < 20 && lateBall.b > 240 && lateBall.r < 60,
          "a texture made in the middle of a frame leaves the next draw's texture alone");
    Pixel star = at(picture, 220, 150), starCorner = at(picture, 220 + 45, 150 + 45);
    check(star.g > 200 && star.r < 60, "the alpha-plane picture shows its colour");
    check(starCorner.g < 80, "and its alpha plane cuts it out");
    int textPixels = 0, boltPixels = 0;
    for (int y = 50; y < 70; y++)
        for (int x = -380; x < 100; x++) textPixels += at(picture, x, y).g > 200;
    // Each segment glows brightest in its middle, so look for the bolt in bands of one segment length.
    for (int band = -340; band < 340; band += 20) {
        int bright = 0;
        for (int x = band; x < band + 20; x++) {
            float y = -160 + (x + 350) * 50.0f / 700.0f;
            for (int dy = -15; dy <= 15; dy++)
                bright |= at(picture, x, y + dy).r > at(backgroundOnly, x, y + dy).r + 80;
        }
        boltPixels += bright;
    }
    check(textPixels > 500, "the left-aligned text is drawn");
    check(boltPixels == 34, "the lightning bolt runs from end to end");
    check(render.drawCalls == 0, "the draw counter starts again after presenting");

    // The picture as drawn, before presenting scales it into the window.
    bool saved = stbi_write_png(argv[1], 800, 600, 4, picture.data(), 800 * 4) != 0;
    check(saved, "the picture is saved");
    if (holdMs > 0) {
        drawScene(true);
        presentFrame();
        std::printf("holding the picture for %i ms\n", holdMs); // the moment for a screenshot
        std::fflush(stdout);
        SDL_Delay(holdMs);
    }
    checkScaledPresent();
    checkRepeatedClear();
    if (argc > 3) {
        check(locateDataFolder(argv[0]), "the Data folder beside the program is found");
        drawGameData(argv[3]);
    }
    releaseAllTextures();
    releaseDisplay();
    glBackend.shutdown();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    std::printf("render check: %s\n", failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
