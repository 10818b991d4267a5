// The help demonstration's cursor, steps, clicks and cycles, and its drawing over the help board.
#include "gameplay/help_demo.h"

#include <cmath>
#include <cstring>

#include "engine/app_state.h"
#include "engine/font.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/help_board.h"
#include "game/level_file.h"
#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "gameplay/board_view.h"
#include "gameplay/game_presentation.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"

HelpDemo helpDemo;
Rules helpDemoRules;

namespace {

// What the demonstration's events come to: on the help page its sounds play, as the page's own; over the
// live game (a tip's picture) it is silent, as its sounds would be the player's. Nothing else reaches the
// game's effects, texts, tips or shake.
struct DemoOutput : PresentationOutput {
    void sound(const char* file, int frequencyHz) override {
        if (!helpDemo.startedByTip) gamePresentation.output->sound(file, frequencyHz);
    }
};
DemoOutput demoOutput;
GamePresentation demoPresentation(demoOutput);

// The demonstration moves as the player's balls move: it takes the live game's mode and line length and
// the player's ball speed, and keeps the rest of its rules to itself.
void followLiveGame() {
    GameState& demo = helpDemoRules.game;
    demo.mode = game.mode;
    demo.levelIndex = game.levelIndex;
    demo.lineLength = game.lineLength;
    demo.colourCount = game.colourCount;
    demo.ballSpeed = game.ballSpeed;
}

constexpr float kPi = 3.14159265f;

void boardClick(float x, float y) {
    int cx = -1, cy = -1;
    cellFromPoint(x, y, &cx, &cy);
    followLiveGame();
    helpBoardClick(helpDemoRules, cx, cy);
}

// The stops: rest at X, the piece at U, its target V, the second piece Y, its target Z, back to X.
void placeStops() {
    const Point* p = levelFiles.demoPoints;
    const int order[kDemoStops] = {2, 0, 1, 3, 4, 2};
    for (int i = 0; i < kDemoStops; i++) helpDemo.stops[i] = p[order[i]];
}

void loadCycle() {
    helpDemo.helpLevel = helpLevelFor(helpDemo.demoVariant, helpDemo.demoCycle);
    std::memset(levelFiles.demoPoints, 0, sizeof levelFiles.demoPoints);
    helpDemoRules = Rules{};
    helpDemoRules.demonstration = true;
    helpDemoRules.presentation = &demoPresentation;
    followLiveGame();
    loadHelpBoard(helpDemoRules, helpDemo.demoCycle + 1, helpDemo.demoVariant, helpDemo.demoColour);
    placeStops();
    helpDemo.cursor = helpDemo.stops[0];
    helpDemo.clicksInCycle = 0;
}

void clickHere() {
    helpDemo.clicksInCycle++;
    if (helpDemo.click) helpDemo.click(helpDemo.cursor.x, helpDemo.cursor.y);
}

Point lerp(const Point& a, const Point& b, float f) {
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

} // namespace

void resetHelpDemo() {
    std::memset(static_cast<void*>(&helpDemo), 0, sizeof helpDemo);
    helpDemo.cursorScale = 1;
    helpDemo.clickU = -1;
    helpDemo.click = boardClick;
}

int helpLevelFor(int variant, int cycle) {
    return variant == 0 ? cycle + 5 : cycle + 1;
}

void startDemo(int variant) {
    if (!helpDemo.click) resetHelpDemo();
    helpDemo.demoTime = 0;
    helpDemo.demoVariant = variant;
    helpDemo.demoCycle = 0;
    helpDemo.demoStep = 0;
    helpDemo.demoRunning = true;
    helpDemo.cursorScale = 1;
    loadCycle();
}

void advanceDemo(float ms) {
    HelpDemo& d = helpDemo;
    if (!d.demoRunning) return;
    // The cursor for the time now: a straight glide to the first stop, eased glides between the others.
    d.clickU = -1;
    d.cursorScale = 1;
    if (d.demoStep == 0) {
        d.cursor = lerp(d.stops[0], d.stops[1], std::fmin(d.demoTime / kDemoStopMs[0], 1.0f));
    } else if (d.demoStep <= 4) {
        float u = (d.demoTime - kDemoStopMs[d.demoStep - 1]) /
                  (kDemoStopMs[d.demoStep] - kDemoStopMs[d.demoStep - 1]);
        u = std::fmax(0.0f, std::fmin(u, 1.0f));
        d.cursor = lerp(d.stops[d.demoStep], d.stops[d.demoStep + 1], std::sin(u * kPi - kPi / 2) / 2 + 0.5f);
        d.clickU = u;
        d.cursorScale = 1 - 0.15f * std::sin(std::fmin(u / 0.1f, 1.0f) * kPi);
    }
    d.demoTime += ms;
    while (d.demoStep < kDemoStops - 1 && d.demoTime > kDemoStopMs[d.demoStep]) {
        int ended = d.demoStep;
        d.demoStep++;
        d.cursor = d.stops[d.demoStep];
        clickHere();
        if (ended == 1 && d.demoVariant != 0) {
            // A special piece acts where it was put: the second move is left out, and the step over it
            // clicks the piece once more where it stands.
            d.demoStep += 2;
            d.demoTime += kDemoStopMs[3] - kDemoStopMs[1];
            clickHere();
        }
    }
    if (d.demoTime > kDemoStopMs[kDemoStops - 1]) {
        d.demoStep = 0;
        d.demoTime = 0;
        d.demoCycle = (d.demoCycle + 1) % 4;
        d.demoColour = (d.demoColour + 1) % 7;
        loadCycle();
    }
}

namespace {

// The cells of the demonstration board, in board units (a help level without cells gives its stops).
void demoBoardBounds(float& minX, float& maxX, float& minY, float& maxY) {
    const HelpDemo& d = helpDemo;
    minX = maxX = d.stops[0].x;
    minY = maxY = d.stops[0].y;
    bool any = false;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (!cellExists(helpDemoRules, x, y)) continue;
            Point c = cellCentre(x, y);
            if (!any) minX = maxX = c.x, minY = maxY = c.y;
            any = true;
            minX = std::fmin(minX, c.x - 20), maxX = std::fmax(maxX, c.x + 20);
            minY = std::fmin(minY, c.y - 20), maxY = std::fmax(maxY, c.y + 20);
        }
    }
}

