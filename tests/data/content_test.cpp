// The authored data in data/: every file reads with the game's own readers, and every name the
// game asks for (text keys, menu pages, levels, effects, records) is there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "engine/limits.h"
#include "engine/random.h"
#include "engine/text_table.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/live_rules.h"
#include "player/player_folders.h"
#include "ui/menu_system.h"
#include "visuals/particle_effects.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(PC_SOURCE_DIR) / "data";

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string_view keyed(const std::string& text) {
    return keyedText(reinterpret_cast<const uint8_t*>(text.data()), int(text.size()));
}

// The three tables loaded as the start-up does, in the same order.
void loadTables() {
    freeTextTable();
    for (const char* name : {"2strings.txt", "2tips.txt", "2menutext.txt"}) {
        std::string text = readWhole(kData / name);
        ASSERT_FALSE(text.empty()) << name;
        parseTextTable(text.data(), int(text.size()));
    }
}

std::string textOf(const char* key) {
    const char* t = findText(key);
    return t ? t : "";
}

// Keys the game looks up by name. Keys found as findText("...") in the code are added at test time.
const char* const kGameKeys[] = {
    // start-up, cheat keys, heads-up display, pause and end of game
    "pressanykey",
    "cheatkeyenabled",
    "cheatkeydisabled",
    "score",
    "level",
    "lives",
    "menu",
    "relax",
    "continue",
    "keytoresume",
    "lastlife",
    "loselife",
    "gameover",
    "nomoves",
    "timeout",
    "congratulations",
    "gamepass1",
    "tooltip",
    "levelbartip",
    // floating texts of the rules
    "combox",
    "megamatch",
    "supermatch",
    "excellent",
    "perfect",
    "incredible",
    "readyhammer",
    "timebonus",
    "stagecomplete",
    "levelcomplete",
    "gottalife",
    "nextstage",
    "scorewow",
    // in-game tips and their second texts
    "triplebomb",
    "triplebomb2",
    "quadrobomb",
    "quadrobomb2",
    "diamond",
    "diamond2",
    "hammertip",
    "hammerfull",
    "jokertip",
    "jokertip2",
    "tipbusysquare2",
    "chainitemtip",
    "actionbartip",
    "doublerelax",
    "helprelax",
    "levelprogresbar",
    "newballtip",
    "puzzleprogresbar",
    "chainballtip",
    "balltip",
    "adventsquarehelp",
    "squarehelp",
    "actionsquarehelp",
    "tipcleanquare",
    "tipbusysquare1",
    "relaxtip",
    "nighttip",
    "morningtip",
    "daytip",
    "menutip",
    "scoretip",
    "lifetip",
    "numleveltip",
    // menu pages
    "hallo",
    "ifnotyou",
    "modetip",
    "classic",
    "puzzle",
    "action",
    "classicmode",
    "puzzlemode",
    "actionmode",
    "sfxvolume",
    "musicvolume",
    "fullscreen",
    "customcursor",
    "reduceflashes",
    "ballspeed",
    "ok",
    "curusers",
    "entername",
    "loadmsg",
    "zonelevscore",
    "stats",
    "yourscore",
    "yourcombo",
    "maxcombo",
    "yourtime",
    "yourmoves",
    "bestscore",
    "bestcombo",
    "besttime",
    "bestmoves",
    "by",
    "howtoplay",
    "credititems",
    "locked",
    "unlocktip",
    "survivaltip",
    "mode3",
    // questions and notes of the menu commands
    "skipquest",
    "noskiplevel",
    "restartquest",
    "nomorelives",
    "removeplayer",
    "savemsg",
    "quit",
    "zeroscore",
    // the starts of numbered runs
    "tip1",
    "gametip1",
    "defname1",
    "stagename1",
};

