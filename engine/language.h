// The player's language, chosen the way gettext chooses a catalogue: the locale is the first set one
// of LC_ALL, LC_MESSAGES and LANG; under the "C" or "POSIX" locale (or none) the game speaks English.
// Otherwise each language of LANGUAGE (a colon list) is tried, then the locale's own; the first one
// the game has texts for wins ("de_DE.UTF-8" and "de" both stand for German), English when none has.
#pragma once

#include <cstddef>

using EnvironmentLookup = const char* (*)(const char* name);
using LanguageAvailable = bool (*)(const char* code);

constexpr size_t kLanguageCodeCapacity = 4; // two or three letters and the 0

// The language whose texts the game loaded at start-up ("" for English).
extern char loadedLanguage[kLanguageCodeCapacity];

// Writes the chosen language's code into out, or "" for English (the texts of the data folder's top).
void chooseLanguage(EnvironmentLookup environment, LanguageAvailable available, char* out);
// A language chosen by the player (the options page), which overrides the environment: true and its
// code in out ("" for English) when the game has its texts; false for "" (no choice) or a language
// the data lacks, and then the environment chooses.
bool takeChosenLanguage(const char* chosen, LanguageAvailable available, char* out);
// The name a text table of the language is read under: "lang/de/2tips.txt", or the table itself for
// English. Cut to fit capacity.
void languageTablePath(const char* code, const char* table, char* out, size_t capacity);
