#include "gameplay/system_cursor.h"

#include <SDL2/SDL.h>

#include "engine/file_registry.h"
#include "engine/texture_decode.h"
#include "player/settings.h"

namespace {
struct SystemCursors {
    SDL_Cursor* arrow = nullptr;
    SDL_Cursor* modes[2] = {}; // hammer, help
};
SystemCursors cursors;

SDL_Cursor* pictureCursor(const char* name, int hotX, int hotY) {
    int size = 0;
    const uint8_t* data = openFile(name, &size, false);
    DecodedPicture picture;
    if (!data || !decodePicture(data, size, picture)) return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        picture.rgba.data(), picture.width, picture.height, 32, picture.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return cursor;
}
} // namespace

void loadSystemCursors() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || cursors.arrow) return;
    cursors.arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors.modes[0] = pictureCursor("hammercursor.tga", 4, 4);
    cursors.modes[1] = pictureCursor("questioncursor.tga", 2, 2);
}

void applySystemCursor(int mode) {
    if (settings.customCursor || !cursors.arrow) return;
    SDL_Cursor* wanted =
        mode >= 1 && mode <= 2 && cursors.modes[mode - 1] ? cursors.modes[mode - 1] : cursors.arrow;
    SDL_SetCursor(wanted);
}

void releaseSystemCursors() {
    for (SDL_Cursor*& c : cursors.modes) {
        if (c) SDL_FreeCursor(c);
        c = nullptr;
    }
    if (cursors.arrow) SDL_FreeCursor(cursors.arrow);
    cursors.arrow = nullptr;
}
