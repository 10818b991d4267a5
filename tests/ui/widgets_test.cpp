#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/windows1252.h"
#include "game/live_rules.h"
#include "gameplay/board_input.h"
#include "platform/events.h"
#include "tests/ui/menu_fixture.h"
#include "ui/widgets.h"
#include "visuals/particle_sheet.h"

using Widgets = MenuFixture;

namespace {
Widget hundredStepSlider(int position) {
    Widget w{};
    w.left = -80;
    w.right = 80;
    w.top = 15;
    w.bottom = -15;
    w.type = WIDGET_SLIDER;
    w.steps = 100;
    w.position = static_cast<int16_t>(position);
    return w;
}

void typeKeys(const char* keys) {
    for (const char* k = keys; *k; ++k) nameEditorKey(kMenuTypedCharacter | static_cast<unsigned char>(*k));
}
} // namespace

TEST_F(Widgets, SliderClicksStepAndDraggingFollowsTheMouse) {
    EXPECT_EQ(sliderClick(hundredStepSlider(40), -110), 39); // 30 units left of the left end
    EXPECT_EQ(sliderClick(hundredStepSlider(0), -110), 0);   // never below 0
    EXPECT_EQ(sliderClick(hundredStepSlider(99), 110), 99);  // never above the last step
    EXPECT_EQ(sliderClick(hundredStepSlider(40), -90), 40);  // inside the arrow's dead zone
    EXPECT_EQ(sliderDrag(hundredStepSlider(10), 0), 50);
    EXPECT_EQ(sliderDrag(hundredStepSlider(10), 95), 99);
    EXPECT_EQ(sliderDrag(hundredStepSlider(10), -80), 0);
}

TEST_F(Widgets, ASliderClickAndDragReachTheBoundValue) {
    settings.soundVolume = 40;
    open("options");
    // The first slot is the sound volume slider at y 160.
    menuDraw();
    ASSERT_GT(menus.widgets.size(), 0);
    ASSERT_EQ(menus.widgets[0].type, WIDGET_SLIDER);
    app.mouseX = 400 - 110; // x -110: 30 units left of the slider
    app.mouseY = 300 - 160;
    menuClick();
    menuButtonUp();
    menuDraw();
    EXPECT_EQ(settings.soundVolume, 39);
    app.mouseX = 400; // x 0, dragged with the button held
    menuClick();
    menuUpdate();
    menuDraw();
    EXPECT_EQ(settings.soundVolume, 50);
}

TEST_F(Widgets, NameEditorTakesTypedCharactersAndEditingKeysUpToTwelve) {
    typeKeys("AB1");
    EXPECT_STREQ(menus.nameBuffer, "AB1");
    nameEditorKey(36); // Home
    nameEditorKey(8);  // Backspace at the caret 0 does nothing
    EXPECT_STREQ(menus.nameBuffer, "AB1");
    nameEditorKey(46); // Delete the first
    EXPECT_STREQ(menus.nameBuffer, "B1");
    nameEditorKey(35);
    typeKeys(" CDEFGHIJKLM");
    EXPECT_STREQ(menus.nameBuffer, "B1 CDEFGHIJK");
    nameEditorKey(186); // outside the lists
    nameEditorKey(37);
    nameEditorKey(8);
    EXPECT_STREQ(menus.nameBuffer, "B1 CDEFGHIK");
    // Accented letters are kept; separators of file names and bytes without a character are not.
    nameEditorKey(35);
    typeKeys("/\\\x81\x7F\x9D\xFC\xEB");
    EXPECT_STREQ(menus.nameBuffer, "B1 CDEFGHIK\xDC");
}

