#include "ui/menu_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/input.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "platform/events.h"
#include "platform/message_box.h"
#include "player/profile.h"
#include "player/settings.h"
#include "ui/level_map.h"
#include "ui/widgets.h"

MenuSystem menus;
MenuHost menuHost;

bool allLevelsOpen() {
    return menuHost.allLevelsOpen && menuHost.allLevelsOpen();
}

namespace {

// Reads the menu file's text: the sections of names and the records they make.
struct TreeReader {
    std::string_view text;
    bool failed = false;

    // The line after the first "name=" anywhere in the text, or npos.
    size_t sectionStart(const char* name) const {
        std::string key = std::string(name) + "=";
        size_t at = text.find(key);
        if (at == std::string_view::npos) return at;
        size_t lineEnd = text.find('\n', at);
        return lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    }

    MenuPage* create(std::string_view name) {
        MenuPage* slot = menus.pages.add();
        if (!slot) {
            failed = true;
            return nullptr;
        }
        MenuPage& page = *slot;
        page = MenuPage{};
        size_t n = std::min(name.size(), sizeof page.name - 1);
        std::memcpy(page.name, name.data(), n);
        page.name[n] = 0;
        page.id = menuIdOf(page.name); // the one place a page's name is looked at for what it does
        if (const char* caption = findText(page.name))
            std::snprintf(page.caption, sizeof page.caption, "%s", caption);
        return &page;
    }

    // Lists the items of the page's section, reading each new item's own section before the next line.
    void readSection(MenuPage* page, int depth) {
        size_t at = sectionStart(page->name);
        if (at == std::string_view::npos || depth > kMaxMenuPages) return;
        while (at < text.size() && !failed) {
            size_t end = text.find_first_of("\r\n", at);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(at, end - at);
            if (line.empty()) return; // the section ends at the first empty line
            at = text.find('\n', end);
            at = at == std::string_view::npos ? text.size() : at + 1;
            char name[kMenuNameBytes] = {};
            std::memcpy(name, line.data(), std::min(line.size(), sizeof name - 1));
            MenuPage* item = findPage(name);
            bool isNew = item == nullptr;
            if (isNew) item = create(line);
            if (!item) return;
            item->inFile = true;
            if (!page->items.push(item)) {
                failed = true;
                return;
            }
            if (isNew) {
                item->parent = page;
                readSection(item, depth + 1);
            }
        }
    }

