// What an item does once its page has closed: one command per item the game acts on, found by the
// item's id; any other item opens the page of its name.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
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

bool onModePage(const MenuPage* page) {
    return page && isModePage(page->id);
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
    openPage(MenuId::Main);
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
    if (menus.currentPage == page && page->id != MenuId::Credits) page->parent = from;
}

// The next level after a won or given-up one, with the stage announcement when a zone was closed.
void nextLevelWithAnnouncement(bool zoneCompleted, bool modeCompleted) {
    play(profileLevel());
    if (zoneCompleted && !modeCompleted && menuHost.announceStage) menuHost.announceStage();
}

// "yes" answers the question its page asked over the page it came from.
void yes(MenuPage& page, MenuPage&) {
    MenuPage* parent = page.parent;
    if (pageIs(&page, MenuId::LoadGameQuest)) {
        if (menuHost.resumeSavedGame && !menuHost.resumeSavedGame()) openPage(modePage(game.mode));
        return;
    }
    if (pageIs(parent, MenuId::Main)) {
        app.quitRequested = true;
    } else if (pageIs(parent, MenuId::Profiles)) {
        removeProfile(menus.editedProfile);
        menus.editedProfile = std::max(0, menus.editedProfile - 1);
        if (settings.profileCount == 0) {
            menus.hoveredWidget = 0;
            menus.editedProfile = 0;
            openPage(MenuId::NewProfile);
        } else {
            goBack();
        }
    } else if (onModePage(parent)) {
        setProfileScore(0);
        setProfileLevel(menus.selectedLevel);
        play(menus.selectedLevel);
    } else if (pageIs(parent, MenuId::Gameplay)) {
        if (is(lastMessageKey, "skipquest")) {
            // Skipping goes on to the next level at the price of a life; the skipped one is not kept.
            takeProfileLife();
            discardSavedGame(liveRules);
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
    } else if (pageIs(parent, MenuId::Defeat)) {
        takeProfileLife();
        LevelAdvance advance = advanceLevel();
        savePlayerData();
        nextLevelWithAnnouncement(advance.zoneCompleted, advance.modeCompleted);
    }
}

// A refused name opens its page again with the typed text kept.
void reopenKeepingName(MenuPage& page) {
    char kept[kNameBytes];
    std::memcpy(kept, menus.nameBuffer, sizeof kept);
    openPage(&page);
    std::memcpy(menus.nameBuffer, kept, sizeof kept);
    menus.nameCursor = static_cast<int>(strnlen(kept, kNameBytes - 1));
}

void resumeGame(MenuPage&, MenuPage&) {
    leaveGameMenu();
}

void skipLevel(MenuPage&, MenuPage&) {
    if (profileLives() != 0)
        question("skipquest");
    else
        note("noskiplevel");
}

// On the in-game menu a restart costs a life and is asked first; after a defeat it is the way on.
void restartLevel(MenuPage& page, MenuPage&) {
    if (pageIs(&page, MenuId::Gameplay)) {
        question(profileLives() != 0 ? "restartquest" : "nomorelives");
    } else {
        if (menuHost.restartLevel) menuHost.restartLevel();
        leaveGameMenu();
    }
}

void selectProfileItem(MenuPage&, MenuPage&) {
    if (menus.hoveredWidget >= 0 && menus.hoveredWidget < settings.profileCount)
        selectProfile(menus.hoveredWidget);
    openPage(MenuId::Main);
}

void renameItem(MenuPage&, MenuPage&) {
    int index = std::clamp(menus.hoveredWidget, 0, std::max(0, settings.profileCount - 1));
    // A stored name longer than the editor holds is cut to what the editor can show.
    std::snprintf(menus.nameBuffer, sizeof menus.nameBuffer, "%.*s",
                  static_cast<int>(sizeof menus.nameBuffer) - 1, profiles.list[index].name);
    menus.editedProfile = index;
    openAsSubPage(findPage(MenuId::Rename));
}

void okRename(MenuPage& page, MenuPage&) {
    if (renameProfile(menus.editedProfile, menus.nameBuffer)) {
        savePlayerData();
        openPage(MenuId::Profiles);
    } else {
        reopenKeepingName(page);
    }
}

void removeItem(MenuPage&, MenuPage&) {
    menus.editedProfile = menus.hoveredWidget;
    question("removeplayer");
}

void okNewProfile(MenuPage& page, MenuPage&) {
    if (createProfile(menus.nameBuffer)) {
        savePlayerData();
        openPage(MenuId::Main);
    } else {
        reopenKeepingName(page);
    }
}

// Leaving a game for the map saves it first, with a note, where this moment allows it.
void toMain(MenuPage& page, MenuPage&) {
    if (pageIs(&page, MenuId::Defeat)) {
        toMapWithMain();
    } else {
        menus.selectedItem = 0;
        if (menuHost.saveRunningGame && menuHost.saveRunningGame())
            note("savemsg");
        else
            toMapWithMain();
    }
}

void okNextLevel(MenuPage&, MenuPage&) {
    if (!game.stageComplete)
        returnToMenus();
    else
        restAfterStage();
}

void ok(MenuPage& page, MenuPage&) {
    MenuPage* parent = page.parent;
    if (pageIs(&page, MenuId::HelpScreen) || is(lastMessageKey, "nosavemsg")) {
        goBack();
    } else if (pageIs(parent, MenuId::Gameplay) && !is(lastMessageKey, "savemsg")) {
        // A note over the in-game menu (no skip left, ...) goes back to play, not to the map.
        goBack();
    } else if (!pageIs(parent, MenuId::Defeat)) {
        toMapWithMain();
    } else {
        goBack();
    }
}

void back(MenuPage&, MenuPage&) {
    goBack();
}

void no(MenuPage& page, MenuPage&) {
    if (pageIs(&page, MenuId::LoadGameQuest)) {
        currentProfile().savedGame[std::clamp(game.mode, 0, 2)] = 0;
        openPage(modePage(game.mode));
    } else {
        if (onModePage(page.parent)) game.mode = currentProfile().profileMode;
        goBack();
    }
}

// The mode items of "main": the mode becomes the profile's, and its saved game is offered first.
void chooseMode(MenuPage&, MenuPage& item) {
    if (profileLives() < 0) restartProfileMode();
    game.mode = modeOfPage(item.id);
    setProfileMode(game.mode);
    if (currentProfile().savedGame[game.mode])
        openAsSubPage(findPage(MenuId::LoadGameQuest));
    else
        openAsSubPage(&item);
}

void exitItem(MenuPage&, MenuPage&) {
    question("quit");
}

// A level other than the profile's own starts the mode's score again, so that is asked first.
void start(MenuPage& page, MenuPage&) {
    if (!onModePage(&page)) return;
    int chosen = menus.selectedLevel;
    if (chosen == profileLevel()) {
        play(chosen);
    } else if (profileScore() > 0) {
        question("zeroscore");
    } else {
        setProfileLevel(chosen);
        play(chosen);
    }
}

void apply(MenuPage& page, MenuPage&) {
    // Only a changed choice switches the display: a switch rebuilds the window for nothing.
    if (pageIs(&page, MenuId::Options) && settings.pendingFullScreen != settings.fullScreen) {
        settings.fullScreen = settings.pendingFullScreen;
        if (menuHost.applyScreenMode) menuHost.applyScreenMode();
    }
    goBack();
}

struct ItemCommand {
    MenuId item;
    void (*run)(MenuPage& page, MenuPage& item); // page: the page the item was chosen on
};

constexpr ItemCommand kItemCommands[] = {
    {MenuId::ResumeGame, resumeGame},
    {MenuId::SkipLevel, skipLevel},
    {MenuId::RestartLevel, restartLevel},
    {MenuId::SelectProfile, selectProfileItem},
    {MenuId::Rename, renameItem},
    {MenuId::OkRename, okRename},
    {MenuId::Remove, removeItem},
    {MenuId::OkNewProfile, okNewProfile},
    {MenuId::Main, toMain},
    {MenuId::OkNextLevel, okNextLevel},
    {MenuId::Ok, ok},
    {MenuId::Back, back},
    {MenuId::No, no},
    {MenuId::Yes, yes},
    {MenuId::Mode1, chooseMode},
    {MenuId::Mode2, chooseMode},
    {MenuId::Mode3, chooseMode},
    {MenuId::Exit, exitItem},
    {MenuId::Start, start},
    {MenuId::Apply, apply},
};

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
        openPage(MenuId::Main);
        menus.selectedItem = (game.mode + 1) % 3;
    } else {
        levelMap.mapView = 1;
        openPage(modePage(game.mode));
    }
}

void runItemCommand() {
    MenuPage* page = menus.currentPage;
    if (!page || menus.selectedItem < 0 || menus.selectedItem >= page->items.size()) return;
    MenuPage* item = page->items[menus.selectedItem];
    for (const ItemCommand& command : kItemCommands) {
        if (item->id != MenuId::None && command.item == item->id) {
            command.run(*page, *item);
            return;
        }
    }
    openAsSubPage(item);
}