TEST_F(Widgets, TypedTextKeepsAccentsInCapitalsAndItsKeysAddNothing) {
    // A key brings its virtual-key code (the capital) and the window's text input the character typed:
    // the name takes the character once, in the game's code page, as a capital.
    open("newprofile");
    const char* typed[] = {"Z", "o", "\xC3\xAB", "1"}; // "Zoë1" as the window's UTF-8
    const SDL_Keycode keys[] = {SDLK_z, SDLK_o, SDLK_e, SDLK_1};
    for (int i = 0; i < 4; ++i) {
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.sym = keys[i];
        AppEvent k = translateEvent(key);
        ASSERT_EQ(k.kind, EventKind::keyDown) << SDL_GetKeyName(keys[i]);
        press(static_cast<unsigned>(k.key));
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        std::snprintf(text.text.text, sizeof text.text.text, "%s", typed[i]);
        AppEvent t = translateEvent(text);
        ASSERT_EQ(t.kind, EventKind::textInput);
        char bytes[sizeof t.text];
        utf8ToWindows1252(t.text, bytes, sizeof bytes);
        type(bytes);
    }
    EXPECT_STREQ(menus.nameBuffer, "ZO\xCB"
                                   "1");
    // Typed text is the name pages' alone: elsewhere it neither types nor presses anything.
    open("main");
    int selected = menus.selectedItem;
    type("a ");
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(menus.selectedItem, selected);
}

TEST_F(Widgets, PanelOrnamentsAndShadowStartAbove192) {
    EXPECT_FALSE(panelLook(192, 300).horizontalOrnaments);
    EXPECT_FALSE(panelLook(192, 300).shadow);
    EXPECT_TRUE(panelLook(193, 300).horizontalOrnaments);
    EXPECT_TRUE(panelLook(193, 300).shadow);
    EXPECT_FALSE(panelLook(300, 192).verticalOrnaments);
}

TEST_F(Widgets, ButtonsAreMatchedToItemsByDrawingOrderAndAClickActivates) {
    open("loadgamequest");
    menuDraw();
    ASSERT_EQ(menus.buttons.size(), 2);
    const ButtonRect& no = menus.buttons[1];
    app.mouseX = static_cast<int>(400 + (no.left + no.right) / 2);
    app.mouseY = static_cast<int>(300 - (no.top + no.bottom) / 2);
    menuClick();
    EXPECT_EQ(menus.selectedItem, 1);
    EXPECT_EQ(menus.menuKeyCode, 13u);
}

TEST_F(Widgets, DrawnCursorShowsTheVersionOfItsMode) {
    // The option is off: the window's cursor shows.
    EXPECT_TRUE(cursorSprites(kCursorArrow, 10, 20, 0).empty());
    settings.customCursor = true;

    CursorSprites s = cursorSprites(kCursorArrow, 10, 20, 0);
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0].picture, kCursorPictureGlow);
    EXPECT_EQ(s[1].picture, kCursorPictureArrow);
    EXPECT_FLOAT_EQ(s[1].x, 40);
    EXPECT_FLOAT_EQ(s[1].y, -12);
    EXPECT_EQ(s[1].alpha, 255);
    EXPECT_EQ(s[0].alpha, 127); // the glow at half strength when its pulse stands at 0
    s = cursorSprites(kCursorArrow, 10, 20, 314.159f);
    EXPECT_EQ(s[0].alpha, 255); // and full a quarter period on

    s = cursorSprites(kCursorHammerMode, 10, 20, 0);
    ASSERT_EQ(s.size(), 1);
    EXPECT_EQ(s[0].picture, kCursorPictureHammer);
    EXPECT_FLOAT_EQ(s[0].x, 38);
    EXPECT_FLOAT_EQ(s[0].y, 6);
    EXPECT_FLOAT_EQ(s[0].width, 64);
    EXPECT_FLOAT_EQ(s[0].height, 64);

    s = cursorSprites(kCursorQuestion, 10, 20, 0);
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[1].picture, kCursorPictureArrow);
    EXPECT_EQ(s[2].picture, kCursorPictureQuestion);
    EXPECT_FLOAT_EQ(s[2].x, 33);
    EXPECT_FLOAT_EQ(s[2].y, -36);
    EXPECT_FLOAT_EQ(s[2].width, 40);

    // Off the screen nothing is drawn; its edges still are.
    EXPECT_EQ(cursorSprites(kCursorHammerMode, 401, 0, 0).size(), 0);
    EXPECT_EQ(cursorSprites(kCursorArrow, 0, -301, 0).size(), 0);
    EXPECT_EQ(cursorSprites(kCursorQuestion, -400, 300, 0).size(), 3);
}

