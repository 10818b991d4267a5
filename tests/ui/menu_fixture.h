// A menu system built from a small menu file, with the scene hooks recorded instead of acted on.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "player/profile.h"
#include "player/settings.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"

// The authored data/menu.txt as the game reads it (its last byte ends the file); empty when unreadable.
inline std::string authoredMenuText() {
    FILE* f = std::fopen(PC_SOURCE_DIR "/data/menu.txt", "rb");
    if (!f) return {};
    std::string text(1 << 16, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    if (!text.empty()) text.pop_back();
    return text;
}

// Builds the menu tree from the authored data/menu.txt; false when the file cannot be read or built.
inline bool buildAuthoredMenus() {
    std::string text = authoredMenuText();
    resetMenus();
    return !text.empty() && buildMenuTree(text);
}

struct HostLog {
    int playedLevel = -1;
    int mapShown = 0;
    bool inGame = false;
    bool saveAllowed = false;
    int resumed = 0;
};

inline HostLog hostLog;

class MenuFixture : public ::testing::Test {
  protected:
    MenuHost savedHost{};

    void SetUp() override {
        savedHost = menuHost;
        hostLog = HostLog{};
        menuHost = MenuHost{};
        menuHost.gameSceneCurrent = [] { return hostLog.inGame; };
        menuHost.showMap = [] { ++hostLog.mapShown; };
        menuHost.playLevel = [](int level) { hostLog.playedLevel = level; };
        menuHost.saveRunningGame = [] { return hostLog.saveAllowed; };
        menuHost.resumeSavedGame = [] {
            ++hostLog.resumed;
            return true;
        };
        resetAppState();
        resetSettings();
        resetProfiles();
        liveRules.game = GameState{};
        resetLevelMap();
        resetMenus();
        ASSERT_TRUE(buildMenuTree(kMenuText));
        giveDrawRoutines();
    }
    void TearDown() override {
        menuHost = savedHost;
        resetMenus();
        resetProfiles();
    }

    // Runs frames until no transition is left (or the frame limit is reached).
    void settle(int frames = 40) {
        app.frameTimeMs = 20;
        for (int i = 0; i < frames; ++i) {
            menuUpdate();
            menuDraw();
            if (!menus.opening && !menus.closing && menus.menuKeyCode == 0) break;
        }
    }
    void open(const char* page) {
        openPage(findPage(page));
        settle();
    }
    void press(unsigned key) {
        menuKey(key);
        settle();
    }
    void type(const char* windows1252) {
        menuText(windows1252);
        settle();
    }
    void choose(const char* item) {
        menus.selectedItem = itemIndexOf(menus.currentPage, item);
        ASSERT_GE(menus.selectedItem, 0) << item;
        press(13);
    }
    std::string page() const { return currentPageName(); }

    static constexpr const char* kMenuText =
        "main=\r\nsurvival\r\nmode1\r\nmode2\r\nmode3\r\noptions\r\nhiscore\r\ncredits\r\nexit\r\n\r\n"
        "mode1=\r\nstart\r\nback\r\n\r\nmode2=\r\nstart\r\nback\r\n\r\nmode3=\r\nstart\r\nback\r\n\r\n"
        "options=\r\napply\r\nback\r\n\r\nhiscore=\r\nback\r\n\r\ncredits=\r\nback\r\n\r\n"
        "profiles=\r\nselectprofile\r\nnewprofile\r\nrename\r\nremove\r\nback\r\n\r\n"
        "newprofile=\r\noknewprofile\r\n\r\nrename=\r\nokrename\r\n\r\nloadgamequest=\r\nyes\r\nno\r\n\r\n"
        "messageboxok=\r\nok\r\n\r\nmessageboxyn=\r\nyes\r\nno\r\n\r\n"
        "gameplay=\r\nresume game\r\nrestart level\r\nskip level\r\nmain\r\n\r\n"
        "levelcomplete=\r\noknextlevel\r\n\r\ndefeat=\r\nrestart "
        "level\r\nmain\r\n\r\ngameover=\r\nmain\r\n\r\n";
};
