// The built pictures: every picture the game asks for is where the game looks for it, decodes with the
// game's decoder and has the size its drawing expects; the alpha-plane JPEGs split where the game
// splits them; the scene files and the map path fit their layouts and the painted map.
#include "pictures_built_data.h"
#include "ui/widgets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

using builtdata::fs::path;

struct Expected {
    std::string name;
    int width, height; // 0: any size
};

std::vector<Expected> archivedPictures() {
    std::vector<Expected> out = {
        {"jocker.tga", 64, 64},
        {"bomb.tga", 64, 64},
        {"superbomb.tga", 64, 64},
        {"shadow.tga", 64, 64},
        {"zep2.tga", 64, 64},
        {"field0.tga", 64, 64},
        {"field1.tga", 64, 64},
        {"field2.tga", 64, 64},
        {"field1a.tga", 64, 64},
        {"field2a.tga", 64, 64},
        {"fieldspodsv.tga", 64, 64},
        {"gamebar.tga", 128, 512},
        {"heart.tga", 0, 0},
        {"molotok1.tga", 64, 128},
        {"molotok2.tga", 64, 128},
        {"hammer_lum.jpg", 64, 128},
        {"flare.jpg", 0, 0},
        {"levelbar1.tga", 64, 512},
        {"levelbar2.tga", 64, 512},
        {"question.tga", 0, 0},
        {"menutex.tga", 256, 512},
        {"white.jpg", 0, 0},
        {"baloon.tga", 256, 128},
        {"button.tga", 128, 64},
        {"winfill.jpg", 0, 0},
        {"podsvet.jpg", 0, 0},
        {"particles.tga", 512, 512},
        {"menumap.jpg", 800, 600},
        {"levelmark.tga", 0, 0},
        {"hammercursor.tga", 64, 64},
        {"questioncursor.tga", 64, 64},
        {"font.tga", 1024, 1024},
        {"font2.tga", 1024, 1024},
        {"sky1.jpg", 0, 0},
        {"sky2.jpg", 0, 0},
        {"sky3.jpg", 0, 0},
        {"sky4.jpg", 0, 0},
        {"waterfall.jpg", 0, 0},
        {"water.jpg", 0, 0},
        {"spray.tga", 0, 0},
        {"leaves1.tga", 0, 0},
        {"leaves2.tga", 0, 0},
        {"leaves3.tga", 0, 0},
    };
    char name[32];
    for (int i = 0; i < 8; i++) {
        std::snprintf(name, sizeof name, "bal%02d.tga", i);
        out.push_back({name, 64, 64});
    }
    for (int i = 0; i < 16; i++) {
        std::snprintf(name, sizeof name, "diamond01%02d.tga", i);
        out.push_back({name, 64, 64});
    }
    for (int i = 1; i <= 15; i++) {
        std::snprintf(name, sizeof name, "artefact%d.tga", i);
        out.push_back({name, 64, 64});
    }
    return out;
}

uint8_t alphaAt(const DecodedPicture& p, int x, int y) {
    return p.rgba[(size_t(y) * p.width + x) * 4 + 3];
}

} // namespace

TEST(BuiltPictures, EveryArchivedPictureDecodesAtItsSize) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const Expected& e : archivedPictures()) {
        auto it = files.find(e.name);
        ASSERT_NE(it, files.end()) << e.name << " is not packed";
        DecodedPicture p;
        ASSERT_TRUE(builtdata::decode(it->second, p)) << e.name << " does not decode";
        if (e.width > 0) {
            EXPECT_EQ(p.width, e.width) << e.name;
            EXPECT_EQ(p.height, e.height) << e.name;
        }
        // Pictures in the archives end up as textures: power-of-two sides, except the map (padded).
        if (e.name != "menumap.jpg") {
            EXPECT_EQ(p.width & (p.width - 1), 0) << e.name;
            EXPECT_EQ(p.height & (p.height - 1), 0) << e.name;
        }
    }
}

