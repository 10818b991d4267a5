// The level map of a mode: the map picture, the winding path with its artefacts at the zone borders,
// the seventy level marks, and the small picture of the chosen level's board.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/limits.h"
#include "platform/fixed_list.h"

struct Rules;
struct Texture;

constexpr int kArtefactCount = 15;
constexpr int kMaxMapPathPoints = 4096; // points of "trajectory1.spl"; a longer file is cut here
constexpr float kPathStep = 20;         // units between two points of the path

struct MapPoint {
    float x, y;
};

struct MapPath {
    FixedList<MapPoint, kMaxMapPathPoints> points; // one every kPathStep units along the path
    float length;                                  // path length in units
};

struct LevelMap {
    int mapView;      // 0 scenery, 1 level map, 4 scenery
    float mapClockMs; // grows on every draw
    Texture* picture; // "menumap.jpg"
    Texture* mark;    // "levelmark.tga"
    Texture* artefacts[kArtefactCount];
    MapPath path;
    MapPoint artefactAt[kArtefactCount];
    MapPoint markAt[kLevelCount];
    float markAngle[kLevelCount]; // degrees
    int boardLevel;               // level whose board picture is cached; -1 none
    int boardMode;
    uint8_t boardCells[20][15]; // 0 no cell, 1 clean square, 2 and 3 busy squares (the picture drawn)
};

extern LevelMap levelMap;

// The picture of a cell of a board in the map's board preview: 0 none, 1 clean square,
// 2 and 3 the busy squares.
uint8_t previewCellPicture(Rules& board, int x, int y);
void resetLevelMap();                               // empty path, scenery view (tests)
bool readMapPath(const uint8_t* data, size_t size); // the path file; false when malformed (path emptied)
MapPoint pointOnPath(float distance);               // off the screen beyond either end
void computeMapPositions();                         // artefacts and marks from the path
void loadMap();                                     // start-up: textures, path, positions
void drawLevelMap();                                // the map of the current mode (mapView 1)
void drawMap();                                     // the level-map scene's frame
// The arrows on a mode page: left and right choose the previous or next open level (Return then starts
// it with the page's first item). False for any other key.
bool levelMapKey(unsigned key);
void resetMapSelection(); // the chosen level back to the first (the word that closes the levels again)
