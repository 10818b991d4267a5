#include "game/level_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/file_registry.h"
#include "engine/keyed_reader.h"
#include "game/game_state.h"
#include "game/help_board.h"
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
int readLayout(std::string_view text) {
    std::string_view grid = afterKey(text, "level=");
    if (grid.data() == nullptr) return 0;
    GridReader reader{grid, 0};
    int cells = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            char c = reader.next(isLayoutChar);
            if (c == 0) return cells;
            cells += c == '.' ? 0 : 1;
            Cell& cell = cellAt(x, y);
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

void readBonusFigure(std::string_view text) {
    for (int& entry : game.bonusFigure) entry = -1;
    std::string_view grid = afterKey(text, "bonusfigure=");
    if (grid.data() == nullptr) return;
    GridReader reader{grid, 0};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            char c = reader.next(isFigureChar);
            if (c == 0) return;
            game.bonusFigure[i * 3 + j] = c == '.' ? -1 : c - '0';
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

bool readLevelText(std::string_view text) {
    char value[32];
    readValueText(text, "hammer=", value, sizeof(value));
    game.hammerEnabled = std::strcmp(value, "no") != 0;
    int colours = readInt(text, "colors=");
    // Kinds 8 and up are no colours: a level cannot deal more than eight.
    if (colours > 0) game.colourCount = colours < kColourCount ? colours : kColourCount;
    game.levelDownTimeMs = readInt(text, "leveldowntime=");
    game.ballsPerTurn = levelBallsPerTurn(readInt(text, "addballs="));
    game.barValue = readFloat(text, "balls4destroy=");
    game.barGoal = game.barValue;
    game.jokerFrequency = levelJokerFrequency(readInt(text, "jockerfrequency="));
    game.timeLimitSec = static_cast<int>(parseTimeLimit(readFloat(text, "time4level=")));
    clearBoard();
    int cells = readLayout(text);
    readBonusFigure(text);
    return cells > 0;
}

bool loadLevel(int levelIndex) {
    char name[64];
    levelFileName(levelIndex, name, sizeof(name));
    game.hammerEnabled = true;
    int size = 0;
    uint8_t* data = openFile(name, &size, levelFiles.missingIsFatal);
    if (!data) return false;
    bool playable = readLevelText(fileText(data, size));
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

void readHelpText(std::string_view text, int variant, int colourShift) {
    resetHelpPlay(); // a selection or a move of the previous demonstration board has no meaning here
    for (bool& set : levelFiles.demoPointSet) set = false;
    clearBoard();
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
                Cell& cell = cellAt(x, y);
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
                    if (game.mode != kModePuzzle) cell.square = 0;
                    cell.scale = 0.5f;
                }
            }
        }
    }
}

bool loadHelpBoard(int page, int variant, int colourShift) {
    char name[32];
    std::snprintf(name, sizeof(name), "levels/help%i.lvl", page + (variant == 0 ? 4 : 0));
    int size = 0;
    uint8_t* data = openFile(name, &size, false);
    if (!data) return false;
    currentBoard = &helpBoard;
    readHelpText(fileText(data, size), variant, colourShift);
    currentBoard = &gameBoard;
    releaseFile(data);
    return true;
}
