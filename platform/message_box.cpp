#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/message_window.h"

MessageBoxState messageBoxes;

namespace {

void copyCut(char* dest, size_t capacity, const char* text) {
    std::strncpy(dest, text, capacity - 1);
    dest[capacity - 1] = 0;
}

int sdlBox(const char* title, const char* text, SDL_Window* parent) {
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, parent);
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
    // Without a display nothing shows; standard error already has the message.
    if (!messageBoxes.useWindow) return;
    auto systemBox = messageBoxes.systemBox ? messageBoxes.systemBox : sdlBox;
    bool shown = systemBox(title, text, messageBoxes.parent) == 0;
    // SDL refuses a box tied to a window of a system it has no box for; untied it tries every one it knows.
    if (!shown && messageBoxes.parent) shown = systemBox(title, text, nullptr) == 0;
    if (!shown)
        (messageBoxes.ownWindow ? messageBoxes.ownWindow : showMessageWindow)(title, text,
                                                                              kOwnMessageWindowMs);
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
