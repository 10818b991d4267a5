#include "ui/menu_ids.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// In the order of MenuId.
constexpr const char* kMenuNames[] = {
    "",
    "main",
    "mode1",
    "mode2",
    "mode3",
    "options",
    "hiscore",
    "credits",
    "helpscreen",
    "profiles",
    "newprofile",
    "rename",
    "loadgamequest",
    "messageboxok",
    "messageboxyn",
    "gameplay",
    "levelcomplete",
    "survivalcomplete",
    "defeat",
    "gameover",
    "exit",
    "start",
    "back",
    "apply",
    "ok",
    "selectprofile",
    "remove",
    "oknewprofile",
    "okrename",
    "yes",
    "no",
    "resume game",
    "restart level",
    "skip level",
    "oknextlevel",
};
static_assert(std::size(kMenuNames) == kMenuIdCount, "one name per menu id");

} // namespace

MenuId menuIdOf(const char* name) {
    if (!name || !*name) return MenuId::None;
    for (int i = 1; i < kMenuIdCount; ++i) {
        if (std::strcmp(kMenuNames[i], name) == 0) return static_cast<MenuId>(i);
    }
    return MenuId::None;
}

const char* menuName(MenuId id) {
    int i = static_cast<int>(id);
    return i > 0 && i < kMenuIdCount ? kMenuNames[i] : "";
}

bool isModePage(MenuId id) {
    return id == MenuId::Mode1 || id == MenuId::Mode2 || id == MenuId::Mode3;
}

int modeOfPage(MenuId id) {
    return std::clamp(static_cast<int>(id) - static_cast<int>(MenuId::Mode1), 0, 2);
}

MenuId modePage(int mode) {
    return static_cast<MenuId>(static_cast<int>(MenuId::Mode1) + std::clamp(mode, 0, 2));
}

bool madeByLoader(MenuId id) {
    return id == MenuId::SurvivalComplete;
}
