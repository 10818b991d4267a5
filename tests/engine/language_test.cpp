// Choosing the player's language from the environment, the way gettext chooses a catalogue.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "engine/language.h"

namespace {

std::map<std::string, std::string> environment;

const char* lookUp(const char* name) {
    auto it = environment.find(name);
    return it == environment.end() ? nullptr : it->second.c_str();
}

bool germanFrenchSpanish(const char* code) {
    return !std::strcmp(code, "de") || !std::strcmp(code, "fr") || !std::strcmp(code, "es");
}

std::string chosen(std::map<std::string, std::string> env) {
    environment = std::move(env);
    char out[kLanguageCodeCapacity] = "??";
    chooseLanguage(lookUp, germanFrenchSpanish, out);
    return out;
}

} // namespace

TEST(Language, TheFirstSetLocaleVariableWins) {
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}}), "de");
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}), "fr");
    EXPECT_EQ(chosen({{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "es_ES@euro"}}), "es");
    EXPECT_EQ(chosen({{"LANG", "de"}, {"LC_ALL", ""}}), "de"); // an empty variable counts as unset
    EXPECT_EQ(chosen({{"LANG", "fr_CA"}}), "fr");
}

TEST(Language, LanguageListIsTriedInOrderBeforeTheLocale) {
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr"}}), "fr");
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "pt_BR:es:fr"}}), "es");
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "pt:nl"}}), "de"); // none present: the locale
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en:fr"}}), "");   // English is always present
    EXPECT_EQ(chosen({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "::es"}}), "es");
}

TEST(Language, EnglishUnderTheCLocaleOrWithoutTexts) {
    EXPECT_EQ(chosen({}), "");
    EXPECT_EQ(chosen({{"LANG", "C"}, {"LANGUAGE", "de"}}), "");
    EXPECT_EQ(chosen({{"LC_ALL", "POSIX"}, {"LANG", "fr_FR"}}), "");
    EXPECT_EQ(chosen({{"LANG", "C.UTF-8"}}), "");
    EXPECT_EQ(chosen({{"LANG", "pt_BR.UTF-8"}}), "");
    EXPECT_EQ(chosen({{"LANG", "en_GB.UTF-8"}}), "");
    EXPECT_EQ(chosen({{"LANG", "deutsch"}}), "");   // not a language code
    EXPECT_EQ(chosen({{"LANG", "../../etc"}}), ""); // never a path
}

TEST(Language, TablesOfALanguageLieInItsFolder) {
    char path[64];
    languageTablePath("de", "2tips.txt", path, sizeof path);
    EXPECT_STREQ(path, "lang/de/2tips.txt");
    languageTablePath("", "2tips.txt", path, sizeof path);
    EXPECT_STREQ(path, "2tips.txt");
}

TEST(Language, ThePlayersChoiceOverridesTheEnvironmentWhenItsTextsExist) {
    char out[kLanguageCodeCapacity] = "??";
    EXPECT_TRUE(takeChosenLanguage("fr", germanFrenchSpanish, out));
    EXPECT_STREQ(out, "fr");
    EXPECT_TRUE(takeChosenLanguage("en", germanFrenchSpanish, out)); // English, whatever LANG says
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(takeChosenLanguage("it", germanFrenchSpanish, out)); // the data lacks it
    EXPECT_FALSE(takeChosenLanguage("", germanFrenchSpanish, out));   // Automatic
    EXPECT_FALSE(takeChosenLanguage("../x", germanFrenchSpanish, out));
}
