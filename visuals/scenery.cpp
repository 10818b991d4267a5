// The animated scenery: types, scene files, backgrounds, the time-of-day tint, the background change,
// the animated objects and the ambient sounds.
#include "visuals/scenery.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/bytes.h"
#include "engine/file_registry.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "visuals/mesh.h"
#include "visuals/scenery_cache.h"

Scenery scenery;

namespace {

constexpr int kSceneHeaderBytes = 68;
constexpr int kSceneRecordBytes = 65;
constexpr float kPi = 3.14159265f;
constexpr float kSprayLifeMs = 2000.0f;

// Copies a zero-padded text field, always terminated.
void copyField(char* dest, int capacity, const uint8_t* src, int fieldBytes) {
    int n = 0;
    while (n < fieldBytes && n < capacity - 1 && src[n] != 0) {
        dest[n] = static_cast<char>(src[n]);
        n++;
    }
    dest[n] = 0;
}

bool endsWith(const char* s, const char* tail) {
    size_t a = std::strlen(s), b = std::strlen(tail);
    if (a < b) return false;
    for (size_t i = 0; i < b; i++)
        if (std::tolower(static_cast<unsigned char>(s[a - b + i])) != tail[i]) return false;
    return true;
}

void addType(const char* name, const char* file, int group) {
    GameObjectType* added = scenery.types.add();
    if (!added) return;
    GameObjectType& t = *added;
    std::snprintf(t.name, sizeof t.name, "%s", name);
    t.group = group;
    t.texture = nullptr;
    t.mesh = nullptr;
    if (file[0] != 0) {
        if (endsWith(file, ".cgo"))
            t.mesh = getMeshObject(file);
        else if (endsWith(file, ".tga") || endsWith(file, ".jpg"))
            t.texture = getTexture(file, false);
    }
}

void drawObjectQuad(const SceneObject& o, const TexRect& tex, float alpha) {
    const Texture* t = scenery.types[o.type].texture;
    setTexture(t);
    TexRect r = tex;
    if (o.mirror) std::swap(r.left, r.right);
    uint32_t a = static_cast<uint32_t>(((o.color >> 24) & 0xFF) * alpha);
    drawRect(o.left, o.top, o.right, o.bottom, r, (a << 24) | (o.color & 0xFFFFFF));
}

void emitDrop(const SceneObject& o) {
    SprayDrop& d = scenery.drops.push(SprayDrop{});
    d.x = o.left + randomUnit(o.right - o.left);
    d.y = o.bottom + randomUnit(o.top - o.bottom);
    d.ageMs = 0;
    d.live = true;
}

float leavesAngle(const SceneObject& o, int rank) {
    float u = o.clockMs + 400.0f * static_cast<float>(rank);
    float base = o.mirror ? -o.paramX : o.paramX;
    float swing;
    switch (o.animation) {
    case kAnimLeaves1:
        swing = 0.5f * std::sin(0.003f * u) + 0.2f * std::sin(0.0043f * u);
        break;
    case kAnimLeaves2:
        swing = 0.18f * std::sin(0.004f * u) + 0.11f * std::sin(0.0024f * u);
        break;
    default:
        swing = 0.6f * std::sin(0.0022f * u) + 0.24f * std::sin(0.0038f * u);
        break;
    }
    return (o.mirror ? -swing : swing) + base;
}

// The objects' own clocks: spray drops are emitted and swinging leaves queued for this frame.
void advanceAnimatedObjects(SceneFile& scene) {
    int leavesRank = 0;
    for (SceneObject& o : scene.objects) {
        if (o.type < 0) continue;
        float w = o.right - o.left, h = o.top - o.bottom;
        switch (o.animation) {
        case kAnimSpray: {
            float area = w * h;
            if (area <= 0) break;
            o.sprayAccumMs += app.frameTimeMs;
            if (o.sprayAccumMs > 300000.0f / area) {
                o.sprayAccumMs = 0;
                emitDrop(o);
            }
            break;
        }
        case kAnimLeaves1:
        case kAnimLeaves2:
        case kAnimLeaves:
            o.clockMs += app.frameTimeMs;
            if (QueuedLeaves* queued = scenery.leaves.add()) {
                QueuedLeaves& q = *queued;
                q.object = &o;
                q.angle = leavesAngle(o, leavesRank);
                int grey = 255 - static_cast<int>(std::sqrt(o.paramX * o.paramX + o.paramY * o.paramY));
                grey = grey < 0 ? 0 : grey;
                q.color = 0xFF000000u | static_cast<uint32_t>(grey) * 0x010101u;
            }
            leavesRank++;
            break;
        default:
            break;
        }
    }
}

// The objects drawn beneath the stage picture, in their order: the scrolling sky, water and waterfalls
// (the moving layers) and the objects of the first pass (still).
void drawAnimatedObjects(const SceneFile& scene, float alpha, int layers) {
    for (const SceneObject& o : scene.objects) {
        if (o.type < 0) continue;
        const GameObjectType& type = scenery.types[o.type];
        float w = o.right - o.left, h = o.top - o.bottom;
        const Texture* t = type.texture;
        switch (o.animation) {
        case kAnimSky: {
            if (!(layers & kMovingLayers) || !t || h <= 0 || t->width <= 0) break;
            float span = (w / h) * (static_cast<float>(t->height) / static_cast<float>(t->width));
            float shift = -app.runTimeMs * 3e-6f;
            drawObjectQuad(o, {shift, 0.0f, shift + span, 1.0f}, alpha);
            break;
        }
        case kAnimWaterfall:
        case kAnimWater: {
            if (!(layers & kMovingLayers) || !t || t->width <= 0 || t->height <= 0) break;
            float speed = (o.animation == kAnimWater ? 0.2f : 1.0f) * app.runTimeMs * 0.00001f;
            float su = -o.paramX * speed, sv = -o.paramY * speed;
            su -= std::floor(su);
            sv -= std::floor(sv);
            drawObjectQuad(o, {su, sv, su + w / t->width, sv + h / t->height}, alpha);
            break;
        }
        case kAnimNone:
            if ((layers & kStillLayers) && o.firstPass != 0 && t) drawObjectQuad(o, kWholeTexture, alpha);
            break;
        default:
            break;
        }
    }
}

void drawPlainObjects(const SceneFile& scene, float alpha) {
    for (const SceneObject& o : scene.objects) {
        if (o.type < 0 || o.animation != kAnimNone || o.firstPass != 0) continue;
        if (!scenery.types[o.type].texture) continue; // mesh objects are drawn by their own owner
        drawObjectQuad(o, kWholeTexture, alpha);
    }
}

void drawDropsAndLeaves(float alpha) {
    const Texture* sprayTexture = nullptr;
    int sprayType = findGameObjectType("spray");
    if (sprayType >= 0) sprayTexture = scenery.types[sprayType].texture;
    if (sprayTexture) {
        setTexture(sprayTexture);
        setBlendMode(kBlendAdditive);
        for (SprayDrop& d : scenery.drops) {
            if (!d.live) continue;
            float s = std::sin(kPi * d.ageMs / kSprayLifeMs);
            float half = 15.0f + (kSprayLifeMs - d.ageMs) * 0.011f;
            uint32_t grey = static_cast<uint32_t>(255.0f * s * alpha);
            drawCentered(d.x, d.y + 8.0f * s * s, half * 2, half * 2, kWholeTexture,
                         0xFF000000u | grey * 0x010101u);
        }
        setBlendMode(kBlendNormal);
    }
    for (const QueuedLeaves& q : scenery.leaves) {
        const SceneObject& o = *q.object;
        const Texture* t = scenery.types[o.type].texture;
        if (!t) continue;
        setTexture(t);
        float w = o.right - o.left, h = o.top - o.bottom;
        TexRect r = kWholeTexture;
        if (o.mirror) std::swap(r.left, r.right);
        uint32_t a = static_cast<uint32_t>(255.0f * alpha) << 24;
        drawRotated(o.left + w / 2, o.bottom + h / 2, o.left, o.bottom + h / 2, glm::degrees(q.angle), w, h,
                    r, a | (q.color & 0xFFFFFF));
    }
    scenery.leaves.clear();
}

// A background's layers beneath the drops and leaves, in their order, at an opacity.
void drawSceneLayers(int background, const Texture* back, float alpha, int layers) {
    const SceneFile& scene = scenery.scenes[background];
    drawAnimatedObjects(scene, alpha, layers);
    if (!(layers & kStillLayers)) return;
    if (back) {
        setTexture(back);
        uint32_t a = static_cast<uint32_t>(255.0f * alpha) << 24;
        drawRect(-400, 300, 400, -300, kWholeTexture, a | 0xFFFFFF);
    }
    drawPlainObjects(scene, alpha);
}

void drawCurrentLayers(int layers) {
    drawSceneLayers(scenery.currentBackground, scenery.currentBack, 1.0f, layers);
}

// The pixels of what is drawn into that lie wholly inside the covered rectangle, less one all round.
PictureRect coveredPixels() {
    if (scenery.coveredRight <= scenery.coveredLeft || scenery.coveredTop <= scenery.coveredBottom) return {};
    int width = 0, height = 0;
    drawingSize(&width, &height);
    float sx = static_cast<float>(width) / kScreenWidth, sy = static_cast<float>(height) / kScreenHeight;
    int left = static_cast<int>(std::ceil((scenery.coveredLeft + kScreenWidth / 2) * sx)) + 1;
    int right = static_cast<int>(std::floor((scenery.coveredRight + kScreenWidth / 2) * sx)) - 1;
    int top = static_cast<int>(std::ceil((kScreenHeight / 2 - scenery.coveredTop) * sy)) + 1;
    int bottom = static_cast<int>(std::floor((kScreenHeight / 2 - scenery.coveredBottom) * sy)) - 1;
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top, TileKind::every};
}