// Pages and items of "menu.txt" that the menu commands and page actions use by name.
const std::map<std::string, std::vector<std::string>> kMenuPages = {
    {"main", {"mode1", "mode2", "mode3", "options", "hiscore", "helpscreen", "credits", "exit"}},
    {"mode1", {"start"}},
    {"mode2", {"start"}},
    {"mode3", {"start"}},
    {"options", {"apply", "back"}},
    {"hiscore", {}},
    {"credits", {}},
    {"profiles", {"selectprofile", "newprofile", "rename", "remove"}},
    {"newprofile", {"oknewprofile"}},
    {"rename", {"okrename"}},
    {"gameplay", {"resume game", "restart level", "skip level", "helpscreen", "main"}},
    {"levelcomplete", {"oknextlevel"}},
    {"defeat", {}},
    {"gameover", {}},
    {"loadgamequest", {"yes", "no"}},
    {"messageboxok", {"ok"}},
    {"messageboxyn", {"yes", "no"}},
    {"helpscreen", {"ok"}},
};

std::vector<std::string> levelNames() {
    std::vector<std::string> names;
    char name[32];
    for (int i = 0; i < kLevelCount; i++) {
        if (i < 4)
            snprintf(name, sizeof name, "tut1_%.2i.lvl", i + 1);
        else
            snprintf(name, sizeof name, "pack1_%.2i.lvl", i - 3);
        names.push_back(name);
    }
    return names;
}

// The 15 rows of 20 cells that follow "level=".
std::vector<std::string> layoutRows(const std::string& text) {
    std::vector<std::string> rows;
    size_t pos = text.find("level=\r\n");
    if (pos == std::string::npos) return rows;
    pos += 8;
    for (int y = 0; y < 15; y++) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) break;
        rows.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return rows;
}

} // namespace

TEST(ContentFiles, EveryTextFileHasCrLfLinesAndEndsWithALineBreak) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        if (ext != ".txt" && ext != ".lvl" && ext != ".par") continue;
        std::string text = readWhole(entry.path());
        SCOPED_TRACE(entry.path().string());
        ASSERT_GE(text.size(), 2u);
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        for (size_t i = 0; i < text.size(); i++) {
            bool bareLf = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
            bool bareCr = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
            ASSERT_FALSE(bareLf || bareCr) << "lone line-end byte at " << i;
        }
        checked++;
    }
    EXPECT_GE(checked, 70 + 8 + 17 + 8);
}

TEST(TextTables, EveryKeyTheGameAsksForIsThereOnce) {
    loadTables();
    std::set<std::string> needed(std::begin(kGameKeys), std::end(kGameKeys));
    // Every findText("...") and indexOfText("...") in the game's code.
    const std::regex lookup(R"re((findText|indexOfText)\("([^"]+)"\))re");
    for (const char* folder : {"app", "engine", "game", "gameplay", "visuals", "ui", "player", "platform"}) {
        fs::path dir = fs::path(PC_SOURCE_DIR) / folder;
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            if (!entry.is_regular_file()) continue;
            std::string code = readWhole(entry.path());
            for (std::sregex_iterator m(code.begin(), code.end(), lookup), end; m != end; ++m)
                needed.insert((*m)[2]);
        }
    }
    for (const std::string& key : needed)
        EXPECT_NE(findText(key.c_str()), nullptr) << "missing text: " << key;

    std::set<std::string> seen;
    for (int i = 0; i < textTable.entries.size(); i++) {
        EXPECT_TRUE(seen.insert(textTable.entries[i].key).second)
            << "key twice: " << textTable.entries[i].key;
        EXPECT_GT(strlen(textTable.entries[i].text), 0u) << textTable.entries[i].key;
    }
    EXPECT_LT(textTable.entries.size(), kMaxTexts);
    freeTextTable();
}

