// The draw routines of the pages with a look of their own, and the default drawing of the others.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/font.h"
#include "engine/render.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "player/comfort.h"
#include "player/language_choice.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "ui/number_text.h"
#include "ui/widgets.h"

namespace {

const char* tx(const char* key) {
    const char* t = findText(key);
    return t ? t : "";
}

float fold() {
    return 1 - menus.fadeAmount * menus.fadeAmount;
}

// Pages that fold with the fade: their whole drawing is scaled vertically about the screen centre.
struct Fold {
    explicit Fold() {
        glm::mat4 m(1.0f);
        m[1][1] = std::max(fold(), 0.001f);
        setWorld(&m);
    }
    ~Fold() { setWorld(nullptr); }
};

float widestItem(float size) {
    const MenuPage* page = menus.currentPage;
    return itemListWidth(size, 0, page ? page->items.size() : 0);
}

} // namespace

float mainPanelHeight(int itemCount) {
    return 36.0f * itemCount + 128;
}

float mainPanelCentreY(int itemCount) {
    // The panel stands at y 100 while it fits; a longer list moves it down just enough that its frame,
    // whose tiles reach half a tile beyond the edge, stays on the screen.
    constexpr float kHalfFrameTile = 32;
    return std::min(100.0f, 300 - kHalfFrameTile - mainPanelHeight(itemCount) / 2);
}

void zoneLevelScoreLine(char* out, size_t capacity) {
    if (capacity == 0) return;
    out[0] = 0;
    const char* format = findText("zonelevscore");
    if (!format) return;
    // The table's format takes up to three integers; a text with other conversions is shown as it
    // stands rather than given values it does not expect.
    int conversions = numberConversions(format);
    int level = profileLevel();
    if (conversions >= 0 && conversions <= 3)
        std::snprintf(out, capacity, format, level / 5 + 1, level % 5 + 1, profileScore());
    else
        std::snprintf(out, capacity, "%s", format);
}