// One background with its objects (steps 2 to 5) at an opacity. Standing still and unshaken, the
// current one's still layers come from their captured picture where the moving ones do not show.
void drawOneBackground(int background, const Texture* back, float alpha, bool still) {
    advanceAnimatedObjects(scenery.scenes[background]);
    StillSceneryKey key;
    if (still) {
        key.background = background;
        key.picture = back;
        key.tint = render.tint;
    }
    if (!still || !drawSceneryThroughCapture(key, drawCurrentLayers, coveredPixels()))
        drawSceneLayers(background, back, alpha, kAllLayers);
    drawDropsAndLeaves(alpha);
}

void ageDrops() {
    for (SprayDrop& d : scenery.drops) {
        if (!d.live) continue;
        d.ageMs += app.frameTimeMs;
        if (d.ageMs >= kSprayLifeMs) d.live = false;
    }
}

void stagePictureName(int background, char (&name)[64]) {
    std::snprintf(name, sizeof name, "animbacks/_a_back%d.jpg", background);
}

Texture* loadBackground(int background) {
    char name[64];
    stagePictureName(background, name);
    if (Texture* known = findTexture(name)) return known;
    Texture* t = loadAlphaJpegSized(name, 800, 600);
    if (!t) std::fprintf(stderr, "scenery: %s is missing or unreadable\n", name);
    return t;
}

