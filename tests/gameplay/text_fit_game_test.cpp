// Every text of the game scene's panel and balloons fits its box, measured with the built fonts and the
// authored texts.
#include "ui/text_fit.h"

#include <climits>

#include "engine/text_effects.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/live_output.h"
#include "gameplay_fixture.h"

namespace {

class GameTextFit : public GameplayTest, public testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override {
        GameplayTest::SetUp();
        resetFileRegistry();
        if (!textfit::loadRealTextsAndFonts(GetParam()))
            GTEST_SKIP() << "no built Data folder (run: make build)";
        game.running = true;
    }
    void TearDown() override {
        textfit::unwatch();
        resetText();
        freeTextTable();
        resetFileRegistry();
        GameplayTest::TearDown();
    }

    // The tip now active, grown to its full size, in one checked frame.
    void checkTip(const std::string& what) {
        ASSERT_TRUE(tips.active) << what;
        tips.delayMs = -300;
        tips.picture = -1; // the demonstration stands above the balloon; the text is what is measured
        app.frameTimeMs = 16;
        textfit::watch();
        drawTip(0);
        textfit::unwatch();
        ASSERT_TRUE(tips.active) << what;
        textfit::checkFrame(what);
    }
};

TEST_P(GameTextFit, SidePanelWithLargeValues) {
    for (int score : {9999999, INT_MAX}) {
        for (int lives : {0, 2, 6}) {
            currentProfile().lives[game.mode] = lives;
            setProfileScore(score);
            hud.shownScore = score;
            game.levelIndex = 69;
            textfit::watch();
            drawHud();
            textfit::unwatch();
            textfit::checkFrame(
                "side panel, score " + std::to_string(score) + ", lives " + std::to_string(lives), {"X"});
        }
    }
}

TEST_P(GameTextFit, PauseAndEndOfGameTextsAtTheirLargest) {
    game.running = false;
    struct Moment {
        const char* what;
        bool passed, stage;
        float pauseMs;
    };
    for (const Moment& m :
         {Moment{"relax", false, false, 3141}, Moment{"waiting after a stage", false, true, 12566},
          Moment{"the game passed", true, false, 12000}}) {
        game.gamePassed = m.passed;
        game.stageComplete = m.stage;
        game.pauseMs = m.pauseMs;
        textfit::watch();
        drawPauseTexts();
        textfit::unwatch();
        EXPECT_FALSE(textfit::texts.empty()) << m.what;
        textfit::checkFrame(m.what);
    }
}

TEST_P(GameTextFit, TheTimeBonusStaysOnTheScreen) {
    liveRules.presentation = &gamePresentation;
    gamePresentation.output = &liveOutput;
    clearTextEffects();
    loadPicture("a-\n");
    game.mode = kModePuzzle;
    game.barGoal = 60000;
    game.barValue = 1000; // 59 seconds left
    checkLevelState(liveRules);
    ASSERT_GT(game.completeCountdownMs, 0);
    app.frameTimeMs = 2000; // the texts grown to their full size
    drawPopupTexts();
    app.frameTimeMs = 16;
    textfit::watch();
    drawPopupTexts();
    textfit::unwatch();
    ASSERT_GE(textfit::texts.size(), 2u);
    textfit::checkFrame("time bonus");
    liveRules.presentation = &events;
    clearTextEffects();
}

TEST_P(GameTextFit, EveryTipOfTheHelpCursor) {
    loadPicture("aJT*Q-A\n"
                "-------\n");
    liveRules.at(11, 6).pendingKind = 2;
    liveRules.at(12, 6).square = 1;
    liveRules.at(13, 6).square = 2;
    game.hammerEnabled = true;
    for (int mode = 0; mode < 3; ++mode) {
        game.mode = mode;
        for (int x = 5; x <= 13; ++x) {
            mouseOnCell(x, x < 12 ? 5 : 6);
            if (x == 12 || x == 11 || x == 13) mouseOnCell(x, 6);
            helpTipAtMouse();
            checkTip("help tip on cell " + std::to_string(x) + ", mode " + std::to_string(mode));
        }
        for (const HitRect& r : {kHammerBar, kRelaxButton, kNightButton, kMenuButton, kScoreBox, kLivesBox,
                                 kLevelBox, kProgressBarRect}) {
            mouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            helpTipAtMouse();
            checkTip("help tip on the panel at " + std::to_string(r.left) + ", mode " + std::to_string(mode));
        }
    }
    // The ball's tip near each corner of the board.
    for (int corner = 0; corner < 4; ++corner) {
        int x = corner % 2 ? kPlayRight : kPlayLeft, y = corner / 2 ? kPlayBottom : kPlayTop;
        setBall(x, y, 3);
        mouseOnCell(x, y);
        helpTipAtMouse();
        checkTip("ball tip at corner " + std::to_string(corner));
    }
}

TEST_P(GameTextFit, EveryTipOfTheLevelsAndTheTooltip) {
    loadPicture("aJT*Q");
    for (int row = 0; row < kTipRows; ++row) {
        currentProfile().tipShown[row] = 0;
        showTip(-390, 0, kTipTable[row].key, -1, -1, 0, -1);
        checkTip(std::string("tip ") + kTipTable[row].key + " at the bar");
        showTip(320, -230, kTipTable[row].key, -1, -1, 0, -1);
        checkTip(std::string("tip ") + kTipTable[row].key + " at the hammer");
    }
    tips = TipState{};
    textfit::watch();
    drawTooltip();
    textfit::unwatch();
    textfit::checkFrame("tooltip");
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Languages, GameTextFit, testing::ValuesIn(textfit::languages()),
                         textfit::languageName);
