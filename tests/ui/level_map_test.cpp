#include <gtest/gtest.h>

#include <memory>

#include <cstring>
#include <limits>
#include <vector>

#include "game/board.h"
#include "game/live_rules.h"
#include "game/rules.h"
#include "ui/level_map.h"

namespace {
// A straight path along x from -700 at 20 units a point.
std::vector<uint8_t> straightPath(int points, float length) {
    std::vector<uint8_t> bytes(8 + 8 * points + 40);
    std::memcpy(bytes.data(), &points, 4);
    std::memcpy(bytes.data() + 4, &length, 4);
    for (int i = 0; i < points; ++i) {
        float x = -700 + 20.0f * i, y = 0;
        std::memcpy(bytes.data() + 8 + 8 * i, &x, 4);
        std::memcpy(bytes.data() + 12 + 8 * i, &y, 4);
    }
    return bytes;
}
} // namespace

TEST(LevelMap, ArtefactsAndMarksSitAtTheirDistancesAlongThePath) {
    resetLevelMap();
    auto bytes = straightPath(71, 1400);
    ASSERT_TRUE(readMapPath(bytes.data(), bytes.size()));
    computeMapPositions();
    EXPECT_FLOAT_EQ(levelMap.artefactAt[3].x, -700 + 300);
    EXPECT_FLOAT_EQ(levelMap.artefactAt[3].y, 30); // points move 30 units up
    EXPECT_FLOAT_EQ(levelMap.markAt[7].x, -700 + 148);
    EXPECT_NEAR(levelMap.markAngle[7], 0, 1e-3);
    EXPECT_NEAR(levelMap.artefactAt[14].x, -700 + 1399.9f, 1e-3);
}

TEST(LevelMap, PointsBeyondThePathLieOffTheScreen) {
    resetLevelMap();
    auto bytes = straightPath(71, 1400);
    ASSERT_TRUE(readMapPath(bytes.data(), bytes.size()));
    EXPECT_FLOAT_EQ(pointOnPath(1401).x, -1000);
    EXPECT_FLOAT_EQ(pointOnPath(-1).x, 1000);
    EXPECT_FLOAT_EQ(pointOnPath(1400).x, -700 + 1400); // the last point
}

TEST(LevelMap, AMalformedPathIsRefusedWithoutReadingPastIt) {
    resetLevelMap();
    auto bytes = straightPath(71, 1400);
    EXPECT_FALSE(readMapPath(bytes.data(), 8 + 8 * 70)); // claims more points than it holds
    EXPECT_EQ(levelMap.path.points.size(), 0);
    EXPECT_FALSE(readMapPath(bytes.data(), 4));
    int negative = -5;
    std::memcpy(bytes.data(), &negative, 4);
    EXPECT_FALSE(readMapPath(bytes.data(), bytes.size()));
}

TEST(LevelMap, APathLengthThatIsNoDistanceIsRefusedAndAHugeOneStaysOnThePath) {
    const float refused[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), -20, 0};
    for (float length : refused) {
        resetLevelMap();
        auto bytes = straightPath(71, length);
        EXPECT_FALSE(readMapPath(bytes.data(), bytes.size())) << length;
        EXPECT_EQ(levelMap.path.points.size(), 0);
        computeMapPositions(); // without a path every mark waits in the middle of the map
        EXPECT_FLOAT_EQ(levelMap.markAt[69].x, 0);
        EXPECT_FLOAT_EQ(levelMap.artefactAt[14].y, 0);
    }
    // A finite length far beyond the points: every distance past them is the last point, none an index
    // outside the path.
    resetLevelMap();
    auto bytes = straightPath(71, 3e38f);
    ASSERT_TRUE(readMapPath(bytes.data(), bytes.size()));
    computeMapPositions();
    for (int e = 0; e < kLevelCount; ++e) EXPECT_FLOAT_EQ(levelMap.markAt[e].x, -700 + 1400) << e;
    EXPECT_FLOAT_EQ(pointOnPath(1e30f).x, -700 + 1400);
    EXPECT_FLOAT_EQ(pointOnPath(std::numeric_limits<float>::quiet_NaN()).x, 0);
}

TEST(LevelMap, TheBoardPreviewShowsEachCellWithItsSquaresPicture) {
    auto preview = std::make_unique<Rules>(); // a board of its own, as the map's preview has
    Rules& board = *preview;
    board.at(6, 5).square = 0;
    board.at(7, 5).square = 1;
    board.at(8, 5).square = 2;
    board.at(9, 5).square = 3;                     // deeper than the pictures go
    EXPECT_EQ(previewCellPicture(board, 5, 5), 0); // no cell
    EXPECT_EQ(previewCellPicture(board, 6, 5), 1);
    EXPECT_EQ(previewCellPicture(board, 7, 5), 2); // busy squares are not drawn as clean ones
    EXPECT_EQ(previewCellPicture(board, 8, 5), 3);
    EXPECT_EQ(previewCellPicture(board, 9, 5), 3);
}