// A stage picture holds some 2 MB of texture; only the one on screen and the one swirling in are kept,
// so that memory stays the same however many stages a player goes through.
void releaseUnusedStagePictures() {
    for (int b = 0; b < kSceneCount; b++) {
        char name[64];
        stagePictureName(b, name);
        Texture* t = findTexture(name);
        if (t && t != scenery.currentBack && t != scenery.nextBack) releaseTexture(t);
    }
}

} // namespace

void resetScenery() {
    std::memset(static_cast<void*>(&scenery), 0, sizeof scenery);
    scenery.requestedBackground = -1;
    scenery.tint = scenery.tintTarget = glm::vec4(1.0f);
    scenery.timeOfDay = 2;
    scenery.menuFade = 1.0f;
}

SceneAnimation animationOfType(const char* n) {
    if (std::strstr(n, "sky")) return kAnimSky;
    if (std::strstr(n, "waterfall")) return kAnimWaterfall;
    if (std::strstr(n, "water")) return kAnimWater;
    if (std::strstr(n, "spray")) return kAnimSpray;
    if (std::strstr(n, "leaves1")) return kAnimLeaves1;
    if (std::strstr(n, "leaves2")) return kAnimLeaves2;
    if (std::strstr(n, "leaves")) return kAnimLeaves;
    return kAnimNone;
}

