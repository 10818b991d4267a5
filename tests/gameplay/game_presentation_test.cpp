// The rules play on a board while the game's presentation answers their events into a recorder: the
// sounds (and their rates), effects, texts, tips, music and pages a player gets for each happening.
#include "gameplay/game_presentation.h"

#include <initializer_list>
#include <string>

#include "engine/file_registry.h"
#include "game/board_click.h"
#include "game/bonus_pieces.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/new_balls.h"
#include "game/rules_fixture.h"
#include "output_recorder.h"

namespace {
class GamePresentationTest : public RulesTest {
  protected:
    OutputRecorder shown;
    GamePresentation presentation{shown};

    void SetUp() override {
        RulesTest::SetUp();
        liveRules.presentation = &presentation;
    }
    // A removal pass after a move that landed nowhere yet, and every pop it queued.
    void removeAndPop(const char* picture) {
        loadPicture(picture);
        removalPass(liveRules, true);
        setFrame(1000);
        for (int i = 0; i < 3; ++i) updateRemovalQueue(liveRules);
    }
    // The lines appear in this order (others may stand between them).
    void expectInOrder(std::initializer_list<const char*> expected) {
        size_t at = 0;
        for (const char* line : expected) {
            while (at < shown.lines.size() && shown.lines[at].rfind(line, 0) != 0) ++at;
            ASSERT_LT(at, shown.lines.size()) << "missing, or out of order: " << line;
            ++at;
        }
    }
};

TEST_F(GamePresentationTest, PopsSoundAndBurstAtTheirCellsAndTheFirstBallsPitchFollowsTheCombo) {
    game.combo = 1; // this pass makes it 2
    removeAndPop("aaT\n");
    EXPECT_TRUE(shown.has("text combox 2 -60 -40 20 2000")) << "no landing yet: the board's middle";
    EXPECT_EQ(shown.count("sound ball.ogg"), 1) << "one pop sound for the run";
    EXPECT_TRUE(shown.has("sound ball.ogg 45000"));
    EXPECT_TRUE(shown.has("effect ball1 -360 280"));
    EXPECT_TRUE(shown.has("effect ball2 -320 280"));
    expectInOrder({"effect bomb1 -280 280", "effect bomb2 -280 280", "sound bomb1.ogg 0", "shake 800 1"});

    shown.lines.clear();
    game.mode = kModeAction; // a smaller step of pitch per combo
    game.combo = 1;
    game.landingX = 9;
    game.landingY = 5;
    removeAndPop("-----aaaQ\n");
    EXPECT_TRUE(shown.has("text combox 2 -200 240 20 2000")) << "above the landing cell";
    EXPECT_TRUE(shown.has("sound ball.ogg 39000"));
    expectInOrder({"effect dbomb1 -40 280", "effect dbomb2 -40 280", "sound bomb2.ogg 0", "shake 800 1.5"});
}

TEST_F(GamePresentationTest, DiamondsBoltAndChainsBreakWithTheirSoundsAndPoints) {
    removeAndPop("aa*-b\n"
                 "-----\n"
                 "a-a-b\n");
    EXPECT_TRUE(shown.has("lightning -280 280 -360 200"));
    EXPECT_TRUE(shown.has("lightning -280 280 -280 200"));
    EXPECT_EQ(shown.count("sound diamond0.ogg 0"), 1) << "one bolt sound for the sweep";
    expectInOrder({"effect diamond1 -280 280", "effect diamond2 -280 280", "sound diamond.ogg 0"});

    shown.lines.clear();
    removeAndPop("aAa\n");
    expectInOrder(
        {"effect chain1 -320 280", "effect chain2 -320 280", "sound chain.ogg 0", "popup -320 280 50"});
}

TEST_F(GamePresentationTest, AwardsAndALifeShowTheirTextsAndPoints) {
    removeAndPop("T*T-----\n"
                 "--------\n"
                 "-------b\n");
    expectInOrder({"sound deleteballs.ogg 0", "shake 800 1", "popup 0 -500 5000",
                   "text megamatch 0 -40 30 27 2500", "literal +5000 -40 -30 27 2500"});

    shown.lines.clear();
    removeAndPop("JJJ\n---\n-b-\n");
    expectInOrder({"popup 0 -500 1000", "text supermatch 0 -40 30 27 2500", "literal +1000 -40 -30 27 2500",
                   "sound excellent.ogg 0"});

    shown.lines.clear();
    for (int round = 0; round < 2; ++round) removeAndPop("aaaaaaaa\nbbbbbbbb\n");
    expectInOrder({"sound excellent.ogg 0", "text excellent 0 -40 0 27 2500", "sound excellent.ogg 0",
                   "text perfect 0 -40 0 27 2500"});

    shown.lines.clear();
    currentProfile().score[0] = kPointsPerLife - 10;
    addPoints(liveRules, 20);
    expectInOrder({"sound addlife.ogg 0", "text gottalife 0 -50 100 26 2500", "popup 0 -500 20"});
}

TEST_F(GamePresentationTest, MovesPiecesAndTheHammerSoundWhereTheyHappen) {
    loadPicture("---\n");
    liveRules.at(6, 5).pendingKind = kTripleBomb;
    liveRules.at(7, 5).pendingKind = kQuadroBomb;
    placePendingBonuses(liveRules);
    expectInOrder({"preset 3 -320 280", "sound addbonus.ogg 0", "tip triplebomb -320 280 6 5 2000"});
    expectInOrder({"effect addbomb2 -280 280", "sound addbonus.ogg 0", "tip quadrobomb -280 280 7 5 2000"});
    liveRules.at(5, 6).pendingKind = kJoker;
    placePreviews(liveRules);
    expectInOrder({"tip jokertip -360 240 5 6 1000 10", "sound addball.ogg 0"}); // before the tips of pieces

    shown.lines.clear();
    game.hammerEnabled = true;
    game.hammerCharge = 0.95f;
    removeAndPop("aaa\n");
    expectInOrder({"sound gethammer.ogg 0", "tip hammerfull 320 -230 -1 -1 2000 0"});
    loadPicture("a\n");
    game.cursorMode = kCursorHammer;
    clickCell(liveRules, 5, 5);
    expectInOrder({"effect hammer -360 280", "sound hammer.ogg 0"});

    shown.lines.clear();
    loadPicture("a---\n");
    clickBall(liveRules, 5, 5);
    EXPECT_TRUE(shown.has("sound selectball.ogg 0"));
    ASSERT_TRUE(clickEmptyCell(liveRules, 8, 5));
    expectInOrder({"sound selectaim.ogg 0", "marker -240 280"});
}

TEST_F(GamePresentationTest, AWonLevelCelebratesCountsItsTimeBonusAndEndsOnItsPage) {
    loadPicture("a-\n");
    game.mode = kModePuzzle;
    game.levelIndex = 4;
    game.barGoal = 60000;
    game.barValue = 40000; // twenty seconds left
    checkLevelState(liveRules);
    expectInOrder({"text timebonus 0", "literal +200! ", "sound levelcomplete.ogg 0", "music 4",
                   "big levelcomplete 23", "scenery 2"});
    setFrame(5000);
    updateSequences(liveRules);
    EXPECT_TRUE(shown.has("music 0")) << "the level's own music comes back";
    shown.lines.clear();
    updateSequences(liveRules);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{"music 0", "cleartexts", "clearbig", "page levelcomplete"}));
}

