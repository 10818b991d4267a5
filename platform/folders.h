// Where the game finds its read-only data and keeps the player's files.
//
// Data: the "Data" folder beside the executable, else the installed share/pebblecraft/Data.
// Per user: $XDG_CONFIG_HOME/pebblecraft/ holds the settings value; $XDG_DATA_HOME/pebblecraft/settings/
// holds the player files and saved games (defaults ~/.config and ~/.local/share).
#pragma once

#include <string>

bool locateDataFolder(const char* argv0);    // finds the data folder; false when there is none
const std::string& dataFolder();             // with a trailing '/'; empty before locateDataFolder succeeds
void setDataFolder(const std::string& path); // tests and tools point the game at another folder

std::string configFolder();                // folder of the settings value, with a trailing '/'
std::string settingsFolder();              // folder of the player files and saved games, with a trailing '/'
bool makeFolders(const std::string& path); // creates the folder and its parents; true when it exists after