// Groups "[name/]" ... "[/name]" hold entries name=file separated by white space or commas.
int readGameObjectTypes(const char* text, int size) {
    int group = -1, groups = 0;
    int i = 0;
    auto isSeparator = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; };
    while (i < size) {
        while (i < size && isSeparator(text[i])) i++;
        if (i >= size) break;
        int start = i;
        while (i < size && !isSeparator(text[i]) && text[i] != 0) i++;
        int len = i - start;
        if (len == 0) {
            i++;
            continue;
        }
        const char* word = text + start;
        if (word[0] == '[') {
            if (len >= 2 && word[1] == '/')
                group = -1; // "[/name]" closes
            else if (len >= 3 && word[len - 2] == '/' && word[len - 1] == ']')
                group = groups++; // "[name/]"
            continue;
        }
        const char* eq = static_cast<const char*>(std::memchr(word, '=', static_cast<size_t>(len)));
        if (!eq) continue;
        char name[32], file[128];
        int nameLen = static_cast<int>(eq - word), fileLen = len - nameLen - 1;
        if (nameLen <= 0 || nameLen >= static_cast<int>(sizeof name) ||
            fileLen >= static_cast<int>(sizeof file))
            continue;
        std::memcpy(name, word, static_cast<size_t>(nameLen));
        name[nameLen] = 0;
        std::memcpy(file, eq + 1, static_cast<size_t>(fileLen));
        file[fileLen] = 0;
        addType(name, file, group < 0 ? 0 : group);
    }
    return scenery.types.size();
}

int findGameObjectType(const char* name) {
    for (int i = 0; i < scenery.types.size(); i++)
        if (std::strcmp(scenery.types[i].name, name) == 0) return i;
    return -1;
}

bool parseSceneFile(const uint8_t* data, int size, SceneFile& out) {
    out.name[0] = 0;
    out.objects.clear();
    if (!data || size < kSceneHeaderBytes) return false;
    int32_t n = readInt32(data + 64);
    // The count must fit the bytes that follow; a count that does not is malformed, not truncated.
    if (n < 0 || n > (size - kSceneHeaderBytes) / kSceneRecordBytes) return false;
    copyField(out.name, sizeof out.name, data, 64);
    int kept = n < kMaxSceneObjects ? n : kMaxSceneObjects;
    for (int i = 0; i < kept; i++) {
        const uint8_t* r = data + kSceneHeaderBytes + i * kSceneRecordBytes;
        SceneObject& o = *out.objects.add();
        char typeName[33];
        copyField(typeName, sizeof typeName, r, 32);
        o.type = findGameObjectType(typeName);
        o.left = readFloat32(r + 32);
        o.top = readFloat32(r + 36);
        o.right = readFloat32(r + 40);
        o.bottom = readFloat32(r + 44);
        o.depth = readInt32(r + 48);
        o.paramX = readFloat32(r + 52);
        o.paramY = readFloat32(r + 56);
        o.mirror = r[60] != 0;
        o.firstPass = readInt32(r + 61);
        o.clockMs = static_cast<float>(randomInt(501));
        o.sprayAccumMs = 0;
        o.color = 0xFFFFFFFFu;
        o.animation = animationOfType(typeName);
    }
    return true;
}

void loadScenery() {
    int size = 0;
    uint8_t* text = openFile("gameobjs.txt", &size, false);
    scenery.types.clear();
    if (text)
        readGameObjectTypes(reinterpret_cast<const char*>(text), size);
    else
        std::fprintf(stderr, "scenery: gameobjs.txt is missing; the landscapes show their pictures alone\n");
    for (int b = 0; b < kSceneCount; b++) {
        char name[64];
        std::snprintf(name, sizeof name, "animbacks/level%d.lev", b);
        uint8_t* data = openFile(name, &size, false);
        if (!data) {
            std::fprintf(stderr, "scenery: %s is missing; that stage shows its picture alone\n", name);
            scenery.scenes[b].objects.clear();
            continue;
        }
        if (!parseSceneFile(data, size, scenery.scenes[b]))
            std::fprintf(stderr, "scenery: %s is malformed; that stage shows its picture alone\n", name);
        releaseFile(data);
    }
    scenery.loaded = true;
}

