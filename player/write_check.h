// Whether the player's files can be written at all. A full disk or a read-only folder would otherwise
// lose every save without a word: the start-up writes a file as large as the largest player file in each
// per-user folder and removes it again, and every failed write of a player file afterwards counts too.
#pragma once

constexpr int kWriteCheckBytes = 100 * 1024; // a saved game, with room to spare

bool checkPlayerFolders();    // start-up; false (and the failure counted) when a folder takes no file
bool playerProgressUnsaved(); // some player file could not be written since launch
