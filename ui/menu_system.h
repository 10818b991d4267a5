// The menu system: every page of "menu.txt" with its items, the page machine that opens and closes
// them with their transitions, and the immediate-mode context of the widgets that the pages draw.
//
// Both the level map and the game scene host it: their draw calls menuUpdate then menuDraw, their
// input handlers call menuKey, menuClick, menuDoubleClick, menuButtonUp and menuMouseMove. Handlers
// only set flags and values; menuUpdate consumes them in the next frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <glm/mat4x4.hpp>

#include "engine/limits.h"
#include "platform/fixed_list.h"
#include "platform/ring.h"
#include "ui/menu_ids.h"

constexpr int kMenuNameBytes = 64;   // page names and captions, with the 0
constexpr float kTransitionMs = 300; // opening and closing of a page
constexpr int kMaxCreditLines = 64;  // lines of the credits roll
constexpr int kCreditLineBytes = 64; // 63 characters and the 0
constexpr int kNameBytes = 13;       // a typed player name: 12 characters and the 0
constexpr int kMessageBytes = 1024;  // text of a message box

struct CreditLine {
    char text[kCreditLineBytes];
};

struct MenuPage {
    char name[kMenuNameBytes];    // the whole line of "menu.txt"
    char caption[kMenuNameBytes]; // the text table's text for the name; empty when none
    MenuId id;                    // what the game knows the name as; None when it does not act on it
    bool inFile;                  // the file names it (a section or an item), not only the loader
    MenuPage* parent;             // page to go back to
    // Items in file order; a longer section fails the loading.
    FixedList<MenuPage*, kMaxMenuItems> items;
    void (*drawPage)(); // draw routine; null: the default drawing
};

struct ButtonRect {
    float left, top, right, bottom;
};

enum WidgetType : int {
    WIDGET_SLIDER = 0,
    WIDGET_CHECKBOX = 1,
    WIDGET_PREV = 4,
    WIDGET_NEXT = 5,
    WIDGET_LINK = 7,
    WIDGET_PROFILE = 8,
    WIDGET_LEVELMARK = 9,
};

struct Widget {
    float left, top, right, bottom; // hit box
    int type;                       // WidgetType
    int16_t steps;                  // sliders: number of positions
    int16_t position;               // sliders: 0 .. steps - 1
    uint8_t flag;                   // check boxes: checked; links: under the mouse
};

// The first panel a page drew, as the frame before left it: where the map draws that panel's shadow and
// fill among the painterly layers while the page stands still.
struct PanelBackdrop {
    const MenuPage* page; // the page that drew it; null none
    float left, top, right, bottom;
    glm::mat4 world;
};

// The count-up of the level statistics page.
struct StatsCountUp {
    int stage;     // 0..3 counting the rows, 4 done
    float stageMs; // time in the running stage
    float tickMs;  // time since the last "score.ogg"
};

struct MenuSystem {
    // In order of creation; full fails the loading.
    FixedList<MenuPage, kMaxMenuPages> pages;
    bool loadFailed; // "menu.txt" went beyond the page or item limits

    MenuPage* currentPage; // null until the first page opens
    int selectedItem;      // index among the current page's items; -1 none
    int hoveredWidget;     // hovered (or chosen) widget; -1 none
    unsigned menuKeyCode;  // key for the next menuUpdate; 0 none
    // Keys that arrived while menuKeyCode was taken: one per frame moves on; the oldest is dropped.
    Ring<unsigned, 16> keyQueue;
    bool opening, closing; // a transition runs
    float transitionTimer; // ms in the running transition
    float fadeAmount;      // 0 shown .. 1 gone
    float slideOffset;     // vertical offset of sliding pages
    bool activatePending;  // run the item's command when closing ends
    bool backPending;      // go back when closing ends
    bool menuHidden;       // "main" was closed with Escape; the next click or key brings it back
    bool unsavedNoted;     // the note that progress cannot be saved has been shown (once a run)
    bool mouseMoved;       // consumed by the next hover test
    bool mouseHeld;        // left button down (slider dragging)
    float hoverIdleTimer;  // ms since the mouse last rested on a widget (level map)
    int lastSelected;      // selectedItem of the previous frame
    bool mouseOnSelected;  // the mouse rests on the selected item's button
    bool textEntryOn;      // the name editor takes the keys
    char nameBuffer[kNameBytes];
    int nameCursor;    // caret, 0 .. length
    int editedProfile; // profile that "rename" or "remove" acts on

    FixedList<ButtonRect, kMaxMenuItems> buttons; // rebuilt every frame in drawing order; full drops
    FixedList<Widget, kMaxWidgets> widgets;       // refilled every frame; a slot keeps its values

    int selectedLevel; // level chosen on the map
    int hiscoreTable;  // 0..2
    bool scorePending; // a level was lost: the high-score page enters the score
    FixedList<CreditLine, kMaxCreditLines> creditLines; // the credits text cut at line ends; more are cut
    float creditsTimerMs;
    int tipTextIndex;     // text-table position of "tip1"
    int gameTipTextIndex; // text-table position of "gametip1"
    char messageText[kMessageBytes];
    StatsCountUp stats;
    float pageClockMs;        // grows every frame; the hover frame pulses with it
    float caretClockMs;       // the name entry's caret
    float menuClockMs;        // since start-up: the widget colours
    uint32_t highlightColour; // ARGB, recomputed every frame
    uint32_t glowColour;
    PanelBackdrop lastPanel; // the first panel of the last frame's page
    bool panelDrawn;         // this frame's page has drawn its first panel
    bool backdropUnder;      // lastPanel's shadow and fill lie under this frame's page already
};

