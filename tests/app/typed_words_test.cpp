#include "app/typed_words.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/game_scene.h"
#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "platform/events.h"
#include "ui/menu_system.h"

namespace {

struct TypedWordsOnScenes : testing::Test {
    void SetUp() override {
        resetTypedWords();
        resetSceneManager();
        resetMenus();
        resetTextEffects();
        const char texts[] = "cheatkeyenabled=Cheat keys on\r\ncheatkeydisabled=Cheat keys off\r\n";
        parseTextTable(texts, sizeof texts - 1);
    }
    void TearDown() override {
        resetMenus();
        freeTextTable();
        resetTextEffects();
        resetTypedWords();
        resetSceneManager();
    }
    // Types through the scene as the window does: key down, then the frame's update.
    void type(Scene& scene, const char* letters) {
        sceneManager.currentScene = &scene;
        for (const char* c = letters; *c; ++c) press(scene, *c);
    }
    void press(Scene& scene, int key) {
        scene.keyDown(key);
        scene.update();
    }
};

TEST_F(TypedWordsOnScenes, TheSixLetterWordOpensAllLevelsOnTheMapOnly) {
    menus.selectedLevel = 12;
    type(gameScene, "XZQNBV");
    EXPECT_FALSE(typedWords.allLevelsOpen);
    type(mapScene, "XZQNBV");
    EXPECT_TRUE(typedWords.allLevelsOpen);
    EXPECT_EQ(std::memcmp(typedWords.typedLetters, "VBNQZX", 6), 0);
    EXPECT_EQ(menus.selectedLevel, 12) << "opening keeps the chosen level";
}

TEST_F(TypedWordsOnScenes, TheFourLetterWordClosesTheMapAgain) {
    type(mapScene, "XZQNBV");
    menus.selectedLevel = 40; // chosen while every level was open
    type(mapScene, "ABQNBV"); // two letters that do not complete the long word, then the short one
    EXPECT_FALSE(typedWords.allLevelsOpen);
    EXPECT_EQ(menus.selectedLevel, 0) << "the map's selection goes back to the first level";
}

TEST_F(TypedWordsOnScenes, TheOverlayWordTogglesOnMapAndGameButNotOnTheSplash) {
    type(mapScene, "WJQ");
    EXPECT_TRUE(typedWords.overlayEnabled);
    type(gameScene, "WJQ");
    EXPECT_FALSE(typedWords.overlayEnabled);
    type(splashScene, "WJQ");
    EXPECT_FALSE(typedWords.overlayEnabled);
    EXPECT_EQ(typedWords.typedLetters[0], 'Q') << "the splash collects nothing";
}

TEST_F(TypedWordsOnScenes, OneMoreLetterAfterAWordDoesNotRepeatIt) {
    type(mapScene, "WJQ");
    type(mapScene, "A");
    EXPECT_TRUE(typedWords.overlayEnabled);
}

TEST_F(TypedWordsOnScenes, TheCheatWordTogglesCheatKeysInTheGameWithItsMessage) {
    type(mapScene, "TZQHGMWP");
    EXPECT_FALSE(typedWords.cheatKeyMode);
    EXPECT_STREQ(textEffects.bottomText, "");
    type(gameScene, "TZQHGMWP");
    EXPECT_TRUE(typedWords.cheatKeyMode);
    EXPECT_STREQ(textEffects.bottomText, "Cheat keys on");
    type(gameScene, "TZQHGMWP");
    EXPECT_FALSE(typedWords.cheatKeyMode);
    EXPECT_STREQ(textEffects.bottomText, "Cheat keys off");
}

TEST_F(TypedWordsOnScenes, InCheatKeyModeTheMiddleButtonChargesTheHammer) {
    game.hammerCharge = 0.5f;
    gameScene.middleDown();
    EXPECT_EQ(game.hammerCharge, 0.5f);
    type(gameScene, "TZQHGMWP");
    gameScene.middleDown();
    EXPECT_FLOAT_EQ(game.hammerCharge, 0.7f);
    for (int i = 0; i < 3; ++i) gameScene.middleDown();
    EXPECT_EQ(game.hammerCharge, 1.0f);
    game.hammerCharge = 0.0f;
}

TEST_F(TypedWordsOnScenes, OnlyLettersEnterTheBuffer) {
    type(mapScene, "WJ");
    const int others[] = {kKey0 + 5, kKeyLeft, kKeyF1, kKeySpace, kKeyReturn, kKeyNumpad0, 0, 91, 64};
    for (int key : others) press(mapScene, key);
    type(mapScene, "Q");
    EXPECT_TRUE(typedWords.overlayEnabled);
}

TEST_F(TypedWordsOnScenes, TheBufferKeepsFifteenLettersNewestFirst) {
    type(mapScene, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(std::memcmp(typedWords.typedLetters, "TSRQPONMLKJIHGF", 15), 0);
    EXPECT_EQ(typedWords.typedLetters[15], 0);
}

} // namespace