TEST(BuiltPictures, PiecesAreRoundWithClearCorners) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (int i = 0; i < 8; i++) {
        char name[16];
        std::snprintf(name, sizeof name, "bal%02d.tga", i);
        DecodedPicture p;
        ASSERT_TRUE(builtdata::decode(files[name], p));
        EXPECT_EQ(alphaAt(p, 32, 32), 255) << name;
        EXPECT_EQ(alphaAt(p, 1, 1), 0) << name;
        EXPECT_EQ(alphaAt(p, 62, 62), 0) << name;
    }
    // The eight colours differ clearly: the mean colours of the balls are far apart pairwise.
    std::vector<std::array<int, 3>> centres;
    for (int i = 0; i < 8; i++) {
        char name[16];
        std::snprintf(name, sizeof name, "bal%02d.tga", i);
        DecodedPicture p;
        ASSERT_TRUE(builtdata::decode(files[name], p));
        long sum[3] = {0, 0, 0}, n = 0;
        for (int y = 8; y < 56; y++)
            for (int x = 8; x < 56; x++)
                if (alphaAt(p, x, y) == 255) {
                    for (int k = 0; k < 3; k++) sum[k] += p.rgba[(size_t(y) * 64 + x) * 4 + k];
                    n++;
                }
        ASSERT_GT(n, 0);
        centres.push_back({int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)});
    }
    for (size_t a = 0; a < centres.size(); a++)
        for (size_t b = a + 1; b < centres.size(); b++) {
            int d = std::abs(centres[a][0] - centres[b][0]) + std::abs(centres[a][1] - centres[b][1]) +
                    std::abs(centres[a][2] - centres[b][2]);
            EXPECT_GT(d, 70) << "balls " << a << " and " << b << " look alike";
        }
}

TEST(BuiltPictures, PlainFilesAndBackgroundsAreFullScreen) {
    REQUIRE_BUILT_PICTURES(data);
    const Expected plain[] = {
        {"splash1.jpg", 800, 600}, {"loadscreen.jpg", 800, 600}, {"loadbar.jpg", 310, 48}};
    for (const Expected& e : plain) {
        DecodedPicture p;
        ASSERT_TRUE(builtdata::decode(builtdata::readFile(data / e.name), p)) << e.name;
        EXPECT_EQ(p.width, e.width) << e.name;
        EXPECT_EQ(p.height, e.height) << e.name;
    }
    for (int i = 0; i <= 15; i++) {
        std::string name = "_a_back" + std::to_string(i) + ".jpg";
        std::vector<uint8_t> bytes = builtdata::readFile(data / "animbacks" / name);
        ASSERT_FALSE(bytes.empty()) << name;
        // The game splits at the first end-of-image marker: the rest must be exactly the alpha plane.
        size_t end = 0;
        for (size_t k = 0; k + 1 < bytes.size() && end == 0; k++)
            if (bytes[k] == 0xFF && bytes[k + 1] == 0xD9) end = k + 2;
        ASSERT_GT(end, 0u) << name;
        DecodedPicture jpeg;
        ASSERT_TRUE(decodePicture(bytes.data(), int(end), jpeg)) << name;
        EXPECT_EQ(jpeg.width, 800) << name;
        EXPECT_EQ(jpeg.height, 600) << name;
        EXPECT_EQ(bytes.size() - end, size_t(800 * 600)) << name;
        // The sky is open (the sky object shows through) and the ground is solid.
        DecodedPicture p;
        ASSERT_TRUE(builtdata::decode(bytes, p));
        int open = 0;
        for (int x = 0; x < 800; x++) open += alphaAt(p, x, 2) < 16;
        EXPECT_GT(open, 600) << name << ": the sky is not open";
        EXPECT_EQ(alphaAt(p, 5, 598), 255) << name;
    }
}

