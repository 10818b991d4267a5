#include "game/saved_game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <limits>
#include <unistd.h>

#include "engine/file_registry.h"
#include "engine/temp_folder.h"
#include "game/board_click.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/moves.h"
#include "game/rules_step.h"
#include "platform/folders.h"
#include "player/player_folders.h"
#include "rules_fixture.h"

namespace {
class SavedGameTest : public RulesTest {
  protected:
    std::string path;

    void SetUp() override {
        RulesTest::SetUp();
        path = (std::filesystem::temp_directory_path() /
                ("pebblecraft_saved_" + std::to_string(getpid()) + ".sav"))
                   .string();
    }
    void TearDown() override {
        std::remove(path.c_str());
        RulesTest::TearDown();
    }
};

int32_t wordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    int32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

TEST_F(SavedGameTest, LayoutHasItsSizeAndFieldsAtTheirOffsets) {
    loadPicture("aB-\n");
    game.moveDurationMs = 383;
    game.colourCount = 6;
    game.pathLength = 3;
    game.bonusFigure[8] = 7;
    game.movesMade = 12;
    game.levelIndex = 33;
    game.barGoal = 2.5f;
    game.score = 4321;
    std::vector<uint8_t> bytes;
    encodeSavedGame(liveRules, bytes);
    ASSERT_EQ(bytes.size(), 99409u);
    EXPECT_EQ(wordAt(bytes, 0), 4);
    EXPECT_EQ(wordAt(bytes, 4), 999999);
    EXPECT_EQ(wordAt(bytes, 8), 383);
    EXPECT_EQ(wordAt(bytes, 12), 6);
    // Cell (6, 5): its square (word 1) and its ball's chains (word 17).
    size_t cell = 16 + (6 * 30 + 5) * 108;
    EXPECT_EQ(wordAt(bytes, cell + 4), 0);
    EXPECT_EQ(wordAt(bytes, cell + 17 * 4), 1);
    EXPECT_EQ(wordAt(bytes, 99264), 3);
    EXPECT_EQ(wordAt(bytes, 99268 + 32), 7);
    EXPECT_EQ(bytes[99338], 1);
    EXPECT_EQ(wordAt(bytes, 99343), 12);
    EXPECT_EQ(bytes[99350], 1);
    EXPECT_EQ(wordAt(bytes, 99364), 4321);
    float reserved;
    std::memcpy(&reserved, bytes.data() + 99380, 4);
    EXPECT_FLOAT_EQ(reserved, 2000);
    EXPECT_EQ(wordAt(bytes, 99389), 33);
    float goal;
    std::memcpy(&goal, bytes.data() + 99401, 4);
    EXPECT_FLOAT_EQ(goal, 2.5f);
}

TEST_F(SavedGameTest, WrittenAndReadBackFieldByField) {
    loadPicture("aB-c\n-1--\n");
    liveRules.at(7, 5).pendingKind = 4;
    liveRules.at(7, 5).pendingMs = 123;
    game.moveDurationMs = 500;
    game.colourCount = 7;
    game.pathLength = 2;
    game.pathPoints[1] = {40, -80};
    for (int i = 0; i < 9; ++i) game.bonusFigure[i] = i - 1;
    game.levelTimeMs = 98765;
    game.hammerCharge = 0.625f;
    game.combo = 3;
    game.jokerFrequency = 17;
    game.ballsPerTurn = 5;
    game.streak = -4;
    game.movesMade = 9;
    game.maxCombo = 4;
    game.score = 1234;
    game.hudLives = 2;
    game.hudClockMs = 11.5f;
    game.sceneryClockMs = 22.5f;
    game.rightHeld = true;
    game.levelIndex = 12;
    game.barGoal = 90;
    game.barValue = 33.25f;
    ASSERT_TRUE(writeSavedGame(liveRules, path));
    GameState saved = game;
    Board board = liveRules.board;

    liveRules.game = GameState{};
    liveRules.board = Rules{}.board;
    ASSERT_TRUE(readSavedGame(liveRules, path));
    EXPECT_EQ(std::memcmp(&liveRules.board, &board, sizeof(Board)), 0);
    EXPECT_EQ(game.moveDurationMs, saved.moveDurationMs);
    EXPECT_EQ(game.colourCount, saved.colourCount);
    EXPECT_EQ(std::memcmp(game.pathPoints, saved.pathPoints, sizeof(saved.pathPoints)), 0);
    EXPECT_EQ(game.pathLength, saved.pathLength);
    EXPECT_EQ(std::memcmp(game.bonusFigure, saved.bonusFigure, sizeof(saved.bonusFigure)), 0);
    EXPECT_EQ(game.levelTimeMs, saved.levelTimeMs);
    EXPECT_FLOAT_EQ(game.hammerCharge, saved.hammerCharge);
    EXPECT_EQ(game.combo, saved.combo);
    EXPECT_EQ(game.jokerFrequency, saved.jokerFrequency);
    EXPECT_EQ(game.freeCells, saved.freeCells);
    EXPECT_EQ(game.ballsPerTurn, saved.ballsPerTurn);
    EXPECT_EQ(game.streak, saved.streak);
    EXPECT_EQ(game.movesMade, saved.movesMade);
    EXPECT_EQ(game.maxCombo, saved.maxCombo);
    EXPECT_EQ(game.score, saved.score);
    EXPECT_EQ(game.hudLives, saved.hudLives);
    EXPECT_FLOAT_EQ(game.hudClockMs, saved.hudClockMs);
    EXPECT_FLOAT_EQ(game.sceneryClockMs, saved.sceneryClockMs);
    EXPECT_EQ(game.rightHeld, saved.rightHeld);
    EXPECT_EQ(game.levelIndex, saved.levelIndex);
    EXPECT_FLOAT_EQ(game.barGoal, saved.barGoal);
    EXPECT_FLOAT_EQ(game.barValue, saved.barValue);
}

// A single removing move is a combo of 1 but no record: the level's best combo stays 0 across a save.
TEST_F(SavedGameTest, AComboOfOneLeavesTheBestComboAtZero) {
    loadPicture("ab-\n");
    game.barGoal = game.barValue = 40; // a level in play: a file that would end at once is refused
    game.combo = 1;
    game.maxCombo = 0;
    ASSERT_TRUE(writeSavedGame(liveRules, path));
    liveRules.game = GameState{};
    ASSERT_TRUE(readSavedGame(liveRules, path));
    EXPECT_EQ(game.combo, 1);
    EXPECT_EQ(game.maxCombo, 0);
}

TEST_F(SavedGameTest, AFileOfAnotherSizeIsNotRead) {
    std::vector<uint8_t> bytes;
    encodeSavedGame(liveRules, bytes);
    bytes.pop_back();
    game.score = 77;
    EXPECT_FALSE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(game.score, 77);
    bytes.assign(99409 + 1, 0);
    EXPECT_FALSE(decodeSavedGame(liveRules, bytes));
}

TEST_F(SavedGameTest, ASaveTakenWhileABallTravelsResumesTheTravel) {
    loadPicture("a-----\n");
    game.ballsPerTurn = 0;
    game.barGoal = 100;
    game.barValue = 50;
    clickBall(liveRules, 5, 5);
    ASSERT_TRUE(clickEmptyCell(liveRules, 10, 5));
    setFrame(100);
    rulesFrame(liveRules);
    float offset = liveRules.at(5, 5).ball.offsetX;
    ASSERT_GT(offset, 0);
    game.movesMade = 1;
    ASSERT_TRUE(writeSavedGame(liveRules, path));

    liveRules.game = GameState{};
    liveRules.board = Rules{}.board;
    ASSERT_TRUE(readSavedGame(liveRules, path));
    EXPECT_EQ(game.selectedX, -1);
    for (int i = 0; i < 20; ++i) rulesFrame(liveRules);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    EXPECT_EQ(kindAt(10, 5), 0);
    EXPECT_EQ(game.movesMade, 2);

    // A travelling ball with no time left (never written so) is still on its way when the level is shown.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    std::memset(bytes.data() + 16 + (5 * 30 + 5) * 108 + 11 * 4, 0, 4); // its moveTimeLeftMs
    ASSERT_TRUE(decodeSavedGame(liveRules, bytes));
    setFrame(0);
    rulesFrame(liveRules);
    EXPECT_EQ(kindAt(5, 5), 0);
    EXPECT_EQ(game.movesMade, 1);
}

// In a settings folder of its own, so that a refusal cannot pass just because no file could be written:
// the same save is first allowed, then refused at each moment that forbids it, and no file appears.
TEST_F(SavedGameTest, SaveIsRefusedWhenTheMomentForbidsIt) {
    PlayerFolders folders;
    createProfile("tester");
    ASSERT_TRUE(makeFolders(settingsFolder()));
    const std::string file = savedGamePath(currentProfile(), 0);
    loadPicture("a-\n");
    game.movesMade = 3;
    ASSERT_TRUE(saveGame(liveRules, false)) << "a level in play is saved";
    ASSERT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove(file);
    currentProfile().savedGame[0] = 0;

    bool resultPage = false; // what the caller says of the level-complete page
    const std::function<void()> forbidding[] = {
        [] { game.movesMade = 0; },           [] { game.completeCountdownMs = 100; },
        [] { game.defeatCountdownMs = 100; }, [] { game.defeatDone = true; },
        [&resultPage] { resultPage = true; }, [] { liveRules.pointsCount = false; },
    };
    for (size_t i = 0; i < std::size(forbidding); ++i) {
        SCOPED_TRACE(i);
        GameState playing = game;
        forbidding[i]();
        EXPECT_FALSE(saveGame(liveRules, resultPage));
        EXPECT_FALSE(std::filesystem::exists(file));
        EXPECT_EQ(currentProfile().savedGame[0], 0);
        game = playing;
        std::filesystem::remove(file);
        currentProfile().savedGame[0] = 0;
        resultPage = false;
        liveRules.pointsCount = true;
    }
}

// A file of the right size from elsewhere: counts that would make a move draw previews for minutes or
// every ball a joker, kinds that are no pieces, a move onto another ball, numbers that are no numbers and
// a result sequence that would end the level unplayed. It is mended into a level that plays on.
TEST_F(SavedGameTest, ASavedGameThatMakesNoSenseIsMendedToAPlayableLevel) {
    loadPicture("a-b-\n");
    std::vector<uint8_t> bytes;
    encodeSavedGame(liveRules, bytes);
    auto put = [&](size_t offset, auto value) { std::memcpy(bytes.data() + offset, &value, 4); };
    auto cell = [](int x, int y, int word) {
        return static_cast<size_t>(16 + (x * 30 + y) * 108 + word * 4);
    };
    put(99324, int32_t{2147483647});  // balls per turn
    put(99316, int32_t{0});           // joker frequency
    put(cell(6, 5, 19), int32_t{99}); // an announced kind that is none
    put(cell(8, 5, 5), int32_t{8});   // a ball of a kind that never occurs
    put(cell(5, 5, 9), int32_t{7});   // the ball at (5, 5) travels onto the ball at (7, 5)
    put(cell(5, 5, 10), int32_t{5});
    put(cell(5, 5, 11), 100.0f);
    put(cell(7, 5, 8), std::nanf(""));                  // a ball's clock
    put(99308, std::nanf(""));                          // hammer charge
    put(99312, int32_t{-5});                            // combo
    put(99384, 5000.0f);                                // the level-complete sequence running
    put(99401, std::numeric_limits<float>::infinity()); // bar goal
    put(99405, std::nanf(""));                          // bar value
    game.barGoal = 30;                                  // the level's own, as the resume starts it first
    ASSERT_TRUE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(game.ballsPerTurn, kMaxBallsPerTurn);
    EXPECT_EQ(game.jokerFrequency, kDefaultJokerFrequency);
    EXPECT_EQ(liveRules.at(6, 5).pendingKind, kNoPiece);
    EXPECT_EQ(kindAt(8, 5), kNoPiece);
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, -1);
    EXPECT_EQ(kindAt(7, 5), 1);
    EXPECT_FLOAT_EQ(liveRules.at(7, 5).ball.ballClockMs, 0);
    EXPECT_FLOAT_EQ(game.hammerCharge, 0);
    EXPECT_EQ(game.combo, 0);
    EXPECT_FLOAT_EQ(game.completeCountdownMs, 0);
    EXPECT_FLOAT_EQ(game.barGoal, 30);
    EXPECT_FLOAT_EQ(game.barValue, 30);
    EXPECT_TRUE(freeCellsAgree(liveRules));

