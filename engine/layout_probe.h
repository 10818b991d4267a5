// A watcher of the screen layout: the text calls report where each text lands, the frame-drawing calls
// (panels, buttons, balloons, the game's side panel) the boxes that texts stand in. Nobody watches while
// the game runs; the layout checks of the tests set the two hooks and draw pages as the game does.
#pragma once

enum LayoutBoxKind : int {
    kLayoutPanel,   // a framed window of the menus
    kLayoutButton,  // a texture button; its caption belongs inside its caps
    kLayoutBalloon, // a speech balloon or text box
    kLayoutSide,    // the game's side panel
};

struct LayoutProbe {
    // A drawn text: the string as drawn, its size, and the box its glyph advances cover.
    void (*text)(const char* str, float size, float left, float top, float right, float bottom) = nullptr;
    void (*box)(int kind, float left, float top, float right, float bottom) = nullptr;
};

extern LayoutProbe layoutProbe;

inline void noteLayoutBox(int kind, float left, float top, float right, float bottom) {
    if (layoutProbe.box) layoutProbe.box(kind, left, top, right, bottom);
}
