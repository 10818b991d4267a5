// A way back from every page, and the options page worked from the keyboard alone.
#include <gtest/gtest.h>

#include "player/language_choice.h"
#include "tests/ui/menu_fixture.h"
#include "ui/widgets.h"

namespace {

class WaysBack : public MenuFixture {
  protected:
    void toMap() {
        open("main");
        choose("mode1");
        ASSERT_EQ(page(), "mode1");
    }
    static void mouseAt(float x, float y) {
        app.mouseX = static_cast<int>(400 + x);
        app.mouseY = static_cast<int>(300 - y);
        menuMouseMove();
    }
    // One frame that takes a key, without letting a transition run (the page stays measurable).
    void frame() {
        app.frameTimeMs = 20;
        menuUpdate();
        menuDraw();
    }
    int widgetOfType(int type, int nth = 0) {
        for (int i = 0; i < menus.widgets.size(); ++i)
            if (menus.widgets[i].type == type && nth-- == 0) return i;
        return -1;
    }
};

TEST_F(WaysBack, TheLevelMapGoesBackToTheMainPageByEscapeBackspaceRightClickAndItsButton) {
    for (unsigned key : {27u, 8u}) {
        toMap();
        press(key);
        EXPECT_EQ(page(), "main") << key;
        EXPECT_EQ(menus.selectedItem, itemIndexOf(findPage("main"), "mode1")) << key;
    }
    toMap();
    menuRightClick();
    settle();
    EXPECT_EQ(page(), "main") << "right click";
    // The back button stands for the page's second item, away from the start button.
    toMap();
    menuDraw();
    ASSERT_EQ(menus.buttons.size(), 2);
    const ButtonRect& back = menus.buttons[1];
    EXPECT_LT(back.right, menus.buttons[0].left);
    mouseAt((back.left + back.right) / 2, (back.top + back.bottom) / 2);
    menuClick();
    settle();
    EXPECT_EQ(page(), "main") << "the back button";
    EXPECT_EQ(hostLog.playedLevel, -1);
}

TEST_F(WaysBack, RightClickAndBackspaceLeaveOtherPagesAlone) {
    open("main");
    choose("options");
    press(8);
    EXPECT_EQ(page(), "options");
    menuRightClick();
    settle();
    EXPECT_EQ(page(), "options");
}

TEST_F(WaysBack, TheOptionsPageIsWorkedFromTheKeyboard) {
    settings.soundVolume = 50;
    settings.musicVolume = 50;
    settings.customCursor = false;
    open("main");
    choose("options");
    ASSERT_EQ(page(), "options");
    frame();
    int sound = widgetOfType(WIDGET_SLIDER, 0), music = widgetOfType(WIDGET_SLIDER, 1);
    int cursor = widgetOfType(WIDGET_CHECKBOX, 1), speed = widgetOfType(WIDGET_SLIDER, 2);
    ASSERT_GE(speed, 0);
    EXPECT_EQ(menus.selectedItem, 0) << "the page opens on its first button";
    // Down from the last button reaches the first slider; only one thing is highlighted at a time.
    press(40);
    EXPECT_EQ(menus.selectedItem, 1);
    press(40);
    EXPECT_EQ(menus.hoveredWidget, sound);
    EXPECT_LT(menus.selectedItem, 0);
    press(39);
    frame();
    EXPECT_GT(settings.soundVolume, 50) << "Right raises the sound volume";
    press(40);
    EXPECT_EQ(menus.hoveredWidget, music);
    press(37);
    press(37);
    frame();
    EXPECT_LT(settings.musicVolume, 50) << "Left lowers the music volume";
    press(40);
    press(40);
    EXPECT_EQ(menus.hoveredWidget, cursor);
    press(39);
    frame();
    EXPECT_TRUE(settings.customCursor) << "Left or Right switches a check box";
    press(40);
    EXPECT_EQ(menus.hoveredWidget, widgetOfType(WIDGET_CHECKBOX, 2)) << "the reduced flashes";
    press(40);
    EXPECT_EQ(menus.hoveredWidget, speed);
    press(40);
    int language = widgetOfType(WIDGET_SLIDER, 3);
    ASSERT_GE(language, 0);
    EXPECT_EQ(menus.hoveredWidget, language) << "the language's row";
    press(39);
    press(39);
    frame();
    EXPECT_STREQ(chosenLanguageCode(), "de") << "Right steps from Automatic through English to Deutsch";
    press(37);
    frame();
    EXPECT_STREQ(chosenLanguageCode(), "en");
    press(40);
    EXPECT_EQ(menus.hoveredWidget, -1);
    EXPECT_EQ(menus.selectedItem, 0) << "past the last slider: the first button again";
    press(38);
    EXPECT_EQ(menus.hoveredWidget, language) << "Up walks back";
    // A moving mouse takes the highlight from the keyboard, and the keyboard takes it back.
    const ButtonRect& back = menus.buttons[1];
    mouseAt((back.left + back.right) / 2, (back.top + back.bottom) / 2);
    frame();
    EXPECT_EQ(menus.selectedItem, 1);
    EXPECT_EQ(menus.hoveredWidget, -1);
    const Widget& w = menus.widgets[music];
    mouseAt((w.left + w.right) / 2, (w.top + w.bottom) / 2);
    frame();
    EXPECT_EQ(menus.hoveredWidget, music);
    EXPECT_LT(menus.selectedItem, 0);
    press(40); // the mouse rests on the music slider: the keyboard's choice stays
    frame();
    EXPECT_EQ(menus.hoveredWidget, widgetOfType(WIDGET_CHECKBOX, 0));
}

} // namespace
