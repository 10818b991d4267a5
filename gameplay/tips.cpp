#include "gameplay/tips.h"
#include "gameplay/game_presentation.h"

#include "game/live_rules.h"
#include "gameplay/help_demo.h"

#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/limits.h"
#include "engine/text_table.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/presentation_events.h"
#include "gameplay/board_view.h"
#include "gameplay/game_view.h"
#include "gameplay/hud.h"
#include "gameplay/tip_balloon.h"
#include "player/profile.h"
#include "ui/number_text.h"

const TipRow kTipTable[kTipRows] = {
    {"triplebomb", "triplebomb", "triplebomb2", 2, true},
    {"quadrobomb", "quadrobomb", "quadrobomb2", 4, false},
    {"diamond", "diamond", "diamond2", 3, false},
    {"hammertip", "hammertip", nullptr, -1, true},
    {"hammerfull", "hammerfull", nullptr, -1, true},
    {"jokertip", "jokertip", "jokertip2", 1, false},
    {"tipbusysquare2", "tipbusysquare2", nullptr, -1, false},
    {"chainitemtip", "chainitemtip", nullptr, -1, false},
    {"actionbartip", "actionbartip", nullptr, -1, false},
    {"doublerelax", "doublerelax", nullptr, -1, false},
    {"helprelax", "helprelax", nullptr, -1, false},
    {"levelprogresbar", "levelprogresbar", nullptr, -1, false},
    {"newballtip", "newballtip", nullptr, -1, false},
    {"puzzleprogresbar", "puzzleprogresbar", nullptr, -1, false},
};
static_assert(kTipRows == kTipCount, "one seen flag of the profile per row of the tip table");

TipState tips;

namespace {
constexpr float kTipWidth = 300;
constexpr float kTipPictureHeight = 140; // the room for a tip's picture inside its balloon
constexpr float kClickableAfterMs = -250;

struct TipScratch {
    char message[kWrapBufferSize]; // the title's and body's texts joined for the balloon (texts, not keys)
};
TipScratch scratch;

void markSeen(int row) {
    if (row >= 0 && row < kTipRows) currentProfile().tipShown[row] = 1;
}

void copyText(char* out, const char* in) {
    std::snprintf(out, kTipTextLength + 1, "%s", in ? in : "");
}

// The text of a key, or the key itself when the tables have no such text.
const char* textOf(const char* key) {
    const char* found = findText(key);
    return found ? found : key;
}

// The tip under the help cursor: shown at once, tied to no cell and not remembered.
void showNow(float x, float y, const char* title, const char* body, int picture) {
    tips = TipState{};
    tips.active = true;
    tips.x = x;
    tips.y = y;
    copyText(tips.title, title);
    copyText(tips.body, body);
    tips.picture = picture;
    tips.delayMs = 0;
    tips.row = -1;
    gamePresentation.output->sound("menu.ogg", 0);
}

void showRowNow(float x, float y, const char* key) {
    int row = tipRow(key);
    if (row < 0) {
        showNow(x, y, key, nullptr, -1);
        return;
    }
    showNow(x, y, kTipTable[row].title, kTipTable[row].body, kTipTable[row].picture);
}

} // namespace

void helpTipForCell(int cx, int cy) {
    const Cell& cell = liveRules.at(cx, cy);
    Point c = cellCentre(cx, cy);
    int kind = cell.ball.kind;
    if (kind != kNoPiece && cell.ball.chains > 0) {
        showNow(c.x, c.y, kind < kFirstWild ? "chainballtip" : "chainitemtip", nullptr, -1);
    } else if (kind >= 0 && kind < kFirstWild) {
        static const char* const kSquareHelp[3] = {"adventsquarehelp", "squarehelp", "actionsquarehelp"};
        int mode = game.mode >= 0 && game.mode < 3 ? game.mode : 0;
        showNow(c.x, c.y, "balltip", kSquareHelp[mode], 0);
    } else if (kind == kJoker) {
        showRowNow(c.x, c.y, "jokertip");
    } else if (kind == kTripleBomb) {
        showRowNow(c.x, c.y, "triplebomb");
    } else if (kind == kDiamond) {
        showRowNow(c.x, c.y, "diamond");
    } else if (kind == kQuadroBomb) {
        showRowNow(c.x, c.y, "quadrobomb");
    } else if (cell.pendingKind >= 0) {
        showNow(c.x, c.y, "newballtip", nullptr, -1);
    } else {
        static const char* const kFloorTips[3] = {"tipcleanquare", "tipbusysquare1", "tipbusysquare2"};
        int floor = cell.square < 0 ? 0 : (cell.square > 2 ? 2 : cell.square);
        showNow(c.x, c.y, kFloorTips[floor], nullptr, -1);
    }
}

