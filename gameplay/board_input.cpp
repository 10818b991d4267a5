#include "gameplay/board_input.h"

#include "engine/app_state.h"
#include "game/board.h"
#include "game/board_click.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/moves.h"
#include "game/presentation_events.h"
#include "gameplay/board_view.h"
#include "gameplay/game_flow.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/tips.h"
#include "platform/events.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"

BoardInput boardInput;

void resetBoardInput() {
    auto apply = boardInput.applySystemCursor; // the window's hook outlives a level
    boardInput = BoardInput{};
    boardInput.applySystemCursor = apply;
}

void setCursorMode(int mode) {
    game.cursorMode = mode;
    if (mode != kCursorHelp) boardInput.helpArmed = false;
    syncCursor();
}

void syncCursor() {
    if (game.cursorMode != kCursorHelp) boardInput.helpArmed = false;
    if (boardInput.appliedCursor == game.cursorMode) return;
    boardInput.appliedCursor = game.cursorMode;
    setCursorModeMenu(game.cursorMode); // the drawn cursor's picture
    if (boardInput.applySystemCursor) boardInput.applySystemCursor(game.cursorMode);
}

namespace {
void pauseGame() {
    game.running = false;
    gamePresentation.output->sound("menu.ogg", 0);
}

// The panel's buttons while no menu is open; true when the click is used up.
bool panelButtons(float x, float y) {
    if (insideRect(kRelaxButton, x, y)) {
        game.running = false;
        setCursorMode(kCursorNormal);
        gamePresentation.output->sound("menu.ogg", 0);
        return true;
    }
    const HitRect* times[3] = {&kNightButton, &kMorningButton, &kDayButton};
    for (int i = 0; i < 3; ++i) {
        if (insideRect(*times[i], x, y)) {
            setTimeOfDay(i);
            gamePresentation.output->sound("menu.ogg", 0);
            break; // and the click goes on
        }
    }
    return false;
}

void boardClick(float x, float y) {
    if (insideRect(gameView.helpButton, x, y)) {
        boardInput.helpArmed = true;
        setCursorMode(kCursorHelp);
    }
    // The hammer bar without its borders; with a charge short of full the click falls through.
    if (hammerIconHit(x, y) && useHammerIcon(liveRules)) {
        syncCursor();
        return;
    }
    int cx = -1, cy = -1;
    cellUnderPoint(x, y, &cx, &cy); // a point off the field gives a cell that does not exist
    boardInput.pressOnBoard = true;
    boardInput.pressX = cx;
    boardInput.pressY = cy;
    clickCell(liveRules, cx, cy);
    syncCursor(); // a hammer blow or a click beside the board puts the hammer down
}
} // namespace

void boardLeftDown() {
    boardInput.leftHeld = true;
    boardInput.pressOnBoard = false;
    float x = gameView.mouseX, y = gameView.mouseY;
    // An open page takes its clicks whatever the board behind it is doing: a ball standing still there
    // mid-route is not moving. The menu button on an open page acts as Escape.
    if (game.menuOpen) {
        if (insideRect(kMenuButton, x, y)) {
            menuKey(kKeyEscape);
        } else {
            menuClick();
        }
        return;
    }
    if (flowClickTaken(liveRules)) return;
    // The menu button opens the menu while a ball travels, as Escape does (except as a help query).
    if (!boardInput.helpArmed && insideRect(kMenuButton, x, y)) {
        openGamePage(MenuId::Gameplay);
        return;
    }
    if (game.ballMoving) return; // no other button, tip or board click while a ball travels
    if (boardInput.helpArmed) {
        helpTipAtMouse();
        setCursorMode(kCursorNormal);
        return;
    }
    if (panelButtons(x, y)) return;
    if (tips.active) {
        drawTip(1);
        return;
    }
    boardClick(x, y);
}

void boardDoubleClick() {
    if (game.menuOpen || game.ballMoving) return;
    float x = gameView.mouseX, y = gameView.mouseY;
    int cx = -1, cy = -1;
    bool exists = cellUnderPoint(x, y, &cx, &cy) && cellExists(liveRules, cx, cy);
    // The window pairs two quick presses a few pixels apart, whatever lies under them. A pair is a double
    // click only on the cell that took the first press; a second press on another cell is a press of its
    // own, and one after a press that resumed, skipped or pressed a button is dropped.
    if (!boardInput.pressOnBoard) return;
    if (cx != boardInput.pressX || cy != boardInput.pressY) {
        boardLeftDown();
        return;
    }
    boardInput.pressOnBoard = false; // a third quick press starts a new pair
    if (boardInput.helpArmed) {
        setCursorMode(kCursorNormal);
        return;
    }
    if (insideRect(kBoardArea, x, y) && !exists) {
        pauseGame();
        return;
    }
    // Outside the board area only real cells can be selected; a point off the field selects nothing.
    doubleClickCell(liveRules, cx, cy);
}