TEST(TextTables, NumberedRunsFollowTheirFirstKey) {
    loadTables();
    auto run = [](const char* first, int count, const char* prefix) {
        int start = indexOfText(first);
        ASSERT_STREQ(textTable.entries[start].key, first);
        for (int k = 0; k < count; k++) {
            ASSERT_LT(start + k, textTable.entries.size()) << first;
            EXPECT_EQ(std::string(textTable.entries[start + k].key).rfind(prefix, 0), 0u)
                << first << " + " << k << " is " << textTable.entries[start + k].key;
        }
    };
    run("defname1", 10, "defname");
    run("stagename1", kZoneCount, "stagename");
    run("modetip", 5, "modetip");
    run("tip1", 10, "tip");
    run("gametip1", 10, "gametip");
    // Default names go into 20-byte record fields and are typed names at most 12 characters long.
    for (int k = 0; k < 10; k++) EXPECT_LE(strlen(textAt(indexOfText("defname1") + k)), 12u);
    freeTextTable();
}

TEST(TextTables, FormatTextsHoldExactlyTheirPlaceholders) {
    loadTables();
    const std::map<std::string, int> formats = {{"combox", 1}, {"levelbartip", 1}, {"zonelevscore", 3}};
    for (int i = 0; i < textTable.entries.size(); i++) {
        std::string key = textTable.entries[i].key, text = textTable.entries[i].text;
        auto f = formats.find(key);
        int placeholders = 0;
        for (size_t p = text.find('%'); p != std::string::npos; p = text.find('%', p + 1)) {
            EXPECT_EQ(text.compare(p, 2, "%i"), 0) << key;
            placeholders++;
        }
        EXPECT_EQ(placeholders, f == formats.end() ? 0 : f->second) << key;
    }
    // The credits roll shows at most 64 lines of at most 63 characters.
    std::string credits = textOf("credititems");
    int lines = 0;
    for (size_t pos = 0; pos < credits.size(); lines++) {
        size_t end = credits.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - pos, 63u);
        pos = end + 2;
    }
    EXPECT_GT(lines, 5);
    EXPECT_LE(lines, 64);
    freeTextTable();
}

TEST(MenuFile, TheGameBuildsEveryPageTheCommandsOpenWithItsItemsAndCaption) {
    std::string menu = readWhole(kData / "menu.txt");
    loadTables();
    resetMenus();
    // The game drops the file's final line break before it reads the tree.
    ASSERT_TRUE(buildMenuTree(std::string_view(menu.data(), menu.size() - 1)));
    for (const auto& [name, items] : kMenuPages) {
        SCOPED_TRACE(name);
        const MenuPage* page = findPage(name.c_str());
        ASSERT_NE(page, nullptr);
        for (const std::string& item : items)
            EXPECT_GE(itemIndexOf(page, item.c_str()), 0) << "no item " << item;
    }
    // "main" shows the three modes first; the mode pages start with "start"; the answers come first.
    EXPECT_EQ(itemIndexOf(findPage("main"), "mode1"), 0);
    EXPECT_EQ(itemIndexOf(findPage("main"), "mode3"), 2);
    for (const char* mode : {"mode1", "mode2", "mode3"}) EXPECT_EQ(itemIndexOf(findPage(mode), "start"), 0);
    for (const char* page : {"messageboxok", "helpscreen"}) EXPECT_EQ(itemIndexOf(findPage(page), "ok"), 0);
    EXPECT_EQ(itemIndexOf(findPage("loadgamequest"), "yes"), 0);
    EXPECT_EQ(itemIndexOf(findPage("messageboxyn"), "yes"), 0);
    EXPECT_EQ(itemIndexOf(findPage("levelcomplete"), "oknextlevel"), 0);
    EXPECT_EQ(itemIndexOf(findPage("newprofile"), "oknewprofile"), 0);
    EXPECT_EQ(itemIndexOf(findPage("rename"), "okrename"), 0);
    // A section is found by the first "name=" anywhere and "messageboxok=" ends in "ok=": "ok" has an
    // empty section of its own so that it stays a plain item.
    EXPECT_EQ(findPage("ok")->items.size(), 0);
    for (int i = 0; i < menus.pages.size(); i++)
        EXPECT_STRNE(menus.pages[i].caption, "") << menus.pages[i].name;
    resetMenus();
    freeTextTable();
}