TEST(BuiltPictures, SceneFilesFitTheirLayoutAndNameKnownTypes) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    std::string types(files["gameobjs.txt"].begin(), files["gameobjs.txt"].end());
    for (int i = 0; i <= 15; i++) {
        std::string name = "level" + std::to_string(i) + ".lev";
        std::vector<uint8_t> b = builtdata::readFile(data / "animbacks" / name);
        ASSERT_GE(b.size(), 68u) << name;
        int32_t count;
        std::memcpy(&count, &b[64], 4);
        ASSERT_GT(count, 0) << name;
        ASSERT_EQ(b.size(), 68u + 65u * size_t(count)) << name;
        bool sky = false;
        for (int k = 0; k < count; k++) {
            const uint8_t* o = &b[68 + 65 * size_t(k)];
            std::string type(reinterpret_cast<const char*>(o), strnlen(reinterpret_cast<const char*>(o), 32));
            EXPECT_NE(types.find(type + "="), std::string::npos)
                << name << ": " << type << " not in gameobjs.txt";
            float rect[4];
            std::memcpy(rect, o + 32, 16);
            EXPECT_LT(rect[0], rect[2]) << name << " " << type;
            EXPECT_GT(rect[1], rect[3]) << name << " " << type;
            EXPECT_GE(rect[0], -400.0f);
            EXPECT_LE(rect[2], 400.0f);
            if (type.rfind("sky", 0) == 0) sky = rect[1] >= 300 && rect[0] <= -400 && rect[2] >= 400;
        }
        EXPECT_TRUE(sky) << name << " has no sky across the top";
    }
}

TEST(BuiltPictures, MapPathFollowsThePaintedRoad) {
    REQUIRE_BUILT_PICTURES(data);
    std::vector<uint8_t> b = builtdata::readFile(data / "trajectory1.spl");
    ASSERT_GE(b.size(), 8u);
    int32_t n;
    float length;
    std::memcpy(&n, &b[0], 4);
    std::memcpy(&length, &b[4], 4);
    ASSERT_GT(n, 2);
    ASSERT_EQ(b.size(), 8u + 8u * size_t(n) + 40u);
    EXPECT_NEAR(length, 20.0f * float(n - 1), 0.01f);
    // Seventy marks in fourteen stages of five leave room between marks (the game keeps 33 units clear
    // at both ends of a stage).
    EXPECT_GT((length / 14 - 66) / 5, 24.0f);
    auto files = builtdata::archiveFiles(data);
    DecodedPicture map;
    ASSERT_TRUE(builtdata::decode(files["menumap.jpg"], map));
    float prevX = 0, prevY = 0;
    for (int i = 0; i < n; i++) {
        float x, y;
        std::memcpy(&x, &b[8 + 8 * size_t(i)], 4);
        std::memcpy(&y, &b[12 + 8 * size_t(i)], 4);
        if (i > 0) {
            EXPECT_NEAR(std::hypot(x - prevX, y - prevY), 20.0f, 0.5f) << "point " << i;
        }
        prevX = x;
        prevY = y;
        // The game lifts every point by 30; there it lies on the sandy road of the map.
        int px = int(std::lround(x + 400)), py = int(std::lround(300 - (y + 30)));
        ASSERT_TRUE(px >= 0 && px < 800 && py >= 0 && py < 600) << "point " << i << " is off the map";
        bool onRoad = false; // the sandy surface within two pixels (the dashed middle line is darker)
        for (int dy = -2; dy <= 2; dy++)
            for (int dx = -2; dx <= 2; dx++) {
                int qx = std::clamp(px + dx, 0, 799), qy = std::clamp(py + dy, 0, 599);
                const uint8_t* c = &map.rgba[(size_t(qy) * 800 + qx) * 4];
                if (c[0] > 200 && c[1] > 175 && c[2] > 110 && c[2] < 200) onRoad = true;
            }
        EXPECT_TRUE(onRoad) << "point " << i << " is off the road";
    }
}

TEST(BuiltPictures, LoadingTotalCoversTheArchivesAndStaysWithinTheFolder) {
    REQUIRE_BUILT_PICTURES(data);
    std::vector<uint8_t> text = builtdata::readFile(data / "loadtotal.txt");
    long long total = std::atoll(std::string(text.begin(), text.end()).c_str());
    long long packed = 0, folder = 0;
    for (auto& [name, bytes] : builtdata::archiveFiles(data)) packed += (long long)bytes.size();
    for (const auto& e : builtdata::fs::recursive_directory_iterator(data))
        if (e.is_regular_file()) folder += (long long)e.file_size();
    EXPECT_GT(total, packed);
    EXPECT_LT(total, folder);
}

