// The diagnostic overlay: frame rate and triangle count, drawn after the scene every frame. It also
// closes every frame's drawing by restoring the 3D projection and the camera view.
#pragma once

// Run every frame after the current scene's draw; shows the texts when enabled (the typed word
// switches it), restores the 3D state and starts the triangle count of the next frame.
void drawOverlay(bool enabled);
