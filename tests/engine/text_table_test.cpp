#include "engine/text_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/file_registry.h"
#include "engine/random.h"
#include "engine/temp_folder.h"
#include "platform/folders.h"

namespace {

class TextTableTest : public ::testing::Test {
  protected:
    void SetUp() override { freeTextTable(); }
    void TearDown() override { freeTextTable(); }

    void parse(const std::string& file) { parseTextTable(file.data(), static_cast<int>(file.size())); }
};

TEST_F(TextTableTest, LineAndBlockEntries) {
    parse("a=1\r\n[b/]\r\nx\r\ny\r\n[/b]\r\n key two =v = w\r\n[k/]  lead[/k]\r\n");
    EXPECT_STREQ(findText("a"), "1");
    EXPECT_STREQ(findText("b"), "x\r\ny\r\n");
    EXPECT_STREQ(findText("key two "), "v = w"); // spaces before '=' belong to the key
    EXPECT_STREQ(findText("k"), "  lead");       // leading spaces of a block stay
    EXPECT_EQ(textTable.entries.size(), 4);
}

TEST_F(TextTableTest, FirstOccurrenceWinsAcrossFiles) {
    TempFolder data;
    setDataFolder(data.path);
    resetFileRegistry();
    data.write("2strings.txt", "quit=Quit\r\ndefname1=Ann\r\ndefname2=Bob\r\n");
    data.write("2tips.txt", "tip=Tip\r\n");
    data.write("2menutext.txt", "quit=Leave\r\nmenu=Menu\r\n");
    loadTextTable("2strings.txt");
    loadTextTable("2tips.txt");
    loadTextTable("2menutext.txt");
    EXPECT_STREQ(findText("quit"), "Quit");
    EXPECT_STREQ(findText("menu"), "Menu");
    EXPECT_EQ(fileRegistry.entries.size(), 0); // every table file is released after loading
    EXPECT_EQ(indexOfText("defname1"), 1);
    EXPECT_STREQ(textAt(indexOfText("defname1") + 1), "Bob");
    EXPECT_EQ(indexOfText("unknown"), 0);
    EXPECT_EQ(findText("unknown"), nullptr);
    EXPECT_EQ(textAt(textTable.entries.size()), nullptr);
    EXPECT_EQ(textAt(-1), nullptr);
}

TEST_F(TextTableTest, MalformedInputStopsOrIsRejectedInsideTheBuffer) {
    // Every case is parsed from an exact-size heap copy, so a read past its end shows under ASan.
    auto parseExact = [](const std::string& s) {
        std::vector<char> copy(s.begin(), s.end());
        parseTextTable(copy.data(), static_cast<int>(copy.size()));
    };
    parseExact("a=1\r\nb=2"); // no line end before the file's end: b is dropped
    EXPECT_STREQ(findText("a"), "1");
    EXPECT_EQ(findText("b"), nullptr);
    freeTextTable();
    parseExact("a=1\r\n[b/]text without end");
    EXPECT_EQ(textTable.entries.size(), 1);
    freeTextTable();
    parseExact("a=1\r\n[b/");
    parseExact("x=2\r\nno equals sign at all\r\n");
    EXPECT_EQ(textTable.entries.size(), 2);
    freeTextTable();
    parseExact(
        "twentycharacterkey20=long\r\nnineteencharkey1234=ok\r\n[twentycharacterkey20/]b[/x]\r\nc=3\r\n");
    EXPECT_EQ(findText("twentycharacterkey2"), nullptr);
    EXPECT_STREQ(findText("nineteencharkey1234"), "ok");
    EXPECT_STREQ(findText("c"), "3");
    EXPECT_EQ(textTable.entries.size(), 2);
}

TEST_F(TextTableTest, StopsAtTheTableCapacity) {
    std::string file;
    for (int i = 0; i < kMaxTexts + 10; ++i) {
        std::string n = std::to_string(i);
        file.append("k").append(n).append("=").append(n).append("\r\n");
    }
    parse(file);
    EXPECT_EQ(textTable.entries.size(), kMaxTexts);
    EXPECT_STREQ(textAt(kMaxTexts - 1), std::to_string(kMaxTexts - 1).c_str());
    EXPECT_EQ(findText(std::string("k").append(std::to_string(kMaxTexts)).c_str()), nullptr);
}

TEST_F(TextTableTest, RandomTablesNeverReadPastTheBuffer) {
    // Texts made of the table's own punctuation and line ends; ASan checks every read.
    const char alphabet[] = "ab=[]/\r\n ";
    RandomGenerator g{777};
    for (int round = 0; round < 2000; ++round) {
        std::vector<char> bytes(static_cast<size_t>(1 + randomInt(g, 48)));
        for (char& c : bytes) c = alphabet[randomInt(g, sizeof(alphabet) - 1)];
        parseTextTable(bytes.data(), static_cast<int>(bytes.size()));
        for (int i = 0; i < textTable.entries.size(); ++i)
            EXPECT_LE(std::strlen(textTable.entries[i].key), 19u);
        freeTextTable();
    }
}

} // namespace