namespace {

// Opaque texels (alpha above 128) in a rectangle of a picture.
int inkIn(const DecodedPicture& p, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++) n += alphaAt(p, x, y) > 128;
    return n;
}

} // namespace

TEST(BuiltPictures, AtlasTilesSitWhereTheWidgetsCutThem) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    DecodedPicture atlas;
    ASSERT_TRUE(builtdata::decode(files["menutex.tga"], atlas));
    // Every tile a widget draws (column, row, width, height in tiles) has a picture in it.
    const int drawn[][4] = {{0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}, {0, 2, 1, 1},
                            {1, 2, 1, 1}, {0, 3, 2, 1}, {0, 4, 2, 1}, {2, 3, 1, 2}, {3, 3, 1, 2},
                            {0, 7, 1, 1}, {1, 7, 1, 1}, {0, 5, 1, 1}, {0, 6, 1, 1}, {3, 5, 1, 1},
                            {1, 6, 1, 1}, {1, 5, 1, 1}, {3, 7, 1, 1}};
    for (const auto& t : drawn)
        EXPECT_GT(inkIn(atlas, t[0] * 64 + 2, t[1] * 64 + 2, t[2] * 64 - 4, t[3] * 64 - 4), 40)
            << "tile at " << t[0] << "," << t[1] << " is empty";
    // Panel corners and edge strips lie on the tile's middle line, where the panel's edge runs.
    EXPECT_EQ(alphaAt(atlas, 32, 32), 255);       // top left corner
    EXPECT_EQ(alphaAt(atlas, 32, 128 + 32), 255); // horizontal strip
    EXPECT_EQ(alphaAt(atlas, 32, 128 + 4), 0);
    EXPECT_EQ(alphaAt(atlas, 64 + 32, 128 + 32), 255); // vertical strip
    EXPECT_EQ(alphaAt(atlas, 64 + 4, 128 + 32), 0);
    // Each tile is drawn only where the widgets expect its ink: nothing of it lies outside that part.
    for (int tile = 0; tile < kAtlasTileCount; tile++) {
        const AtlasTile& t = atlasTile(tile);
        int outside = 0;
        for (int y = 0; y < t.height * 64; y++)
            for (int x = 0; x < t.width * 64; x++) {
                bool in = x >= t.ink.left && x < t.ink.right && y >= t.ink.top && y < t.ink.bottom;
                outside += !in && alphaAt(atlas, t.column * 64 + x, t.row * 64 + y) > 0;
            }
        EXPECT_EQ(outside, 0) << "tile " << tile << " has ink outside the part that is drawn";
    }
    // The arrow cursor's tip is at the point the game puts on the mouse: 2 texels in, at the top.
    EXPECT_GT(alphaAt(atlas, 192 + 3, 448 + 3), 128);
    EXPECT_EQ(alphaAt(atlas, 192 + 40, 448 + 3), 0);
    DecodedPicture balloon;
    ASSERT_TRUE(builtdata::decode(files["baloon.tga"], balloon));
    EXPECT_GT(inkIn(balloon, 128, 65, 127, 62), 200) << "no balloon pointer";
    for (int c = 0; c < 4; c++) EXPECT_GT(inkIn(balloon, c * 64, 0, 64, 64), 40) << "balloon tile " << c;
}

TEST(BuiltPictures, EveryParticleFrameHoldsAPicture) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    DecodedPicture sheet;
    ASSERT_TRUE(builtdata::decode(files["particles.tga"], sheet));
    ASSERT_EQ(sheet.width % 64, 0);
    int columns = sheet.width / 64;
    for (int n = 0; n < columns * (sheet.height / 64); n++) {
        int x0 = (n % columns) * 64, y0 = (n / columns) * 64;
        int lit = 0, edge = 0;
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++) {
                uint8_t a = alphaAt(sheet, x0 + x, y0 + y);
                lit += a > 16;
                if (x == 0 || y == 0 || x == 63 || y == 63) edge += a > 40;
            }
        EXPECT_GT(lit, 20) << "frame " << n << " is empty";
        // Frames are cut 0.001 inside their cell; a picture that fills its border would show seams.
        if (n != 63) {
            EXPECT_LT(edge, 40) << "frame " << n << " runs into its neighbours";
        }
    }
}