TEST_F(Widgets, TheBoardsCursorModeReachesTheDrawnCursor) {
    resetBoardInput();
    setCursorMode(kCursorHammer);
    EXPECT_EQ(cursorModeMenu(), kCursorHammerMode);
    game.cursorMode = kCursorNormal; // a hammer blow puts it down inside the rules
    syncCursor();
    EXPECT_EQ(cursorModeMenu(), kCursorArrow);
    setCursorMode(kCursorHelp);
    EXPECT_EQ(cursorModeMenu(), kCursorQuestion);
    setCursorMode(kCursorNormal);
}

TEST_F(Widgets, PanelShadowIsDarkSoftAndFollowsTheFrame) {
    ShadowPiece p[kPanelShadowPieces];
    panelShadowPieces(-100, 150, 100, -150, 1024, 1024, p);
    const TexRect glow = sheetFrame(12, 1024, 1024); // the sheet's round glow
    const float midU = (glow.left + glow.right) / 2, midV = (glow.top + glow.bottom) / 2;
    // Close round the frame on every side, barely set off: no more than 24 units out, at least 10.
    EXPECT_LT(p[0].left, -100 - 10);
    EXPECT_GE(p[0].left, -100 - 24);
    EXPECT_GT(p[0].top, 150 + 10);
    EXPECT_LE(p[0].top, 150 + 24);
    EXPECT_GT(p[8].right, 100 + 10);
    EXPECT_LE(p[8].right, 100 + 24);
    EXPECT_LT(p[8].bottom, -150 - 10);
    EXPECT_GE(p[8].bottom, -150 - 24);
    // The pieces tile the shadow without gaps, row by row.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const ShadowPiece& q = p[row * 3 + column];
            if (column > 0) {
                EXPECT_FLOAT_EQ(q.left, p[row * 3 + column - 1].right);
            }
            if (row > 0) {
                EXPECT_FLOAT_EQ(q.top, p[(row - 1) * 3 + column].bottom);
            }
        }
    }
    // Its edge fades: the corners are the glow's corners (round and soft), the middle its full centre.
    EXPECT_FLOAT_EQ(p[0].tex.left, glow.left);
    EXPECT_FLOAT_EQ(p[0].tex.top, glow.top);
    EXPECT_FLOAT_EQ(p[0].tex.right, midU);
    EXPECT_FLOAT_EQ(p[8].tex.right, glow.right);
    EXPECT_FLOAT_EQ(p[8].tex.bottom, glow.bottom);
    EXPECT_FLOAT_EQ(p[4].tex.left, midU);
    EXPECT_FLOAT_EQ(p[4].tex.right, midU);
    EXPECT_FLOAT_EQ(p[4].tex.top, midV);
    EXPECT_FLOAT_EQ(p[1].tex.top, glow.top); // the top edge fades upward
    EXPECT_FLOAT_EQ(p[1].tex.bottom, midV);
    EXPECT_GE(kPanelFill >> 24, 235u); // an interior that text stays readable on
    // The middle piece lies inside the frame, where the fill covers it.
    const ShadowPiece& m = p[kPanelShadowMiddle];
    EXPECT_GE(m.left, -100);
    EXPECT_LE(m.right, 100);
    EXPECT_LE(m.top, 150);
    EXPECT_GE(m.bottom, -150);
}

// A recording display for drawing panels. Pictures of other tests' displays are not this one's: the panel
// is drawn without them, and they are given back at the end.
struct PanelDisplay {
    RecordingBackend backend;
    MenuTextures savedTextures = menuTextures;
    const Texture* savedSheet = particleSystem.sheet;
    explicit PanelDisplay(bool lowDetail) {
        backend.lowDetailPicture = lowDetail;
        menuTextures = MenuTextures{};
        particleSystem.sheet = nullptr;
        resetRender();
        created = createDisplay(&backend);
    }
    ~PanelDisplay() {
        releaseDisplay();
        resetRender();
        menuTextures = savedTextures;
        particleSystem.sheet = savedSheet;
    }
    bool created = false;
};

