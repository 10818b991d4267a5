// The texture list and the picture loaders.
#include "engine/texture.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "engine/file_registry.h"
#include "engine/render.h"
#include "engine/texture_decode.h"
#include "platform/message_box.h"

TextureManager textures;

namespace {

constexpr int kMipLevelsOfPictures = 2;

void loadingError(const char* format, const char* name) {
    char text[256];
    std::snprintf(text, sizeof text, format, name);
    fatalError("Loading error", text, 1);
}

bool isTgaName(const char* name) {
    return std::strstr(name, ".tga") || std::strstr(name, ".TGA");
}

} // namespace

// A new record in the list; null when the list is full or the name does not fit its record.
Texture* createTextureRecord(const char* name, int width, int height, uint32_t handle, bool hasAlpha,
                             int format) {
    if (textures.list.full() || std::strlen(name) > kMaxTextureName) return nullptr;
    int slot = 0;
    while (textures.used[slot]) slot++; // a free slot exists because the list is not full
    Texture* t = &textures.pool[slot];
    textures.used[slot] = true;
    std::memset(t, 0, sizeof *t);
    std::memcpy(t->name, name, std::strlen(name) + 1);
    t->width = width;
    t->height = height;
    t->handle = handle;
    t->hasAlpha = hasAlpha;
    t->format = format;
    t->ownsHandle = true;
    textures.list.push(t);
    return t;
}

namespace {

// A backend texture of the given texels; 0 both on failure and without a backend (headless tools),
// which the callers tell apart by render.backend.
bool makeDeviceTexture(int width, int height, int mipLevels, const uint8_t* rgba, uint32_t& handle) {
    handle = 0;
    if (!render.backend) return true;
    handle = render.backend->createTexture(width, height, mipLevels, rgba);
    return handle != 0;
}

} // namespace

void resetTextures() {
    flushBatch();
    std::memset(textures.used, 0, sizeof textures.used);
    textures.list.clear();
}

Texture* findTexture(const char* name) {
    for (Texture* t : textures.list) {
        if (std::strcmp(t->name, name) == 0) return t;
    }
    return nullptr;
}

Texture* getTexture(const char* name, bool fatal, DecodedPicture* decoded) {
    if (Texture* listed = findTexture(name)) return listed;
    if (isTgaName(name)) {
        // ball.tga -> _a_ball.jpg: the smaller JPEG with an alpha plane wins when it exists.
        char jpegName[kMaxTextureName + 8];
        alphaJpegName(name, jpegName, sizeof jpegName);
        if (Texture* listed = findTexture(jpegName)) return listed;
        if (Texture* loaded = loadAlphaJpeg(jpegName, false)) return loaded;
    }
    int size = 0;
    const uint8_t* data = openFile(name, &size, false);
    DecodedPicture picture;
    uint32_t handle = 0;
    Texture* t = nullptr;
    if (data && decodePicture(data, size, picture) &&
        makeDeviceTexture(picture.width, picture.height, kMipLevelsOfPictures, picture.rgba.data(), handle)) {
        t = createTextureRecord(name, picture.width, picture.height, handle, isTgaName(name), kFormatUnknown);
        if (!t && handle) render.backend->releaseTexture(handle);
        if (t && decoded) *decoded = std::move(picture);
    }
    // The file stays registered: a released texture asked for again is made again from memory.
    if (!t && fatal) loadingError("Couldn't load texture: %s", name);
    return t;
}

Texture* loadAlphaJpeg(const char* name, bool fatal) {
    if (Texture* listed = findTexture(name)) return listed;
    int size = 0;
    const uint8_t* data = openFile(name, &size, false);
    if (!data) return nullptr;
    int jpegBytes = 0, alphaBytes = 0;
    const uint8_t* alpha = nullptr;
    splitAlphaJpeg(data, size, jpegBytes, alpha, alphaBytes);
    DecodedPicture picture;
    Texture* t = nullptr;
    // A plane shorter than the picture is a broken file, not a partly transparent picture.
    if (decodePicture(data, jpegBytes, picture) && applyAlphaPlane(alpha, alphaBytes, picture)) {
        uint32_t handle = 0;
        if (makeDeviceTexture(picture.width, picture.height, 1, picture.rgba.data(), handle)) {
            t = createTextureRecord(name, picture.width, picture.height, handle, true, kFormatA8R8G8B8);
            if (!t && handle) render.backend->releaseTexture(handle);
        }
    }
    releaseFile(data);
    if (!t && fatal) loadingError("Can't load texture: %s", name);
    return t;
}

