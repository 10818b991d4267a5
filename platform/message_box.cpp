#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

MessageBoxState messageBoxes;

namespace {

void copyCut(char* dest, size_t capacity, const char* text) {
    std::strncpy(dest, text, capacity - 1);
    dest[capacity - 1] = 0;
}

} // namespace

void resetMessageBoxes() {
    messageBoxes = MessageBoxState{};
}

void showErrorBox(const char* title, const char* text) {
    if (!title) title = "";
    if (!text) text = "";
    messageBoxes.shownCount++;
    copyCut(messageBoxes.lastTitle, sizeof(messageBoxes.lastTitle), title);
    copyCut(messageBoxes.lastText, sizeof(messageBoxes.lastText), text);
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
    // Without a display SDL refuses the box; standard error already has the message.
    if (messageBoxes.useWindow)
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, messageBoxes.parent);
}

void fatalError(const char* title, const char* text, int exitCode) {
    showErrorBox(title, text);
    if (messageBoxes.exitHook) {
        messageBoxes.exitHook(exitCode);
        return;
    }
    // At once: nothing is saved after a fatal error, and no exit handler runs.
    std::fflush(stdout);
    std::_Exit(exitCode);
}