    // It plays: a move that clears nothing lands and deals at most a board's worth of previews.
    leftClickCell(liveRules, 5, 5);
    leftClickCell(liveRules, 6, 5);
    setFrame(50);
    for (int i = 0; i < 20; ++i) rulesFrame(liveRules);
    EXPECT_EQ(kindAt(6, 5), 0);
    EXPECT_EQ(game.movesMade, 1);
    EXPECT_FLOAT_EQ(game.completeCountdownMs, 0);

    // A file that does not open with the two words of every saved game is not read at all.
    encodeSavedGame(liveRules, bytes);
    put(0, int32_t{5});
    game.score = 77;
    EXPECT_FALSE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(game.score, 77);
}

// A travelling ball whose route makes no sense travels the route the board gives; one whose target is
// gone stops where it is.
TEST_F(SavedGameTest, AMoveInProgressIsCheckedAgainstTheBoard) {
    loadPicture("a---\n"
                "b--c\n");
    game.ballsPerTurn = 0;
    game.barGoal = game.barValue = 100;
    leftClickCell(liveRules, 5, 5);
    ASSERT_TRUE(clickEmptyCell(liveRules, 8, 5));
    std::vector<uint8_t> bytes;
    encodeSavedGame(liveRules, bytes);
    auto put = [&](size_t offset, auto value) { std::memcpy(bytes.data() + offset, &value, 4); };
    put(97216 + 8, std::nanf("")); // a point of the route
    put(99264, int32_t{0});        // and its length
    put(8, int32_t{-3});           // the move's duration
    liveRules.board = Rules{}.board;
    ASSERT_TRUE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(game.pathLength, 3);
    EXPECT_GT(game.moveDurationMs, 0);
    setFrame(50);
    for (int i = 0; i < 40; ++i) rulesFrame(liveRules);
    EXPECT_EQ(kindAt(8, 5), 0);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);

    // The same file with a ball on the target: the move is dropped, nothing is lost.
    size_t target = 16 + (8 * 30 + 5) * 108;
    put(target + 5 * 4, int32_t{2});
    liveRules.board = Rules{}.board;
    ASSERT_TRUE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(liveRules.at(5, 5).ball.moveTargetX, -1);
    for (int i = 0; i < 40; ++i) rulesFrame(liveRules);
    EXPECT_EQ(kindAt(5, 5), 0);
    EXPECT_EQ(kindAt(8, 5), 2);
    EXPECT_TRUE(freeCellsAgree(liveRules));
}

