#include "visuals/scenery_cache.h"

#include <algorithm>

#include "engine/render.h"

namespace {

struct SceneryCapture {
    StillSceneryKey lastKey;  // the key of the last frame
    StillSceneryKey captured; // the key of the captured pictures
    bool valid = false;
    bool failed = false; // not captured for this key: drawn directly until the key changes
    CoverageRects rects;
    std::vector<float> row; // one row of coverage, made at a capture (never per frame)
};

SceneryCapture capture;

// The row of tiles just finished into rectangles.
void closeTileRow(CoverageRects& c) {
    int top = ((c.rowsSeen - 1) / kCoverageTile) * kCoverageTile;
    int height = c.rowsSeen - top;
    int tiles = static_cast<int>(c.allHidden.size());
    auto kindOf = [&](int i) {
        return c.allHidden[i] ? TileKind::captured : c.noneDrawn[i] ? TileKind::moving : TileKind::every;
    };
    c.next.clear();
    for (int t = 0; t < tiles;) {
        TileKind kind = kindOf(t);
        int end = t + 1;
        while (end < tiles && kindOf(end) == kind) end++;
        int x = t * kCoverageTile, width = std::min(end * kCoverageTile, c.width) - x;
        int joined = -1;
        for (int i : c.open) {
            PictureRect& r = c.rects[i];
            if (r.x == x && r.width == width && r.kind == kind && r.y + r.height == top) joined = i;
        }
        if (joined >= 0) {
            c.rects[joined].height += height;
            c.next.push_back(joined);
        } else if (c.count == kMaxPictureRects) {
            c.overflow = true;
        } else {
            c.rects[c.count] = {x, top, width, height, kind};
            c.next.push_back(c.count++);
        }
        t = end;
    }
    c.open.swap(c.next);
    std::fill(c.allHidden.begin(), c.allHidden.end(), 1);
    std::fill(c.noneDrawn.begin(), c.noneDrawn.end(), 1);
}

// The coverage of the still layers into rectangles, then the still layers' colours over black.
bool makeCaptures(const StillSceneryKey& key, void (*drawLayers)(int)) {
    if (!beginPictureCapture(true)) return false;
    clearColor(0x00000000u);
    drawLayers(kStillLayers);
    capture.row.resize(static_cast<size_t>(key.width));
    startCoverage(capture.rects, key.width, key.height);
    bool read = true;
    for (int r = 0; r < key.height && read; r++) {
        read = readCoverageRow(r, capture.row.data());
        if (read) addCoverageRow(capture.rects, capture.row.data());
    }
    endPictureCapture();
    if (!read || capture.rects.overflow || !beginPictureCapture(false)) return false;
    clearColor(0xFF000000u);
    drawLayers(kStillLayers);
    endPictureCapture();
    return true;
}

} // namespace

void startCoverage(CoverageRects& c, int width, int height) {
    c.width = width;
    c.height = height;
    c.rowsSeen = 0;
    size_t tiles = static_cast<size_t>((width + kCoverageTile - 1) / kCoverageTile);
    c.allHidden.assign(tiles, 1);
    c.noneDrawn.assign(tiles, 1);
    c.open.clear();
    c.next.clear();
    c.open.reserve(tiles);
    c.next.reserve(tiles);
    c.count = 0;
    c.overflow = false;
}

void addCoverageRow(CoverageRects& c, const float* alpha) {
    if (c.rowsSeen >= c.height) return;
    for (int x = 0; x < c.width; x++) {
        size_t t = static_cast<size_t>(x / kCoverageTile);
        c.allHidden[t] &= alpha[x] == 1.0f;
        c.noneDrawn[t] &= alpha[x] == 0.0f;
    }
    c.rowsSeen++;
    if (c.rowsSeen % kCoverageTile == 0 || c.rowsSeen == c.height) closeTileRow(c);
}

int piecesOutside(const PictureRect& r, const PictureRect& hole, PictureRect out[4]) {
    int left = std::max(r.x, hole.x), right = std::min(r.x + r.width, hole.x + hole.width);
    int top = std::max(r.y, hole.y), bottom = std::min(r.y + r.height, hole.y + hole.height);
    if (hole.width <= 0 || hole.height <= 0 || left >= right || top >= bottom) {
        out[0] = r;
        return 1;
    }
    int n = 0;
    auto add = [&](int x, int y, int width, int height) {
        if (width > 0 && height > 0) out[n++] = {x, y, width, height, r.kind};
    };
    add(r.x, r.y, r.width, top - r.y);                    // above the hole
    add(r.x, bottom, r.width, r.y + r.height - bottom);   // below it
    add(r.x, top, left - r.x, bottom - top);              // to its left
    add(right, top, r.x + r.width - right, bottom - top); // to its right
    return n;
}

bool drawSceneryThroughCapture(StillSceneryKey key, void (*drawLayers)(int layers),
                               const PictureRect& covered) {
    drawingSize(&key.width, &key.height);
    bool steady = key == capture.lastKey;
    capture.lastKey = key;
    if (!(key == capture.captured)) {
        capture.valid = capture.failed = false;
        capture.captured = key;
    }
    if (!steady || capture.failed) return false;
    if (!capture.valid) {
        capture.valid = makeCaptures(key, drawLayers);
        capture.failed = !capture.valid;
        if (!capture.valid) return false;
    }
    // The copies first (one pass, nothing beneath them is read), then the rectangles drawn in layers.
    PictureRect pieces[4];
    for (int i = 0; i < capture.rects.count; i++) {
        const PictureRect& r = capture.rects.rects[i];
        if (r.kind != TileKind::captured) continue;
        for (int n = piecesOutside(r, covered, pieces), k = 0; k < n; k++) {
            clipPicture(pieces[k].x, pieces[k].y, pieces[k].width, pieces[k].height);
            drawCapturedPicture();
        }
    }
    for (int i = 0; i < capture.rects.count; i++) {
        const PictureRect& r = capture.rects.rects[i];
        if (r.kind == TileKind::captured) continue;
        for (int n = piecesOutside(r, covered, pieces), k = 0; k < n; k++) {
            clipPicture(pieces[k].x, pieces[k].y, pieces[k].width, pieces[k].height);
            drawLayers(r.kind == TileKind::moving ? kMovingLayers : kAllLayers);
        }
    }
    clipPicture(0, 0, 0, 0);
    return true;
}

void forgetSceneryCapture() {
    capture.lastKey = capture.captured = StillSceneryKey();
    capture.valid = capture.failed = false;
    capture.rects.count = 0;
}

int sceneryCaptureRects() {
    return capture.valid ? capture.rects.count : 0;
}
