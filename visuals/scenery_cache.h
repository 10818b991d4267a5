// The still part of the scenery kept as a captured picture. Behind the menus and a level only the sky,
// the water and the waterfalls scroll beneath the stage picture; the picture and the objects that stand
// still change only with the stage, the tint or the size of the picture. So they are drawn once into a
// captured picture, with a second capture of their coverage, looked at in square tiles: where they hide
// everything beneath, the picture is copied each frame (no blending, one pass); where nothing still is
// drawn, the moving layers are drawn alone; elsewhere every layer is drawn as before. Every pixel comes
// out as drawing all the layers would make it.
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec4.hpp>

// Which of the scenery's layers a pass draws.
constexpr int kMovingLayers = 1; // the sky, the water and the waterfalls that scroll
constexpr int kStillLayers = 2;  // the stage picture and the objects that stand still
constexpr int kAllLayers = kMovingLayers | kStillLayers;

// How a rectangle of the picture is drawn each frame.
enum class TileKind : uint8_t {
    captured, // the still layers hide everything beneath: copied from the captured picture
    moving,   // nothing still is drawn there: the moving layers alone
    every,    // every layer, as without a capture
};

struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0; // pixels from the top left of what is drawn into
    TileKind kind = TileKind::every;
};

constexpr int kCoverageTile = 32;     // pixels on a side of the tiles the coverage is judged in
constexpr int kMaxPictureRects = 192; // more rectangles than this and the capture is not used

// The rectangles of a coverage, built a row at a time from the top: tiles of one kind side by side
// join, and a run of tiles exactly below one of the same kind and span lengthens it.
struct CoverageRects {
    int width = 0, height = 0, rowsSeen = 0;
    std::vector<uint8_t> allHidden, noneDrawn; // per tile of the current row of tiles
    PictureRect rects[kMaxPictureRects];
    int count = 0;
    std::vector<int> open, next; // the rects that end at the last row of tiles, and at this one
    bool overflow = false;       // more rectangles than fit
};
void startCoverage(CoverageRects& c, int width, int height); // makes its storage (not per frame)
// One more row by its coverage: width alphas, 1 where something still hides what lies beneath, 0 where
// nothing still is drawn.
void addCoverageRow(CoverageRects& c, const float* alpha);

// What the still layers look like: when any part changes, the captures are made again.
struct StillSceneryKey {
    int background = -1;
    const void* picture = nullptr; // the stage picture
    glm::vec4 tint = glm::vec4(0.0f);
    int width = 0, height = 0; // pixels of what it is drawn into (the low-detail picture or the area)
    bool operator==(const StillSceneryKey&) const = default;
};

// The parts of r outside the hole, as at most four rectangles of r's kind (rows above and below the
// hole, then the pieces beside it); returns their count.
int piecesOutside(const PictureRect& r, const PictureRect& hole, PictureRect out[4]);

// Draws the layers of the current background through the capture: makes the captures first when the
// key has stood still for a frame. False (nothing drawn) while the key is changing or when the backend
// cannot capture: the caller draws every layer itself. drawLayers draws the given layers in order.
// Nothing is drawn inside covered (pixels of what is drawn into; width 0: none): something opaque
// drawn over the landscape later in the frame hides it.
bool drawSceneryThroughCapture(StillSceneryKey key, void (*drawLayers)(int layers),
                               const PictureRect& covered = PictureRect{});
void forgetSceneryCapture(); // the next frame starts over (tests, a lost display)
int sceneryCaptureRects();   // the rectangles the capture in use draws by; 0: none in use