void boardLeftUp() {
    if (game.completeCountdownMs > 0) return;
    boardInput.leftHeld = false;
    if (boardInput.leftHeldMs > kDragMs) {
        boardInput.leftHeldMs = 0;
        int cx = -1, cy = -1;
        if (cellUnderPoint(gameView.mouseX, gameView.mouseY, &cx, &cy) && cellExists(liveRules, cx, cy) &&
            liveRules.at(cx, cy).ball.kind == kNoPiece && game.selectedX >= 0 &&
            (cx != game.selectedX || cy != game.selectedY)) {
            clickEmptyCell(liveRules, cx, cy); // drag and drop
        }
    }
    menuButtonUp();
}

void boardRightDown() {
    rightClickBoard(liveRules);
    syncCursor();
}

void boardRightUp() {
    if (game.completeCountdownMs > 0) return;
    game.rightHeld = false;
}

void boardMiddleDown(bool cheatKeys) {
    if (!cheatKeys) return;
    game.hammerCharge += 0.2f;
    // Five steps of 0.2 must give exactly a full bar: the hammer only works at exactly 1.
    if (game.hammerCharge > 0.999f) game.hammerCharge = 1.0f;
}

void advanceHeldTime(float frameMs) {
    if (boardInput.leftHeld) {
        boardInput.leftHeldMs += frameMs;
    } else {
        boardInput.leftHeldMs = 0;
    }
}

namespace {
int distanceToCentre(int x, int y) {
    int dx = 2 * x - (kPlayLeft + kPlayRight), dy = 2 * y - (kPlayTop + kPlayBottom);
    return dx * dx + dy * dy;
}

// Where the cursor cell first appears: on the selected ball, else under the mouse, else the existing
// cell nearest the board's middle. False on a board without cells.
bool firstCursorCell(int* cx, int* cy) {
    if (cellExists(liveRules, game.selectedX, game.selectedY)) {
        *cx = game.selectedX;
        *cy = game.selectedY;
        return true;
    }
    if (cellUnderPoint(gameView.mouseX, gameView.mouseY, cx, cy) && cellExists(liveRules, *cx, *cy))
        return true;
    int best = -1;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (!cellExists(liveRules, x, y)) continue;
            int d = distanceToCentre(x, y);
            if (best < 0 || d < best) {
                best = d;
                *cx = x;
                *cy = y;
            }
        }
    }
    return best >= 0;
}

// The nearest existing cell in an arrow's direction: holes are jumped, and a board in separate islands
// is crossed to the island that lies most nearly that way. Stays put when no cell lies that way.
void stepCursor(int dx, int dy) {
    int bestScore = -1, bestX = boardInput.keyCursorX, bestY = boardInput.keyCursorY;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            int along = (x - boardInput.keyCursorX) * dx + (y - boardInput.keyCursorY) * dy;
            if (along <= 0 || !cellExists(liveRules, x, y)) continue;
            int across = dx != 0 ? y - boardInput.keyCursorY : x - boardInput.keyCursorX;
            int score = along + 2 * (across < 0 ? -across : across);
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestX = x;
                bestY = y;
            }
        }
    }
    boardInput.keyCursorX = bestX;
    boardInput.keyCursorY = bestY;
}

// Return on the cursor cell: what a left click on that cell does.
void pressCursorCell() {
    if (game.ballMoving) return; // as with the mouse, nothing is taken while a ball travels
    if (tips.active) {
        drawTip(1);
        return;
    }
    if (boardInput.helpArmed) {
        helpTipForCell(boardInput.keyCursorX, boardInput.keyCursorY);
        setCursorMode(kCursorNormal);
        return;
    }
    clickCell(liveRules, boardInput.keyCursorX, boardInput.keyCursorY);
    syncCursor(); // a hammer blow puts the hammer down
}
} // namespace

bool boardTakesKey(int key) {
    bool cursorKey = (key >= kKeyLeft && key <= kKeyDown) || key == kKeyReturn;
    // Paused or in a result sequence the board's own keys come first (any key resumes or skips).
    return cursorKey && game.running && game.completeCountdownMs <= 0 && game.defeatCountdownMs <= 0;
}

void boardKey(int key) {
    if (!boardInput.keyCursorShown || !cellExists(liveRules, boardInput.keyCursorX, boardInput.keyCursorY)) {
        // The first key only shows the cursor cell, so the player sees where it starts.
        if (!firstCursorCell(&boardInput.keyCursorX, &boardInput.keyCursorY)) return;
        boardInput.keyCursorShown = true;
        boardInput.keyMouseX = app.mouseX;
        boardInput.keyMouseY = app.mouseY;
        return;
    }
    switch (key) {
    case kKeyLeft:
        stepCursor(-1, 0);
        break;
    case kKeyRight:
        stepCursor(1, 0);
        break;
    case kKeyUp:
        stepCursor(0, -1);
        break;
    case kKeyDown:
        stepCursor(0, 1);
        break;
    case kKeyReturn:
        pressCursorCell();
        break;
    default:
        break;
    }
}

void boardMouseMoved() {
    // A window may report a move without one (a resize, a focus change): only a real move hides it.
    if (app.mouseX == boardInput.keyMouseX && app.mouseY == boardInput.keyMouseY) return;
    boardInput.keyCursorShown = false;
}