namespace {

void drawMainPage() {
    const MenuPage* page = menus.currentPage;
    float width = widestItem(18) + 64;
    float height = mainPanelHeight(page->items.size());
    float cy = menus.slideOffset + mainPanelCentreY(page->items.size());
    drawPanel(220, cy, width, height);
    setTexture(menuTextures.atlas);
    drawAtlasTileStretched(4, 220, cy, width - 24, 32, 0xFFFFFFFF);
    drawItemList(220, cy + 0.24f * height, 18, true, 0, std::min(3, page->items.size()));
    if (page->items.size() > 3) drawItemList(220, cy - 0.24f * height, 17, true, 3, page->items.size());

    float drop = 100 * menus.fadeAmount;
    char greeting[96];
    std::snprintf(greeting, sizeof greeting, "%s!", currentProfile().name);
    setTextColor(240, 233, 0, 255);
    const char* hallo = tx("hallo");
    drawText(-350, -240 - drop, 15, hallo, false);
    drawText(-350 + measureText(hallo, 15), -240 - drop, 15, greeting, false);
    const char* link = tx("ifnotyou");
    float w = measureText(link, 12);
    int slot = addWidget(WIDGET_LINK, -220 - w / 2, -260 - drop, -220 + w / 2, -278 - drop);
    bool lit = slot >= 0 && menus.widgets[slot].flag;
    setTextColor(lit ? 255 : 100, 250, lit ? 255 : 100, 255);
    if (lit) setTextColor(255, 255, 255, 255);
    drawText(-350, -265 - drop, 12, link, false);
    setTextColor(0xFFFFFFFFu);
    if (menus.mouseOnSelected && menus.selectedItem >= 0 && menus.selectedItem < 5 &&
        menus.selectedItem < menus.buttons.size()) {
        const ButtonRect& r = menus.buttons[menus.selectedItem];
        int tipIndex = indexOfText("modetip");
        const char* tip =
            tipIndex > 0 || findText("modetip") ? textAt(tipIndex + menus.selectedItem) : nullptr;
        // Beside the panel, not over the list it explains.
        constexpr float kTipWidth = 300, kGap = 40;
        showBalloon(220 - width / 2 - kGap - kTipWidth / 2, (r.top + r.bottom) / 2, tip, kTipWidth);
    }
}

void drawModePage() {
    float drop = 100 * menus.fadeAmount;
    drawButton(300, -250 - drop, 160, 64, 18, nullptr);
    // The way back to the main page (the page's second item): in the bottom left corner, below the
    // path's first marks.
    if (menus.currentPage->items.size() > 1) drawButton(-250, -272 - drop, 120, 44, 15, nullptr);
    for (int e = 0; e < kLevelCount; ++e) {
        const MapPoint& p = levelMap.markAt[e];
        addWidget(WIDGET_LEVELMARK, p.x - 12, p.y + 12, p.x + 12, p.y - 12);
    }
    const char* names[] = {"classic", "puzzle", "action"};
    setTextColor(0xFFFFFFFFu);
    drawTextCentered(0, -250 - drop, 18, tx(names[std::clamp(game.mode, 0, 2)]));
    if (!levelOpenOnMap(menus.hoveredWidget)) menus.hoveredWidget = profileLevel();
    drawHoverFrame();
}

void drawOptionsPage() {
    Fold f;
    drawPanel(0, 0, 460, 570); // wide enough for the language's row
    setTextColor(255, 255, 155, 255);
    drawTextCentered(0, 285 - 55, 17, menus.currentPage->caption);
    setTextColor(0xFFFFFFFFu);
    drawTextCentered(0, 285 - 100, 13, tx("sfxvolume"));
    int before = settings.soundVolume;
    slider(-80, 285 - 125, 80, 285 - 125, &settings.soundVolume, 100);
    if (settings.soundVolume != before && !menus.opening) playSound("chpok1.ogg");
    drawTextCentered(0, 285 - 163, 13, tx("musicvolume"));
    slider(-80, 285 - 188, 80, 285 - 188, &settings.musicVolume, 100);
    checkBox(-100, 285 - 248, &settings.pendingFullScreen, nullptr, 12);
    drawText(-60, 285 - 248, 12, tx("fullscreen"), false);
    bool cursorBefore = settings.customCursor;
    checkBox(-100, 285 - 298, &settings.customCursor, nullptr, 12);
    if (settings.customCursor != cursorBefore && menuHost.applyCursor) menuHost.applyCursor();
    drawText(-60, 285 - 298, 12, tx("customcursor"), false);
    checkBox(-100, 285 - 348, &comfort.reduceFlashes, nullptr, 12);
    // A longer label: wrapped to the panel and centred on its box.
    float labelHeight = wrapText(220, tx("reduceflashes"), 12);
    drawText(-60, 285 - 348 + (labelHeight - kLineStep * 12) / 2, 12, text.wrapBuffer, false);
    drawTextCentered(0, 285 - 398, 13, tx("ballspeed"));
    int position = 150 - static_cast<int>(settings.ballSpeed);
    slider(-80, 285 - 423, 80, 285 - 423, &position, 130);
    settings.ballSpeed = static_cast<float>(std::clamp(150 - position, 21, 150));
    // The language, each in its own name; the texts are loaded at start-up, so it speaks from the next.
    drawText(-200, 285 - 463, 12, tx("language"), false);
    choiceSlider(-10, 130, 285 - 463, &languageChoice, kLanguageChoiceCount, languageChoiceName, 12);
    drawButton(-85, 285 - 525, 150, 64, 15, nullptr);
    drawButton(85, 285 - 525, 150, 64, 15, nullptr);
    drawHoverFrame();
    // Volumes are heard at once.
    setVolumes(settings.musicVolume, settings.soundVolume);
}

void drawHiscorePage() {
    Fold f;
    drawPanel(0, 0, 470, 450);
    setTextColor(255, 255, 155, 255);
    drawTextCentered(-70, 165, 21, menus.currentPage->caption);
    const char* tables[] = {"classicmode", "puzzlemode", "actionmode"};
    int table = std::clamp(menus.hiscoreTable, 0, 2);
    drawTextCentered(110, 165, 17, tx(tables[table]));
    for (int i = 0; i < kHiscoreLines; ++i) {
        const HiscoreEntry& entry = records.hiscores[table][i];
        char name[33] = {};
        std::memcpy(name, entry.name, 32);
        bool mine = settings.profileCount > 0 && std::strcmp(name, currentProfile().name) == 0;
        setTextColor(mine ? menus.highlightColour : 0xFFFFFFFFu);
        float y = 115 - 25.0f * i;
        drawText(-164.5f, y, 12, name, false);
        char score[16];
        std::snprintf(score, sizeof score, "%i", entry.score);
        drawText(94, y, 12, score, false);
    }
    setTextColor(0xFFFFFFFFu);
    drawButton(0, -165, 170, 64, 19, tx("ok"));
    drawAtlasTile(14, -150, -165, 0xFFFFFFFF);
    addWidget(WIDGET_PREV, -175, -140, -125, -190);
    drawAtlasTile(15, 150, -165, 0xFFFFFFFF);
    addWidget(WIDGET_NEXT, 125, -140, 175, -190);
}

void drawCreditsPage() {
    menus.selectedItem = -1;
    int lines = menus.creditLines.size();
    float y0 = 0.03f * menus.creditsTimerMs - 200;
    if (y0 < 40.0f * lines - 50) menus.creditsTimerMs += app.frameTimeMs;
    for (int k = 0; k < lines; ++k) {
        float y = y0 - 40 * k;
        float ay = std::fabs(y);
        float opacity = ay < 100 ? 1 : ay < 260 ? (260 - ay) / 160 : 0;
        if (opacity <= 0) continue;
        const char* text = menus.creditLines[k].text;
        const unsigned char* line = reinterpret_cast<const unsigned char*>(text);
        bool title = std::strlen(text) > 2 && ((line[2] >= 'a' && line[2] <= 'z') || line[2] >= 0xE0);
        setTextColor(255, 255, title ? 0 : 255, static_cast<uint8_t>(255 * opacity));
        drawTextCentered(0, y, 16, text);
    }
    setTextColor(0xFFFFFFFFu);
}

void drawProfilesPage() {
    float top = menus.slideOffset + 280;
    float height = 30.0f * settings.profileCount + 115;
    drawPanel(-325 + 185, top - height / 2, 370, height);
    setTextColor(0, 255, 255, 255);
    drawTextCentered(-140, menus.slideOffset + 220, 18, tx("curusers"));
    if (menus.hoveredWidget == -1) menus.hoveredWidget = 0;
    for (int i = 0; i < settings.profileCount; ++i) {
        float y = menus.slideOffset + 180 - 30.0f * i;
        const char* name = profiles.list[i].name;
        float w = measureText(name, 14);
        addWidget(WIDGET_PROFILE, -140 - w / 2, y + 18, -140 + w / 2, y - 18);
        if (i == menus.hoveredWidget)
            setTextColor(255, 255, 55, 255);
        else
            setTextColor(0xFFFFFFFFu);
        drawTextCentered(-140, y, 14, name);
    }
    setTextColor(0xFFFFFFFFu);
    drawHoverFrame();
    drawItemPanel(230, menus.slideOffset + 150, 18, true, 0, -1);
}

void drawLoadQuestion() {
    Fold f;
    drawPanel(0, 0, 480, 350);
    const char* modes[] = {"classicmode", "puzzlemode", "actionmode"};
    setTextColor(255, 255, 55, 255);
    drawTextCentered(0, 110, 19, tx(modes[std::clamp(game.mode, 0, 2)]));
    setTextColor(0xFFFFFFFFu);
    drawTextCentered(0, 65, 15, tx("loadmsg"));
    char line[128];
    zoneLevelScoreLine(line, sizeof line);
    setTextColor(255, 255, 55, 255);
    constexpr float kTextWidth = 430; // inside the panel's frame
    drawTextCentered(0, 25, fitTextSize(line, 17, kTextWidth), line);
    setTextColor(0xFFFFFFFFu);
    drawButton(-110.4f, -118, 135, 64, 17, nullptr);
    drawButton(110.4f, -118, 135, 64, 17, nullptr);
}

void drawMessageBox() {
    Fold f;
    float textHeight = wrapText(340, menus.messageText, 16);
    // Room between the text and the buttons, so that they do not crowd it.
    constexpr float kButtonClearance = 30;
    float height = textHeight + 140 + kButtonClearance;
    float top = height / 2, bottom = -height / 2;
    drawPanel(0, 0, 450, height);
    setTextColor(0xFFFFFFFFu);
    drawText(0, top - 60, 16, ::text.wrapBuffer, true);
    if (currentPageId() == MenuId::MessageBoxOk) {
        drawButton(0, bottom + 62, 130, 64, 17, nullptr);
    } else {
        drawButton(-90, bottom + 62, 135, 64, 17, nullptr);
        drawButton(90, bottom + 62, 135, 64, 17, nullptr);
    }
}

void drawDefeatPage() {
    Fold f;
    const MenuPage* page = menus.currentPage;
    drawPanel(0, 0, widestItem(18) + 94, 36.0f * page->items.size() + 164);
    setTextColor(55, 255, 255, 255);
    drawTextCentered(0, 65, 16, tx(game.noMoves ? "nomoves" : "timeout"));
    drawTextCentered(0, 30, 16, tx("loselife"));
    setTextColor(0xFFFFFFFFu);
    drawItemList(0, -40, 18, true, 0, -1);
}

void drawNamePage() {
    drawNameEntry();
}

} // namespace