namespace {

// Copies a picture into width x height texels without scaling: its top left, and transparent black
// beyond its edges when it is smaller.
void copyTopLeft(const DecodedPicture& picture, int width, int height, std::vector<uint8_t>& out) {
    int rows = std::min(height, picture.height), columns = std::min(width, picture.width);
    for (int r = 0; r < rows; r++) {
        std::memcpy(&out[(static_cast<size_t>(r) * width) * 4],
                    &picture.rgba[(static_cast<size_t>(r) * picture.width) * 4],
                    static_cast<size_t>(columns) * 4);
    }
}

} // namespace

Texture* loadAlphaJpegSized(const char* name, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxTextureSide || height > kMaxTextureSide) return nullptr;
    int size = 0;
    const uint8_t* data = openFile(name, &size, false);
    if (!data) return nullptr;
    int jpegBytes = 0, alphaBytes = 0;
    const uint8_t* alpha = nullptr;
    splitAlphaJpeg(data, size, jpegBytes, alpha, alphaBytes);
    DecodedPicture picture;
    Texture* t = nullptr;
    if (decodePicture(data, jpegBytes, picture) &&
        static_cast<size_t>(alphaBytes) >= static_cast<size_t>(width) * height) {
        std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4, 0);
        copyTopLeft(picture, width, height, texels);
        // The plane holds width x height bytes, row by row, one for each texel.
        for (size_t i = 0; i < static_cast<size_t>(width) * height; i++) texels[i * 4 + 3] = alpha[i];
        t = createTexture(name, width, height, kFormatA8R8G8B8);
        if (t && t->width == width && t->height == height) {
            t->hasAlpha = true;
            updateTexturePixels(t, texels.data());
        }
    }
    releaseFile(data);
    return t;
}

Texture* loadPictureSized(const char* name, int width, int height) {
    if (Texture* listed = findTexture(name)) return listed;
    int size = 0;
    const uint8_t* data = openFile(name, &size, true);
    if (!data) return nullptr; // only when a test has replaced the process exit
    DecodedPicture picture;
    Texture* t = nullptr;
    if (width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
        decodePicture(data, size, picture)) {
        std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4, 0);
        copyTopLeft(picture, width, height, texels);
        t = createTexture(name, width, height, kFormatA8R8G8B8);
        if (t && t->width == width && t->height == height) updateTexturePixels(t, texels.data());
    }
    releaseFile(data);
    if (!t) loadingError("Couldn't load texture: %s", name);
    return t;
}

Texture* createTexture(const char* name, int width, int height, int format) {
    if (Texture* listed = findTexture(name)) return listed;
    uint32_t handle = 0;
    Texture* t = nullptr;
    if (width > 0 && height > 0 && !textures.list.full() &&
        makeDeviceTexture(width, height, 1, nullptr, handle)) {
        t = createTextureRecord(name, width, height, handle, false, format);
        if (!t && handle) render.backend->releaseTexture(handle);
    }
    if (!t) {
        char text[256];
        std::snprintf(text, sizeof text, "Couldn't create texture: %s", name);
        showErrorBox("Init error", text);
    }
    return t;
}

void updateTexturePixels(Texture* texture, const uint8_t* rgba) {
    assert(texture);
    if (texture->handle && render.backend) {
        flushBatch(); // quads gathered earlier show the old texels
        render.backend->updateTexture(texture->handle, texture->width, texture->height, rgba);
    }
}

void releaseTexture(Texture* texture) {
    if (!texture) return;
    int at = 0;
    while (at < textures.list.size() && textures.list[at] != texture) at++;
    assert(at < textures.list.size() && "released a texture that is not listed");
    if (at == textures.list.size()) return;
    flushBatch(); // a gathered quad may still use it
    if (texture->handle && texture->ownsHandle) {
        if (render.backend) render.backend->releaseTexture(texture->handle);
        // The handle may be given to a new texture; the states must not keep pointing at it.
        if (render.states.texture == texture->handle) render.states.texture = 0;
    }
    textures.list.removeAt(at);
    textures.used[texture - textures.pool] = false;
}

void releaseAllTextures() {
    while (!textures.list.empty()) releaseTexture(textures.list.back());
}