TEST_F(SavedGameTest, SaveGameWritesThePlayersFileAndResumeBringsTheLevelBack) {
    TempFolder home;
    const char* oldHome = std::getenv("XDG_DATA_HOME");
    std::string keep = oldHome ? oldHome : "";
    setenv("XDG_DATA_HOME", home.path.c_str(), 1);
    ASSERT_TRUE(makeFolders(settingsFolder()));
    std::string level = "level=\r\n0a0b0c0a0b0c0a0b0c00\r\n00000000000000000000\r\n";
    resetFileRegistry();
    auto registerLevel = [&] {
        registerFile("levels/pack1_03.lvl", static_cast<int>(level.size()),
                     reinterpret_cast<uint8_t*>(level.data()), false);
    };
    registerLevel();
    setProfileMode(0);
    setProfileLevel(6);
    startLevel(liveRules, 6);
    game.movesMade = 2;
    game.score = 640;
    game.combo = 2;
    liveRules.at(20, 6).ball.kind = 3;
    liveRules.at(20, 6).ball.appearMs = 0;
    countFreeCells(liveRules);
    Board saved = liveRules.board;
    ASSERT_TRUE(saveGame(liveRules, false));
    EXPECT_EQ(currentProfile().savedGame[0], 1);
    EXPECT_TRUE(std::filesystem::exists(savedGamePath(currentProfile(), 0)));

    registerLevel();
    game.selectedX = 5;
    ASSERT_TRUE(resumeGame(liveRules));
    EXPECT_EQ(std::memcmp(&liveRules.board, &saved, sizeof(Board)), 0);
    EXPECT_EQ(game.score, 640);
    EXPECT_EQ(game.combo, 2);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_TRUE(events.has("resumed"));
    resetFileRegistry();
    if (oldHome) {
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

TEST_F(SavedGameTest, ForeignValuesAreKeptInRange) {
    std::vector<uint8_t> bytes;
    loadPicture("a\n");
    game.barGoal = game.barValue = 40; // a level in play, not one about to be won
    encodeSavedGame(liveRules, bytes);
    int32_t bad = 5000;
    std::memcpy(bytes.data() + 99264, &bad, 4); // pathLength
    size_t margin = 16 + (2 * 30 + 2) * 108;
    int32_t ball = 3;
    std::memcpy(bytes.data() + margin + 5 * 4, &ball, 4); // a ball in the margin
    ASSERT_TRUE(decodeSavedGame(liveRules, bytes));
    EXPECT_EQ(game.pathLength, 0);
    EXPECT_EQ(liveRules.at(2, 2).ball.kind, kNoPiece);
}
// The player's files in a folder of their own, one level file and a level of it in play and saved.
class ResumeTest : public SavedGameTest {
  protected:
    PlayerFolders folders;
    std::string level = "level=\r\n0a0b0c0a0b0c0a0b0c00\r\n00000000000000000000\r\n1111111111\r\n";
    std::string file;

    void SetUp() override {
        SavedGameTest::SetUp(); // after the folders: the profile "tester" is made in them
        app.startupDone = true;
        ASSERT_TRUE(makeFolders(settingsFolder()));
        file = savedGamePath(currentProfile(), 0);
    }
    void registerLevel() {
        registerFile("levels/pack1_03.lvl", static_cast<int>(level.size()),
                     reinterpret_cast<uint8_t*>(level.data()), false);
    }
    // Level 6 of the mode, three moves into it, saved as on leaving.
    void playAndSave(int mode) {
        game.mode = mode;
        setProfileMode(mode);
        setProfileLevel(6);
        file = savedGamePath(currentProfile(), mode);
        registerLevel();
        startLevel(liveRules, 6);
        game.movesMade = 3;
        game.score = 640;
        ASSERT_TRUE(saveGame(liveRules, false));
        ASSERT_EQ(currentProfile().savedGame[mode], 1);
    }
    std::vector<uint8_t> fileBytes() {
        std::vector<uint8_t> bytes;
        readWholeFile(file, bytes);
        return bytes;
    }
    void overwrite(const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(writeWholeFile(file, bytes.data(), bytes.size()));
    }
};

TEST_F(ResumeTest, AWonLevelsSavedGameIsGoneAndNotOfferedAgain) {
    playAndSave(0);
    registerLevel();
    ASSERT_TRUE(resumeGame(liveRules));
    EXPECT_EQ(game.movesMade, 3);
    game.barValue = 0; // the last ball of the goal removed
    game.barFraction = game.barShownFraction = 1;
    checkLevelState(liveRules);
    ASSERT_GT(game.completeCountdownMs, 0);
    EXPECT_EQ(currentProfile().savedGame[0], 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    // The profiles written with the win say so as well.
    loadProfiles();
    EXPECT_EQ(currentProfile().savedGame[0], 0);
    EXPECT_EQ(profileLevel(), 7);
}

// Files of the right size and opening that hold no level to play: resumed, they would end the level
// before a move (and hand out its win). Each is kept aside, no longer offered, and the level starts fresh.
TEST_F(ResumeTest, ASavedGameThatWouldEndTheLevelAtOnceIsKeptAsideAndTheLevelStartsFresh) {
    auto put = [](std::vector<uint8_t>& bytes, size_t offset, auto value) {
        std::memcpy(bytes.data() + offset, &value, 4);
    };
    struct Damage {
        const char* what;
        int mode;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const Damage damages[] = {
        {"every cell 0xFF", 0, [](std::vector<uint8_t>& b) { std::memset(b.data() + 16, 0xFF, 97200); }},
        {"a bar far below nothing", 0, [&](std::vector<uint8_t>& b) { put(b, 99405, -1e30f); }},
        {"a bar of no balls", 2, [&](std::vector<uint8_t>& b) { put(b, 99405, 0.0f); }},
        {"no ball on the board", 0,
         [](std::vector<uint8_t>& b) {
             for (int i = 0; i < 900; ++i) std::memset(b.data() + 16 + i * 108 + 5 * 4, 0xFF, 4);
         }},
        {"a full board", 0,
         [](std::vector<uint8_t>& b) {
             for (int i = 0; i < 900; ++i) {
                 int32_t kind = i % 5;
                 std::memcpy(b.data() + 16 + i * 108 + 5 * 4, &kind, 4);
             }
         }},
        {"a puzzle without busy squares", 1,
         [](std::vector<uint8_t>& b) {
             for (int i = 0; i < 900; ++i) {
                 int32_t square;
                 std::memcpy(&square, b.data() + 16 + i * 108 + 4, 4);
                 if (square > 0) std::memset(b.data() + 16 + i * 108 + 4, 0, 4);
             }
         }},
        {"a puzzle whose time is up", 1, [&](std::vector<uint8_t>& b) { put(b, 99405, 1e20f); }},
        {"a file cut short", 0, [](std::vector<uint8_t>& b) { b.resize(b.size() / 2); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        playAndSave(damage.mode);
        std::vector<uint8_t> bytes = fileBytes();
        damage.apply(bytes);
        overwrite(bytes);
        game.score = 77;
        EXPECT_FALSE(decodeSavedGame(liveRules, bytes));
        EXPECT_EQ(game.score, 77) << "a refused file leaves the state as it was";

        registerLevel();
        EXPECT_TRUE(resumeGame(liveRules));
        EXPECT_EQ(game.movesMade, 0);
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(currentProfile().savedGame[damage.mode], 0);
        EXPECT_FALSE(std::filesystem::exists(file));
        std::vector<uint8_t> aside;
        ASSERT_TRUE(readWholeFile(file + ".damaged", aside));
        EXPECT_EQ(aside, bytes);
        // The fresh level plays: a frame of the rules does not end it.
        rulesFrame(liveRules);
        EXPECT_FLOAT_EQ(game.completeCountdownMs, 0);
        EXPECT_FLOAT_EQ(game.defeatCountdownMs, 0);
        std::filesystem::remove(file + ".damaged");
    }
}

// Saved games the game wrote before the layout was a field list: one from the game after three moves of
// a classic level, two from the simulator (a move in flight, a settled puzzle). Each loads as a playable
// level and is written back byte for byte.
TEST_F(SavedGameTest, SavedGamesOfTheEarlierLayoutLoadAndAreWrittenBackUnchanged) {
    for (const char* name : {"game-classic.sav", "classic-moving.sav", "puzzle-settled.sav"}) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(readWholeFile(std::string(PC_SOURCE_DIR) + "/tests/game/fixtures/saved/" + name, bytes));
        ASSERT_TRUE(decodeSavedGame(liveRules, bytes)) << name;
        EXPECT_EQ(game.ballMoving, std::strcmp(name, "classic-moving.sav") == 0) << name;
        std::vector<uint8_t> again;
        encodeSavedGame(liveRules, again);
        ASSERT_EQ(again.size(), bytes.size()) << name;
        size_t first = std::mismatch(bytes.begin(), bytes.end(), again.begin()).first - bytes.begin();
        EXPECT_EQ(first, bytes.size()) << name << ": the first byte that differs";
    }
}

} // namespace
