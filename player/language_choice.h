// The language chosen on the options page, beside the settings: the small file "language" in the
// per-user config folder, so that the 48-byte settings keep their layout. It holds the chosen
// language's code ("de"); "Automatic" leaves the choice to the environment (engine/language.h) and
// writes an empty file. A missing or damaged file means Automatic. The texts are loaded once, at
// start-up: a new choice speaks from the next start on.
#pragma once

#include <cstddef>

constexpr int kLanguageChoiceCount = 6;
constexpr size_t kLanguageChoiceBytes = 3; // the longest code the file holds

struct LanguageChoice {
    const char* code; // "" for Automatic
    const char* name; // the language's own name (Windows-1252), or the text key of "Automatic"
};
// Automatic first, then English and the catalogues' languages.
extern const LanguageChoice kLanguageChoices[kLanguageChoiceCount];

extern int languageChoice; // index into kLanguageChoices: the options page's selector

// The stored form: the index of the code the bytes hold, 0 (Automatic) for anything else.
int languageChoiceFromBytes(const char* data, size_t size);
const char* chosenLanguageCode();          // the current choice's code, "" for Automatic
const char* languageChoiceName(int index); // what the options page shows for a choice
void readLanguageChoice();                 // at launch, with the settings
void saveLanguageChoice(); // with the settings; written beside the old file and renamed over it
