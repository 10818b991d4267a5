// The names of the menu file that the game acts on, as ids. The loader gives every page and item of
// "menu.txt" its id once; the code compares ids, never names. A name the game does not act on has
// MenuId::None. The mode pages and the pages the loader makes itself keep their order below.
#pragma once

#include <cstdint>

enum class MenuId : uint8_t {
    None,
    // Pages.
    Main,
    Mode1, // Mode1..Mode3 follow one another: the mode is the distance from Mode1
    Mode2,
    Mode3,
    Options,
    Hiscore,
    Credits,
    HelpScreen,
    Profiles,
    NewProfile,
    Rename,
    LoadGameQuest,
    MessageBoxOk,
    MessageBoxYn,
    Gameplay,
    LevelComplete,
    SurvivalComplete, // made empty by the loader when the file has none
    Defeat,
    GameOver,
    // Items that are commands.
    Exit,
    Start,
    Back,
    Apply,
    Ok,
    SelectProfile,
    Remove,
    OkNewProfile,
    OkRename,
    Yes,
    No,
    ResumeGame,
    RestartLevel,
    SkipLevel,
    OkNextLevel,
    Count
};

constexpr int kMenuIdCount = static_cast<int>(MenuId::Count);

MenuId menuIdOf(const char* name); // the id of a name of the menu file; None for a name the game ignores
const char* menuName(MenuId id);   // the name "menu.txt" gives the id; "" for None
bool isModePage(MenuId id);        // Mode1..Mode3
int modeOfPage(MenuId id);         // 0..2 for Mode1..Mode3
MenuId modePage(int mode);         // Mode1..Mode3 for a mode, clamped to 0..2
bool madeByLoader(MenuId id);      // a page the loader makes when the file lacks it (never required of it)
