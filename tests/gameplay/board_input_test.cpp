#include "gameplay/board_input.h"

#include "game/moves.h"

#include "app/game_scene.h"
#include "game/live_rules.h"
#include "gameplay/game_frame.h"
#include "gameplay/game_presentation.h"
#include "gameplay/live_output.h"
#include "gameplay_fixture.h"
#include "platform/events.h"
#include "ui/menu_system.h"

namespace {

class BoardInputTest : public GameplayTest {
  protected:
    void SetUp() override {
        GameplayTest::SetUp();
        // Only these nine cells exist; every other cell is a hole.
        loadPicture("a-b\n"
                    "---\n"
                    "c#-",
                    kPlayLeft, kPlayTop, true);
    }
    void clickCell(int x, int y) {
        mouseOnCell(x, y);
        boardLeftDown();
        boardLeftUp();
    }
};

TEST_F(BoardInputTest, PointsMapToCellsWithAQuotientThatTruncatesTowardZero) {
    int x = 0, y = 0;
    // Left of the board's edge the truncating division still gives column 5, down to x = -419.
    for (float px : {-400.0f, -390.5f, -380.0f, -379.9f}) {
        ASSERT_TRUE(cellUnderPoint(px, 0, &x, &y));
        EXPECT_EQ(x, 5) << px;
    }
    ASSERT_TRUE(cellUnderPoint(-340.0f, 0, &x, &y));
    EXPECT_EQ(x, 6);
    // Scaled pictures give fractional positions: they are not truncated before the offset is added.
    ASSERT_TRUE(cellUnderPoint(-340.5f, 260.5f, &x, &y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 5);
    ASSERT_TRUE(cellUnderPoint(-300.25f, 220.75f, &x, &y));
    EXPECT_EQ(x, 6);
    EXPECT_EQ(y, 6);
    ASSERT_TRUE(cellUnderPoint(-360, 280, &x, &y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 5);
    ASSERT_TRUE(cellUnderPoint(299, -299, &x, &y));
    EXPECT_EQ(x, 21);
    EXPECT_EQ(y, 19);
    for (int c = kPlayLeft; c <= kPlayRight; ++c) {
        for (int r = kPlayTop; r <= kPlayBottom; ++r) {
            Point p = cellCentre(c, r);
            ASSERT_TRUE(cellUnderPoint(p.x, p.y, &x, &y));
            EXPECT_EQ(x, c);
            EXPECT_EQ(y, r);
        }
    }
}

TEST_F(BoardInputTest, ClicksSelectAndMoveAndEveryClickWaitsWhileABallTravels) {
    clickCell(5, 5);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_TRUE(events.has("selected 5 5"));
    clickCell(6, 6);
    EXPECT_TRUE(game.ballMoving);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, 6);
    // While it travels nothing is taken: not the board, not the relax button, not the help button.
    game.running = true;
    clickCell(7, 5);
    EXPECT_EQ(game.selectedX, 5);
    mouseAt(347, -98);
    boardLeftDown();
    EXPECT_TRUE(game.running);
    mouseAt(-378, -270);
    boardLeftDown();
    EXPECT_FALSE(boardInput.helpArmed);
}

TEST_F(BoardInputTest, ResultSequencesAndThePauseTakeTheClickFirst) {
    game.completeCountdownMs = 5000;
    clickCell(5, 5);
    EXPECT_EQ(game.completeCountdownMs, 1);
    EXPECT_EQ(game.selectedX, -1);
    game.completeCountdownMs = 0;
    game.defeatCountdownMs = 3000;
    clickCell(5, 5);
    EXPECT_EQ(game.defeatCountdownMs, 1);
    game.defeatCountdownMs = 0;
    // Paused after the last level: the congratulations cannot be clicked away for 5000 ms.
    game.running = false;
    game.gamePassed = true;
    game.pauseMs = 4000;
    clickCell(5, 5);
    EXPECT_FALSE(game.running);
    game.pauseMs = 6000;
    clickCell(5, 5);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.selectedX, -1) << "the click that resumes does nothing else";
}

TEST_F(BoardInputTest, HammerBarTakesTheClickOnlyWhenExactlyFull) {
    game.hammerEnabled = true;
    // A cell under the hammer bar would be column 22: make sure the board part sees something there.
    game.hammerCharge = 0.99f;
    clickCell(5, 5);
    mouseAt(350, -200);
    boardLeftDown();
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_EQ(game.selectedX, -1) << "the click fell through to the board: off the cells it deselects";
    game.hammerCharge = 1.0f;
    boardLeftDown();
    EXPECT_EQ(game.cursorMode, kCursorHammer);
    // The bar's border is outside it.
    setCursorMode(kCursorNormal);
    mouseAt(320, -200);
    boardLeftDown();
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    // Armed, a blow on a ball smashes it and puts the hammer down.
    game.cursorMode = kCursorHammer;
    clickCell(7, 5);
    EXPECT_EQ(kindAt(7, 5), kNoPiece);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_EQ(game.hammerCharge, 0.0f);
}

TEST_F(BoardInputTest, PanelButtonsPauseAndOpenTheMenu) {
    mouseAt(347, -98); // relax
    boardLeftDown();
    EXPECT_FALSE(game.running);
    EXPECT_TRUE(output.has("sound menu.ogg"));
    boardLeftDown(); // any click resumes
    EXPECT_TRUE(game.running);
    mouseAt(345, -30); // menu
    boardLeftDown();
    EXPECT_TRUE(game.menuOpen);
    // With a menu open the relax button is not a button and the board takes no click.
    mouseAt(347, -98);
    boardLeftDown();
    EXPECT_TRUE(game.running);
    clickCell(5, 5);
    EXPECT_EQ(game.selectedX, -1);
}

TEST_F(BoardInputTest, HelpButtonArmsTheHelpCursorAndTheNextClickShowsATipWithoutSelecting) {
    mouseAt(-378, -270);
    boardLeftDown();
    EXPECT_TRUE(boardInput.helpArmed);
    EXPECT_EQ(game.cursorMode, kCursorHelp);
    clickCell(5, 5);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_TRUE(tips.active);
    EXPECT_STREQ(tips.title, "balltip");
    EXPECT_STREQ(tips.body, "adventsquarehelp");
    EXPECT_FALSE(boardInput.helpArmed);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
}

TEST_F(BoardInputTest, ArmingHelpNeverMovesASelectedBallToTheCornerCell) {
    loadPicture("a", kPlayLeft, kPlayTop);
    clickCell(5, 5);
    ASSERT_EQ(game.selectedX, 5);
    mouseAt(-378, -270); // the help button lies over cell (5, 19)
    boardLeftDown();
    EXPECT_FALSE(game.ballMoving);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, -1);
}