    MenuPage* ensure(MenuId id) {
        const char* name = menuName(id);
        bool named = sectionStart(name) != std::string_view::npos;
        MenuPage* page = findPage(id);
        if (!page) {
            page = create(name);
            if (page) readSection(page, 0);
        }
        if (page && named) page->inFile = true;
        return page;
    }
};

// Keys pressed for a page that is going away: the next page starts with none.
void dropWaitingKeys() {
    menus.menuKeyCode = 0;
    menus.keyQueue.clear();
}

void toggleHoveredCheckBox() {
    int h = menus.hoveredWidget;
    if (h >= 0 && h < menus.widgets.size() && menus.widgets[h].type == WIDGET_CHECKBOX)
        menus.widgets[h].flag ^= 1;
}

bool onModePage() {
    return isModePage(currentPageId());
}

bool levelOpen(int level) {
    return allLevelsOpen() || level <= profileHighestLevel();
}

bool insideWidget(const Widget& w, float x, float y, float widen = 0) {
    return w.left - widen <= x && x <= w.right + widen && w.bottom <= y && y <= w.top;
}

void dragSliders() {
    if (!menus.mouseHeld) return;
    MenuPoint m = menuMouse();
    for (int i = 0; i < menus.widgets.size(); ++i) {
        Widget& w = menus.widgets[i];
        if (w.type == WIDGET_SLIDER && insideWidget(w, m.x, m.y, 25.6f))
            w.position = static_cast<int16_t>(sliderDrag(w, m.x));
    }
}

bool focusable(const Widget& w) {
    return w.type == WIDGET_SLIDER || w.type == WIDGET_CHECKBOX;
}

// The focus order of a page with sliders or check boxes: those widgets in drawing order, then the
// buttons. Position p < widget count is a widget, the rest are the items.
int focusableCount() {
    int n = 0;
    for (int i = 0; i < menus.widgets.size(); ++i) n += focusable(menus.widgets[i]) ? 1 : 0;
    return n;
}

int focusableWidget(int nth) {
    for (int i = 0; i < menus.widgets.size(); ++i) {
        if (focusable(menus.widgets[i]) && nth-- == 0) return i;
    }
    return -1;
}

int focusPosition() {
    int h = menus.hoveredWidget;
    if (h >= 0 && h < menus.widgets.size() && focusable(menus.widgets[h])) {
        int nth = 0;
        for (int i = 0; i < h; ++i) nth += focusable(menus.widgets[i]) ? 1 : 0;
        return nth;
    }
    return focusableCount() + std::max(0, menus.selectedItem);
}

void focusOn(int position) {
    int widgets = focusableCount();
    if (position < widgets) {
        menus.hoveredWidget = focusableWidget(position);
        menus.selectedItem = -1; // one highlight at a time
    } else {
        menus.hoveredWidget = -1;
        menus.selectedItem = position - widgets;
    }
}

// Up and Down walk a page's sliders, check boxes and buttons; Left and Right change the slider or
// check box under the focus. False for keys and pages this does not concern.
bool widgetFocusKey(unsigned k) {
    int widgets = focusableCount();
    const MenuPage* page = menus.currentPage;
    if (widgets == 0 || !page || menus.textEntryOn) return false;
    int total = widgets + page->items.size();
    int at = focusPosition();
    if (k == kKeyUp || k == kKeyDown) {
        focusOn((at + (k == kKeyDown ? 1 : total - 1)) % total);
        return true;
    }
    if ((k == kKeyLeft || k == kKeyRight) && at < widgets) {
        Widget& w = menus.widgets[menus.hoveredWidget];
        if (w.type == WIDGET_CHECKBOX) {
            w.flag ^= 1;
        } else {
            int step = std::max(1, w.steps / 20);
            w.position = static_cast<int16_t>(
                std::clamp(w.position + (k == kKeyRight ? step : -step), 0, w.steps - 1));
        }
        return true;
    }
    return false;
}

void handleKey() {
    unsigned k = menus.menuKeyCode;
    menus.menuKeyCode = 0;
    if (menus.textEntryOn && k != 0) nameEditorKey(k);
    if (k & kMenuTypedCharacter) return; // a typed character is the name editor's alone
    if (menus.menuHidden && k != 0) {
        menus.menuHidden = false;
        openPage(MenuId::Main);
        return;
    }
    if (k == 0 || !menus.currentPage) return;
    MenuPage* page = menus.currentPage;
    if (pageKey(*page, k)) return;
    if (widgetFocusKey(k)) return;

    switch (k) {
    case kKeyReturn:
        if (menus.selectedItem < 0) {
            toggleHoveredCheckBox();
            break;
        }
        playSound("menu.ogg");
        menus.activatePending = true;
        closePage();
        break;
    case kKeyEscape:
        menus.backPending = true;
        closePage();
        menus.selectedItem = 0;
        break;
    case kKeySpace:
        toggleHoveredCheckBox();
        break;
    case kKeyLeft:
    case kKeyUp:
        if (page->items.size() > 0 && --menus.selectedItem < 0) menus.selectedItem = page->items.size() - 1;
        break;
    case kKeyRight:
    case kKeyDown:
        if (page->items.size() > 0) menus.selectedItem = (menus.selectedItem + 1) % page->items.size();
        break;
    default:
        break;
    }
}

} // namespace

MenuPoint menuMouse() {
    ScreenPoint p = mouseInScreenUnits();
    return {p.x, p.y};
}

void resetMenus() {
    std::memset(static_cast<void*>(&menus), 0, sizeof menus); // every list empty
    menus.hoveredWidget = -1;
    menus.lastSelected = 0;
}

