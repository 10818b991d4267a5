// Every fixed capacity of the game in one place. Pools and rings are sized by these and never grow.
#pragma once

#include "platform/limits.h" // the screen and the render batch, which the window and backend size by

constexpr int kMaxFiles = 1024;         // registered files (archives' entries and files read from disk)
constexpr int kMaxTexts = 1024;         // entries of the three text tables together
constexpr int kMaxTextures = 1023;      // texture records
constexpr int kMaxSamples = 256;        // loaded sound samples
constexpr int kMaxVoices = 256;         // voices of the mixer, a ring: the newest overwrites the oldest
constexpr int kMaxRemovalEntries = 256; // removal-queue entries
constexpr int kMaxEffectDefs = 256;     // particle effect definitions
constexpr int kMaxEmitters = 256;       // particle emitters, a ring
constexpr int kMaxParticles = 1024;     // particles, a ring
constexpr int kMaxMenuPages = 256;      // pages of the menu file
constexpr int kMaxMenuItems = 16;       // items of one page
constexpr int kMaxWidgets = 128;        // widget slots of the menu pages, filled in drawing order
constexpr int kMaxProfiles = 8;         // player profiles
constexpr int kLevelCount = 70;         // levels of one mode
constexpr int kModeCount = 3;           // classic, puzzle, action

constexpr int kMaxKeptArchives = 8;     // archive buffers kept after release while their packed files remain
constexpr int kMaxFileNameLength = 127; // characters of a registered file name
constexpr int kMaxArchiveNameLength = 67; // characters of a name stored in an archive entry
constexpr int kMaxTextKeyLength = 19;     // characters of a text-table key
constexpr int kHiscoreLines = 10;         // lines of one mode's high-score table
constexpr int kZoneCount = 14;            // zones of a mode
constexpr int kLevelsPerZone = 5;         // levels of a zone

constexpr int kMaxEffectSprites = 8192;  // sprites of the effects' draw list in one frame; more are dropped
constexpr int kMaxQuickParticles = 2048; // quick particles, a ring
constexpr int kMaxQueuedSprites = 4095;  // sprites queued for drawQuick in one frame; more are dropped
constexpr int kMaxMarkerEmitters = 32;   // marker emitters, a ring

constexpr int kMaxFonts = 8;               // loaded fonts
constexpr int kWrapBufferSize = 1024;      // the wrapped copy of a text (1023 characters and the 0)
constexpr int kMaxPopupTexts = 16;         // pop-up texts, a ring: the 17th reuses the first slot
constexpr int kMaxLetterTexts = 256;       // flying letters, a ring
constexpr int kMaxLightningBolts = 63;     // lightning bolts queued in one frame; more are ignored
constexpr int kMaxLightningSegments = 100; // segments of one bolt

constexpr int kMaxPathPoints = 256; // route entries of a move (the last is the start cell itself)
constexpr int kMaxBarStars = 256;   // bar stars, a ring: a new star replaces the oldest, which still counts

constexpr int kMaxGameObjectTypes = 512; // scenery object types of "gameobjs.txt"
constexpr int kSceneCount = 16;          // scene files "level0.lev".."level15.lev", one per background
constexpr int kMaxSceneObjects = 256;    // objects of one scene file; more are ignored
constexpr int kMaxSprayDrops = 256;      // spray drops, a ring: the newest overwrites the oldest
constexpr int kMaxLeavesPerFrame = 128;  // leaves queued in one frame; more are not drawn
constexpr int kMaxMeshes = 256;          // cached meshes
constexpr int kMaxMeshObjects = 64;      // cached mesh objects
constexpr int kMaxMeshesPerObject = 16;  // meshes of one mesh object
constexpr int kMaxBoundsPerObject = 16;  // bounds of one mesh object
constexpr int kMaxMeshVertices = 65536;  // positions or faces of one mesh file
