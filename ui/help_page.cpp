// The help page's layout: title, the two texts, the edge strips, the demonstration between the texts
// and the page's one button.
#include "ui/help_page.h"

#include <cstring>

#include "engine/font.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "ui/help_demo.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"

namespace {

const char* textOf(const char* key) {
    const char* t = findText(key);
    return t ? t : key;
}

const char* modeHelpKey() {
    static const char* const kKeys[] = {"adventsquarehelp", "squarehelp", "actionsquarehelp"};
    int mode = game.mode >= 0 && game.mode < 3 ? game.mode : 0;
    return kKeys[mode];
}

char ballTip[kWrapBufferSize];

} // namespace

void helpPageStart() {
    startDemo(0);
    helpDemo.startedByTip = false;
    helpBoardActive = true; // the game behind the page stands still and its effects wait
}

void helpPageStop() {
    stopDemo();
    helpBoardActive = false;
}

void drawHelpPage() {
    const float offset = menus.slideOffset;
    float tipHeight = wrapText(330, textOf("balltip"), 12);
    std::memcpy(ballTip, text.wrapBuffer, sizeof ballTip);
    float helpHeight = wrapText(330, textOf(modeHelpKey()), 12);
    const float height = 404 + tipHeight + helpHeight;
    const float top = offset + height / 2, bottom = offset - height / 2;
    drawPanel(0, offset, 390, height);
    // Two half-size edge strips across the panel.
    for (float y : {top - 90, bottom + 100}) {
        for (float x = -188.5f; x < 190.5f; x += 32) drawAtlasTile(4, x + 16, y, 0xFFFFFFFFu, 0.5f, 0.5f);
    }
    setTextColor(255, 255, 55, 255);
    drawTextCentered(0, top - 53, 19.5f, textOf("howtoplay"));
    setTextColor(0xFFFFFFFFu);
    drawText(0, top - 120, 12, ballTip, true);
    drawText(0, bottom + 107 + helpHeight, 12, text.wrapBuffer, true);
    if (!helpDemo.demoRunning)
        startDemo(0); // opened without its opening action (tests, the game's first help)
    drawDemo(0, top - 200 - tipHeight);
    begin2D();
    drawButton(0, bottom + 55, 170, 64, 18, nullptr);
}
