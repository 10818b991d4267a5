// Scenery: the sixteen landscapes behind the board and the map, their scene files, and the tiling
// pictures of the animated scenery objects.
#pragma once

#include "image.h"

#include <string>
#include <vector>

// One object of a scene file ("level%i.lev"), in scene units (origin at the screen centre, y up).
struct SceneObject {
    std::string type; // type name, looked up in "gameobjs.txt"
    float left, top, right, bottom;
    int depth = 0;
    float paramX = 0, paramY = 0; // scroll speed or swing base
    bool mirror = false;
    int firstPass = 0;
};

std::vector<uint8_t> encodeSceneFile(const std::string& sceneName, const std::vector<SceneObject>& objects);

struct Landscape {
    Image picture;                    // 800 x 600, transparent where the sky and the water show through
    std::vector<SceneObject> objects; // sky, water, spray, leaves placed on it
};

Landscape paintLandscape(int theme); // theme 0 (menus) and 1..15 (one per stage of the map)
