// The help page's layout: title, the two texts, the edge strips, the demonstration between the texts
// and the page's one button.
#include "gameplay/help_page.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/font.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "gameplay/help_demo.h"
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
    liveRules.helpPageOpen = true; // the game behind the page stands still and its effects wait
}

void helpPageStop() {
    stopDemo();
    liveRules.helpPageOpen = false;
}

HelpLayout helpLayout(TextHeightAt heightAt, const char* ballTip, const char* modeHelp) {
    constexpr float kFixedHeight = 404; // title, demonstration and button around the two texts
    constexpr float kMargin = 32;       // the frame's tiles reach half a tile beyond the panel's edge
    constexpr float kPanelExtra = 60;   // panel width beyond the text width
    HelpLayout layout{};
    for (float width = 330;; width += 40) {
        layout.textWidth = width;
        layout.panelWidth = width + kPanelExtra;
        layout.tipHeight = heightAt(ballTip, width);
        layout.helpHeight = heightAt(modeHelp, width);
        layout.height = kFixedHeight + layout.tipHeight + layout.helpHeight;
        bool fits = layout.height + 2 * kMargin <= 600;
        bool widest = layout.panelWidth + 40 + 2 * kMargin > 800;
        if (fits || widest) return layout;
    }
}

DividerPieces helpDividerPieces(float halfWidth) {
    DividerPieces out;
    const float from = -halfWidth + 6.5f, to = halfWidth - 4.5f;
    const float length = to - from;
    if (length <= 0) return out;
    int n = std::clamp(static_cast<int>(std::ceil(length / 32)), 1, kMaxDividerPieces);
    float piece = length / n;
    for (int i = 0; i < n; ++i) out.push({from + piece * (i + 0.5f), piece});
    return out;
}

void drawHelpPage() {
    const float offset = menus.slideOffset;
    const char* tipText = textOf("balltip");
    const char* helpText = textOf(modeHelpKey());
    HelpLayout layout =
        helpLayout([](const char* t, float w) { return wrapText(w, t, 12); }, tipText, helpText);
    float tipHeight = wrapText(layout.textWidth, tipText, 12);
    std::memcpy(ballTip, text.wrapBuffer, sizeof ballTip);
    float helpHeight = wrapText(layout.textWidth, helpText, 12);
    const float height = layout.height;
    const float top = offset + height / 2, bottom = offset - height / 2;
    const float half = layout.panelWidth / 2;
    drawPanel(0, offset, layout.panelWidth, height);
    // Two half-size edge strips across the panel.
    DividerPieces pieces = helpDividerPieces(half);
    for (float y : {top - 90, bottom + 100}) {
        for (const DividerPiece& piece : pieces)
            drawAtlasTileStretched(4, piece.x, y, piece.width, 32, 0xFFFFFFFFu);
    }
    setTextColor(255, 255, 55, 255);
    drawTextCentered(0, top - 53, 19.5f, textOf("howtoplay"));
    setTextColor(0xFFFFFFFFu);
    drawText(0, top - 120, 12, ballTip, true);
    drawText(0, bottom + 107 + helpHeight, 12, text.wrapBuffer, true);
    if (!helpDemo.demoRunning)
        startDemo(0);                   // opened without its opening action (tests, the game's first help)
    drawDemo(0, top - 165 - tipHeight); // its frame midway between the texts
    begin2D();
    drawButton(0, bottom + 55, 170, 64, 18, nullptr);
}
