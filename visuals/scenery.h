// The animated scenery behind the board and the level map: a background picture per stage, scene
// objects that scroll, sprinkle or swing on it, a time-of-day tint, the 6000 ms background change and
// the ambient sounds.
#pragma once

#include <cstdint>

#include <glm/vec4.hpp>

#include "engine/limits.h"
#include "platform/fixed_list.h"
#include "platform/ring.h"

struct Texture;
struct MeshObject;

// One entry of "gameobjs.txt": a picture or a mesh object, with the number of its group.
struct GameObjectType {
    char name[32];
    Texture* texture; // pictures (".tga", ".jpg"); null for mesh objects
    MeshObject* mesh; // mesh objects (".cgo"); null for pictures
    int group;
};

// The animation an object gets from the words in its type name.
enum SceneAnimation : uint8_t {
    kAnimNone = 0,
    kAnimSky,
    kAnimWaterfall,
    kAnimWater,
    kAnimSpray,
    kAnimLeaves1,
    kAnimLeaves2,
    kAnimLeaves,
};

// One object of a scene file (65 bytes on disk) and its animation state.
struct SceneObject {
    int type;                       // index into the types; -1: unknown, never drawn
    float left, top, right, bottom; // screen units, y upward
    int depth;
    float paramX, paramY; // scroll or swing parameters
    bool mirror;
    int firstPass;      // non-zero: drawn with the animated objects
    float clockMs;      // own clock, starting at a random phase 0..500
    float sprayAccumMs; // spray: time towards the next drop
    uint32_t color;     // ARGB, white at load
    SceneAnimation animation;
};

struct SceneFile {
    char name[64];
    FixedList<SceneObject, kMaxSceneObjects> objects; // a file's objects past the limit are left out
};

struct SprayDrop {
    float x, y;
    float ageMs; // lives 2000 ms
    bool live;
};

struct QueuedLeaves {
    const SceneObject* object;
    float angle; // radians, around the left edge of the rectangle
    uint32_t color;
};

// The scenery's process-wide state.
struct Scenery {
    FixedList<GameObjectType, kMaxGameObjectTypes> types; // in file order; full: later types are ignored
    SceneFile scenes[kSceneCount]; // the cached scene files, indexed by background number
    Texture* currentBack;          // "_a_back%i.jpg" of the current background
    Texture* nextBack;             // the background fading in during a change
    int currentBackground;         // 0..15
    int nextBackground;
    int requestedBackground; // -1: none; loaded on the next update
    glm::vec4 tint;          // the current time-of-day tint
    glm::vec4 tintTarget;
    int timeOfDay;  // 0 night, 1 morning, 2 day
    float changeMs; // background change timer, 6000 .. 0
    float menuFade; // 1: no menu; the tint's colour channels get 0.8 + 0.2 m
    // The newest drop overwrites the oldest.
    Ring<SprayDrop, kMaxSprayDrops> drops;
    // Queued this frame; full: the rest are not drawn.
    FixedList<QueuedLeaves, kMaxLeavesPerFrame> leaves;
    uint32_t ambientMs; // the ambient clock
    int birdCounter;
    bool loaded;          // types read and scenes cached
    MeshObject* ornament; // the pebble turning on the menus' landscape; null when missing
    // A rectangle of screen space that something opaque covers later in this frame (see
    // setSceneryCovered); right <= left: none.
    float coveredLeft, coveredTop, coveredRight, coveredBottom;
};

extern Scenery scenery;

constexpr float kBackgroundChangeMs = 6000.0f;

void resetScenery();                                 // launch values, nothing loaded (tests)
void loadScenery();                                  // start-up: "gameobjs.txt" and the 16 scene files
int readGameObjectTypes(const char* text, int size); // the types of a "gameobjs.txt" text; returns the count
int findGameObjectType(const char* name);            // index, or -1
bool parseSceneFile(const uint8_t* data, int size, SceneFile& out); // false: malformed (out left empty)
SceneAnimation animationOfType(const char* typeName);               // from the words of a type name
int backgroundForLevel(int levelIndex);                             // levelIndex / 5 + 1; negative: 0
void setBackgroundForLevel(int levelIndex);                         // the stage's background at once
void requestBackgroundChange(int levelIndex); // the stage's background on the next update
void enterLevelScenery(
    int levelIndex);                   // a level's scenery: changes over when its stage follows the shown one
void updateScenery();                  // a requested change starts; the tint eases
void setSceneryTimeOfDay(int kind);    // 0 night, 1 morning, 2 day: the target tint
void setSceneryTimeOfDayNow(int kind); // the same, and the tint at once
void setSceneryMenuFade(float m);      // a menu's fade over the scenery (1: none)
// Something opaque will be drawn over this rectangle of screen space after the scenery in this frame
// (a panel's fill): the next drawScenery may leave the pixels wholly inside it unfilled. For one frame.
void setSceneryCovered(float left, float top, float right, float bottom);
glm::vec4 timeOfDayTint(int kind); // the tint of a time of day
void drawScenery(float scaleX = 1.0f,
                 float scaleY = 1.0f);              // the whole scenery, first in a frame (scaled by a shake)
void drawMenuOrnament();                            // the menus' mesh ornament, in 3D
void setSceneryForMenus();                          // white, the menus' background (behind the map's pages)
void playAmbientSounds(int stage, bool gamePassed); // the rhythms of birds and water
bool ambientDue(uint32_t clockMs, uint32_t deltaMs, uint32_t periodMs); // a period's sound plays now
