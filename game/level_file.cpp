#include "game/level_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "platform/message_box.h"

LevelFiles levelFiles;

namespace {
// Walks a layout grid: skips what is not a cell character, ends at the text's end or an empty line.
struct GridReader {
    std::string_view text;
    size_t pos;

    bool atEmptyLine() const { return text.compare(pos, 4, "\r\n\r\n") == 0; }

    // The next cell character, or 0 when the grid has ended.
    template <typename IsCell> char next(IsCell isCell) {
        while (pos < text.size()) {
            char c = text[pos];
            if (c == 0 || atEmptyLine()) return 0;
            ++pos;
            if (isCell(c)) return c;
        }
        return 0;
    }
};

bool isLayoutChar(char c) {
    return (c >= '0' && c <= 'z') || c == '.';
}
bool isFigureChar(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

// A ball as the level files create it: appearing, at rest.
void putBall(Cell& cell, int kind, int chains) {
    Ball& ball = cell.ball;
    ball.kind = kind;
    ball.offsetX = 0;
    ball.offsetY = 0;
    ball.appearMs = 500;
    ball.ballClockMs = 0;
    ball.moveTimeLeftMs = 0;
    ball.moveTargetX = -1;
    ball.moveTargetY = -1;
    ball.chains = chains;
    cell.pendingKind = kNoPiece;
    cell.pendingMs = 0;
}

void putEmpty(Cell& cell) {
    putBall(cell, kNoPiece, 0);
    cell.ball.appearMs = -1;
    cell.square = 0;
}

std::string_view afterKey(std::string_view text, const char* key) {
    size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    return text.substr(at + std::strlen(key));
}

// Reads the layout; returns the number of cells it made (holes are none).
int readLayout(Rules& r, std::string_view text) {
    std::string_view grid = afterKey(text, "level=");
    if (grid.data() == nullptr) return 0;
    GridReader reader{grid, 0};
    int cells = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            char c = reader.next(isLayoutChar);
            if (c == 0) return cells;
            cells += c == '.' ? 0 : 1;
            Cell& cell = r.at(x, y);
            if (c == '.') {
                cell.square = -1;
            } else if (c >= '0' && c <= '9') {
                cell.square = c - '0';
            } else if (c >= 'a' && c <= 'h') {
                putBall(cell, c - 'a', 0);
                cell.square = 0;
            } else if (c >= 'A' && c <= 'H') {
                putBall(cell, c - 'A', 1);
                cell.square = 2;
            } else if (c == 'X') {
                putBall(cell, 0, 0);
                cell.square = 0;
            } else if (c == 'Z') {
                putBall(cell, 0, 0);
                cell.square = 1;
            } else {
                putEmpty(cell); // any other character is an empty clean cell
            }
        }
    }
    return cells;
}

void readBonusFigure(Rules& r, std::string_view text) {
    for (int& entry : r.game.bonusFigure) entry = -1;
    std::string_view grid = afterKey(text, "bonusfigure=");
    if (grid.data() == nullptr) return;
    GridReader reader{grid, 0};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            char c = reader.next(isFigureChar);
            if (c == 0) return;
            r.game.bonusFigure[i * 3 + j] = c == '.' ? -1 : c - '0';
        }
    }
}

// The text of a loaded file: its last byte (the final line break) gives way to the terminator.
std::string_view fileText(const uint8_t* data, int size) {
    return keyedText(data, size > 0 ? size - 1 : 0);
}
} // namespace

int levelBallsPerTurn(int value) {
    // A count in the billions would have the next move draw previews for minutes.
    return value < 0 ? 0 : value > kMaxBallsPerTurn ? kMaxBallsPerTurn : value;
}

int levelJokerFrequency(int value) {
    // One in zero would make every new ball a joker.
    return value > 0 ? value : kDefaultJokerFrequency;
}

float parseTimeLimit(float minutes) {
    // A file's number may be anything a float holds; beyond a million minutes (or not a number) the
    // seconds would no longer fit an int.
    constexpr float kLongestMinutes = 1e6f;
    if (!(minutes > -kLongestMinutes)) minutes = minutes < 0 ? -kLongestMinutes : 0;
    if (minutes > kLongestMinutes) minutes = kLongestMinutes;
    float whole = std::floor(minutes);
    return static_cast<float>(static_cast<int>(minutes) * 60 + static_cast<int>((minutes - whole) * 60));
}

void levelFileName(int levelIndex, char* name, int capacity) {
    if (levelIndex < 4) {
        std::snprintf(name, capacity, "levels/tut1_%.2i.lvl", levelIndex + 1);
    } else {
        std::snprintf(name, capacity, "levels/pack1_%.2i.lvl", levelIndex - 3);
    }
}

