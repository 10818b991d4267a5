// A scene: what the frame draws and updates and where the window's input goes. Exactly one is current.
#pragma once

class Scene {
  public:
    virtual ~Scene() = default;

    virtual void enter() {} // made current by a switch
    virtual void leave() {} // replaced by a switch
    virtual void update();  // once per frame after present: typed letters, waiting background, key cleared
    virtual void draw() {}  // once per frame between the frame's begin and end
    virtual void keyDown(int virtualKey) { (void)virtualKey; }
    virtual void leftDown() {}
    virtual void leftDoubleClick() {} // a quick second left press, instead of leftDown
    virtual void leftUp() {}
    virtual void rightDown() {}
    virtual void rightUp() {}
    virtual void middleDown() {}
    virtual void mouseMove() {} // the position is in app.mouseX, app.mouseY
    // Characters typed, in Windows-1252 (the window's UTF-8 converted, what has no byte there dropped).
    virtual void textTyped(const char* text) { (void)text; }

    int pendingKey = 0; // virtual-key code stored by keyDown (or a click) for the next update; 0 when none
};
