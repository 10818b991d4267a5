#include "gameplay/tips.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/text_table.h"
#include "game/live_rules.h"
#include "gameplay/help_demo.h"
#include "gameplay_fixture.h"
#include "platform/folders.h"
#include "ui/number_text.h"

namespace {

class TipsTest : public GameplayTest {
  protected:
    void frame(float ms) {
        app.frameTimeMs = ms;
        drawTip(0);
    }
    // The squares of the demonstration's board drawn this frame lie inside the balloon, between its text
    // and its button, on the screen (the balloon of a cell in the top row stands below it, at the top).
    void expectDemoInsideTheBalloon() {
        flushBatch();
        float centre = (tips.buttonLeft + tips.buttonRight) / 2;
        float top = -1000, bottom = 1000, side = 0;
        for (const RecordedDraw& d : backend.draws) {
            if (d.states.texture != gameTextures.squares[0]->handle) continue;
            for (int i = 0; i < d.vertexCount; ++i) {
                const ColoredVertex& v = backend.coloredVertex(d, i);
                glm::vec4 at = d.transforms.world * glm::vec4(v.x, v.y, v.z, 1);
                top = std::max(top, at.y);
                bottom = std::min(bottom, at.y);
                side = std::max(side, std::fabs(at.x - centre));
            }
        }
        ASSERT_GT(top, bottom) << "the picture is drawn";
        EXPECT_LT(top, 300.0f) << "on the screen";
        EXPECT_GT(bottom, tips.buttonTop) << "above the balloon's button";
        EXPECT_LT(side, 150.0f) << "within the balloon's width";
    }
};

TEST_F(TipsTest, TableRowsFollowTheProfilesSeenFlags) {
    for (int i = 0; i < kTipRows; ++i) EXPECT_EQ(tipIndex(kTipTable[i].key), i) << kTipTable[i].key;
}

TEST_F(TipsTest, ASeenTipIsNotShownAgainButTheHelpCursorAlwaysShowsIt) {
    loadPicture("J");
    showTip(0, 0, "jokertip", 5, 5, 1000, kJoker);
    ASSERT_TRUE(tips.active);
    EXPECT_EQ(currentProfile().tipShown[5], 0) << "the joker tip counts as seen only when closed";
    // Shown and closed with its button.
    frame(1100);
    frame(300);
    mouseAt((tips.buttonLeft + tips.buttonRight) / 2, (tips.buttonTop + tips.buttonBottom) / 2);
    drawTip(1);
    EXPECT_FALSE(tips.active);
    EXPECT_EQ(currentProfile().tipShown[5], 1);
    EXPECT_TRUE(output.has("sound menu.ogg"));
    showTip(0, 0, "jokertip", 5, 5, 1000, kJoker);
    EXPECT_FALSE(tips.active);
    // The help cursor over the joker shows the same texts at once.
    mouseOnCell(5, 5);
    helpTipAtMouse();
    EXPECT_TRUE(tips.active);
    EXPECT_STREQ(tips.title, "jokertip");
    EXPECT_STREQ(tips.body, "jokertip2");
    EXPECT_EQ(tips.delayMs, 0);
    EXPECT_EQ(tips.row, -1) << "not remembered";
}

TEST_F(TipsTest, SomeTipsCountAsSeenWhenOfferedOthersWhenClosed) {
    showTip(320, -230, "hammertip", -1, -1, 2000, -1);
    EXPECT_EQ(currentProfile().tipShown[3], 1);
    showTip(-390, 0, "levelprogresbar", -1, -1, 2000, -1);
    EXPECT_TRUE(tips.active) << "a later offer replaces the pending tip";
    EXPECT_EQ(currentProfile().tipShown[11], 0);
    showTip(0, 0, "hammertip", -1, -1, 2000, -1);
    EXPECT_STREQ(tips.title, "levelprogresbar") << "a seen tip changes nothing";
}

TEST_F(TipsTest, ATipOnAJokerGoesWhenTheJokerIsRemovedBeforeItsDelay) {
    loadPicture("J");
    showTip(0, 0, "jokertip", 5, 5, 1000, kJoker);
    frame(500);
    liveRules.at(5, 5).ball.kind = kNoPiece;
    frame(16);
    EXPECT_FALSE(tips.active);
    EXPECT_EQ(currentProfile().tipShown[5], 0);
    // A different piece on the cell cancels it too.
    setBall(5, 5, kJoker);
    showTip(0, 0, "jokertip", 5, 5, 1000, kJoker);
    liveRules.at(5, 5).ball.kind = 2;
    frame(16);
    EXPECT_FALSE(tips.active);
}

// The level start points at a ball still to come and at busy squares that may be empty: those tips go
// only when the cell loses what it held.
TEST_F(TipsTest, TipsOnAnAnnouncedBallOrAnEmptyBusySquareAreShownUntilTheCellLosesWhatItHeld) {
    loadPicture("-2-");
    liveRules.at(5, 5).pendingKind = 3;
    Point at = cellCentre(5, 5);
    showTip(at.x, at.y, "newballtip", 5, 5, 2000, -1);
    frame(2100);
    frame(16);
    EXPECT_TRUE(tipShownNow()) << "the announced ball";
    liveRules.at(5, 5).pendingKind = kNoPiece; // the ball appears where it was announced
    setBall(5, 5, 3);
    frame(16);
    EXPECT_TRUE(tipShownNow());

    showTip(0, 0, "tipbusysquare2", 6, 5, 1000, -1);
    frame(1100);
    frame(300);
    EXPECT_TRUE(tipShownNow()) << "the empty busy square";
    mouseAt((tips.buttonLeft + tips.buttonRight) / 2, (tips.buttonTop + tips.buttonBottom) / 2);
    drawTip(1);
    EXPECT_EQ(currentProfile().tipShown[tipRow("tipbusysquare2")], 1);

    // An announcement that goes elsewhere takes its tip along.
    liveRules.at(7, 5).pendingKind = 2;
    showTip(0, 0, "chainitemtip", 7, 5, 1000, -1);
    frame(500);
    liveRules.at(7, 5).pendingKind = kNoPiece;
    frame(16);
    EXPECT_FALSE(tips.active);
}

// A balloon's picture plays its demonstration on a little board of its own: nothing of it is heard or
// raised on the live board, and closing the balloon leaves the player's effects as they were.
TEST_F(TipsTest, ABalloonsPictureLeavesTheLiveBoardsSoundsAndEffectsAlone) {
    const std::string savedFolder = dataFolder();
    setDataFolder(PC_SOURCE_DIR "/data/"); // the help levels the demonstration plays
    resetHelpDemo();
    ASSERT_TRUE(addEffectDefinition("glow", ""));
    startEffect("glow", 100, 100);
    for (int i = 0; i < 3; ++i) spawnQuick(100, 100, 12);
    const int emitters = liveEmitters(), quick = liveQuickParticles();
    ASSERT_EQ(emitters, 1);
    ASSERT_EQ(quick, 3);

    loadPicture("J");
    Point at = cellCentre(5, 5);
    showTip(at.x, at.y, "jokertip", 5, 5, 0, kJoker);
    events.clear();
    output.lines.clear();
    int mostQuick = 0;
    int frames = 0;
    for (; frames < 1400 && helpDemo.demoCycle == 0; ++frames) { // one whole cycle at half speed
        frame(16);
        mostQuick = std::max(mostQuick, liveQuickParticles());
        if (frames == 100) expectDemoInsideTheBalloon();
        backend.clearFrame();
    }
    EXPECT_TRUE(helpDemo.demoRunning);
    EXPECT_EQ(helpDemo.demoCycle, 1) << "the demonstration played";
    // A piece's cycle leaves out the second move; at half speed it takes twice its length in 8 ms steps.
    const float cycleMs = kDemoStopMs[kDemoStops - 1] - (kDemoStopMs[3] - kDemoStopMs[1]);
    EXPECT_GT(frames, cycleMs / 10) << "its board and clock ran on half of each 16 ms frame";
    EXPECT_FLOAT_EQ(app.frameTimeMs, 16) << "the game's frame stays its own";
    EXPECT_EQ(mostQuick, quick);
    EXPECT_EQ(liveEmitters(), emitters);
    EXPECT_TRUE(events.lines.empty()) << events.lines.front();
    EXPECT_TRUE(output.lines.empty()) << output.lines.front() << ": the balloon's demonstration is silent";

    mouseAt((tips.buttonLeft + tips.buttonRight) / 2, (tips.buttonTop + tips.buttonBottom) / 2);
    drawTip(1);
    frame(16);
    EXPECT_FALSE(helpDemo.demoRunning);
    EXPECT_EQ(liveQuickParticles(), quick);
    EXPECT_EQ(liveEmitters(), emitters);
    setDataFolder(savedFolder);
}

// The player's pointer belongs to the live board: held over a ball of the balloon's little board (at
// the point where the live board has that cell), it lights nothing there.
TEST_F(TipsTest, ABalloonsPictureIgnoresThePlayersPointer) {
    const std::string savedFolder = dataFolder();
    setDataFolder(PC_SOURCE_DIR "/data/");
    resetHelpDemo();
    loadPicture("J");
    Point at = cellCentre(5, 5);
    showTip(at.x, at.y, "jokertip", 5, 5, 0, kJoker);
    ASSERT_NE(gameTextures.highlight, nullptr);
    int pointed = 0, lit = 0;
    for (int frames = 0; frames < 400; ++frames) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                if (helpDemoRules.at(x, y).ball.kind == kNoPiece || (x == 5 && y == 5)) continue;
                mouseOnCell(x, y);
                ++pointed;
                x = kPlayRight; // the first ball found
                break;
            }
        }
        frame(16);
        flushBatch();
        lit += quadsWith(gameTextures.highlight);
        backend.clearFrame();
    }
    EXPECT_GT(pointed, 0) << "the pointer stood over the demonstration's balls";
    EXPECT_EQ(lit, 0) << "a cell of the balloon's board lit under the player's pointer";
    setDataFolder(savedFolder);
}

