// Points the per-user folders and the data folder of the game at fresh temporary folders for one test.
#pragma once

#include <cstdlib>
#include <string>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/temp_folder.h"
#include "engine/text_table.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

struct PlayerFolders {
    TempFolder home;
    std::string oldConfig, oldData;
    bool hadConfig = false, hadData = false;

    PlayerFolders() {
        if (const char* v = std::getenv("XDG_CONFIG_HOME")) oldConfig = v, hadConfig = true;
        if (const char* v = std::getenv("XDG_DATA_HOME")) oldData = v, hadData = true;
        setenv("XDG_CONFIG_HOME", (home.path + "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home.path + "share").c_str(), 1);
        setDataFolder(home.path + "Data");
        resetFileRegistry();
        fileRegistry.renameFile = nullptr;
        freeTextTable();
        resetSettings();
        resetProfiles();
        resetRecords();
        resetAppState();
    }
    ~PlayerFolders() {
        if (hadConfig)
            setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        if (hadData)
            setenv("XDG_DATA_HOME", oldData.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
        resetFileRegistry();
        fileRegistry.renameFile = nullptr;
        freeTextTable();
        resetAppState();
    }

    // Paths relative to home.
    static std::string settingsFile() { return "config/pebblecraft/settings"; }
    static std::string playerFile(const std::string& name) { return "share/pebblecraft/settings/" + name; }
};
