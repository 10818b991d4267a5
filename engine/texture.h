// Textures: every picture becomes a texture kept under the name it was asked for, so asking twice
// returns the same one. Pictures come from the file registry as TGA or JPEG; a picture that needs
// transparency may be a JPEG followed by a raw alpha plane (names beginning "_a_"), and asking for a
// TGA name tries that form of the same base name first.
#pragma once

#include <cstdint>

#include "engine/limits.h"
#include "platform/fixed_list.h"

constexpr int kMaxTextureName = 127;  // name bytes kept (128 with the 0)
constexpr int kMaxTextureSide = 1024; // the widest and tallest picture asked for at a given size

// Formats a created texture may be asked for (the texture itself always holds 8-bit RGBA).
enum TextureFormat : int {
    kFormatUnknown = 0,
    kFormatA8R8G8B8 = 21,
    kFormatX8R8G8B8 = 22,
    kFormatR5G6B5 = 23,
};

struct Texture {
    char name[kMaxTextureName + 1]; // exactly as asked for; compared case-sensitively
    int width;                      // top level in texels
    int height;
    uint32_t handle; // the backend's texture; 0 when there is no backend
    bool hasAlpha;   // TGA or JPEG with alpha plane: meshes blend and alpha-test it
    int format;      // format asked for at creation (created textures)
    // A picture packed into a texture page shares the page's handle; its own texture coordinates 0..1
    // are mapped into this rectangle of the page when a quad is drawn with it.
    bool packed;
    float pageLeft, pageTop, pageRight, pageBottom;
    bool ownsHandle; // false for packed pictures: releasing them leaves the page alone
};

// The texture list: records live in a fixed pool; the list keeps the order of creation.
struct TextureManager {
    Texture pool[kMaxTextures];
    bool used[kMaxTextures];
    FixedList<Texture*, kMaxTextures> list; // in order of creation; full refuses a new record
};

extern TextureManager textures;

void resetTextures(); // forgets every record without touching a backend (tests)

struct DecodedPicture;

// Listed, "_a_" JPEG for TGA names, the file. When decoded is given and the texture is made here from the
// named file, its decoded texels are handed over for a look (they are not kept otherwise).
Texture* getTexture(const char* name, bool fatal = true, DecodedPicture* decoded = nullptr);
Texture* loadAlphaJpeg(const char* name, bool fatal); // JPEG + alpha plane at its own size
// The same as a texture of exactly width x height texels: the picture's top left, transparent black
// beyond a smaller picture (the full-view pictures, drawn with the whole texture).
Texture* loadAlphaJpegSized(const char* name, int width, int height);
Texture* loadPictureSized(const char* name, int width, int height);          // a required picture, sized
Texture* createTexture(const char* name, int width, int height, int format); // empty, one level
Texture* findTexture(const char* name);
// Lists a record for a backend texture made by the caller (the record owns the handle); null when the
// list is full or the name does not fit.
Texture* createTextureRecord(const char* name, int width, int height, uint32_t handle, bool hasAlpha,
                             int format);
void releaseTexture(Texture* texture); // removes it; the others keep their order
void releaseAllTextures();
// Packs the named pictures (each found as getTexture finds it, so a TGA name may give its "_a_" JPEG)
// into shared texture pages, so that sprites drawn one after another from different pictures of one page
// are one draw. Each picture keeps its own record under the name getTexture lists it by, and draws
// exactly as its own texture would: its borders repeat as a texture's wrap addressing repeats them, and
// the mipmap level of the page holds its own level. A picture already listed, larger than a page or not
// readable is left to getTexture. Returns the number of pages made.
int loadTexturePages(const char* const* names, int count);

// Replaces the texels of a texture (RGBA rows from the top, width x height of the record).
void updateTexturePixels(Texture* texture, const uint8_t* rgba);