int backgroundForLevel(int levelIndex) {
    if (levelIndex < 0) return 0;
    int b = levelIndex / 5 + 1;
    return b < kSceneCount ? b : kSceneCount - 1;
}

void setBackgroundForLevel(int levelIndex) {
    if (!scenery.loaded) loadScenery();
    int b = backgroundForLevel(levelIndex);
    scenery.currentBackground = b;
    scenery.currentBack = loadBackground(b);
    scenery.nextBack = nullptr;
    scenery.changeMs = 0;
    scenery.requestedBackground = -1;
    releaseUnusedStagePictures();
}

void requestBackgroundChange(int levelIndex) {
    scenery.requestedBackground = backgroundForLevel(levelIndex);
}

// A level whose stage follows the one on screen swirls over to its landscape; any other level shows
// its own at once.
void enterLevelScenery(int levelIndex) {
    int b = backgroundForLevel(levelIndex);
    if (scenery.loaded && scenery.currentBack && scenery.changeMs <= 0 &&
        b == scenery.currentBackground + 1 && scenery.currentBackground > 0) {
        requestBackgroundChange(levelIndex);
        return;
    }
    setBackgroundForLevel(levelIndex);
}

void updateScenery() {
    if (scenery.requestedBackground >= 0 && scenery.loaded) {
        scenery.nextBackground = scenery.requestedBackground;
        scenery.nextBack = loadBackground(scenery.nextBackground);
        scenery.requestedBackground = -1;
        releaseUnusedStagePictures();
        scenery.changeMs = kBackgroundChangeMs;
    }
    float f = app.frameTimeMs * 0.0015f;
    if (f > 1) f = 1;
    scenery.tint += (scenery.tintTarget - scenery.tint) * f;
}

glm::vec4 timeOfDayTint(int kind) {
    switch (kind) {
    case 0:
        return {0.67f, 0.67f, 1.0f, 1.0f};
    case 1:
        return {1.0f, 0.67f, 0.67f, 1.0f};
    default:
        return {1.0f, 1.0f, 1.0f, 1.0f};
    }
}

void setSceneryTimeOfDay(int kind) {
    scenery.timeOfDay = kind;
    scenery.tintTarget = timeOfDayTint(kind);
}

void setSceneryTimeOfDayNow(int kind) {
    setSceneryTimeOfDay(kind);
    scenery.tint = scenery.tintTarget;
}

void setSceneryMenuFade(float m) {
    scenery.menuFade = m;
}

void setSceneryForMenus() {
    setSceneryTimeOfDayNow(2);
    setBackgroundForLevel(-1);
    if (!scenery.ornament) scenery.ornament = getMeshObject("pebble.cgo");
}

// A pebble turning slowly in the lower left of the menus' landscape, lit from the upper left. The stone is
// convex: its faces turned away are culled, and nothing else needs hiding, so it needs no depths (the
// window has none).
void drawMenuOrnament() {
    if (!scenery.ornament) return;
    flushBatch();
    setRenderState(kPresetProjection, false);
    setView(nullptr);
    setRenderState(kPresetDepthTest, false);
    setRenderState(kPresetDepthWrite, false);
    setRenderState(kPresetLighting, true);
    setCullingClockwise(true);
    // From the upper left and from the viewer's side (the light used to come from behind the stone, so
    // only the ambient reached the face we see); a low ambient lets the far side fall into shade.
    setLight(glm::normalize(glm::vec3(0.6f, 0.7f, -0.5f)), glm::vec4(1.1f, 1.05f, 1.0f, 1.0f),
             glm::vec4(0.22f, 0.22f, 0.26f, 1.0f));
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(-26.0f, -15.5f, 60.0f));
    m = glm::rotate(m, app.runTimeMs * 0.0006f, glm::vec3(0, 1, 0));
    scenery.ornament->transform = glm::scale(m, glm::vec3(2.6f));
    drawMeshObject(*scenery.ornament);
    setRenderState(kPresetLighting, false);
    setCullingClockwise(false);
    setRenderState(kPresetProjection, true);
}