TEST(LevelFiles, KeysStandWhereTheSubstringSearchFindsThem) {
    for (const std::string& name : levelNames()) {
        std::string text = readWhole(kData / "levels" / name);
        SCOPED_TRACE(name);
        ASSERT_FALSE(text.empty());
        // "time4level=" holds "level=", so the layout key must come first.
        EXPECT_LT(text.find("level="), text.find("time4level="));
        EXPECT_EQ(layoutRows(text).size(), 15u);
        for (const std::string& row : layoutRows(text)) EXPECT_EQ(row.size(), 20u);
    }
}

TEST(LevelFiles, HelpBoardsMarkEveryDemonstrationPointOnce) {
    for (int n = 1; n <= 8; n++) {
        std::string text = readWhole(kData / "levels" / ("help" + std::to_string(n) + ".lvl"));
        SCOPED_TRACE(n);
        std::vector<std::string> rows = layoutRows(text);
        ASSERT_EQ(rows.size(), 15u);
        std::string all;
        for (const std::string& row : rows) all += row;
        for (char mark : {'u', 'v', 'x', 'y', 'z'})
            EXPECT_EQ(std::count(all.begin(), all.end(), mark), 1) << mark;
    }
}

// Every level and help board through the game's own level reader.
TEST(LevelFiles, TheGameReadsEveryLevelAndEveryHelpBoard) {
    resetFileRegistry();
    setDataFolder(kData.string() + "/");
    levelFiles.missingIsFatal = false;
    for (int level = 0; level < kLevelCount; level++) {
        SCOPED_TRACE(level);
        liveRules.board = Rules{}.board;
        liveRules.game = GameState{};
        ASSERT_TRUE(loadLevel(liveRules, level));
        EXPECT_GE(game.colourCount, 3);
        EXPECT_GT(game.ballsPerTurn, 0);
        EXPECT_GT(game.barGoal, 0);
        EXPECT_GT(game.timeLimitSec, 0);
        EXPECT_EQ(game.hammerEnabled, level >= 3) << "the hammer arrives with the fourth tutorial";
        int tiles = 0, cells = 0;
        for (int y = kPlayTop; y <= kPlayBottom; y++) {
            // Under the progress bar (x 5) and the panel (x 21..24) no cell exists.
            for (int x : {5, 21, 22, 23, 24}) EXPECT_EQ(liveRules.at(x, y).square, -1) << x << "," << y;
            for (int x = kPlayLeft; x <= kPlayRight; x++) {
                cells += liveRules.at(x, y).square >= 0;
                tiles += liveRules.at(x, y).square > 0;
                EXPECT_LT(liveRules.at(x, y).ball.kind, game.colourCount) << "a ball of a colour not in play";
            }
        }
        EXPECT_GE(cells, 40);
        EXPECT_GT(tiles, 0);
    }
    for (int number = 1; number <= 8; number++) {
        SCOPED_TRACE(number);
        // Boards 1..4 show a special piece (variants 1..4), boards 5..8 a plain ball (variant 0).
        int variant = number <= 4 ? number : 0;
        ASSERT_TRUE(loadHelpBoard(liveRules, number <= 4 ? number : number - 4, variant, 3));
        for (bool set : levelFiles.demoPointSet) EXPECT_TRUE(set);
    }
    liveRules.board = Rules{}.board;
    liveRules.game = GameState{};
    levelFiles.missingIsFatal = true;
    resetFileRegistry();
}

