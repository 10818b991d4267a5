#include "game/removal_pass.h"

#include "game/live_rules.h"
#include "rules_fixture.h"

namespace {
class RemovalPassTest : public RulesTest {};

TEST_F(RemovalPassTest, DiagonalOfThreeIsRemovedAndTheCountsKeepUp) {
    loadPicture("a--\n"
                "-a-\n"
                "--a\n");
    int free = game.freeCells;
    EXPECT_EQ(removalPass(liveRules, true), 3);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    EXPECT_EQ(kindAt(7, 7), kNoPiece);
    EXPECT_EQ(game.freeCells, free + 3);
    EXPECT_EQ(liveRules.removals.entries.size(), 3);
    EXPECT_EQ(game.combo, 1);
}

TEST_F(RemovalPassTest, BallsStillAppearingAreIgnored) {
    loadPicture("aaa\n");
    liveRules.at(6, 5).ball.appearMs = 10;
    EXPECT_EQ(removalPass(liveRules, true), 0);
    EXPECT_EQ(game.combo, 0);
}

TEST_F(RemovalPassTest, JokerBetweenARedPairAndABluePairGoesWithBoth) {
    loadPicture("aaJbb\n");
    EXPECT_EQ(removalPass(liveRules, true), 5);
    for (int x = 5; x <= 9; ++x) EXPECT_EQ(kindAt(x, 5), kNoPiece) << x;
}

TEST_F(RemovalPassTest, WildStartCellLooksOnlyForWildPieces) {
    // From the joker the run "J T" is too short; the colour pair is found from its own cells.
    loadPicture("JTc\n");
    EXPECT_EQ(markLinesFrom(liveRules, 5, 5), 0);
    EXPECT_EQ(markLinesFrom(liveRules, 7, 5), 3);
    loadPicture("JT*\n");
    EXPECT_EQ(markLinesFrom(liveRules, 5, 5), 3); // three wild pieces are a line by themselves
}

TEST_F(RemovalPassTest, ChainedBallInALineLosesOneChainAndStillCounts) {
    loadPicture("aAa\n");
    game.hammerEnabled = true;
    EXPECT_EQ(removalPass(liveRules, true), 3);
    EXPECT_EQ(kindAt(6, 5), 0);
    EXPECT_EQ(liveRules.at(6, 5).ball.chains, 0);
    EXPECT_EQ(game.combo, 1);
    EXPECT_FLOAT_EQ(game.hammerCharge, 3 * 0.03f);
    EXPECT_TRUE(events.has("chain 6 5"));
    EXPECT_TRUE(events.has("points 50 at 6 5"));
    EXPECT_EQ(game.score, 50);
}

TEST_F(RemovalPassTest, ComboGrowsAcrossRemovingMovesAndBreaksOnlyOnAMove) {
    loadPicture("aaa\n");
    removalPass(liveRules, true);
    loadPicture("bbb\n");
    removalPass(liveRules, true);
    EXPECT_EQ(game.combo, 2);
    EXPECT_EQ(game.maxCombo, 2);
    EXPECT_TRUE(events.has("combo 2 at -1 -1")); // no move has landed yet
    removalPass(liveRules, false);
    EXPECT_EQ(game.combo, 2); // new balls that removed nothing keep the combo
    removalPass(liveRules, true);
    EXPECT_EQ(game.combo, 0);
}

TEST_F(RemovalPassTest, BombInALineBlastsItsAreaAndHitsSquares) {
    loadPicture("-----\n"
                "--c--\n"
                "-dTaa\n"
                "-2e--\n"
                "--f--\n");
    game.mode = kModePuzzle;
    removalPass(liveRules, true);
    EXPECT_EQ(kindAt(7, 6), kNoPiece);
    EXPECT_EQ(kindAt(6, 7), kNoPiece);
    EXPECT_EQ(kindAt(7, 8), kNoPiece);
    EXPECT_EQ(kindAt(7, 9), kNoPiece);       // two steps away orthogonally
    EXPECT_EQ(liveRules.at(6, 8).square, 1); // the empty busy square in the area lost a layer
}

TEST_F(RemovalPassTest, BombChainsStopAfterSevenSweeps) {
    // Each bomb sets off the one two rows above it, which comes earlier in the scan: one per sweep.
    loadPicture("T-g\n"
                "---\n"
                "T--\n"
                "---\n"
                "T--\n"
                "---\n"
                "T--\n"
                "---\n"
                "T--\n"
                "---\n"
                "T--\n"
                "---\n"
                "T--\n"
                "---\n"
                "Taa\n");
    removalPass(liveRules, true);
    EXPECT_EQ(liveRules.awards.lastSweeps, 7);
    // The marks stay until the next pass (the bombs' megamatch then clears the board anyway).
    EXPECT_EQ(liveRules.at(5, 6).marked, 1); // blast of the bomb set off in the seventh sweep
    EXPECT_EQ(liveRules.at(5, 5).marked, 1); // the top bomb: marked by it, but never exploded
    EXPECT_EQ(liveRules.at(7, 5).marked, 0); // so its blast never reached this ball
}

TEST_F(RemovalPassTest, DiamondTakesTheColourNextToItAndSweepsTheBoard) {
    loadPicture("aa*-b\n"
                "-----\n"
                "a-a-b\n");
    removalPass(liveRules, true);
    EXPECT_EQ(kindAt(5, 7), kNoPiece);
    EXPECT_EQ(kindAt(7, 7), kNoPiece);
    EXPECT_EQ(kindAt(9, 5), 1);
    EXPECT_TRUE(events.has("bolt 7 5 to 5 7"));
    EXPECT_TRUE(events.has("bolt 7 5 to 7 7"));
    EXPECT_EQ(events.count("bolt"), 2);
    EXPECT_TRUE(events.has("swept 7 5 reached 2"));
}

TEST_F(RemovalPassTest, ExcellentAndPerfectAlternate) {
    for (int round = 0; round < 3; ++round) {
        loadPicture("aaaaaaaa\n"
                    "bbbbbbbb\n");
        removalPass(liveRules, true);
    }
    ASSERT_EQ(events.count("award excellent"), 2);
    ASSERT_EQ(events.count("award perfect"), 1);
    int first = -1;
    int second = -1;
    for (int i = 0; i < static_cast<int>(events.lines.size()); ++i) {
        if (events.lines[i].rfind("award excellent", 0) == 0 && first < 0) first = i;
        if (events.lines[i].rfind("award perfect", 0) == 0) second = i;
    }
    EXPECT_LT(first, second);
}

TEST_F(RemovalPassTest, ThreeQuadroBombsClearTheBoardAndCompleteTheLevel) {
    loadPicture("QQQ-----\n"
                "--------\n"
                "--------\n"
                "--------\n"
                "-------a\n");
    game.mode = kModeClassic;
    game.barValue = 30;
    removalPass(liveRules, true);
    EXPECT_EQ(kindAt(12, 9), kNoPiece);
    EXPECT_EQ(game.barValue, 0);
    EXPECT_TRUE(events.has("cleared-by-double-bombs"));
    EXPECT_FALSE(events.has("megamatch-clears"));
}

TEST_F(RemovalPassTest, ThreeWildPiecesOfWhichNoThreeBombsMakeASupermatch) {
    loadPicture("JJJ\n"
                "---\n"
                "-b-\n");
    EXPECT_EQ(removalPass(liveRules, true), 3);
    EXPECT_EQ(game.score, 1000);
    EXPECT_TRUE(events.has("award supermatch 1000"));
    EXPECT_EQ(kindAt(6, 7), 1) << "a supermatch clears nothing more";
}

TEST_F(RemovalPassTest, ThreeBombsAndDiamondsMakeAMegamatchThatClearsTheBoard) {
    loadPicture("T*T-----\n"
                "--------\n"
                "--------\n"
                "--------\n"
                "-------b\n");
    removalPass(liveRules, true);
    EXPECT_EQ(kindAt(12, 9), kNoPiece) << "the far ball goes with the board";
    EXPECT_EQ(game.score, 5000);
    EXPECT_TRUE(events.has("megamatch-clears"));
    EXPECT_TRUE(events.has("award megamatch 5000"));
    EXPECT_FALSE(events.has("award supermatch"));
}

// A diamond whose neighbours hold no marked colour takes, row by row, the first marked colour of the
// board: here the line of b below it, and with it the b standing alone.
TEST_F(RemovalPassTest, ADiamondWithoutAColourBesideItTakesTheFirstMarkedColourOfTheBoard) {
    loadPicture("*JJ--\n"
                "-----\n"
                "bbb-b\n"
                "-----\n"
                "c---b\n");
    removalPass(liveRules, true);
    EXPECT_EQ(kindAt(9, 7), kNoPiece);
    EXPECT_EQ(kindAt(9, 9), kNoPiece);
    EXPECT_EQ(kindAt(5, 9), 2) << "another colour stays";
    EXPECT_EQ(events.count("bolt 5 5 to"), 2);
}

TEST_F(RemovalPassTest, AQuadroBombBlastsTheTwentyOneCellsAroundIt) {
    loadPicture("", kPlayLeft, kPlayTop);
    setBall(10, 10, kQuadroBomb);
    setBall(11, 10, 0);
    setBall(12, 10, 0);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) liveRules.at(x, y).square = 2;
    }
    countFreeCells(liveRules);
    game.mode = kModePuzzle;
    removalPass(liveRules, true);
    int hit = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (liveRules.at(x, y).square != 1) continue;
            ++hit;
            int dx = x - 10, dy = y - 10;
            EXPECT_LT(dx * dx + dy * dy, 8) << x << "," << y;
        }
    }
    EXPECT_EQ(hit, 21) << "the 5 x 5 square without its corners";
}

} // namespace