// The painterly landscape is drawn at the screen space's own size and copied once onto a larger picture:
// its pictures have no more detail than that, and each layer drawn at a large screen's pixels would cost
// several times the fill.
void drawScenery(float scaleX, float scaleY) {
    updateScenery();
    bool lowDetail = beginLowDetailLayers();
    glm::vec4 savedTint = render.tint;
    glm::vec4 tint = scenery.tint;
    float dim = 0.8f + 0.2f * scenery.menuFade;
    tint.r *= dim;
    tint.g *= dim;
    tint.b *= dim;
    render.tint = tint;
    float t = scenery.changeMs;
    bool changing = t > 0 && scenery.nextBack;
    const glm::mat4 shake = glm::scale(glm::mat4(1.0f), glm::vec3(scaleX, scaleY, 1.0f));
    bool shaken = scaleX != 1.0f || scaleY != 1.0f;
    if (shaken) setWorld(&shake);
    if (changing) {
        // The old scenery swirls away: a circular offset and a growing scale.
        float k = 1.0f - t / kBackgroundChangeMs;
        float radius = 30.0f * k * k;
        glm::mat4 m = glm::translate(
            glm::mat4(1.0f), glm::vec3(radius * std::cos(k * kPi), radius * std::sin(k * 4.712389f), 0));
        m = shake * glm::scale(m, glm::vec3(1.0f + 1.5f * k * k, 1.0f + 1.5f * k * k, 1.0f));
        setWorld(&m);
        if (t >= 3000.0f) scenery.changeMs -= app.frameTimeMs;
    }
    ageDrops();
    drawOneBackground(scenery.currentBackground, scenery.currentBack, 1.0f, !changing && !shaken);
    if (changing) {
        setWorld(shaken ? &shake : nullptr);
        if (t < 3000.0f) {
            drawOneBackground(scenery.nextBackground, scenery.nextBack, 1.0f - t / 3000.0f, false);
            scenery.changeMs -= app.frameTimeMs;
        }
        if (scenery.changeMs <= 0) {
            scenery.changeMs = 0;
            scenery.currentBackground = scenery.nextBackground;
            scenery.currentBack = scenery.nextBack;
            scenery.nextBack = nullptr;
            releaseUnusedStagePictures();
        }
    }
    if (shaken) setWorld(nullptr);
    render.tint = savedTint;
    if (lowDetail) endLowDetailLayers();
    setSceneryCovered(0, 0, 0, 0); // for one frame
}

void setSceneryCovered(float left, float top, float right, float bottom) {
    scenery.coveredLeft = left;
    scenery.coveredTop = top;
    scenery.coveredRight = right;
    scenery.coveredBottom = bottom;
}

bool ambientDue(uint32_t clockMs, uint32_t deltaMs, uint32_t periodMs) {
    if (periodMs == 0) return false;
    if (clockMs == 0) return true;
    // A multiple of the period lies in (clock, clock + delta]: counting whole periods keeps one sound per
    // period even when a frame is longer than half a period.
    return (clockMs + deltaMs) / periodMs > clockMs / periodMs;
}

void playAmbientSounds(int stage, bool gamePassed) {
    uint32_t a = scenery.ambientMs, d = app.frameDeltaMs;
    if (ambientDue(a, d, 6200)) {
        char name[32];
        std::snprintf(name, sizeof name, "birds%d.ogg", scenery.birdCounter % 3 + 1);
        playSound(name);
        scenery.birdCounter += 1 + randomInt(2);
    }
    const char* water = nullptr;
    uint32_t period = 0;
    if (gamePassed) {
        water = "waterfall.ogg";
        period = 3000;
    } else {
        switch (stage) {
        case 0:
        case 8:
        case 10:
        case 14:
            water = "brook.ogg";
            period = 3100;
            break;
        case 1:
        case 2:
        case 5:
        case 6:
        case 7:
        case 9:
        case 11:
            water = "waterfall.ogg";
            period = 3000;
            break;
        default:
            break;
        }
    }
    if (water && ambientDue(a, d, period)) playSound(water);
    scenery.ambientMs = a + d;
}