TEST_F(TipsTest, PauseMenuAndSequencesCancelTheTip) {
    for (int which = 0; which < 3; ++which) {
        showTip(0, 0, "doublerelax", -1, -1, 0, -1);
        game.running = which != 0;
        game.menuOpen = which == 1;
        game.defeatCountdownMs = which == 2 ? 4000 : 0;
        frame(16);
        EXPECT_FALSE(tips.active) << which;
        game.running = true;
        game.menuOpen = false;
        game.defeatCountdownMs = 0;
    }
}

TEST_F(TipsTest, ABalloonTakesClicksOnlyFrom250MsAndOnlyOnItsButton) {
    showTip(0, 0, "doublerelax", -1, -1, 0, -1);
    frame(16);
    EXPECT_TRUE(tipShownNow());
    mouseAt((tips.buttonLeft + tips.buttonRight) / 2, (tips.buttonTop + tips.buttonBottom) / 2);
    drawTip(1);
    EXPECT_TRUE(tips.active) << "too early";
    frame(300);
    mouseAt(tips.buttonRight + 50, tips.buttonTop + 100);
    drawTip(1);
    EXPECT_TRUE(tips.active) << "beside the button";
    mouseAt((tips.buttonLeft + tips.buttonRight) / 2, (tips.buttonTop + tips.buttonBottom) / 2);
    drawTip(1);
    EXPECT_FALSE(tips.active);
    EXPECT_EQ(currentProfile().tipShown[9], 1);
}