namespace {

float centreX(const HitRect& r) {
    return (r.left + r.right) / 2;
}
float centreY(const HitRect& r) {
    return (r.top + r.bottom) / 2;
}

bool tipCancelled() {
    if (game.menuOpen || !game.running || game.completeCountdownMs > 0 || game.defeatCountdownMs > 0)
        return true;
    if (tips.cellX >= 0) {
        if (!cellExists(liveRules, tips.cellX, tips.cellY)) return true;
        // A tip goes when its cell loses what it held: its piece, or the ball announced there. A cell
        // that held neither (a busy square) keeps its tip.
        const Cell& cell = liveRules.at(tips.cellX, tips.cellY);
        int kind = cell.ball.kind;
        if (tips.heldKind != kNoPiece && kind == kNoPiece) return true;
        if (tips.heldAnnounced && kind == kNoPiece && cell.pendingKind < 0) return true;
        if (tips.pieceKind >= 0 && kind != tips.pieceKind) return true;
    }
    return false;
}

const char* tipMessage() {
    const char* title = tips.literalTitle ? tips.title : textOf(tips.title);
    if (tips.body[0] == 0) return title;
    std::snprintf(scratch.message, sizeof scratch.message, "%s\n%s", title, textOf(tips.body));
    return scratch.message;
}
} // namespace

void resetTips() {
    tips = TipState{};
}

int tipRow(const char* key) {
    for (int i = 0; i < kTipRows; ++i) {
        if (std::strcmp(kTipTable[i].key, key) == 0) return i;
    }
    return -1;
}

void showTip(float x, float y, const char* key, int cellX, int cellY, float delayMs, int pieceKind) {
    int row = tipRow(key);
    if (row >= 0 && currentProfile().tipShown[row]) return;
    tips = TipState{};
    tips.active = true;
    tips.x = x;
    tips.y = y;
    if (row >= 0) {
        copyText(tips.title, kTipTable[row].title);
        copyText(tips.body, kTipTable[row].body);
        tips.picture = kTipTable[row].picture;
        if (kTipTable[row].seenWhenShown) markSeen(row);
    } else {
        copyText(tips.title, key);
    }
    tips.delayMs = delayMs;
    tips.cellX = cellX;
    tips.cellY = cellY;
    tips.pieceKind = pieceKind;
    tips.row = row;
    tips.heldKind = kNoPiece;
    if (cellX >= 0 && cellExists(liveRules, cellX, cellY)) {
        const Cell& cell = liveRules.at(cellX, cellY);
        tips.heldKind = cell.ball.kind;
        tips.heldAnnounced = cell.pendingKind >= 0;
    }
}

bool tipShownNow() {
    return tips.active && tips.delayMs < 0;
}