// The board's frame: a soft shadow, an opaque fill like the panels' and a thin golden rim. It leaves room
// below and beside the board for the drawn pointer, which therefore never reaches the text around it.
void drawDemoFrame(const DemoFrame& f) {
    begin2D();
    const Texture* sheet = particleSystem.sheet;
    ShadowPiece pieces[kPanelShadowPieces];
    panelShadowPieces(f.left, f.top, f.right, f.bottom, sheet ? sheet->width : 1024,
                      sheet ? sheet->height : 1024, pieces);
    setTexture(sheet);
    for (const ShadowPiece& p : pieces) drawRect(p.left, p.top, p.right, p.bottom, p.tex, 0xAA000000u);
    setTexture(menuTextures.white);
    drawRect(f.left, f.top, f.right, f.bottom, {0, 0, (f.right - f.left) / 128, (f.top - f.bottom) / 208},
             kPanelFill);
    setTexture(nullptr);
    constexpr uint32_t kRim = 0xFFF0C060u;
    constexpr float t = 2.5f;
    drawRect(f.left, f.top, f.right, f.top - t, kWholeTexture, kRim);
    drawRect(f.left, f.bottom + t, f.right, f.bottom, kWholeTexture, kRim);
    drawRect(f.left, f.top, f.left + t, f.bottom, kWholeTexture, kRim);
    drawRect(f.right - t, f.top, f.right, f.bottom, kWholeTexture, kRim);
}

} // namespace