extern MenuSystem menus;

// The game's hooks the menus call, null until app/menu_host.cpp installs the ones that reach the scenes
// and the rules; tests put recorders here.
struct MenuHost {
    bool (*gameSceneCurrent)();      // the game scene is the current scene
    void (*showMap)();               // request the level-map scene
    void (*playLevel)(int level);    // start a level of the current mode in the game scene
    bool (*resumeSavedGame)();       // read the profile's saved game and show the game scene
    bool (*saveRunningGame)();       // save the game in progress; false when this moment forbids it
    void (*restartLevel)();          // the level again from its start
    void (*giveUpLevel)();           // lose a life the way the rules do (the defeat sequence)
    void (*helpStart)();             // the help demonstration from its first step
    void (*helpStop)();              // end the help demonstration
    void (*announceStage)();         // float "nextstage" and the stage name over the board
    void (*applyScreenMode)();       // switch window / full screen to settings.fullScreen
    void (*applyCursor)();           // the window cursor after a change of customCursor
    void (*drawHelpPage)();          // the help page's draw routine; null until the help pages exist
    void (*stageScenery)(int level); // the landscape of that level's stage swirls in behind the board
    bool (*allLevelsOpen)();         // the typed word that opens every level on the map is on
    bool (*demoRunning)();           // the help demonstration runs (and draws its own effects)
};

extern MenuHost menuHost;

struct MenuPoint {
    float x, y;
};
MenuPoint menuMouse(); // the mouse in menu screen units (origin in the centre, y upward)

// Loading.
void resetMenus();                          // every field zero, no pages (tests)
void loadMenus();                           // start-up: "menu.txt" and the page set
bool buildMenuTree(std::string_view text);  // the tree from a menu file's text; false beyond the limits
MenuPage* findPage(MenuId id);              // the page of that id, or null
MenuPage* findPage(const char* name);       // first page of that exact name, or null (the loader, tests)
void splitCreditLines(const char* credits); // the credits roll's lines from the text of "credititems"
// The first item the game's pages rely on that the built tree lacks, as "page/item", or null when the
// tree has them all (a page the game opens without its items would stand on the screen, unclickable).
const char* missingMenuItem();
// The name of the first id the game acts on that the built tree's file does not name, or null.
const char* missingMenuName();

// The page machine.
void openPage(MenuId id);      // a page the tree lacks does nothing
void openPage(MenuPage* page); // null closes the current page
void closePage();
void showMessageBox(const char* text, bool okOnly); // "messageboxok" or "messageboxyn" over the page
void goBack();
void menuUpdate();                                       // the per-frame step, before menuDraw
void menuDraw();                                         // draws the current page
bool menuShown();                                        // a page is on screen or on its way
bool pageIs(const MenuPage* page, MenuId id);            // the page is there and has that id
MenuId currentPageId();                                  // None when none
MenuId selectedItemId();                                 // None when none
const char* currentPageName();                           // "" when none (the state probe)
int itemIndexOf(const MenuPage* page, MenuId id);        // position of an item, -1 when absent
int itemIndexOf(const MenuPage* page, const char* name); // the same by name (tests)
const char* selectedItemName();                          // "" when none (the state probe)

// Input from the hosting scene.
void menuKey(unsigned virtualKey); // kept for the next update unless a transition runs
// Typed characters (Windows-1252) for the name editor, queued with the keys so that their order holds:
// each one as kMenuTypedCharacter plus its byte. Ignored unless a name page is open.
constexpr unsigned kMenuTypedCharacter = 0x100;
void menuText(const char* text);
bool menuTakesText(); // a name page is open and shown: the window should deliver typed text
void menuClick();
void menuDoubleClick();
void menuButtonUp();
void menuRightClick(); // the level map: back to the main page
void menuMouseMove();
void hoverTest();
bool hoverTestButtons(); // the button part of the hover test; true when it moved the selection

// Page layouts (menu_pages.cpp).
float mainPanelHeight(int itemCount);  // the main page's panel: 36 per item and 128
float mainPanelCentreY(int itemCount); // its centre before the slide: y 100, lower when it would not fit
void zoneLevelScoreLine(char* out, size_t capacity); // the load question's "zonelevscore" line; "" without it

// What items do (menu_commands.cpp) and what each page does of its own (page_roles.cpp).
void runItemCommand();
void runOpeningAction(MenuPage* page);
bool pageKey(MenuPage& page, unsigned& key); // the page's own use of a key; true when it used it up
bool pageBack(MenuPage& page);               // the page's own way back; true when no parent is to open
void returnToMenus();                        // after a won level that did not end a zone, or the whole mode
void noteUnsavedProgress();                  // on "main": once a run, when a player file could not be written
void announceNextStage();       // floats "nextstage" and the name of the profile's zone over the board
void giveDrawRoutines();        // the draw routines of the pages with their own look
bool levelOpenOnMap(int level); // reached by the profile, or every level while all are open
bool allLevelsOpen();           // the typed word that opens every level is on (menuHost.allLevelsOpen)