TEST_F(BoardInputTest, DragOfMoreThan200MsDropsTheBallAQuickClickDoesNot) {
    mouseOnCell(5, 5);
    boardLeftDown();
    advanceHeldTime(150);
    mouseOnCell(7, 6);
    boardLeftUp();
    EXPECT_FALSE(game.ballMoving);
    EXPECT_EQ(game.selectedX, 5);
    mouseOnCell(5, 5);
    boardLeftDown(); // deselects (second click on the selected ball)
    boardLeftDown(); // selects again
    advanceHeldTime(120);
    advanceHeldTime(120);
    mouseOnCell(7, 6);
    boardLeftUp();
    EXPECT_TRUE(game.ballMoving);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, 7);
    EXPECT_EQ(boardInput.leftHeldMs, 0);
    advanceHeldTime(16);
    EXPECT_EQ(boardInput.leftHeldMs, 0) << "the held time stays 0 while the button is up";
}

TEST_F(BoardInputTest, ADoubleClickSelectsTheBallAndPausesOverAHole) {
    // The window reports the second of two quick presses as a double click instead of a press.
    auto doubleClick = [](float x, float y) {
        mouseAt(x, y);
        boardLeftDown();
        boardLeftUp();
        boardDoubleClick();
        boardLeftUp();
    };
    auto doubleClickCell = [&](int x, int y) {
        Point c = cellCentre(x, y);
        doubleClick(c.x, c.y);
    };
    // A ball not selected: the first press selects it, and the second leaves it selected.
    doubleClickCell(7, 5);
    EXPECT_EQ(game.selectedX, 7);
    // The selected ball: the first press drops it, the second takes it again.
    doubleClickCell(7, 5);
    EXPECT_EQ(game.selectedX, 7);
    EXPECT_FALSE(game.ballMoving) << "a double click never starts a move";
    // A chained ball is not selected this way.
    setBall(8, 7, 3, 1);
    doubleClickCell(8, 7);
    EXPECT_EQ(game.selectedX, 7);
    // Over a hole inside the board area the game pauses.
    doubleClickCell(6, 7);
    EXPECT_FALSE(game.running);
    EXPECT_TRUE(output.has("sound menu.ogg"));
    // A double click whose first press goes on from the pause does not pause again.
    doubleClickCell(6, 7);
    EXPECT_TRUE(game.running);
    // An armed help cursor is only put down.
    boardInput.helpArmed = true;
    game.cursorMode = kCursorHelp;
    doubleClickCell(6, 7);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
}