DemoFrame demoFrame(float x, float y) {
    float minX, maxX, minY, maxY;
    demoBoardBounds(minX, maxX, minY, maxY);
    float halfWidth = (maxX - minX) * kDemoScale / 2, halfHeight = (maxY - minY) * kDemoScale / 2;
    float ox = x + 20, oy = y - 20;
    return {ox - halfWidth - kDemoFrameSide, oy + halfHeight + kDemoFrameTop, ox + halfWidth + kDemoFrameSide,
            oy - halfHeight - kDemoFrameBelow};
}

Point demoPoint(float x, float y, const Point& p) {
    // The board's centre, the middle of its cells, stands on the origin inside its frame.
    float minX, maxX, minY, maxY;
    demoBoardBounds(minX, maxX, minY, maxY);
    float cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    return Point{x + 20 + (p.x - cx) * kDemoScale, y - 20 + (p.y - cy) * kDemoScale};
}

void stepDemoBoard(float frameMs) {
    followLiveGame();
    helpDemoRules.frameMs = frameMs;
    helpBoardSweep(helpDemoRules);
}

void drawDemo(float x, float y) {
    HelpDemo& d = helpDemo;
    if (!d.demoRunning) return;
    float ox = x + 20, oy = y - 20;
    float minX, maxX, minY, maxY;
    demoBoardBounds(minX, maxX, minY, maxY);
    float cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    auto toScreen = [&](const Point& p) { return demoPoint(x, y, p); };
    drawDemoFrame(demoFrame(x, y));

    // Half speed: the board, its animations and the demonstration's clock all see half the frame.
    float frameMs = app.frameTimeMs / 2;
    stepDemoBoard(frameMs);
    // The board view draws in the game's 3D setting (its sprites face the camera at z = 0), on a board
    // that is neither paused, won nor lost, whatever the game behind the page is doing.
    glm::mat4 m(1.0f);
    m[0][0] = m[1][1] = kDemoScale;
    m[3][0] = ox - cx * kDemoScale;
    m[3][1] = oy - cy * kDemoScale;
    glm::mat4 view(1.0f);
    view[3][2] = 50.0f;
    setView(&view);
    setOrthographic(800, 600, 1, 100);
    setWorld(&m);
    glm::vec4 savedTint = render.tint;
    render.tint = glm::vec4(1.0f);
    // Its sparks would stand at the help board's points on the live board (and nothing draws them on the
    // little board): it raises none.
    drawBoard(helpDemoRules, false);
    flushBatch();
    render.tint = savedTint;
    setWorld(nullptr);
    advanceDemo(frameMs);

    begin2D();
    if (d.clickU >= 0 && d.clickU < 0.8f) {
        float opacity = 1 - d.clickU / 0.8f;
        Point at = toScreen(d.stops[d.demoStep]);
        setTextColor(255, 255, 255, static_cast<uint8_t>(255 * opacity));
        drawText(at.x + 20, at.y + 20, 11 + std::sin(opacity * kPi), "click");
        setTextColor(0xFFFFFFFFu);
    }
    Point c = toScreen(d.cursor);
    drawAtlasTile(22, c.x + 30 * d.cursorScale, c.y - 32 * d.cursorScale, 0xFFFFFFFFu, d.cursorScale,
                  d.cursorScale);
}

void drawTipDemo(int picture, float centreX, float centreY) {
    if (picture < 0 || picture > 4) return;
    if (!helpDemo.demoRunning || (helpDemo.startedByTip && helpDemo.demoVariant != picture)) {
        startDemo(picture);
        helpDemo.startedByTip = true;
    }
    // Its framed board stands in the room the balloon keeps for it, centred there.
    DemoFrame f = demoFrame(centreX - 20, 0);
    drawDemo(centreX - 20, centreY - (f.top + f.bottom) / 2);
    begin2D();
}

void tipDemoClosed() {
    if (helpDemo.demoRunning && helpDemo.startedByTip) stopDemo();
}

void stopDemo() {
    helpDemo.startedByTip = false;
    helpDemo.demoRunning = false;
    // Its board, and the pops still waiting there, go with it; it raised nothing on the game's board.
    helpDemoRules = Rules{};
}