TEST_F(GamePresentationTest, ALostLevelSaysWhyAndWhatIsLeft) {
    const struct {
        int lives;
        bool full;
        const char* text;
        const char* page;
    } cases[] = {{3, true, "big nomoves 23", "page defeat"},
                 {3, false, "big timeout 23", "page defeat"},
                 {1, true, "big lastlife 23", "page defeat"},
                 {0, true, "big gameover 23", "page hiscore"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SetUp();
        shown.lines.clear();
        game.mode = kModePuzzle;
        loadPicture(c.full ? "ab\n" : "a-\n", kPlayLeft, kPlayTop, true);
        liveRules.at(5, 5).square = 1; // not won
        game.barGoal = 1000;
        game.barValue = c.full ? 0 : 2000;
        currentProfile().lives[kModePuzzle] = c.lives;
        checkLevelState(liveRules);
        setFrame(5000);
        updateSequences(liveRules);
        expectInOrder(
            {"sound level_defeat.ogg 0", "music 5", c.text, "clearbig", "sound defeat.ogg 0", c.page});
    }
    for (int lives : {3, 1}) {
        SetUp();
        shown.lines.clear();
        currentProfile().lives[0] = lives;
        loseLife(liveRules);
        EXPECT_EQ(shown.lines,
                  (std::vector<std::string>{"sound level_defeat.ogg 0",
                                            lives == 1 ? "big lastlife 23" : "big loselife 23"}));
    }
}

TEST_F(GamePresentationTest, ALevelStartsWithItsMusicAndTheTipsOfItsBoard) {
    resetFileRegistry();
    std::string level = "colors=4\r\nlevel=\r\naaa0\r\n0000\r\n";
    ASSERT_TRUE(registerFile("levels/tut1_03.lvl", static_cast<int>(level.size()),
                             reinterpret_cast<uint8_t*>(level.data()), false));
    game.mode = kModeClassic;
    startLevel(liveRules, 2);
    expectInOrder({"music 2", "levelstart 2"});
    EXPECT_TRUE(shown.has("tip levelprogresbar -390 0 -1 -1 2000 0"));
    resetFileRegistry();
}
} // namespace