bool buildMenuTree(std::string_view text) {
    TreeReader reader{text};
    MenuPage* main = reader.ensure(MenuId::Main);
    if (reader.failed || !main) return false;
    // "main" shows its items from the second on; the first stays a record of the table.
    if (!main->items.empty()) main->items.removeAt(0);
    // The pages the game opens by itself, read from wherever the file has their sections.
    constexpr MenuId kOpenedByTheGame[] = {
        MenuId::LoadGameQuest, MenuId::NewProfile,    MenuId::Rename,           MenuId::HelpScreen,
        MenuId::Profiles,      MenuId::LevelComplete, MenuId::SurvivalComplete, MenuId::MessageBoxOk,
        MenuId::MessageBoxYn,  MenuId::Defeat,        MenuId::GameOver,         MenuId::Gameplay};
    for (MenuId id : kOpenedByTheGame) {
        if (!reader.ensure(id)) return false;
    }
    if (reader.failed) return false;
    findPage(MenuId::Profiles)->parent = main;
    return true;
}

namespace {

// The items the commands and the game's pages act on, page by page.
using enum MenuId;
struct NeededItems {
    MenuId page;
    MenuId items[8]; // None ends the list
};
constexpr NeededItems kNeededItems[] = {
    {Main, {Mode1, Mode2, Mode3, Options, Hiscore, HelpScreen, Credits, Exit}},
    {Mode1, {Start, Back}},
    {Mode2, {Start, Back}},
    {Mode3, {Start, Back}},
    {Options, {Apply, Back}},
    {Hiscore, {Back}},
    {Credits, {Back}},
    {HelpScreen, {Ok}},
    {Profiles, {SelectProfile, NewProfile, Rename, Remove, Back}},
    {NewProfile, {OkNewProfile}},
    {Rename, {OkRename}},
    {LoadGameQuest, {Yes, No}},
    {MessageBoxOk, {Ok}},
    {MessageBoxYn, {Yes, No}},
    {Gameplay, {ResumeGame, RestartLevel, SkipLevel, HelpScreen, Main}},
    {LevelComplete, {OkNextLevel}},
    {Defeat, {RestartLevel, Main}},
    {GameOver, {Main}},
};

char missingItem[2 * kMenuNameBytes + 2];

} // namespace

const char* missingMenuItem() {
    for (const NeededItems& needed : kNeededItems) {
        const MenuPage* page = findPage(needed.page);
        for (MenuId item : needed.items) {
            if (item == MenuId::None) break;
            if (page && itemIndexOf(page, item) >= 0) continue;
            std::snprintf(missingItem, sizeof missingItem, "%s/%s", menuName(needed.page), menuName(item));
            return missingItem;
        }
    }
    return nullptr;
}

const char* missingMenuName() {
    for (int i = 1; i < kMenuIdCount; ++i) {
        MenuId id = static_cast<MenuId>(i);
        if (madeByLoader(id)) continue;
        const MenuPage* page = findPage(id);
        if (!page || !page->inFile) return menuName(id);
    }
    return nullptr;
}

void loadMenus() {
    resetMenus();
    menus.tipTextIndex = indexOfText("tip1");
    menus.gameTipTextIndex = indexOfText("gametip1");
    int size = 0;
    uint8_t* data = openFile("menu.txt", &size, true);
    // The file ends after a line break; its last byte is the end of the text.
    std::string_view text(reinterpret_cast<const char*>(data), size > 0 ? size - 1 : 0);
    bool ok = buildMenuTree(text);
    releaseFile(data);
    if (!ok) {
        // Beyond the limits of the page table: rejected like a file that cannot be read.
        menus.loadFailed = true;
        fatalError("Loading Error", "Can't load menu.txt...\nProgram will now stop.", 1);
        return;
    }
    const char* missing = missingMenuName();
    if (!missing) missing = missingMenuItem();
    if (missing) {
        // A page without the item the game waits for would leave the player stuck behind it.
        char message[160];
        std::snprintf(message, sizeof message,
                      "Can't load menu.txt: %s is missing...\nProgram will now stop.", missing);
        menus.loadFailed = true;
        fatalError("Loading Error", message, 1);
        return;
    }
    giveDrawRoutines();
    splitCreditLines(findText("credititems"));
    menus.selectedItem = 0;
}

