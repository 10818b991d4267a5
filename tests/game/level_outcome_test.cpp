#include "game/level_outcome.h"

#include <cmath>
#include <cstring>

#include "engine/file_registry.h"
#include "game/live_rules.h"
#include "game/rules_step.h"
#include "rules_fixture.h"

namespace {
class LevelOutcomeTest : public RulesTest {
  protected:
    std::string text; // the registered level file's bytes, kept alive while registered

    void SetUp() override {
        RulesTest::SetUp();
        resetFileRegistry();
    }
    void TearDown() override {
        resetFileRegistry();
        RulesTest::TearDown();
    }
    void registerLevel(const char* name, const std::string& contents) {
        text = contents;
        ASSERT_TRUE(registerFile(name, static_cast<int>(text.size()), reinterpret_cast<uint8_t*>(text.data()),
                                 false));
    }
    void wonPuzzleWithTimeLeft(float msLeft) {
        loadPicture("a-\n");
        game.mode = kModePuzzle;
        game.barGoal = 60000;
        game.barValue = 60000 - msLeft;
        checkLevelState(liveRules);
    }
};

TEST_F(LevelOutcomeTest, PuzzleTimeBonusNeedsTwentySecondsLeft) {
    wonPuzzleWithTimeLeft(19900);
    EXPECT_EQ(game.score, 0);
    EXPECT_FLOAT_EQ(game.completeCountdownMs, 8500);
    EXPECT_FALSE(events.has("time-bonus"));
    SetUp();
    wonPuzzleWithTimeLeft(20000);
    EXPECT_EQ(game.score, 200);
    EXPECT_EQ(currentProfile().score[kModePuzzle], 200);
    EXPECT_TRUE(events.has("time-bonus 200"));
}

TEST_F(LevelOutcomeTest, CrossingAMultipleOf150000GivesExactlyOneLife) {
    game.mode = kModeClassic;
    currentProfile().score[0] = 299990;
    addPoints(liveRules, 20);
    EXPECT_EQ(currentProfile().lives[0], 4);
    EXPECT_EQ(currentProfile().score[0], 300010);
    EXPECT_EQ(game.score, 20);
    addPoints(liveRules, 20);
    EXPECT_EQ(currentProfile().lives[0], 4);
    EXPECT_EQ(events.count("life"), 1);
}

TEST_F(LevelOutcomeTest, PointsDuringTheLevelCompleteSequenceCountOnlyAtFirst) {
    game.completeCountdownMs = 8200;
    addPoints(liveRules, 10);
    game.completeCountdownMs = 7900;
    addPoints(liveRules, 10);
    game.completeCountdownMs = 0;
    game.menuOpen = true;
    addPoints(liveRules, 10);
    EXPECT_EQ(game.score, 10);
}

TEST_F(LevelOutcomeTest, DefeatTextFollowsTheLivesAndTheLastLifeEndsInHiscore) {
    const struct {
        int lives;
        bool full;
        const char* text;
        const char* page;
    } cases[] = {{3, true, "lost no-moves lives 3", "page defeat"},
                 {3, false, "lost time lives 3", "page defeat"},
                 {1, true, "lost no-moves lives 1", "page defeat"},
                 {0, true, "lost no-moves lives 0", "page hiscore"}};
    for (const auto& c : cases) {
        SetUp();
        game.mode = kModePuzzle;
        loadPicture(c.full ? "ab\n" : "a-\n", kPlayLeft, kPlayTop, true);
        liveRules.at(5, 5).square = 1; // not won
        game.barGoal = 1000;
        game.barValue = c.full ? 0 : 2000;
        currentProfile().lives[kModePuzzle] = c.lives;
        currentProfile().savedGame[kModePuzzle] = 1;
        checkLevelState(liveRules);
        EXPECT_TRUE(events.has(c.text)) << c.text;
        setFrame(5000);
        updateSequences(liveRules);
        EXPECT_TRUE(events.has(c.page)) << c.page;
        EXPECT_EQ(currentProfile().lives[kModePuzzle], c.lives - 1);
        EXPECT_EQ(currentProfile().savedGame[kModePuzzle], 0);
        EXPECT_TRUE(game.defeatDone);
        EXPECT_TRUE(game.menuOpen);
    }
}

TEST_F(LevelOutcomeTest, LevelCompleteSequenceClearsTheBoardAfterOneSecondAndOpensThePage) {
    loadPicture("ab-\n");
    game.barValue = 0;
    checkLevelState(liveRules);
    ASSERT_FLOAT_EQ(game.completeCountdownMs, 8500);
    EXPECT_EQ(currentProfile().levelInZone[0], 1); // the mode played, not the one the profile last showed
    EXPECT_EQ(currentProfile().levelInZone[1], 0);
    setFrame(900);
    updateSequences(liveRules);
    EXPECT_EQ(kindAt(5, 5), 0);
    setFrame(200);
    updateSequences(liveRules);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    int score = game.score;
    setFrame(1000);
    for (int i = 0; i < 8; ++i) {
        updateSequences(liveRules);
        updateRemovalQueue(liveRules);
    }
    EXPECT_EQ(game.score, score); // the clearing scores nothing
    EXPECT_FLOAT_EQ(game.completeCountdownMs, -1);
    EXPECT_TRUE(events.has("page complete"));
}

TEST_F(LevelOutcomeTest, AKeyThatCutsTheSequenceShortEndsItBeforeThePageOpens) {
    // Any key ends the sequence on the next frame; "Level complete" would still be on its way up,
    // behind the statistics panel: the sequence's end comes first, so its announcement can go.
    loadPicture("ab-\n");
    game.barValue = 0;
    checkLevelState(liveRules);
    ASSERT_TRUE(events.has("won 0"));
    game.completeCountdownMs = 1;
    setFrame(20);
    events.clear();
    updateSequences(liveRules);
    ASSERT_EQ(events.lines.size(), 2u);
    EXPECT_EQ(events.lines[0], "complete-mark 0 level 0");
    EXPECT_EQ(events.lines[1], "page complete");
}

TEST_F(LevelOutcomeTest, EmptyBoardGivesTheBonusAndWinsWhenNothingCameBack) {
    loadPicture("");
    game.levelTimeMs = 5000;
    game.barValue = 12;
    checkEmptyBoard(liveRules);
    EXPECT_EQ(game.score, 25000);
    EXPECT_FLOAT_EQ(game.barValue, 0);
}

// The last line empties the board while its stars still fly and the bar's display still eases: the same
// frame must see the win, or the next one finds the board empty again and pays the bonus a second time.
TEST_F(LevelOutcomeTest, AnEmptyBoardPaysItsBonusOnceAndWinsInTheSameFrame) {
    loadPicture("");
    game.levelTimeMs = 5000;
    game.barGoal = 40;
    game.barValue = 12;
    game.barFraction = 0.7f;
    game.barShownFraction = 0.5f; // still easing towards the bar's value
    setFrame(16);
    rulesFrame(liveRules);
    EXPECT_EQ(game.score, 25000);
    EXPECT_FLOAT_EQ(game.completeCountdownMs, 8500) << "won in the frame the board emptied";
    for (int i = 0; i < 5; ++i) rulesFrame(liveRules);
    EXPECT_EQ(game.score, 25000);
    EXPECT_EQ(events.count("award incredible 25000"), 1);
}

TEST_F(LevelOutcomeTest, ClassicLevelWithoutGoalOrSquaresHasABarOfForty) {
    registerLevel("levels/tut1_03.lvl", "colors=4\r\nlevel=\r\naaa0\r\n0000\r\n");
    game.mode = kModeClassic;
    startLevel(liveRules, 2);
    EXPECT_FLOAT_EQ(game.barGoal, 40);
    EXPECT_FLOAT_EQ(game.barValue, 40);
    EXPECT_EQ(game.colourCount, 4);
    EXPECT_EQ(game.lineLength, 3);
    EXPECT_EQ(game.ballsPerTurn, 2); // 8 cells / 4
    EXPECT_TRUE(events.has("tip level-bar -1 -1"));
}

TEST_F(LevelOutcomeTest, ActionLevelStartAddsColoursAndItsOwnBar) {
    registerLevel("levels/pack1_07.lvl", "level=\r\n00000000\r\n00000000\r\n");
    game.mode = kModeAction;
    startLevel(liveRules, 10);
    EXPECT_EQ(game.levelDownTimeMs, 30 * 1550 / 35 + 450);
    EXPECT_EQ(game.colourCount, 7);
    EXPECT_EQ(game.ballsPerTurn, 12); // 16 cells * 8 / 10
    EXPECT_FLOAT_EQ(game.barGoal, 16 * std::sqrt(11.0f));
}

TEST_F(LevelOutcomeTest, PuzzleLevelStartStretchesTheTime) {
    registerLevel("levels/pack1_02.lvl", "time4level=1\r\nlevel=\r\n1020\r\n");
    game.mode = kModePuzzle;
    startLevel(liveRules, 5);
    EXPECT_EQ(game.timeLimitSec, 360); // six times the file's minute at level 5
    EXPECT_FLOAT_EQ(game.barGoal, 360000);
    EXPECT_FLOAT_EQ(game.barValue, 0);
}

TEST_F(LevelOutcomeTest, ActionBarGrowsBackButNotWhileABallMovesOrATipShows) {
    game.mode = kModeAction;
    game.barGoal = 100;
    game.barValue = 50;
    game.levelDownTimeMs = 1000;
    setFrame(600);
    updateLevelBar(liveRules, false);
    updateLevelBar(liveRules, false);
    EXPECT_FLOAT_EQ(game.barValue, 51);
    game.ballMoving = true;
    updateLevelBar(liveRules, false);
    updateLevelBar(liveRules, false);
    game.ballMoving = false;
    updateLevelBar(liveRules, true);
    updateLevelBar(liveRules, true);
    EXPECT_FLOAT_EQ(game.barValue, 51);
}

TEST_F(LevelOutcomeTest, LoseLifeStartsTheDefeatSequenceOnce) {
    loseLife(liveRules);
    EXPECT_TRUE(events.has("given-up lives 3"));
    EXPECT_FLOAT_EQ(game.defeatCountdownMs, 5000);
    loseLife(liveRules);
    EXPECT_EQ(events.count("given-up"), 1);
}
} // namespace
