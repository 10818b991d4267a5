// The window's size between runs: the small file "window" beside "settings" in the per-user config
// folder, so that the 48-byte settings keep their layout. Twelve little-endian bytes: width, height (the
// client area in window pixels) and 1 when the window was maximised. A missing or damaged file means
// the plain 800 x 600 window.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kWindowSizeBytes = 12;
constexpr int kMinWindowWidth = 400; // the picture stays readable at half its size
constexpr int kMinWindowHeight = 300;
constexpr int kMaxWindowSide = 16384;

struct WindowSize {
    int width = 800;
    int height = 600;
    bool maximised = false;
};

// The stored form. windowSizeFromBytes gives the 800 x 600 window and false unless size is exactly 12
// and both sides lie within kMin..kMaxWindowSide. Whether the size fits the desktop is the window's
// own check when it opens (platform/window.h).
void windowSizeToBytes(const WindowSize& s, uint8_t out[kWindowSizeBytes]);
bool windowSizeFromBytes(const uint8_t* data, size_t size, WindowSize& s);
WindowSize readWindowSize();              // at launch, before the window exists
void saveWindowSize(const WindowSize& s); // at exit; written beside the old file and renamed over it