bool levelOpenOnMap(int level) {
    return level >= 0 && level < kLevelCount && (allLevelsOpen() || level <= profileHighestLevel());
}

void drawStatisticsPage(); // menu_statistics.cpp

void giveDrawRoutines() {
    struct Routine {
        MenuId page;
        void (*draw)();
    };
    const Routine routines[] = {
        {MenuId::Main, drawMainPage},
        {MenuId::Mode1, drawModePage},
        {MenuId::Mode2, drawModePage},
        {MenuId::Mode3, drawModePage},
        {MenuId::Options, drawOptionsPage},
        {MenuId::Hiscore, drawHiscorePage},
        {MenuId::Credits, drawCreditsPage},
        {MenuId::Profiles, drawProfilesPage},
        {MenuId::NewProfile, drawNamePage},
        {MenuId::Rename, drawNamePage},
        {MenuId::LoadGameQuest, drawLoadQuestion},
        {MenuId::MessageBoxOk, drawMessageBox},
        {MenuId::MessageBoxYn, drawMessageBox},
        {MenuId::LevelComplete, drawStatisticsPage},
        {MenuId::Defeat, drawDefeatPage},
        {MenuId::GameOver, drawDefeatPage},
        {MenuId::HelpScreen, menuHost.drawHelpPage},
    };
    for (const Routine& r : routines) {
        if (MenuPage* page = findPage(r.page)) page->drawPage = r.draw;
    }
}

namespace {

void drawCurrentPage() {
    MenuPage* page = menus.currentPage;
    if (!page || menus.menuHidden) return;
    if (menus.fadeAmount >= 1 && !menus.opening) return; // closed by a command that opened nothing
    begin2D();
    setTextColor(0xFFFFFFFFu);
    if (page->drawPage) {
        page->drawPage();
    } else if (page->items.size() > 0) {
        // The in-game pages drop from above; the others slide in on the right.
        if (pageIs(page, MenuId::Gameplay) || pageIs(page, MenuId::Defeat))
            drawItemPanel(0, 500 * menus.fadeAmount * menus.fadeAmount, 18, true, 0, -1);
        else
            drawItemPanel(230, menus.slideOffset + 150, 18, true, 0, -1);
    }
    setWorld(nullptr);
    setTextColor(0xFFFFFFFFu);
}

} // namespace

void menuDraw() {
    menus.widgets.clear();
    menus.buttons.clear();
    menus.panelDrawn = false;
    drawCurrentPage();
    if (!menus.panelDrawn) menus.lastPanel.page = nullptr;
    menus.backdropUnder = false;
}
