// The window's cursor for the board's cursor modes: the arrow (0), the hammer (1, "hammercursor.tga")
// and the help cursor (2, "questioncursor.tga"). Left alone while the drawn cursor option is on.
#pragma once

void loadSystemCursors();         // makes the two picture cursors (with the game's resources)
void applySystemCursor(int mode); // the board input's hook
void releaseSystemCursors();
