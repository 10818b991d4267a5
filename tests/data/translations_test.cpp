// The built text tables of every language: the same keys in the same order as the English ones (the
// game finds tips and names by their place after a key), the same number formats, and every key
// translated or else English, never empty.
#include "pictures_built_data.h"

#include <regex>

#include "engine/text_table.h"
#include "ui/text_fit.h"

namespace {

struct Table {
    std::vector<std::string> keys, texts;
};

Table load(const std::vector<std::string>& paths) {
    freeTextTable();
    for (const std::string& p : paths) loadTextTable(p.c_str());
    Table t;
    for (int i = 0; i < textTable.entries.size(); ++i) {
        t.keys.push_back(textTable.entries[i].key);
        t.texts.push_back(textTable.entries[i].text);
    }
    freeTextTable();
    return t;
}

std::vector<std::string> formats(const std::string& text) {
    static const std::regex format("%[-+ #0]*[0-9]*[a-zA-Z%]");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), format); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

} // namespace

TEST(Translations, EveryLanguageHasEveryKeyInOrderWithTheEnglishFormats) {
    std::filesystem::path dir = builtdata::folder();
    if (dir.empty()) GTEST_SKIP() << "no built Data folder (run the data builder: make build)";
    const char* tables[] = {"2strings.txt", "2tips.txt", "2menutext.txt"};
    std::vector<std::string> english;
    for (const char* t : tables)
        english.push_back((std::filesystem::path(PC_SOURCE_DIR) / "data" / t).string());
    Table en = load(english);
    ASSERT_GT(en.keys.size(), 100u);
    for (const std::string& language : textfit::languages()) {
        if (language == "en") continue;
        std::vector<std::string> paths;
        for (const char* t : tables) paths.push_back((dir / "lang" / language / t).string());
        Table tr = load(paths);
        ASSERT_EQ(tr.keys, en.keys) << language;
        int translated = 0;
        for (size_t i = 0; i < en.keys.size(); ++i) {
            EXPECT_EQ(formats(tr.texts[i]), formats(en.texts[i])) << language << " " << en.keys[i];
            EXPECT_FALSE(tr.texts[i].empty()) << language << " " << en.keys[i];
            translated += tr.texts[i] != en.texts[i];
        }
        EXPECT_GT(translated, int(en.keys.size()) / 2) << language << ": mostly English";
    }
}
