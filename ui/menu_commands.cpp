// What an item does once its page has closed, and what a page does when it opens.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/saved_game.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "player/write_check.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"

namespace {

constexpr float kAnnounceX = -40; // the middle of the board
constexpr float kAnnounceMs = 4000;

bool is(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

bool pageIs(const MenuPage* page, const char* name) {
    return page && is(page->name, name);
}

bool isModePage(const MenuPage* page) {
    return pageIs(page, "mode1") || pageIs(page, "mode2") || pageIs(page, "mode3");
}

bool inGame() {
    return menuHost.gameSceneCurrent && menuHost.gameSceneCurrent();
}

// The key of the last question or note, so that "yes" and "ok" know what they answer.
char lastMessageKey[32];

void ask(const char* key, bool okOnly) {
    std::snprintf(lastMessageKey, sizeof lastMessageKey, "%s", key);
    const char* t = findText(key);
    showMessageBox(t ? t : key, okOnly);
}

void question(const char* key) {
    ask(key, false);
}

void note(const char* key) {
    ask(key, true);
}

void leaveGameMenu() {
    game.menuOpen = false;
}

void toMapWithMain() {
    if (menuHost.showMap) menuHost.showMap();
    openPage("main");
}

void play(int level) {
    menus.selectedLevel = level; // the level on the board is the chosen one, whichever way it started
    if (menuHost.playLevel) menuHost.playLevel(level);
}

// A closed stage: the board rests in the pause while the next stage's landscape swirls in and its
// name is announced (after the last stage: the congratulations instead), until a key or click leaves
// for the level map, where the new zone's artefact is lit.
void restAfterStage() {
    leaveGameMenu();
    game.running = false;
    game.pauseMs = 0;
    if (game.gamePassed) return;
    clearLetterTexts(); // the closing "stage complete" letters would drift over the announcement
    if (menuHost.stageScenery) menuHost.stageScenery(profileLevel());
    if (menuHost.announceStage) menuHost.announceStage();
}

void openAsSubPage(MenuPage* page) {
    if (!page) return;
    MenuPage* from = menus.currentPage;
    openPage(page);
    if (menus.currentPage == page && !is(page->name, "credits")) page->parent = from;
}

const char* modePageName(int mode) {
    static const char* const names[] = {"mode1", "mode2", "mode3"};
    return names[std::clamp(mode, 0, 2)];
}

// The next level after a won or given-up one, with the stage announcement when a zone was closed.
void nextLevelWithAnnouncement(bool zoneCompleted, bool modeCompleted) {
    play(profileLevel());
    if (zoneCompleted && !modeCompleted && menuHost.announceStage) menuHost.announceStage();
}

void yes(MenuPage* page) {
    MenuPage* parent = page->parent;
    if (pageIs(page, "loadgamequest")) {
        if (menuHost.resumeSavedGame && !menuHost.resumeSavedGame()) openPage(modePageName(game.mode));
        return;
    }
    if (pageIs(parent, "main")) {
        app.quitRequested = true;
    } else if (pageIs(parent, "profiles")) {
        removeProfile(menus.editedProfile);
        menus.editedProfile = std::max(0, menus.editedProfile - 1);
        if (settings.profileCount == 0) {
            menus.hoveredWidget = 0;
            menus.editedProfile = 0;
            openPage("newprofile");
        } else {
            goBack();
        }
    } else if (isModePage(parent)) {
        setProfileScore(0);
        setProfileLevel(menus.selectedLevel);
        play(menus.selectedLevel);
    } else if (pageIs(parent, "gameplay")) {
        if (is(lastMessageKey, "skipquest")) {
            // Skipping goes on to the next level at the price of a life; the skipped one is not kept.
            takeProfileLife();
            discardSavedGame();
            LevelAdvance advance = advanceLevel();
            savePlayerData();
            nextLevelWithAnnouncement(advance.zoneCompleted, advance.modeCompleted);
        } else if (profileLives() != 0) {
            takeProfileLife();
            savePlayerData(); // a life bought is kept even when the game ends before the next save
            if (menuHost.restartLevel) menuHost.restartLevel();
            leaveGameMenu();
        } else {
            leaveGameMenu();
            if (menuHost.giveUpLevel) menuHost.giveUpLevel();
        }
    } else if (pageIs(parent, "defeat")) {
        takeProfileLife();
        LevelAdvance advance = advanceLevel();
        savePlayerData();
        nextLevelWithAnnouncement(advance.zoneCompleted, advance.modeCompleted);
    }
}

// A refused name opens its page again with the typed text kept.
void reopenKeepingName(MenuPage* page) {
    char kept[kNameBytes];
    std::memcpy(kept, menus.nameBuffer, sizeof kept);
    openPage(page);
    std::memcpy(menus.nameBuffer, kept, sizeof kept);
    menus.nameCursor = static_cast<int>(strnlen(kept, kNameBytes - 1));
}

} // namespace

void noteUnsavedProgress() {
    if (menus.unsavedNoted || !playerProgressUnsaved() || !findText("nosavemsg")) return;
    menus.unsavedNoted = true;
    note("nosavemsg");
}

void announceNextStage() {
    const char* heading = findText("nextstage");
    if (heading) popupText(heading, kAnnounceX, 40, 24, kAnnounceMs);
    // The stage names follow "stagename1" in the text table, one per zone.
    if (!findText("stagename1")) return;
    const char* stage = textAt(indexOfText("stagename1") + profileLevel() / kLevelsPerZone);
    if (stage) popupText(stage, kAnnounceX, -20, 30, kAnnounceMs);
}

void returnToMenus() {
    if (menuHost.showMap) menuHost.showMap();
    if (game.gamePassed) {
        levelMap.mapView = 0;
        openPage("main");
        menus.selectedItem = (game.mode + 1) % 3;
    } else {
        levelMap.mapView = 1;
        openPage(modePageName(game.mode));
    }
}

void runItemCommand() {
    MenuPage* page = menus.currentPage;
    if (!page || menus.selectedItem < 0 || menus.selectedItem >= page->itemCount) return;
    MenuPage* item = page->items[menus.selectedItem];
    const char* name = item->name;
    MenuPage* parent = page->parent;

    if (is(name, "resume game") || is(name, "okcontinuegame")) {
        leaveGameMenu();
    } else if (is(name, "skip level")) {
        if (profileLives() != 0)
            question("skipquest");
        else
            note("noskiplevel");
    } else if (is(name, "restart level")) {
        if (pageIs(page, "gameplay")) {
            question(profileLives() != 0 ? "restartquest" : "nomorelives");
        } else {
            if (menuHost.restartLevel) menuHost.restartLevel();
            leaveGameMenu();
        }
    } else if (is(name, "selectprofile")) {
        if (menus.hoveredWidget >= 0 && menus.hoveredWidget < settings.profileCount)
            selectProfile(menus.hoveredWidget);
        openPage("main");
    } else if (is(name, "rename")) {
        int index = std::clamp(menus.hoveredWidget, 0, std::max(0, settings.profileCount - 1));
        // A stored name longer than the editor holds is cut to what the editor can show.
        std::snprintf(menus.nameBuffer, sizeof menus.nameBuffer, "%.*s",
                      static_cast<int>(sizeof menus.nameBuffer) - 1, profiles.list[index].name);
        menus.editedProfile = index;
        openAsSubPage(findPage("rename"));
    } else if (is(name, "okrename")) {
        if (renameProfile(menus.editedProfile, menus.nameBuffer)) {
            savePlayerData();
            openPage("profiles");
        } else {
            reopenKeepingName(page);
        }
    } else if (is(name, "remove")) {
        menus.editedProfile = menus.hoveredWidget;
        question("removeplayer");
    } else if (is(name, "oknewprofile")) {
        if (createProfile(menus.nameBuffer)) {
            savePlayerData();
            openPage("main");
        } else {
            reopenKeepingName(page);
        }
    } else if (is(name, "main")) {
        if (pageIs(page, "defeat")) {
            toMapWithMain();
        } else {
            menus.selectedItem = 0;
            if (menuHost.saveRunningGame && menuHost.saveRunningGame())
                note("savemsg");
            else
                toMapWithMain();
        }
    } else if (is(name, "relax")) {
        game.timeLimitSec = 0;
        leaveGameMenu();
    } else if (is(name, "oknextlevel")) {
        if (!game.stageComplete)
            returnToMenus();
        else
            restAfterStage();
    } else if (is(name, "ok")) {
        if (pageIs(page, "helpscreen") || is(lastMessageKey, "nosavemsg")) {
            goBack();
        } else if (pageIs(parent, "gameplay") && !is(lastMessageKey, "savemsg")) {
            // A note over the in-game menu (no skip left, ...) goes back to play, not to the map.
            goBack();
        } else if (!pageIs(parent, "new game") && !pageIs(parent, "defeat")) {
            toMapWithMain();
        } else {
            goBack();
        }
    } else if (is(name, "back") || is(name, "cancel")) {
        goBack();
    } else if (is(name, "no")) {
        if (pageIs(page, "loadgamequest")) {
            currentProfile().savedGame[std::clamp(game.mode, 0, 2)] = 0;
            openPage(modePageName(game.mode));
        } else {
            if (isModePage(parent)) game.mode = currentProfile().profileMode;
            goBack();
        }
    } else if (is(name, "yes")) {
        yes(page);
    } else if (is(name, "mode1") || is(name, "mode2") || is(name, "mode3")) {
        if (profileLives() < 0) restartProfileMode();
        game.mode = name[4] - '1';
        setProfileMode(game.mode);
        if (currentProfile().savedGame[game.mode])
            openAsSubPage(findPage("loadgamequest"));
        else
            openAsSubPage(item);
    } else if (is(name, "exit")) {
        question("quit");
    } else if (is(name, "start")) {
        if (!isModePage(page)) return;
        int chosen = menus.selectedLevel;
        if (chosen == profileLevel()) {
            play(chosen);
        } else if (profileScore() > 0) {
            question("zeroscore");
        } else {
            setProfileLevel(chosen);
            play(chosen);
        }
    } else if (is(name, "apply")) {
        // Only a changed choice switches the display: a switch rebuilds the window for nothing.
        if (pageIs(page, "options") && settings.pendingFullScreen != settings.fullScreen) {
            settings.fullScreen = settings.pendingFullScreen;
            if (menuHost.applyScreenMode) menuHost.applyScreenMode();
        }
        goBack();
    } else if (is(name, "default")) {
        if (pageIs(page, "audio")) audioDefaults();
        openPage(page);
    } else {
        openAsSubPage(item);
    }
}

void runOpeningAction(MenuPage* page) {
    const char* name = page->name;
    // The name editor takes the keys only on the name pages.
    menus.textEntryOn = is(name, "newprofile") || is(name, "rename");
    if ((is(name, "defeat") || is(name, "hiscore") || is(name, "gameover")) && inGame())
        menus.scorePending = true;
    if (is(name, "main")) {
        requestMusicSection(2);
        levelMap.mapView = 0;
    } else if (isModePage(page)) {
        requestMusicSection(6);
        menus.scorePending = false;
        levelMap.mapView = 1;
        menus.selectedLevel = profileLevel();
        menus.hoveredWidget = menus.selectedLevel;
    } else if (is(name, "options")) {
        settings.pendingFullScreen = settings.fullScreen;
    } else if (is(name, "hiscore")) {
        menus.hiscoreTable = std::clamp(currentProfile().profileMode, 0, 2);
        if (menus.scorePending) {
            enterHighScore(menus.hiscoreTable);
            menus.scorePending = false;
        }
    } else if (is(name, "credits")) {
        requestMusicSection(2);
        menus.creditsTimerMs = 0;
        levelMap.mapView = 4;
    } else if (is(name, "profiles")) {
        menus.hoveredWidget = menus.editedProfile;
    } else if (is(name, "newprofile")) {
        levelMap.mapView = 0;
        std::memset(menus.nameBuffer, 0, sizeof menus.nameBuffer);
        menus.nameCursor = 0;
    } else if (is(name, "rename")) {
        menus.nameCursor = 0;
    } else if (is(name, "helpscreen")) {
        if (menuHost.helpStart) menuHost.helpStart();
    } else if (is(name, "levelcomplete")) {
        menus.stats = StatsCountUp{};
    }
}