TEST_F(TipsTest, HelpCursorExplainsPanelBoxesAndFloors) {
    loadPicture("-2", kPlayLeft, kPlayTop, true); // no cells under the panel or the bar
    mouseOnCell(5, 5);
    helpTipAtMouse();
    EXPECT_STREQ(tips.title, "tipcleanquare");
    mouseOnCell(6, 5);
    helpTipAtMouse();
    EXPECT_STREQ(tips.title, "tipbusysquare2");
    mouseAt(345, 245);
    helpTipAtMouse();
    EXPECT_STREQ(tips.title, "scoretip");
    EXPECT_EQ(tips.x, 315);
    mouseAt(347, -98);
    helpTipAtMouse();
    EXPECT_STREQ(tips.title, "relaxtip");
    EXPECT_EQ(tips.x, 337.5f);
    // The progress bar's tip is the game's text with the share of the goal reached.
    const std::string savedFolder = dataFolder();
    setDataFolder(PC_SOURCE_DIR "/data/");
    for (const char* table : {"2strings.txt", "2tips.txt", "2menutext.txt"}) loadTextTable(table);
    setDataFolder(savedFolder);
    game.barFraction = 0.427f;
    mouseAt(-400, 100);
    helpTipAtMouse();
    EXPECT_TRUE(tips.literalTitle);
    std::string expected = findText("levelbartip") ? findText("levelbartip") : "";
    freeTextTable();
    ASSERT_NE(expected.find("%i"), std::string::npos) << "the text holds the share";
    expected.replace(expected.find("%i"), 2, "42");
    EXPECT_EQ(std::string(tips.title), expected);
}

TEST_F(TipsTest, NumberFormatsFromDataAcceptOnlyOneInteger) {
    char out[32];
    formatNumberText(out, sizeof out, "%i%% done", 42);
    EXPECT_STREQ(out, "42% done");
    formatNumberText(out, sizeof out, "Combo x%2d", 7);
    EXPECT_STREQ(out, "Combo x 7");
    formatNumberText(out, sizeof out, "bad %s here", 7);
    EXPECT_STREQ(out, "bad %s here");
    formatNumberText(out, sizeof out, "%i and %i", 7);
    EXPECT_STREQ(out, "%i and %i");
    EXPECT_FALSE(isNumberFormat("%n"));
    EXPECT_TRUE(isNumberFormat("plain"));
}

} // namespace
