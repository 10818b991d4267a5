#include "ui/level_map.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/bytes.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/live_rules.h"
#include "platform/events.h"
#include "player/profile.h"
#include "player/settings.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"
#include "visuals/game_textures.h"
#include "visuals/particle_effects.h"
#include "visuals/particle_sheet.h"
#include "visuals/scenery.h"

LevelMap levelMap;

namespace {

Rules preview; // the chosen level's layout, read on a board of its own

uint32_t argb(int r, int g, int b, int a) {
    auto c = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

void cacheBoardPicture(int level) {
    if (levelMap.boardLevel == level && levelMap.boardMode == game.mode) return;
    levelMap.boardLevel = level;
    levelMap.boardMode = game.mode;
    std::memset(levelMap.boardCells, 0, sizeof levelMap.boardCells);
    preview = Rules{};
    preview.game.mode = game.mode; // the mode decides which squares are busy
    bool ok = loadLevel(preview, level);
    if (ok) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 15; ++y)
                levelMap.boardCells[x][y] = previewCellPicture(preview, x + kPlayLeft, y + kPlayTop);
    }
}

} // namespace

uint8_t previewCellPicture(Rules& board, int x, int y) {
    if (!cellExists(board, x, y)) return 0;
    int square = board.at(x, y).square;
    // Deeper squares show as the busiest picture, as on the board.
    return static_cast<uint8_t>(1 + (square < 0 ? 0 : square > 2 ? 2 : square));
}

void resetLevelMap() {
    std::memset(static_cast<void*>(&levelMap), 0, sizeof levelMap); // the path empty
    levelMap.boardLevel = -1;
}

bool readMapPath(const uint8_t* data, size_t size) {
    MapPath& path = levelMap.path;
    path.points.clear();
    path.length = 0;
    if (!data || size < 8) return false;
    int32_t count;
    std::memcpy(&count, data, 4);
    if (count < 2 || static_cast<size_t>(count) > (size - 8) / 8) return false;
    if (count > kMaxMapPathPoints) count = kMaxMapPathPoints;
    // The length places every mark; one that is not a finite positive number cannot place any.
    float length = readFloat32(data + 4);
    if (!std::isfinite(length) || length <= 0) return false;
    path.length = length;
    for (int i = 0; i < count; ++i) {
        // The map's path sits 30 units higher than the file's.
        path.points.push({readFloat32(data + 8 + 8 * i), readFloat32(data + 12 + 8 * i) + 30});
    }
    return true;
}

MapPoint pointOnPath(float d) {
    const MapPath& path = levelMap.path;
    int n = path.points.size();
    if (n < 2) return {0, 0}; // no path: the middle of the map
    if (d > path.length) return {-1000, 0};
    if (d < 0) return {1000, 0};
    if (!(d <= path.length)) return {0, 0}; // not a number
    // Compared before the conversion: a distance far beyond the points has no int of its own.
    float step = d / kPathStep;
    if (step >= static_cast<float>(n - 1)) return path.points[n - 1];
    int k = static_cast<int>(step);
    float f = step - k;
    const MapPoint& a = path.points[k];
    const MapPoint& b = path.points[k + 1];
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

void computeMapPositions() {
    float zone = levelMap.path.length / kZoneCount;
    for (int i = 0; i < kArtefactCount; ++i)
        levelMap.artefactAt[i] = pointOnPath(i == kArtefactCount - 1 ? zone * i - 0.1f : zone * i);
    for (int e = 0; e < kLevelCount; ++e) {
        float b =
            zone * (e / kLevelsPerZone) + 33 + (e % kLevelsPerZone + 0.5f) * (zone - 66) / kLevelsPerZone;
        MapPoint before = pointOnPath(b - 2), after = pointOnPath(b + 2);
        levelMap.markAt[e] = before;
        levelMap.markAngle[e] = std::atan2(after.y - before.y, after.x - before.x) * 57.29578f;
    }
}

void resetMapSelection() {
    menus.selectedLevel = 0;
    // On a mode page the hover frame marks the chosen level; it goes back with it.
    if (isModePage(currentPageId())) menus.hoveredWidget = 0;
}

void loadMap() {
    levelMap.picture = loadPictureSized("menumap.jpg", 800, 600);
    levelMap.mark = getTexture("levelmark.tga");
    for (int i = 0; i < kArtefactCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "artefact%i.tga", i + 1);
        levelMap.artefacts[i] = getTexture(name);
    }
    int size = 0;
    uint8_t* data = openFile("trajectory1.spl", &size, true);
    // A path that cannot be read leaves every mark in the middle of the map rather than nowhere.
    if (!readMapPath(data, size > 0 ? static_cast<size_t>(size) : 0)) {
        std::fprintf(stderr, "trajectory1.spl is malformed; the level marks wait in the middle of the map\n");
    }
    releaseFile(data);
    computeMapPositions();
    levelMap.boardLevel = -1;
    setSceneryForMenus(); // the landscape behind the menus, read now rather than when the map first opens
}

namespace {

// The chosen level stands out on every part of the map: a golden ring round its mark, dark-edged so that
// it reads on snow as on forest, and its number above it.
void markChosenLevel(int chosen, float clock) {
    const MapPoint& p = levelMap.markAt[chosen];
    float grow = 2 * std::sin(clock * 0.006f);
    const Texture* sheet = particleSystem.sheet;
    TexRect ring = sheetFrame(2, sheet ? sheet->width : 1024, sheet ? sheet->height : 1024);
    setTexture(sheet);
    drawCentered(p.x, p.y - 1, 52 + grow, 52 + grow, ring, 0xD0000000u);
    drawCentered(p.x, p.y, 46 + grow, 46 + grow, ring, 0xFFFFD040u);
    char number[16];
    std::snprintf(number, sizeof number, "%i", chosen + 1);
    float y = p.y + 21;
    setTextColor(0xE0000000u);
    for (float dx : {-1.5f, 1.5f})
        for (float dy : {-1.5f, 1.5f}) drawTextCentered(p.x + dx, y + dy, 11, number);
    setTextColor(255, 240, 150, 255);
    drawTextCentered(p.x, y, 11, number);
    setTextColor(0xFFFFFFFFu);
}

} // namespace