void splitCreditLines(const char* credits) {
    menus.creditLines.clear();
    if (!credits) return;
    const char* p = credits;
    while (*p && !menus.creditLines.full()) {
        const char* end = p;
        while (*end && *end != '\r' && *end != '\n') ++end;
        char* line = menus.creditLines.add()->text;
        size_t n = std::min<size_t>(end - p, kCreditLineBytes - 1);
        std::memcpy(line, p, n);
        line[n] = 0;
        p = end;
        if (*p == '\r') ++p;
        if (*p == '\n') ++p;
    }
}

MenuPage* findPage(MenuId id) {
    if (id == MenuId::None) return nullptr;
    for (MenuPage& page : menus.pages) {
        if (page.id == id) return &page;
    }
    return nullptr;
}

MenuPage* findPage(const char* name) {
    if (!name) return nullptr;
    for (MenuPage& page : menus.pages) {
        if (std::strcmp(page.name, name) == 0) return &page;
    }
    return nullptr;
}

bool pageIs(const MenuPage* page, MenuId id) {
    return page && id != MenuId::None && page->id == id;
}

MenuId currentPageId() {
    return menus.currentPage ? menus.currentPage->id : MenuId::None;
}

MenuId selectedItemId() {
    const MenuPage* page = menus.currentPage;
    if (!page || menus.selectedItem < 0 || menus.selectedItem >= page->items.size()) return MenuId::None;
    return page->items[menus.selectedItem]->id;
}

int itemIndexOf(const MenuPage* page, MenuId id) {
    if (!page || id == MenuId::None) return -1;
    for (int i = 0; i < page->items.size(); ++i) {
        if (page->items[i]->id == id) return i;
    }
    return -1;
}

int itemIndexOf(const MenuPage* page, const char* name) {
    if (!page) return -1;
    for (int i = 0; i < page->items.size(); ++i) {
        if (std::strcmp(page->items[i]->name, name) == 0) return i;
    }
    return -1;
}

const char* currentPageName() {
    return menus.currentPage ? menus.currentPage->name : "";
}

const char* selectedItemName() {
    const MenuPage* page = menus.currentPage;
    if (!page || menus.selectedItem < 0 || menus.selectedItem >= page->items.size()) return "";
    return page->items[menus.selectedItem]->name;
}

bool menuShown() {
    return menus.currentPage && !menus.menuHidden && (menus.fadeAmount < 1 || menus.opening);
}

void openPage(MenuId id) {
    if (MenuPage* page = findPage(id)) openPage(page);
}

void openPage(MenuPage* page) {
    if (menus.opening || menus.closing) return;
    if (!page) {
        closePage();
        return;
    }
    menus.currentPage = page;
    dropWaitingKeys();
    menus.hoveredWidget = -1;
    menus.buttons.clear();
    menus.widgets.clear();
    menus.opening = true;
    runOpeningAction(page);
    menus.selectedItem = 0;
    menus.transitionTimer = 0;
}

void closePage() {
    if (menus.opening || menus.closing || !menus.currentPage) return;
    dropWaitingKeys();
    menus.closing = true;
    menus.transitionTimer = 0;
}

void showMessageBox(const char* str, bool okOnly) {
    std::snprintf(menus.messageText, sizeof menus.messageText, "%s", str ? str : "");
    MenuPage* from = menus.currentPage;
    MenuPage* box = findPage(okOnly ? MenuId::MessageBoxOk : MenuId::MessageBoxYn);
    if (!box || menus.opening || menus.closing) return;
    openPage(box);
    box->parent = from;
}