// An opaque fill hides the shadow's middle piece, which is then not drawn; a panel fading out shows it.
TEST_F(Widgets, TheShadowBeneathAnOpaqueFillIsNotDrawn) {
    PanelDisplay display(false);
    ASSERT_TRUE(display.created);
    RecordingBackend& backend = display.backend;
    auto shadowQuads = [&](float alpha) {
        backend.clearFrame();
        begin2D();
        render.tint = glm::vec4(1.0f, 1.0f, 1.0f, alpha);
        drawPanel(0, 0, 400, 300);
        int quads = 0;
        flushBatch();
        for (const RecordedDraw& d : backend.draws) {
            if (d.format != kColoredFormat) continue;
            for (int i = 0; i < d.vertexCount; i += 4)
                quads += backend.coloredVertex(d, i).color == tintColor(0xAA000000u);
        }
        render.tint = glm::vec4(1.0f);
        presentFrame();
        return quads;
    };
    EXPECT_EQ(shadowQuads(1.0f), kPanelShadowPieces - 1);
    EXPECT_EQ(shadowQuads(0.5f), kPanelShadowPieces);
}

// On a screen larger than 800 x 600 the map draws a page at rest with its panel's shadow and fill among the
// landscape's low-detail layers, where they are filled at the landscape's size; the panel then draws only
// its frame. A page that moves draws its panel whole, in its place, and the frame after it starts over.
TEST_F(Widgets, APanelAtRestLiesAmongTheLandscapesLayersAndAMovingOneIsDrawnWhole) {
    PanelDisplay display(true);
    ASSERT_TRUE(display.created);
    RecordingBackend& backend = display.backend;
    render.drawableSize = [](int* w, int* h) { *w = 1920, *h = 1080; };
    MenuPage page{};
    page.drawPage = [] { drawPanel(0, 40, 400, 300); };
    menus.currentPage = &page;
    menus.opening = menus.closing = menus.menuHidden = false;
    menus.fadeAmount = 0;
    // One frame of the map's main view; the panel's fill quads counted in and out of the low-detail picture.
    struct Fills {
        int low = 0, sharp = 0;
    };
    auto frame = [&] {
        backend.clearFrame();
        clearColor(0xFF000000u);
        begin2D();
        EXPECT_TRUE(beginLowDetailLayers());
        drawPanelBackdrop();
        endLowDetailLayers();
        menuDraw();
        presentFrame();
        Fills f;
        for (const RecordedDraw& d : backend.draws) {
            if (d.format != kColoredFormat) continue;
            for (int i = 0; i < d.vertexCount; i += 4)
                if (backend.coloredVertex(d, i).color == kPanelFill) (d.lowDetail ? f.low : f.sharp)++;
        }
        return f;
    };
    Fills first = frame(); // nothing known of the panel yet
    EXPECT_EQ(first.low, 0);
    EXPECT_EQ(first.sharp, 1);
    Fills rest = frame();
    EXPECT_EQ(rest.low, 1);
    EXPECT_EQ(rest.sharp, 0);
    // The page starts to close: drawn whole again, nothing beneath it.
    menus.closing = true;
    menus.slideOffset = 10;
    Fills moving = frame();
    EXPECT_EQ(moving.low, 0);
    EXPECT_EQ(moving.sharp, 1);
    // At rest again somewhere else: the first frame there draws it whole, the next lays it beneath.
    menus.closing = false;
    page.drawPage = [] { drawPanel(0, 0, 400, 300); };
    EXPECT_EQ(frame().sharp, 1);
    EXPECT_EQ(frame().low, 1);
    // A page with no panel leaves nothing beneath the next one.
    page.drawPage = [] {};
    frame();
    page.drawPage = [] { drawPanel(0, 0, 400, 300); };
    Fills after = frame();
    EXPECT_EQ(after.low, 0);
    EXPECT_EQ(after.sharp, 1);
    menus.currentPage = nullptr;
}