void drawLevelMap() {
    int highest = profileHighestLevel();
    int current = profileLevel();
    int chosen = menus.selectedLevel;
    float clock = levelMap.mapClockMs;
    begin2D();
    setTexture(levelMap.picture);
    setOpaqueDrawing(true);
    drawRect(-400, 300, 400, -300, kWholeTexture, 0xFFFFFFFF);
    setOpaqueDrawing(false);
    bool allOpen = allLevelsOpen();
    int lit = highest == kLevelCount - 1 || allOpen ? kZoneCount
                                                    : currentProfile().openZone[currentProfile().profileMode];
    for (int i = 0; i < kArtefactCount; ++i) {
        setTexture(levelMap.artefacts[i]);
        uint32_t colour = i <= lit ? 0xFFFFFFFF : argb(255, 255, 155, 100);
        drawCentered(levelMap.artefactAt[i].x, levelMap.artefactAt[i].y, 64, 64, kWholeTexture, colour);
    }
    float d = std::sin(clock * 0.001f);
    float wave = d > 0.7f ? (d - 0.7f) / 0.3f : 0;
    setTexture(levelMap.mark);
    for (int e = 0; e < kLevelCount; ++e) {
        float g = (std::sin(-0.2f * e + clock * 0.005f) + 1) * wave / 2;
        float size = 16;
        uint32_t colour;
        if (e == chosen) {
            float c = (std::sin(clock * 0.01f) + 1) / 2;
            colour = argb(static_cast<int>(255 - 200 * c), static_cast<int>(255 * c), 0, 255);
            if (chosen != current) size = 16 + 2.5f * std::sin(clock * 0.03f);
        } else if (!allOpen && e > highest) {
            colour = argb(255, 255, 155, static_cast<int>(100 + 155 * g));
        } else {
            colour = argb(255, static_cast<int>(55 + 185 * g), 55, 255);
        }
        const MapPoint& p = levelMap.markAt[e];
        drawRotated(p.x, p.y, p.x, p.y, levelMap.markAngle[e], size, size, kWholeTexture, colour);
    }
    if (chosen >= 0 && chosen < kLevelCount) markChosenLevel(chosen, clock);
    // The chosen level's board in the corner.
    if (chosen >= 0 && chosen < kLevelCount) {
        cacheBoardPicture(chosen);
        // The cells with the board's own square pictures, a kind at a time (one texture each).
        for (int picture = 1; picture <= 3; ++picture) {
            setTexture(gameTextures.squares[picture - 1]);
            for (int x = 0; x < 20; ++x) {
                for (int y = 0; y < 15; ++y) {
                    if (levelMap.boardCells[x][y] != picture) continue;
                    Point c = cellCentre(x + kPlayLeft, y + kPlayTop);
                    drawCentered(c.x * 0.2f + 315 + 13.86f, c.y * 0.2f + 205, 9.24f, 9.24f, kWholeTexture,
                                 0xFFFFFFFFu);
                }
            }
        }
        char number[16];
        std::snprintf(number, sizeof number, "%i", chosen + 1);
        setTextColor(0xFFFFFFFFu);
        drawTextCentered(270, 275, 12, number);
    }
}

void drawMap() {
    levelMap.mapClockMs += app.frameTimeMs;
    menuUpdate(); // the page as this frame shows it, before any of it is drawn
    begin2D();
    if (levelMap.mapView == 1) {
        drawLevelMap();
    } else {
        clearColor(0xFF000000u);
        setSceneryMenuFade(1.0f);
        bool lowDetail = beginLowDetailLayers(); // the pebble is part of the painted landscape
        float left, top, right, bottom;
        // The backdrop's fill is drawn over the landscape in this picture: nothing need be filled under it.
        if (lowDetail && panelBackdropCover(left, top, right, bottom))
            setSceneryCovered(left, top, right, bottom);
        drawScenery();
        drawMenuOrnament();
        if (lowDetail) {
            // A page at rest lays its panel's soft shadow and grained fill among the painted layers: the
            // same picture, filled once at the landscape's size instead of at the screen's.
            drawPanelBackdrop();
            endLowDetailLayers();
        }
        begin2D();
    }
    menuDraw();
    if (!(menuHost.demoRunning &&
          menuHost.demoRunning())) { // the demonstration's own effects would be drawn at the map's scale
        updateEffects();
        drawEffects();
    }
    MenuPoint m = menuMouse();
    drawCursor(m.x, m.y);
    updateAudio();
}

bool levelMapKey(unsigned key) {
    if (key != kKeyLeft && key != kKeyRight) return false;
    int step = key == kKeyLeft ? -1 : 1;
    // Locked levels are passed over; at either end of the open ones the choice stays.
    for (int level = menus.selectedLevel + step; level >= 0 && level < kLevelCount; level += step) {
        if (!levelOpenOnMap(level)) continue;
        menus.selectedLevel = menus.hoveredWidget = level;
        menus.hoverIdleTimer = 0;
        menus.selectedItem = 0; // Return starts the chosen level
        playSound("menu.ogg");
        break;
    }
    return true;
}