void menuUpdate() {
    float dt = app.frameTimeMs;
    menus.menuClockMs += dt;
    updateWidgetColours();
    if (menus.closing) {
        menus.transitionTimer += dt;
        float a = menus.transitionTimer / kTransitionMs;
        menus.fadeAmount = a;
        menus.slideOffset = 600 * a * a;
        if (menus.transitionTimer > kTransitionMs) {
            menus.fadeAmount = 1;
            menus.slideOffset = 600;
            menus.closing = false;
            if (menus.activatePending) {
                menus.activatePending = false;
                runItemCommand();
            }
            if (menus.backPending) {
                menus.backPending = false;
                goBack();
            }
        }
    }
    if (menus.opening) {
        menus.transitionTimer += dt;
        float a = 1 - menus.transitionTimer / kTransitionMs;
        menus.fadeAmount = a;
        menus.slideOffset = 300 * a * a;
        if (menus.transitionTimer > kTransitionMs) {
            menus.fadeAmount = 0;
            menus.slideOffset = 0;
            menus.opening = false;
            if (pageIs(menus.currentPage, MenuId::Main)) noteUnsavedProgress();
        }
    }
    if (menus.selectedItem != menus.lastSelected && menus.selectedItem >= 0 && menus.fadeAmount == 0)
        playSound("menu2.ogg");
    menus.lastSelected = menus.selectedItem;
    menus.pageClockMs += dt;
    menus.caretClockMs += dt;
    if (menus.opening || menus.closing) return;
    hoverTest();
    menus.mouseMoved = false;
    dragSliders();
    handleKey();
    // A key that started a transition takes the waiting ones with it (closePage drops them): keys are
    // for the page they were pressed on, never for the next one.
    if (!menus.opening && !menus.closing && menus.menuKeyCode == 0 && !menus.keyQueue.empty()) {
        menus.menuKeyCode = menus.keyQueue.oldest();
        menus.keyQueue.popOldest();
    }
}

bool hoverTestButtons() {
    MenuPoint m = menuMouse();
    menus.mouseOnSelected = false;
    for (int i = 0; i < menus.buttons.size(); ++i) {
        const ButtonRect& r = menus.buttons[i];
        if (r.left <= m.x && m.x <= r.right && r.bottom <= m.y && m.y <= r.top) {
            menus.mouseOnSelected = i == menus.selectedItem;
            if (menus.mouseMoved) {
                menus.selectedItem = i;
                // The mouse took the highlight: a slider or check box keeps no frame beside it.
                int h = menus.hoveredWidget;
                if (h >= 0 && h < menus.widgets.size() && focusable(menus.widgets[h]))
                    menus.hoveredWidget = -1;
                return true;
            }
        }
    }
    return false;
}

void hoverTest() {
    if (hoverTestButtons()) return;
    MenuPoint m = menuMouse();
    bool any = false;
    for (int i = 0; i < menus.widgets.size(); ++i) {
        Widget& w = menus.widgets[i];
        bool under = insideWidget(w, m.x, m.y);
        if (w.type == WIDGET_LINK) {
            w.flag = under ? 1 : 0;
            continue;
        }
        if (!under) continue;
        any = true;
        if (w.type == WIDGET_PROFILE) continue;
        menus.hoverIdleTimer = 0;
        if (menus.textEntryOn) continue;
        if (focusable(w)) {
            // A resting mouse leaves the keyboard's choice alone; a moving one takes the highlight.
            if (!menus.mouseMoved) continue;
            menus.selectedItem = -1;
        }
        menus.hoveredWidget = i;
    }
    if (onModePage()) {
        if (!allLevelsOpen() && menus.hoveredWidget > profileHighestLevel())
            menus.hoveredWidget = menus.selectedLevel;
        if (!any) {
            menus.hoverIdleTimer += app.frameTimeMs;
            if (menus.hoverIdleTimer > 300) {
                menus.hoveredWidget = menus.selectedLevel;
                menus.hoverIdleTimer = 0;
            }
        }
    }
}

void menuKey(unsigned virtualKey) {
    if (menus.opening || menus.closing || virtualKey == 0) return;
    if (menus.menuKeyCode == 0) {
        menus.menuKeyCode = virtualKey;
        return;
    }
    // Fast typing brings several keys between two frames; they wait their turn instead of replacing
    // each other (the oldest is dropped when sixteen wait: a typed letter brings its key and its character).
    menus.keyQueue.push(virtualKey);
}

bool menuTakesText() {
    return menus.textEntryOn && menus.currentPage && !menus.menuHidden;
}