// Two quick presses a few pixels apart are paired by the window however the cells lie under them: at
// 1920 x 1080 a cell is 72 pixels wide and the pairing radius 32 pixels, so the presses on both sides of a
// border pair up. Only a pair on one cell is a double click.
TEST_F(BoardInputTest, QuickPressesOnNeighbouringCellsAreTwoPresses) {
    Point ball = cellCentre(5, 5);
    mouseAt(ball.x + 15, ball.y);
    boardLeftDown();
    boardLeftUp();
    ASSERT_EQ(game.selectedX, 5);
    mouseAt(ball.x + 25, ball.y); // 10 units on: over the border, in the empty cell (6, 5)
    boardDoubleClick();
    EXPECT_TRUE(game.ballMoving) << "the second press sent the ball";
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, 6);
    // Beside the board, a press on one hole and a quick one on another do not pause the game.
    game.ballMoving = false;
    // The move runs to its landing, and no further: a landed ball has no target to travel to.
    for (int i = 0; i < 20 && liveRules.at(5, 5).ball.moveTargetX != -1; ++i) updateMove(liveRules, 5, 5);
    mouseAt(cellCentre(6, 7).x, cellCentre(6, 7).y);
    boardLeftDown();
    mouseAt(cellCentre(8, 6).x, cellCentre(8, 6).y); // a hole beside the picture's cells
    boardDoubleClick();
    EXPECT_TRUE(game.running);
}

TEST_F(BoardInputTest, RightButtonDeselectsPutsCursorsDownAndResumes) {
    clickCell(5, 5);
    game.cursorMode = kCursorHammer;
    boardRightDown();
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_TRUE(game.rightHeld);
    boardRightUp();
    EXPECT_FALSE(game.rightHeld);
    game.running = false;
    boardRightDown();
    EXPECT_TRUE(game.running);
    EXPECT_FALSE(game.rightHeld);
}

TEST_F(BoardInputTest, MiddleButtonChargesTheHammerOnlyWithCheatKeysToExactlyFull) {
    boardMiddleDown(false);
    EXPECT_EQ(game.hammerCharge, 0.0f);
    for (int i = 0; i < 7; ++i) boardMiddleDown(true);
    EXPECT_EQ(game.hammerCharge, 1.0f);
}

