// The main loop: window events first; whenever none waits and the window is active, one frame.
#pragma once

void runMainLoop(); // until app.quitRequested
