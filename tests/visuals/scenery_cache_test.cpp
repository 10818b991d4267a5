#include "visuals/scenery_cache.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A coverage of width x height alphas, all one value, fed row by row into rectangles.
struct Coverage {
    int width, height;
    std::vector<float> alpha;
    Coverage(int w, int h, float value) : width(w), height(h), alpha(static_cast<size_t>(w) * h, value) {}
    float& at(int x, int y) { return alpha[static_cast<size_t>(y) * width + x]; }
    void fill(int x0, int y0, int x1, int y1, float value) {
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) at(x, y) = value;
    }
    CoverageRects rects() {
        CoverageRects c;
        startCoverage(c, width, height);
        for (int y = 0; y < height; y++) addCoverageRow(c, &alpha[static_cast<size_t>(y) * width]);
        return c;
    }
};

// The kind drawn at a pixel, and that every pixel lies in exactly one rectangle.
TileKind kindAt(const CoverageRects& c, int x, int y, int* hits) {
    TileKind kind = TileKind::every;
    *hits = 0;
    for (int i = 0; i < c.count; i++) {
        const PictureRect& r = c.rects[i];
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
            kind = r.kind;
            (*hits)++;
        }
    }
    return kind;
}

TEST(SceneryCapture, OnlyTilesHiddenEverywhereAreCopiedAndNothingStillIsLeftOut) {
    const int t = kCoverageTile;
    Coverage cover(3 * t + 10, 2 * t + 5, 1.0f);       // a narrower last column and a lower last row of tiles
    cover.at(t + 7, 3) = 0.99f;                        // one pixel of the second tile lets the sky through
    cover.fill(2 * t, 0, 3 * t + 10, 2 * t + 5, 0.0f); // nothing still on the right
    cover.at(2 * t + 4, t + 2) = 0.002f;               // but for one faint pixel
    CoverageRects c = cover.rects();
    ASSERT_FALSE(c.overflow);
    for (int y = 0; y < cover.height; y++) {
        for (int x = 0; x < cover.width; x++) {
            int hits = 0;
            TileKind kind = kindAt(c, x, y, &hits);
            ASSERT_EQ(hits, 1) << x << "," << y;
            int tx = x / t, ty = y / t;
            bool hidden = tx == 0 || (tx == 1 && ty >= 1);             // tiles hidden everywhere
            bool mixed = (tx == 1 && ty == 0) || (tx == 2 && ty == 1); // the two odd pixels' tiles
            TileKind expected = hidden ? TileKind::captured : mixed ? TileKind::every : TileKind::moving;
            ASSERT_EQ(static_cast<int>(kind), static_cast<int>(expected)) << x << "," << y;
        }
    }
}

TEST(SceneryCapture, RowsOfLikeTilesJoinIntoFewRectangles) {
    const int t = kCoverageTile;
    Coverage cover(4 * t, 10 * t, 1.0f);
    cover.fill(0, 0, 4 * t, 3 * t, 0.0f);  // a sky band
    cover.fill(0, 3 * t, 1, 10 * t, 0.5f); // a soft left edge below it
    CoverageRects c = cover.rects();
    ASSERT_EQ(c.count, 3); // the band, the edge's column of tiles, the rest below
    for (int i = 0; i < c.count; i++) EXPECT_EQ(c.rects[i].width * c.rects[i].height > 0, true);
}

TEST(SceneryCapture, TooManyRectanglesAreNotUsed) {
    const int t = kCoverageTile;
    Coverage cover(64 * t, 8 * t, 1.0f);
    // A chequer of tiles, hidden and not: no run of tiles lies exactly below one of its kind.
    for (int y = 0; y < 8; y++)
        for (int x = (y % 2); x < 64; x += 2) cover.at(x * t, y * t) = 0.5f;
    CoverageRects c = cover.rects();
    EXPECT_TRUE(c.overflow);
    EXPECT_LE(c.count, kMaxPictureRects);
}

} // namespace

// What the landscape leaves out under a covered rectangle: the pieces of a rectangle outside it and the
// part inside it together are the rectangle, each pixel once, wherever the hole lies.
TEST(SceneryCapture, PiecesOutsideAHoleAndTheHoleMakeTheRectangle) {
    const PictureRect r{10, 20, 40, 30, TileKind::moving};
    const PictureRect holes[] = {{20, 30, 10, 10}, {0, 0, 100, 100}, {0, 25, 15, 5},  {45, 45, 20, 20},
                                 {60, 0, 5, 5},    {10, 20, 40, 1},  {30, 0, 1, 100}, {0, 0, 0, 0}};
    for (const PictureRect& hole : holes) {
        SCOPED_TRACE(testing::Message()
                     << hole.x << "," << hole.y << " " << hole.width << "x" << hole.height);
        PictureRect pieces[4];
        int n = piecesOutside(r, hole, pieces);
        ASSERT_LE(n, 4);
        for (int y = 0; y < 80; y++)
            for (int x = 0; x < 80; x++) {
                int hits = 0;
                for (int k = 0; k < n; k++) {
                    const PictureRect& p = pieces[k];
                    EXPECT_EQ(p.kind, r.kind);
                    hits += x >= p.x && x < p.x + p.width && y >= p.y && y < p.y + p.height;
                }
                bool inR = x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
                bool inHole =
                    x >= hole.x && x < hole.x + hole.width && y >= hole.y && y < hole.y + hole.height;
                ASSERT_EQ(hits, inR && !inHole ? 1 : 0) << "pixel " << x << "," << y;
            }
    }
}