bool readLevelText(Rules& r, std::string_view text) {
    char value[32];
    readValueText(text, "hammer=", value, sizeof(value));
    r.game.hammerEnabled = std::strcmp(value, "no") != 0;
    int colours = readInt(text, "colors=");
    // Kinds 8 and up are no colours: a level cannot deal more than eight.
    if (colours > 0) r.game.colourCount = colours < kColourCount ? colours : kColourCount;
    r.game.levelDownTimeMs = readInt(text, "leveldowntime=");
    r.game.ballsPerTurn = levelBallsPerTurn(readInt(text, "addballs="));
    r.game.barValue = readFloat(text, "balls4destroy=");
    r.game.barGoal = r.game.barValue;
    r.game.jokerFrequency = levelJokerFrequency(readInt(text, "jockerfrequency="));
    r.game.timeLimitSec = static_cast<int>(parseTimeLimit(readFloat(text, "time4level=")));
    clearBoard(r);
    int cells = readLayout(r, text);
    readBonusFigure(r, text);
    return cells > 0;
}

bool loadLevel(Rules& r, int levelIndex) {
    char name[64];
    levelFileName(levelIndex, name, sizeof(name));
    r.game.hammerEnabled = true;
    int size = 0;
    uint8_t* data = openFile(name, &size, levelFiles.missingIsFatal);
    if (!data) return false;
    bool playable = readLevelText(r, fileText(data, size));
    releaseFile(data);
    if (playable) return true;
    // An empty, cut or foreign file would be a level won before a move: as unusable as a missing one.
    if (levelFiles.missingIsFatal) {
        char text[128];
        std::snprintf(text, sizeof(text), "Can't load %s...\nProgram will now stop.", name);
        fatalError("Loading Error", text, 1);
    }
    return false;
}

void readHelpText(Rules& r, std::string_view text, int variant, int colourShift) {
    // A selection or a move of the previous demonstration board has no meaning here.
    r.game.selectedX = r.game.selectedY = -1;
    for (PathPoint& point : r.game.pathPoints) point = {};
    r.game.pathLength = 0;
    r.game.moveDurationMs = 0;
    r.game.ballMoving = false;
    for (bool& set : levelFiles.demoPointSet) set = false;
    clearBoard(r);
    std::string_view grid = afterKey(text, "level=");
    if (grid.data() != nullptr) {
        GridReader reader{grid, 0};
        bool done = false;
        for (int y = kPlayTop; y <= kPlayBottom && !done; ++y) {
            for (int x = kPlayLeft; x <= kPlayRight; ++x) {
                char c = reader.next(isLayoutChar);
                if (c == 0) {
                    done = true;
                    break;
                }
                Cell& cell = r.at(x, y);
                int point = -1; // U, V, X, Y, Z
                if (c == '.') {
                    cell.square = -1;
                } else if (c >= '0' && c <= '9') {
                    cell.square = c - '0';
                } else if (c >= 'A' && c <= 'P') {
                    putBall(cell, ((colourShift + c - 'A') % 7 + 7) % 7, 0);
                    cell.square = 1;
                } else if (c >= 'a' && c <= 'p') {
                    putBall(cell, ((colourShift + c - 'a') % 7 + 7) % 7, 0);
                    cell.square = 0;
                } else if (c == 'u' || c == 'y') {
                    int kind = variant >= 1 && variant <= 4 ? variant + 9 : colourShift;
                    putBall(cell, kind, 0);
                    cell.square = 1;
                    point = c == 'u' ? 0 : 3;
                } else if (c == 'v' || c == 'z') {
                    putEmpty(cell);
                    cell.square = 1;
                    point = c == 'v' ? 1 : 4;
                } else if (c == 'x') {
                    cell.square = -1;
                    point = 2;
                } else {
                    putEmpty(cell);
                }
                if (point >= 0) {
                    levelFiles.demoPoints[point] = cellCentre(x, y);
                    levelFiles.demoPointSet[point] = true;
                }
                if (cell.square != -1) {
                    if (r.game.mode != kModePuzzle) cell.square = 0;
                    cell.scale = 0.5f;
                }
            }
        }
    }
    countFreeCells(r); // the demonstration's own count, which its moves then keep
}

bool loadHelpBoard(Rules& r, int page, int variant, int colourShift) {
    char name[32];
    std::snprintf(name, sizeof(name), "levels/help%i.lvl", page + (variant == 0 ? 4 : 0));
    int size = 0;
    uint8_t* data = openFile(name, &size, false);
    if (!data) return false;
    readHelpText(r, fileText(data, size), variant, colourShift);
    releaseFile(data);
    return true;
}