void menuText(const char* text) {
    if (!menus.textEntryOn) return;
    for (const char* c = text; *c; ++c) menuKey(kMenuTypedCharacter | static_cast<unsigned char>(*c));
}

void menuClick() {
    if (menus.menuHidden) {
        menus.menuHidden = false;
        openPage(MenuId::Main);
        return;
    }
    menus.mouseHeld = true;
    menus.mouseMoved = true;
    // A click while a page comes or goes would activate an item of the next page: it is ignored.
    if (menus.opening || menus.closing || !menus.currentPage) return;
    if (pageIs(menus.currentPage, MenuId::Credits)) {
        menus.menuKeyCode = kKeyReturn;
        return;
    }
    if (hoverTestButtons()) {
        menus.menuKeyCode = kKeyReturn;
    } else {
        hoverTest();
    }
    MenuPoint m = menuMouse();
    for (int i = 0; i < menus.widgets.size(); ++i) {
        Widget& w = menus.widgets[i];
        bool under = insideWidget(w, m.x, m.y);
        switch (w.type) {
        case WIDGET_SLIDER:
            if (insideWidget(w, m.x, m.y, 64)) {
                w.position = static_cast<int16_t>(sliderClick(w, m.x));
                menus.hoveredWidget = i;
                menus.selectedItem = -1;
            }
            break;
        case WIDGET_CHECKBOX:
            if (under) {
                w.flag ^= 1;
                menus.hoveredWidget = i;
                menus.selectedItem = -1;
            }
            break;
        case WIDGET_PREV:
            if (under) menus.menuKeyCode = kKeyLeft;
            break;
        case WIDGET_NEXT:
            if (under) menus.menuKeyCode = kKeyRight;
            break;
        case WIDGET_LINK:
            if (under) {
                menus.editedProfile = settings.currentProfileIndex;
                openPage(MenuId::Profiles);
                return; // the widget list now belongs to the new page
            }
            break;
        case WIDGET_PROFILE:
            if (under) menus.hoveredWidget = i;
            break;
        case WIDGET_LEVELMARK:
            if (under && levelOpen(i)) menus.hoveredWidget = menus.selectedLevel = i;
            break;
        default:
            break;
        }
    }
}

void menuDoubleClick() {
    if (!menus.menuHidden && !menus.opening && !menus.closing && menus.currentPage) {
        MenuPoint m = menuMouse();
        for (int i = 0; i < menus.widgets.size(); ++i) {
            const Widget& w = menus.widgets[i];
            if (!insideWidget(w, m.x, m.y)) continue;
            if (w.type == WIDGET_LEVELMARK && levelOpen(i)) {
                menus.selectedItem = 0;
                menus.hoveredWidget = menus.selectedLevel = i;
                menus.menuKeyCode = kKeyReturn;
                return;
            }
            if (w.type == WIDGET_PROFILE) {
                menus.hoveredWidget = i;
                menus.selectedItem = std::max(0, itemIndexOf(menus.currentPage, MenuId::SelectProfile));
                menus.menuKeyCode = kKeyReturn;
                return;
            }
        }
    }
    menuClick();
}

void menuRightClick() {
    // On the level map the right button goes back to the main page, as Escape does.
    if (!menus.menuHidden && !menus.opening && !menus.closing && onModePage()) menuKey(kKeyEscape);
}

void menuButtonUp() {
    menus.mouseHeld = false;
}

void menuMouseMove() {
    menus.mouseMoved = true;
}

void goBack() {
    MenuPage* page = menus.currentPage;
    if (!page) return;
    if (pageBack(*page)) return;
    // The pages opened over the in-game menu go back to play.
    if (pageIs(page->parent, MenuId::Gameplay)) {
        game.menuOpen = false;
        return;
    }
    MenuPage* parent = page->parent;
    if (!parent) return;
    int index = -1; // the page's place among its parent's items, to select it there again
    for (int i = 0; i < parent->items.size() && index < 0; ++i) {
        if (parent->items[i] == page) index = i;
    }
    openPage(parent);
    menus.selectedItem = std::max(0, index);
}
