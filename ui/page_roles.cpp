// What each page does of its own, one entry per page: when it opens, with a key before the keys every
// page shares, and on the way back. A page without an entry does none of it.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "engine/audio.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "platform/events.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "player/write_check.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"

namespace {

bool inGame() {
    return menuHost.gameSceneCurrent && menuHost.gameSceneCurrent();
}

// A page opened over the in-game menu: its way back ends the pause (goBack does that).
bool overGameMenu(const MenuPage& page) {
    return pageIs(page.parent, MenuId::Gameplay);
}

// A lost game's pages enter the score on the high-score page that follows them.
void noteScoreInGame() {
    if (inGame()) menus.scorePending = true;
}

void openMain(MenuPage&) {
    requestMusicSection(2);
    levelMap.mapView = 0;
}

void openModePage(MenuPage&) {
    requestMusicSection(6);
    menus.scorePending = false;
    levelMap.mapView = 1;
    menus.selectedLevel = profileLevel();
    menus.hoveredWidget = menus.selectedLevel;
}

void openOptions(MenuPage&) {
    settings.pendingFullScreen = settings.fullScreen;
}

void openHiscore(MenuPage&) {
    noteScoreInGame();
    menus.hiscoreTable = std::clamp(currentProfile().profileMode, 0, 2);
    if (menus.scorePending) {
        enterHighScore(menus.hiscoreTable);
        menus.scorePending = false;
    }
}

void openCredits(MenuPage&) {
    requestMusicSection(2);
    menus.creditsTimerMs = 0;
    levelMap.mapView = 4;
}

void openProfiles(MenuPage&) {
    menus.hoveredWidget = menus.editedProfile;
}

// The name editor takes the keys only on the name pages.
void openNewProfile(MenuPage&) {
    menus.textEntryOn = true;
    levelMap.mapView = 0;
    std::memset(menus.nameBuffer, 0, sizeof menus.nameBuffer);
    menus.nameCursor = 0;
}

void openRename(MenuPage&) {
    menus.textEntryOn = true;
    menus.nameCursor = 0;
}

void openHelp(MenuPage&) {
    if (menuHost.helpStart) menuHost.helpStart();
}

void openLevelComplete(MenuPage&) {
    menus.stats = StatsCountUp{};
}

void openLostGame(MenuPage&) {
    noteScoreInGame();
}

// Return on "newprofile" when no profile is left to make: a refusal instead of the page.
bool profilesKey(MenuPage&, unsigned& key) {
    if (key != kKeyReturn || selectedItemId() != MenuId::NewProfile || settings.profileCount < kMaxProfiles)
        return false;
    playSound("gaf.ogg");
    return true;
}

// Escape goes on like Return; while the rows still count up, Return ends the count-up at once.
bool levelCompleteKey(MenuPage&, unsigned& key) {
    if (key == kKeyEscape) key = kKeyReturn;
    if (key != kKeyReturn || menus.stats.stage >= 4) return false;
    menus.stats.stage = 4;
    return true;
}

// Left and right turn the tables of the three modes (and move the selection, as on every page).
bool hiscoreKey(MenuPage&, unsigned& key) {
    if (key == kKeyLeft) {
        menus.hiscoreTable = (menus.hiscoreTable + 2) % 3;
        playSound("menu.ogg");
    } else if (key == kKeyRight) {
        menus.hiscoreTable = (menus.hiscoreTable + 1) % 3;
        playSound("menu.ogg");
    }
    return false;
}

// Any key leaves the credits.
bool creditsKey(MenuPage&, unsigned& key) {
    key = kKeyEscape;
    return false;
}

// Pages that must be answered, and pages whose Escape would lose what they show.
bool keepsEscape(MenuPage&, unsigned& key) {
    return key == kKeyEscape;
}

// The level map leaves for the main page with Escape or Backspace, as with its back button; the arrows
// choose levels.
bool modePageKey(MenuPage&, unsigned& key) {
    if (key == kKeyBackspace) key = kKeyEscape;
    return levelMapKey(key);
}

bool backFromMain(MenuPage&) {
    menus.menuHidden = true; // the next click or key brings it back
    return true;
}

bool backFromGameMenu(MenuPage&) {
    game.menuOpen = false;
    return true;
}

bool backFromHelp(MenuPage& page) {
    if (menuHost.helpStop) menuHost.helpStop();
    if (!inGame() && !overGameMenu(page)) return false;
    game.menuOpen = false;
    return true;
}

// Reached by a game over: the game is finished, so "main" opens over the level map.
bool backFromHiscore(MenuPage& page) {
    if (overGameMenu(page) || !inGame()) return false;
    levelMap.mapView = 0;
    if (menuHost.showMap) menuHost.showMap();
    openPage(MenuId::Main);
    return true;
}

bool backFromOptions(MenuPage& page) {
    if (!overGameMenu(page)) savePlayerData();
    return false;
}

struct PageRole {
    MenuId page;
    void (*open)(MenuPage& page);               // once it is current; null: nothing
    bool (*key)(MenuPage& page, unsigned& key); // may change the key; true: the key is used up
    bool (*back)(MenuPage& page);               // true: the way back ends here, no parent opens
};

constexpr PageRole kPageRoles[] = {
    {MenuId::Main, openMain, nullptr, backFromMain},
    {MenuId::Mode1, openModePage, modePageKey, nullptr},
    {MenuId::Mode2, openModePage, modePageKey, nullptr},
    {MenuId::Mode3, openModePage, modePageKey, nullptr},
    {MenuId::Options, openOptions, nullptr, backFromOptions},
    {MenuId::Hiscore, openHiscore, hiscoreKey, backFromHiscore},
    {MenuId::Credits, openCredits, creditsKey, nullptr},
    {MenuId::HelpScreen, openHelp, nullptr, backFromHelp},
    {MenuId::Profiles, openProfiles, profilesKey, nullptr},
    {MenuId::NewProfile, openNewProfile, keepsEscape, nullptr},
    {MenuId::Rename, openRename, nullptr, nullptr},
    {MenuId::LoadGameQuest, nullptr, keepsEscape, nullptr},
    {MenuId::MessageBoxOk, nullptr, keepsEscape, nullptr},
    {MenuId::Gameplay, nullptr, nullptr, backFromGameMenu},
    {MenuId::LevelComplete, openLevelComplete, levelCompleteKey, nullptr},
    {MenuId::Defeat, openLostGame, keepsEscape, nullptr},
    {MenuId::GameOver, openLostGame, nullptr, nullptr},
};

const PageRole* roleOf(const MenuPage& page) {
    const PageRole* end = std::end(kPageRoles);
    const PageRole* role =
        std::find_if(std::begin(kPageRoles), end, [&](const PageRole& r) { return r.page == page.id; });
    return page.id == MenuId::None || role == end ? nullptr : role;
}

} // namespace

void runOpeningAction(MenuPage* page) {
    menus.textEntryOn = false;
    const PageRole* role = page ? roleOf(*page) : nullptr;
    if (role && role->open) role->open(*page);
}

bool pageKey(MenuPage& page, unsigned& key) {
    const PageRole* role = roleOf(page);
    return role && role->key && role->key(page, key);
}

bool pageBack(MenuPage& page) {
    const PageRole* role = roleOf(page);
    return role && role->back && role->back(page);
}
