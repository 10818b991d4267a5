#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/ui/menu_fixture.h"

using MenuTree = MenuFixture;

TEST_F(MenuTree, MainDropsItsFirstItemWhichStaysARecord) {
    MenuPage* main = findPage("main");
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(main->items.size(), 7);
    EXPECT_STREQ(main->items[0]->name, "mode1");
    EXPECT_STREQ(main->items[6]->name, "exit");
    EXPECT_NE(findPage("survival"), nullptr);
    EXPECT_EQ(findPage("profiles")->parent, main);
}

TEST_F(MenuTree, ANameListedTwiceKeepsItsFirstDefinitionAndParent) {
    resetMenus();
    const char* text = "main=\r\nx\r\na\r\nb\r\n\r\na=\r\nshared\r\n\r\nb=\r\nshared\r\nown\r\n\r\n"
                       "shared=\r\ninner\r\n\r\nshared=\r\nother\r\n\r\n";
    ASSERT_TRUE(buildMenuTree(text));
    MenuPage* a = findPage("a");
    MenuPage* b = findPage("b");
    MenuPage* shared = findPage("shared");
    EXPECT_EQ(a->items[0], shared);
    EXPECT_EQ(b->items[0], shared); // the same record, not a second one
    EXPECT_EQ(shared->parent, a);
    ASSERT_EQ(shared->items.size(), 1);
    EXPECT_STREQ(shared->items[0]->name, "inner");
    EXPECT_EQ(findPage("other"), nullptr);
    // Depth first: "a" and everything under it are created before "b".
    EXPECT_LT(findPage("inner"), b);
}

TEST_F(MenuTree, NamesKeepTheirSpacesAndSectionsEndAtAnEmptyLine) {
    MenuPage* gameplay = findPage("gameplay");
    ASSERT_EQ(gameplay->items.size(), 4);
    EXPECT_STREQ(gameplay->items[0]->name, "resume game");
    EXPECT_STREQ(gameplay->items[1]->name, "restart level");
}

TEST_F(MenuTree, AFileBeyondTheLimitsIsRejected) {
    char line[32];
    std::string many = "main=\r\n";
    for (int i = 0; i < 17; ++i) {
        std::snprintf(line, sizeof line, "item%i\r\n", i);
        many.append(line);
    }
    resetMenus();
    EXPECT_FALSE(buildMenuTree(many.append("\r\n")));

    std::string wide = "main=\r\nskip\r\n";
    for (int p = 0; p < 20; ++p) {
        std::snprintf(line, sizeof line, "p%i\r\n", p);
        wide.append(line);
    }
    wide.append("\r\n");
    for (int p = 0; p < 20; ++p) {
        std::snprintf(line, sizeof line, "p%i=\r\n", p);
        wide.append(line);
        for (int i = 0; i < 14; ++i) {
            std::snprintf(line, sizeof line, "q%i_%i\r\n", p, i);
            wide.append(line);
        }
        wide.append("\r\n");
    }
    resetMenus();
    EXPECT_FALSE(buildMenuTree(wide)); // 20 * 15 names: more than the page table holds
    EXPECT_LE(menus.pages.size(), kMaxMenuPages);
}

TEST_F(MenuTree, TheAuthoredFileBuildsWithEveryPageTheCommandsName) {
    ASSERT_TRUE(buildAuthoredMenus());
    for (const char* name :
         {"options", "hiscore", "credits", "mode1", "mode2", "mode3", "gameplay", "profiles", "newprofile",
          "loadgamequest", "messageboxyn", "messageboxok", "levelcomplete", "defeat"})
        EXPECT_NE(findPage(name), nullptr) << name;
    // The pages the game opens by itself are made whatever the file says; their items come only from it.
    const char* missing = missingMenuItem();
    EXPECT_EQ(missing, nullptr) << missing;
}

// A file that forgets an item the game waits for is caught at loading, not behind an unclickable page.
TEST_F(MenuTree, AnItemTheGameWaitsForMissingFromTheFileIsFound) {
    for (const char* line : {"oknextlevel\r\n", "okrename\r\n", "exit\r\n"}) {
        std::string text = authoredMenuText();
        size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        text.erase(at, std::strlen(line));
        resetMenus();
        ASSERT_TRUE(buildMenuTree(text)) << "the tree itself still builds";
        const char* missing = missingMenuItem();
        ASSERT_NE(missing, nullptr) << line;
        EXPECT_NE(std::string(line).find(std::strchr(missing, '/') + 1), std::string::npos) << missing;
    }
}

// The code acts on ids; the authored file must name every one of them, or the page or item would be
// a blank the game cannot act on.
TEST_F(MenuTree, TheAuthoredFileNamesEveryIdTheGameActsOn) {
    ASSERT_TRUE(buildAuthoredMenus());
    const char* missing = missingMenuName();
    EXPECT_EQ(missing, nullptr) << missing;
    for (int i = 1; i < kMenuIdCount; ++i) {
        MenuId id = static_cast<MenuId>(i);
        EXPECT_EQ(menuIdOf(menuName(id)), id) << menuName(id);
        if (!madeByLoader(id)) {
            EXPECT_NE(findPage(id), nullptr) << menuName(id);
        }
    }
    EXPECT_EQ(menuIdOf("survival"), MenuId::None); // a name the game does not act on
}

// Renaming a page or an item in the file (every line that names it) is caught when the tree is built.
TEST_F(MenuTree, APageOrItemRenamedInTheFileIsFound) {
    for (const char* name : {"levelcomplete", "hiscore", "mode2", "resume game", "oknewprofile"}) {
        std::string text = authoredMenuText();
        std::string renamed;
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            std::string_view line = std::string_view(text).substr(at, end - at);
            std::string_view bare = line.substr(0, line.find_first_of("=\r\n"));
            renamed += bare;
            if (bare == name) renamed += 'd';
            renamed += line.substr(bare.size());
            at = end;
        }
        ASSERT_NE(renamed, text) << name;
        resetMenus();
        ASSERT_TRUE(buildMenuTree(renamed)) << name;
        const char* missing = missingMenuName();
        ASSERT_NE(missing, nullptr) << name;
        EXPECT_STREQ(missing, name);
    }
}
