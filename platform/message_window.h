// The last way to show a message: a small window of the game's own, drawn in software with a built-in
// 5 x 7 font. SDL's message box needs zenity or kdialog, or on X11 the server's core fonts, and a desktop
// may have none of them; this needs nothing but a display. It shows the title above the text until a key,
// a click, the close button or the time given.
#pragma once

#include <cstdint>

#include "platform/fixed_list.h"

struct SDL_Surface;

constexpr int kMessageFontWidth = 5;
constexpr int kMessageFontHeight = 7;
constexpr int kMessageScale = 2;     // font pixels are drawn as squares of this side
constexpr int kMessageColumns = 56;  // lines are wrapped at this many characters
constexpr int kMessageMaxLines = 16; // more are cut
constexpr int kMessageCharWidth = (kMessageFontWidth + 1) * kMessageScale;
constexpr int kMessageLineHeight = (kMessageFontHeight + 3) * kMessageScale;
constexpr int kMessageMargin = 20;

struct MessageLine {
    char text[kMessageColumns + 1];
};

struct MessageLayout {
    FixedList<MessageLine, kMessageMaxLines> lines; // full: later lines are cut
    int width = 0;                                  // the window's client size for these lines
    int height = 0;
};

// The title, an empty line, the text wrapped at spaces (or cut in a word longer than a line), an empty
// line and the closing hint. Characters outside 32..126 are drawn as '?'.
void layoutMessage(const char* title, const char* text, MessageLayout& layout);
// Draws the laid-out lines, dark on light, on a 32-bit surface of at least the layout's size.
void drawMessage(SDL_Surface* surface, const MessageLayout& layout);
// Shows the window; false when no window could be made (no display). Returns after the close.
bool showMessageWindow(const char* title, const char* text, uint32_t waitMs);
