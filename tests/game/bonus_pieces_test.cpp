#include "game/bonus_pieces.h"

#include "game/board_click.h"
#include "game/live_rules.h"
#include "rules_fixture.h"

namespace {
class BonusPiecesTest : public RulesTest {
  protected:
    // A run along row 5 from x = 5, the moved ball having landed on its last cell.
    void run(const char* picture, int landingX) {
        loadPicture(picture);
        game.landingX = landingX;
        game.landingY = 5;
        removalPass(liveRules, true);
    }
};

TEST_F(BonusPiecesTest, NoEarnedPieceOnTheFirstLevelsForANewProfileOutsideActionMode) {
    for (int level = 0; level <= 1; ++level) {
        game.levelIndex = level;
        game.mode = kModeClassic;
        run("aaaa\n", 8);
        EXPECT_EQ(kindAt(8, 5), kNoPiece) << level;
        game.mode = kModePuzzle;
        run("aaaa\n", 8);
        EXPECT_EQ(kindAt(8, 5), kNoPiece) << level;
    }
    game.mode = kModeAction;
    game.combo = 0;
    run("aaaa\n", 8);
    EXPECT_EQ(kindAt(8, 5), kTripleBomb);
}

TEST_F(BonusPiecesTest, AProfilePastLevelOneUnlocksThemEverywhere) {
    currentProfile().openLevelInZone[1] = 2;
    game.levelIndex = 0;
    run("aaaa\n", 8);
    EXPECT_EQ(kindAt(8, 5), kTripleBomb);
}

TEST_F(BonusPiecesTest, RunLengthAndComboDecideThePiece) {
    game.levelIndex = 5;
    run("aaaaa\n", 9);
    EXPECT_EQ(kindAt(9, 5), kQuadroBomb);
    EXPECT_TRUE(events.has("bonus " + std::to_string(kQuadroBomb) + " at 9 5"));
    game.combo = 1;
    run("aaa\n", 7); // combo 2
    EXPECT_EQ(kindAt(7, 5), kDiamond);
    run("aaaa\n", 8); // combo 3, a run of four
    EXPECT_EQ(kindAt(8, 5), kTripleBomb);
    game.combo = 1;
    run("aaaaa\n", 9); // combo 2 and a run of five: the diamond finds the cell taken
    EXPECT_EQ(kindAt(9, 5), kQuadroBomb);
    EXPECT_EQ(liveRules.at(9, 5).pendingKind, kNoPiece);
}

TEST_F(BonusPiecesTest, HammerIconWorksOnlyWhenFullyCharged) {
    game.hammerCharge = 0.99f;
    clickHammerIcon(liveRules);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    game.hammerCharge = 1;
    game.selectedX = 5;
    clickHammerIcon(liveRules);
    EXPECT_EQ(game.cursorMode, kCursorHammer);
    EXPECT_EQ(game.selectedX, -1);
    clickHammerIcon(liveRules);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_TRUE(hammerIconHit(321, -200));
    EXPECT_FALSE(hammerIconHit(320, -200));
}

TEST_F(BonusPiecesTest, HammerBreaksOneChainAndIsUsedUp) {
    loadPicture("A-\n");
    game.hammerCharge = 1;
    game.cursorMode = kCursorHammer;
    leftClickCell(liveRules, 6, 5); // an empty cell: nothing
    EXPECT_EQ(game.cursorMode, kCursorHammer);
    leftClickCell(liveRules, 5, 5);
    EXPECT_EQ(kindAt(5, 5), 0);
    EXPECT_EQ(liveRules.at(5, 5).ball.chains, 0);
    EXPECT_FLOAT_EQ(game.hammerCharge, 0);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_TRUE(events.has("hammer 5 5"));
}

TEST_F(BonusPiecesTest, HammerSmashesABombWithoutItsBlast) {
    loadPicture("aTa\n");
    game.hammerCharge = 1;
    game.cursorMode = kCursorHammer;
    int moves = game.movesMade;
    leftClickCell(liveRules, 6, 5);
    EXPECT_EQ(kindAt(6, 5), kNoPiece);
    EXPECT_EQ(kindAt(5, 5), 0);
    EXPECT_EQ(kindAt(7, 5), 0);
    EXPECT_EQ(game.movesMade, moves);
    setFrame(300);
    updateRemovalQueue(liveRules);
    EXPECT_TRUE(events.has("bomb 6 5"));
    EXPECT_FALSE(events.has("bomb 6 5 double"));
}

TEST_F(BonusPiecesTest, HammerClickOnAHoleDisarmsButKeepsTheCharge) {
    loadPicture("#a\n");
    game.hammerCharge = 1;
    game.cursorMode = kCursorHammer;
    leftClickCell(liveRules, 5, 5);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    EXPECT_FLOAT_EQ(game.hammerCharge, 1);
}

TEST_F(BonusPiecesTest, ChargeReachingFullAnnouncesTheHammer) {
    game.hammerEnabled = true;
    game.hammerCharge = 0.95f;
    loadPicture("aaa\n");
    removalPass(liveRules, true);
    EXPECT_FLOAT_EQ(game.hammerCharge, 1);
    EXPECT_EQ(events.count("hammer-charged"), 1);
    game.hammerEnabled = false;
    game.hammerCharge = 0;
    loadPicture("bbb\n");
    removalPass(liveRules, true);
    EXPECT_FLOAT_EQ(game.hammerCharge, 0);
}
} // namespace
