#include "gameplay/board_input.h"

#include "game/board.h"
#include "game/board_click.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/moves.h"
#include "game/presentation_events.h"
#include "gameplay/board_view.h"
#include "gameplay/game_flow.h"
#include "gameplay/game_view.h"
#include "gameplay/tips.h"
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
    presentation().sound("menu.ogg", 0);
}

// The panel's buttons while no menu is open; true when the click is used up.
bool panelButtons(float x, float y) {
    if (insideRect(kRelaxButton, x, y)) {
        game.running = false;
        setCursorMode(kCursorNormal);
        presentation().sound("menu.ogg", 0);
        return true;
    }
    const HitRect* times[3] = {&kNightButton, &kMorningButton, &kDayButton};
    for (int i = 0; i < 3; ++i) {
        if (insideRect(*times[i], x, y)) {
            setTimeOfDay(i);
            presentation().sound("menu.ogg", 0);
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
    if (hammerIconHit(x, y) && useHammerIcon()) {
        syncCursor();
        return;
    }
    int cx = -1, cy = -1;
    cellUnderPoint(x, y, &cx, &cy); // a point off the field gives a cell that does not exist
    clickCell(cx, cy);
    syncCursor(); // a hammer blow or a click beside the board puts the hammer down
}
} // namespace

void boardLeftDown() {
    boardInput.leftHeld = true;
    if (leftClickTaken()) return;
    float x = gameView.mouseX, y = gameView.mouseY;
    if (boardInput.helpArmed) {
        helpTipAtMouse();
        setCursorMode(kCursorNormal);
        return;
    }
    if (!game.menuOpen && panelButtons(x, y)) return;
    if (insideRect(kMenuButton, x, y)) {
        if (game.menuOpen) {
            menuKey(27); // the menu button on an open page acts as Escape
        } else {
            openGamePage("gameplay");
        }
        return;
    }
    if (game.menuOpen) {
        menuClick();
        return;
    }
    if (tips.active) {
        drawTip(1);
        return;
    }
    boardClick(x, y);
}

void boardDoubleClick() {
    if (game.menuOpen || game.ballMoving) return;
    if (boardInput.helpArmed) {
        setCursorMode(kCursorNormal);
        return;
    }
    float x = gameView.mouseX, y = gameView.mouseY;
    int cx = -1, cy = -1;
    bool exists = cellUnderPoint(x, y, &cx, &cy) && cellExists(cx, cy);
    if (insideRect(kBoardArea, x, y) && !exists) {
        pauseGame();
        return;
    }
    // Outside the board area only real cells can be selected; a point off the field selects nothing.
    doubleClickCell(cx, cy);
}

void boardLeftUp() {
    if (game.completeCountdownMs > 0) return;
    boardInput.leftHeld = false;
    if (boardInput.leftHeldMs > kDragMs) {
        boardInput.leftHeldMs = 0;
        int cx = -1, cy = -1;
        if (cellUnderPoint(gameView.mouseX, gameView.mouseY, &cx, &cy) && cellExists(cx, cy) &&
            cellAt(cx, cy).ball.kind == kNoPiece && game.selectedX >= 0 &&
            (cx != game.selectedX || cy != game.selectedY)) {
            clickEmptyCell(cx, cy); // drag and drop
        }
    }
    menuButtonUp();
}

void boardRightDown() {
    rightClickBoard();
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
