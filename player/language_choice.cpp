#include "player/language_choice.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/file_registry.h"
#include "engine/text_table.h"
#include "platform/folders.h"

const LanguageChoice kLanguageChoices[kLanguageChoiceCount] = {
    {"", "langauto"},     {"en", "English"},
    {"de", "Deutsch"},    {"fr", "Fran\347ais"}, // the letters in Windows-1252, as every text of the game
    {"es", "Espa\361ol"}, {"it", "Italiano"},
};

int languageChoice = 0;

namespace {
const char* kFileName = "language";
int storedChoice = 0; // what the file holds: a choice never made writes no file
} // namespace

int languageChoiceFromBytes(const char* data, size_t size) {
    if (!data || size == 0 || size > kLanguageChoiceBytes) return 0;
    for (int i = 1; i < kLanguageChoiceCount; ++i) {
        const char* code = kLanguageChoices[i].code;
        if (std::strlen(code) == size && std::memcmp(code, data, size) == 0) return i;
    }
    return 0;
}

const char* chosenLanguageCode() {
    return kLanguageChoices[std::clamp(languageChoice, 0, kLanguageChoiceCount - 1)].code;
}

const char* languageChoiceName(int index) {
    const LanguageChoice& c = kLanguageChoices[std::clamp(index, 0, kLanguageChoiceCount - 1)];
    if (c.code[0]) return c.name;
    const char* automatic = findText(c.name);
    return automatic ? automatic : "Automatic";
}

void readLanguageChoice() {
    std::vector<uint8_t> bytes;
    languageChoice = 0;
    if (readWholeFile(configFolder() + kFileName, bytes, kLanguageChoiceBytes + 1))
        languageChoice = languageChoiceFromBytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    storedChoice = languageChoice;
}

void saveLanguageChoice() {
    if (languageChoice == storedChoice) return;
    const char* code = chosenLanguageCode();
    if (makeFolders(configFolder()) && writeWholeFile(configFolder() + kFileName, code, std::strlen(code)))
        storedChoice = languageChoice;
}