TEST_F(BoardInputTest, CursorModeChangesReachTheWindowOnce) {
    int calls = 0, last = -1;
    static int* callsOut;
    static int* lastOut;
    callsOut = &calls;
    lastOut = &last;
    boardInput.applySystemCursor = [](int mode) {
        ++*callsOut;
        *lastOut = mode;
    };
    setCursorMode(kCursorHelp);
    setCursorMode(kCursorHelp);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last, kCursorHelp);
    game.cursorMode = kCursorNormal; // the rules put it down themselves
    syncCursor();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(last, kCursorNormal);
    boardInput.applySystemCursor = nullptr;
}

TEST_F(BoardInputTest, ArrowsShowAndMoveTheCursorCellOverExistingCellsAndReturnPlaysAMove) {
    game.running = true;
    mouseOnCell(5, 6);
    boardKey(kKeyRight); // the first key only shows the cursor cell, under the mouse
    ASSERT_TRUE(boardInput.keyCursorShown);
    EXPECT_EQ(boardInput.keyCursorX, 5);
    EXPECT_EQ(boardInput.keyCursorY, 6);
    auto expectCursor = [](int key, int x, int y) {
        boardKey(key);
        EXPECT_EQ(boardInput.keyCursorX, x) << key;
        EXPECT_EQ(boardInput.keyCursorY, y) << key;
    };
    expectCursor(kKeyRight, 6, 6);
    expectCursor(kKeyRight, 7, 6);
    expectCursor(kKeyRight, 7, 6); // no cell further right: it stays
    expectCursor(kKeyDown, 7, 7);
    expectCursor(kKeyLeft, 5, 7); // the hole at (6, 7) is jumped
    expectCursor(kKeyUp, 5, 6);
    expectCursor(kKeyUp, 5, 5);
    // The cursor cell is the board's hover cell while it is shown.
    drawBoard(liveRules);
    EXPECT_EQ(boardView.hoverX, 5);
    EXPECT_EQ(boardView.hoverY, 5);
    boardKey(kKeyReturn);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(game.selectedY, 5);
    expectCursor(kKeyRight, 6, 5);
    boardKey(kKeyReturn);
    EXPECT_TRUE(game.ballMoving);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, 6);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetY, 5);
}

TEST_F(BoardInputTest, TheCursorCellHidesOnARealMouseMoveOnly) {
    game.running = true;
    app.mouseX = 100;
    app.mouseY = 100;
    boardKey(kKeyDown);
    ASSERT_TRUE(boardInput.keyCursorShown);
    gameScene.mouseMove(); // reported without a move (a resize, the focus): still shown
    EXPECT_TRUE(boardInput.keyCursorShown);
    app.mouseX = 101;
    gameScene.mouseMove();
    EXPECT_FALSE(boardInput.keyCursorShown);
}

TEST_F(BoardInputTest, TheBoardsOwnKeysComeFirstWhenPausedOrInAResultSequence) {
    game.running = false;
    gameScene.keyDown(kKeyLeft); // a key resumes the paused game and does nothing else
    EXPECT_TRUE(game.running);
    EXPECT_FALSE(boardInput.keyCursorShown);
    game.completeCountdownMs = 3000;
    gameScene.keyDown(kKeyReturn); // and ends the result sequence
    EXPECT_EQ(game.completeCountdownMs, 1);
    EXPECT_FALSE(boardInput.keyCursorShown);
    game.completeCountdownMs = 0;
    gameScene.keyDown(kKeyUp);
    EXPECT_TRUE(boardInput.keyCursorShown);
    gameScene.keyDown(kKeySpace); // Space still pauses
    EXPECT_FALSE(game.running);
}

TEST_F(BoardInputTest, ReturnUsesTheArmedHammerAndTheHelpCursorOnTheCursorCell) {
    game.running = true;
    mouseOnCell(7, 5);
    boardKey(kKeyReturn);
    game.hammerCharge = 1.0f;
    game.cursorMode = kCursorHammer;
    boardKey(kKeyReturn);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_EQ(game.hammerCharge, 0.0f);
    boardInput.helpArmed = true;
    game.cursorMode = kCursorHelp;
    boardKey(kKeyLeft);
    boardKey(kKeyReturn); // the tip of the cell, and the cell is not selected
    EXPECT_TRUE(tips.active);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_EQ(game.selectedX, -1);
}

} // namespace

