#include "player/language_choice.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/file_registry.h"
#include "player/player_folders.h"
#include "player/settings.h"

namespace {

int indexOf(const char* code) {
    for (int i = 0; i < kLanguageChoiceCount; ++i)
        if (std::strcmp(kLanguageChoices[i].code, code) == 0) return i;
    return -1;
}

TEST(LanguageChoiceFile, TheChoiceComesBackInTheNextRunBesideTheSettings) {
    PlayerFolders folders;
    app.startupDone = true;
    readSettings();
    EXPECT_EQ(languageChoice, 0); // first run: Automatic
    EXPECT_STREQ(chosenLanguageCode(), "");
    savePlayerData();
    EXPECT_FALSE(folders.home.exists("config/pebblecraft/language")) << "no choice made, no file";
    languageChoice = indexOf("fr");
    savePlayerData();
    EXPECT_EQ(folders.home.read("config/pebblecraft/language"), "fr");
    EXPECT_FALSE(folders.home.exists("config/pebblecraft/language.new"));
    EXPECT_EQ(folders.home.read(PlayerFolders::settingsFile()).size(), size_t(kSettingsBytes));
    resetSettings();
    readSettings();
    EXPECT_STREQ(chosenLanguageCode(), "fr");
    languageChoice = 0; // back to Automatic: the file says so
    savePlayerData();
    EXPECT_EQ(folders.home.read("config/pebblecraft/language"), "");
    readSettings();
    EXPECT_EQ(languageChoice, 0);
    app.startupDone = false;
}

TEST(LanguageChoiceFile, ADamagedFileMeansAutomatic) {
    EXPECT_EQ(languageChoiceFromBytes("de", 2), indexOf("de"));
    EXPECT_EQ(languageChoiceFromBytes("it", 2), indexOf("it"));
    EXPECT_EQ(languageChoiceFromBytes("en", 2), indexOf("en"));
    EXPECT_EQ(languageChoiceFromBytes("d", 1), 0);
    EXPECT_EQ(languageChoiceFromBytes("dee", 3), 0);
    EXPECT_EQ(languageChoiceFromBytes("de\n", 3), 0);
    EXPECT_EQ(languageChoiceFromBytes("", 0), 0);
    EXPECT_EQ(languageChoiceFromBytes(nullptr, 2), 0);
    PlayerFolders folders;
    folders.home.write("config/pebblecraft/language", "klingon");
    readSettings();
    EXPECT_EQ(languageChoice, 0);
    // An index out of range (never set by the page) still names a language.
    languageChoice = 99;
    EXPECT_STREQ(chosenLanguageCode(), "it");
    languageChoice = 0;
}

} // namespace
