// One frame of the game scene: the rules' frame, then the drawing in its fixed order and the timed
// sequences around a level.
#pragma once

void runGameFrame();    // the whole frame (the scene's draw operation)
void setupGameRender(); // the render states of the game's frame (no culling, 2D, the view at 50 units)