void drawTip(int click) {
    if (!tips.active) {
        tipDemoClosed();
        return;
    }
    if (tipCancelled()) {
        tips.active = false;
        tipDemoClosed();
        return;
    }
    if (click == 0 && tips.delayMs >= 0) {
        tips.delayMs -= app.frameTimeMs;
        return;
    }
    if (tips.delayMs >= 0) return; // not on screen yet: a click does nothing to it
    float grow = -tips.delayMs / 250;
    if (grow > 1) grow = 1;
    if (click == 0) {
        float pictureHeight = tips.picture >= 0 ? kTipPictureHeight : 0;
        BalloonBox box =
            drawBalloon(tips.x, tips.y, tipMessage(), kTipWidth, tips.hasButton, grow, pictureHeight);
        // The picture: the help demonstration with the tip's piece, in the balloon once it has grown.
        if (tips.picture >= 0 && grow >= 1)
            drawTipDemo(tips.picture, (box.left + box.right) / 2, (box.pictureTop + box.pictureBottom) / 2);
        tips.buttonLeft = box.buttonLeft;
        tips.buttonTop = box.buttonTop;
        tips.buttonRight = box.buttonRight;
        tips.buttonBottom = box.buttonBottom;
        tips.delayMs -= app.frameTimeMs;
        return;
    }
    if (tips.delayMs > kClickableAfterMs) return;
    float mx = gameView.mouseX, my = gameView.mouseY;
    bool onButton =
        mx >= tips.buttonLeft && mx <= tips.buttonRight && my >= tips.buttonBottom && my <= tips.buttonTop;
    if (!tips.hasButton || onButton) {
        tips.active = false;
        gamePresentation.output->sound("menu.ogg", 0);
        markSeen(tips.row);
    }
}

void helpTipAtMouse() {
    float x = gameView.mouseX, y = gameView.mouseY;
    int cx = -1, cy = -1;
    if (cellUnderPoint(x, y, &cx, &cy) && cellExists(liveRules, cx, cy)) {
        helpTipForCell(cx, cy);
    } else if (game.hammerEnabled && insideRect(kHammerBar, x, y)) {
        showNow(320, -230, "hammertip", nullptr, -1);
    } else if (insideRect(kRelaxButton, x, y)) {
        showNow(centreX(kRelaxButton) - 10, centreY(kRelaxButton), "relaxtip", nullptr, -1);
    } else if (insideRect(kNightButton, x, y)) {
        showNow(centreX(kNightButton), centreY(kNightButton), "nighttip", nullptr, -1);
    } else if (insideRect(kMorningButton, x, y)) {
        showNow(centreX(kMorningButton), centreY(kMorningButton), "morningtip", nullptr, -1);
    } else if (insideRect(kDayButton, x, y)) {
        showNow(centreX(kDayButton), centreY(kDayButton), "daytip", nullptr, -1);
    } else if (insideRect(kMenuButton, x, y)) {
        showNow(centreX(kMenuButton) - 30, centreY(kMenuButton), "menutip", nullptr, -1);
    } else if (insideRect(kScoreBox, x, y)) {
        showNow(centreX(kScoreBox) - 30, centreY(kScoreBox), "scoretip", nullptr, -1);
    } else if (insideRect(kLivesBox, x, y)) {
        showNow(centreX(kLivesBox) - 30, centreY(kLivesBox), "lifetip", nullptr, -1);
    } else if (insideRect(kLevelBox, x, y)) {
        showNow(centreX(kLevelBox) - 30, centreY(kLevelBox), "numleveltip", nullptr, -1);
    } else if (insideRect(kProgressBarRect, x, y)) {
        if (game.mode == kModePuzzle) {
            showNow(x, y, "puzzleprogresbar", nullptr, -1);
        } else {
            showNow(x, y, "", nullptr, -1);
            // The text is a format for the share of the goal reached.
            formatNumberText(tips.title, sizeof tips.title, textOf("levelbartip"),
                             static_cast<int>(100 * game.barFraction));
            tips.literalTitle = true;
        }
    } else if (!insideRect(kRightPanel, x, y)) {
        showNow(x, y, "doublerelax", nullptr, -1);
    }
}

void drawTooltip() {
    Point centre = {(gameView.helpButton.left + gameView.helpButton.right) / 2,
                    (gameView.helpButton.top + gameView.helpButton.bottom) / 2};
    drawBalloon(centre.x, centre.y, textOf("tooltip"), kTipWidth, false, 1);
}
