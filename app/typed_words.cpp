#include "app/typed_words.h"

#include <cstring>

#include "app/game_scene.h"
#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "ui/level_map.h"

TypedWords typedWords;

namespace {

// Stored newest letter first, as the buffer holds them: each word is typed from its last letter back.
constexpr char kOpenAllLevels[] = "VBNQZX";
constexpr char kCloseLevels[] = "VBNQ";
constexpr char kCheatKeys[] = "PWMGHQZT";
constexpr char kOverlay[] = "QJW";

bool bufferStartsWith(const char* word) {
    return std::memcmp(typedWords.typedLetters, word, std::strlen(word)) == 0;
}

} // namespace

void feedTypedLetter(int virtualKey) {
    if (virtualKey < 'A' || virtualKey > 'Z') return;
    uint8_t* letters = typedWords.typedLetters;
    std::memmove(letters + 1, letters, 14);
    letters[0] = static_cast<uint8_t>(virtualKey);
    letters[15] = 0;

    // The buffer is not cleared after a match: one more letter moves the word off the front.
    Scene* current = sceneManager.currentScene;
    if (current == &mapScene) {
        if (bufferStartsWith(kOpenAllLevels)) {
            typedWords.allLevelsOpen = true;
        } else if (bufferStartsWith(kCloseLevels)) {
            typedWords.allLevelsOpen = false;
            resetMapSelection(); // a level chosen while all were open may be locked again
        }
    } else if (current == &gameScene) {
        if (bufferStartsWith(kCheatKeys)) {
            typedWords.cheatKeyMode = !typedWords.cheatKeyMode;
            const char* text = findText(typedWords.cheatKeyMode ? "cheatkeyenabled" : "cheatkeydisabled");
            if (text) bottomMessage(text);
        }
    }
    if (bufferStartsWith(kOverlay)) typedWords.overlayEnabled = !typedWords.overlayEnabled;
}

void resetTypedWords() {
    std::memset(typedWords.typedLetters, 0, sizeof typedWords.typedLetters);
    typedWords.allLevelsOpen = false;
    typedWords.cheatKeyMode = false;
    typedWords.overlayEnabled = false;
}