namespace {

// The game scene's own input path (its slots, the frame that draws the menu) with a ball on its way: a
// ball standing still mid-route behind a menu or the pause is not moving, and the clicks go on.
class FrozenTravelTest : public GameplayTest {
  protected:
    void SetUp() override {
        GameplayTest::SetUp();
        resetMenus();
        ASSERT_TRUE(buildMenuTree("gameplay=\nresume game\nrestart level\n\nlevelcomplete=\noknextlevel\n"));
        giveDrawRoutines();
        liveRules.presentation = &gamePresentation;
        gamePresentation.output = &liveOutput; // pages open as in the game
        currentProfile().showHelp[0] = 0;      // no help page over the first game
        game.barGoal = 20;
        game.barValue = 10;
        game.barFraction = game.barShownFraction = 0.5f;
        loadPicture("a------------\nb------------\n");
    }
    void TearDown() override {
        resetMenus();
        GameplayTest::TearDown();
    }
    void frames(int count, float ms = 20) {
        for (int i = 0; i < count; ++i) {
            setFrame(ms);
            backend.clearFrame();
            runGameFrame();
            flushBatch();
        }
    }
    // A press and release of the left button at a point of the screen, through the scene's slots.
    static void click(float x, float y) {
        app.mouseX = static_cast<int>(400 + x);
        app.mouseY = static_cast<int>(300 - y);
        gameScene.leftDown();
        gameScene.leftUp();
    }
    static void clickCell(int x, int y) {
        Point c = cellCentre(x, y);
        click(c.x, c.y);
    }
    // Sends the ball of (5, y) twelve steps along its row and lets it travel a little.
    void sendBall(int y) {
        clickCell(5, y);
        clickCell(17, y);
        ASSERT_NE(liveRules.at(5, y).ball.moveTargetX, -1);
        frames(5);
        ASSERT_TRUE(game.ballMoving);
    }
    void clickFirstButton() {
        ASSERT_GT(menus.buttons.size(), 0);
        const ButtonRect& b = menus.buttons[0];
        click((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
};

TEST_F(FrozenTravelTest, TheOpenMenuTakesClicksWhileABallStandsMidRoute) {
    sendBall(5);
    gameScene.keyDown(kKeyEscape);
    ASSERT_TRUE(game.menuOpen);
    frames(30); // the board fades out behind the page: the ball stands still mid-route
    EXPECT_FALSE(game.ballMoving) << "a ball standing still is not moving";
    clickFirstButton(); // "resume game"
    frames(30);
    EXPECT_FALSE(game.menuOpen) << "the click reached the page";
    frames(60);
    EXPECT_EQ(kindAt(17, 5), 0) << "and the ball went on to its target";
}

TEST_F(FrozenTravelTest, AClickGoesOnFromThePauseBeganMidRoute) {
    sendBall(5);
    gameScene.keyDown(kKeySpace);
    ASSERT_FALSE(game.running);
    frames(2); // the board still fades: a click now goes on as well as later
    click(0, 0);
    EXPECT_TRUE(game.running);
    frames(60);
    EXPECT_EQ(kindAt(17, 5), 0);
    sendBall(6); // the second ball
    gameScene.keyDown(kKeySpace);
    frames(30); // paused past the fade: the ball stands still
    click(0, 0);
    EXPECT_TRUE(game.running);
}

TEST_F(FrozenTravelTest, ThePanelsMenuButtonOpensTheMenuWhileABallTravels) {
    sendBall(5);
    click(345, -30); // the menu button
    EXPECT_TRUE(game.menuOpen);
    // No other button is taken meanwhile: the relax button waits for the ball.
    game.menuOpen = false;
    frames(1);
    ASSERT_TRUE(game.ballMoving);
    click(347, -98);
    EXPECT_TRUE(game.running);
}

} // namespace
