#include "engine/language.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

char loadedLanguage[kLanguageCodeCapacity] = "";

namespace {

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

// The language code at the start of a locale name ("de_DE.UTF-8@euro" -> "de"); false when the
// name does not start with two or three lower-case letters.
bool languageCode(const char* name, size_t length, char* out) {
    size_t n = 0;
    while (n < length && isLower(name[n])) n++;
    if (n < 2 || n > 3) return false;
    if (n < length && name[n] != '_' && name[n] != '.' && name[n] != '@') return false;
    std::memcpy(out, name, n);
    out[n] = 0;
    return true;
}

// Takes the language when the game has its texts; English counts as always present.
bool tryLanguage(const char* name, size_t length, LanguageAvailable available, char* out) {
    char code[kLanguageCodeCapacity];
    if (!languageCode(name, length, code)) return false;
    if (std::strcmp(code, "en") == 0) {
        out[0] = 0;
        return true;
    }
    if (!available(code)) return false;
    std::memcpy(out, code, sizeof code);
    return true;
}

} // namespace

void chooseLanguage(EnvironmentLookup environment, LanguageAvailable available, char* out) {
    out[0] = 0;
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(name);
        if (value && value[0]) {
            locale = value;
            break;
        }
    }
    if (!locale || std::strcmp(locale, "C") == 0 || std::strncmp(locale, "C.", 2) == 0 ||
        std::strcmp(locale, "POSIX") == 0)
        return;
    if (const char* list = environment("LANGUAGE")) {
        const char* start = list;
        while (*start) {
            const char* end = std::strchr(start, ':');
            size_t length = end ? size_t(end - start) : std::strlen(start);
            if (tryLanguage(start, length, available, out)) return;
            if (!end) break;
            start = end + 1;
        }
    }
    tryLanguage(locale, std::strlen(locale), available, out);
}

bool takeChosenLanguage(const char* chosen, LanguageAvailable available, char* out) {
    out[0] = 0;
    return chosen && chosen[0] && tryLanguage(chosen, std::strlen(chosen), available, out);
}

void languageTablePath(const char* code, const char* table, char* out, size_t capacity) {
    if (code[0])
        std::snprintf(out, capacity, "lang/%s/%s", code, table);
    else
        std::snprintf(out, capacity, "%s", table);
}