TEST(EffectFiles, EveryEffectTheGameStartsReadsItsRotationAndFrame) {
    const char* const names[] = {"hammer",  "bomb1",    "bomb2",    "dbomb1",    "dbomb2",  "ball1",
                                 "ball2",   "diamond1", "diamond2", "chain1",    "chain2",  "square1",
                                 "square2", "addbomb2", "combox",   "gottalife", "scorewow"};
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(kData / "effects"))
        present.insert(entry.path().stem().string());
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(present.count(name));
        std::string text = readWhole(kData / "effects" / (std::string(name) + ".par"));
        std::string_view buf = keyed(text);
        // The first "rot=" and "rotdev=" must be their own lines, not the tails of "drot=" / "drotdev=".
        for (const char* key : {"rot=", "rotdev="}) {
            size_t at = text.find(key);
            ASSERT_NE(at, std::string::npos);
            EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << key;
        }
        EffectDefinition def;
        readEffectDefinition(buf, def);
        EXPECT_GE(def.frame, 0);
        EXPECT_LT(def.frame, 64);
        EXPECT_GT(def.parFrequency, 0);
        EXPECT_GT(def.parTimeMs, 0);
        EXPECT_EQ(def.rot, readFloat(buf, "\nrot="));
        EXPECT_EQ(def.dRotDev, readFloat(buf, "drotdev="));
        EXPECT_GT(def.color0[3], 0) << "born invisible";
        for (const auto& other : def.externEffects)
            EXPECT_TRUE(other[0] == 0 || present.count(other)) << other;
    }
}

TEST(DefaultRecords, EveryLevelHasPlausibleRecordsThatRiseWithTheLevel) {
    PlayerFolders folders;
    setDataFolder(kData.string() + "/");
    loadTables();
    rulesRandom.seed(7);
    loadRecords();
    for (int m = 0; m < kModeCount; m++) {
        SCOPED_TRACE(m);
        double early = 0, late = 0;
        for (int level = 0; level < kLevelCount; level++) {
            const LevelRecord& r = records.levels[m][level];
            EXPECT_GT(r.bestScore, 0) << level;
            EXPECT_GE(r.bestCombo, 2) << level;
            EXPECT_GT(r.fewestMoves, 0) << level;
            EXPECT_GT(r.bestTimeMs, 0) << level;
            EXPECT_GT(strlen(r.scoreName), 0u) << level;
            if (level < 10) early += r.bestScore;
            if (level >= kLevelCount - 10) late += r.bestScore;
        }
        EXPECT_GT(late, early * 2);
        for (int k = 1; k < kHiscoreLines; k++)
            EXPECT_LT(records.hiscores[m][k].score, records.hiscores[m][k - 1].score);
    }
    // Seconds are written as two digits below 60 ("2.45" is two minutes forty-five).
    for (const char* file : {"hi_expert.txt", "hi_normal.txt", "hi_zen.txt"}) {
        std::string text = readWhole(kData / file);
        for (int i = 1; i <= kLevelCount; i++) {
            float t = readFloat(keyed(text), ("time" + std::to_string(i) + "=").c_str());
            EXPECT_LT(t - int(t), 0.595f) << file << " level " << i;
        }
    }
    freeTextTable();
}

TEST(SceneryTypes, EveryGroupClosesAndEveryEntryNamesAPicture) {
    std::string text = readWhole(kData / "gameobjs.txt");
    std::set<std::string> types;
    const std::regex group(R"re(\[([a-z]+)/\]([^\[]*)\[/\1\])re");
    const std::regex entry(R"re(([a-z0-9]+)=([a-z0-9_]+\.(tga|jpg)))re");
    int groups = 0;
    for (std::sregex_iterator g(text.begin(), text.end(), group), end; g != end; ++g, ++groups) {
        std::string body = (*g)[2];
        for (std::sregex_iterator e(body.begin(), body.end(), entry); e != end; ++e) types.insert((*e)[1]);
    }
    EXPECT_GE(groups, 1);
    for (const char* type : {"sky1", "waterfall", "water", "spray", "leaves1", "leaves2"})
        EXPECT_TRUE(types.count(type)) << type;
}
