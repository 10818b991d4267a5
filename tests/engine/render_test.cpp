#include "engine/render.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "engine/app_state.h"
#include "engine/recording_backend.h"
#include "engine/texture.h"

namespace {

class RenderTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        begin2D();
    }
    void TearDown() override { resetRender(); }
    const RecordedDraw& onlyDraw() {
        EXPECT_EQ(backend.draws.size(), 1u);
        return backend.draws.front();
    }
    // Expects vertex i of draw d at (x, y) with texture point (u, v).
    void expectVertex(const RecordedDraw& d, int i, float x, float y, float u, float v) {
        const ColoredVertex& cv = backend.coloredVertex(d, i);
        EXPECT_NEAR(cv.x, x, 1e-4f) << "vertex " << i;
        EXPECT_NEAR(cv.y, y, 1e-4f) << "vertex " << i;
        EXPECT_NEAR(cv.u, u, 1e-6f) << "vertex " << i;
        EXPECT_NEAR(cv.v, v, 1e-6f) << "vertex " << i;
    }
};

TEST_F(RenderTest, FullViewRectShowsAPaddedPictureAcrossTheWholeView) {
    drawRect(-400, 300, 400, -300, {0, 0, 0.78125f, 0.5859375f}, 0xFF102030);
    endScene();
    const RecordedDraw& d = onlyDraw();
    ASSERT_EQ(d.vertexCount, 4);
    // Strip order: top-right, bottom-right, top-left, bottom-left.
    expectVertex(d, 0, 400, 300, 0.78125f, 0);
    expectVertex(d, 1, 400, -300, 0.78125f, 0.5859375f);
    expectVertex(d, 2, -400, 300, 0, 0);
    expectVertex(d, 3, -400, -300, 0, 0.5859375f);
    EXPECT_EQ(backend.coloredVertex(d, 0).z, 10.0f);
    EXPECT_EQ(backend.coloredVertex(d, 0).color, 0xFF102030u);
    // Two triangles with the strip's winding: 0 1 2 and 2 1 3.
    const int expected[6] = {0, 1, 2, 2, 1, 3};
    for (int i = 0; i < 6; i++) EXPECT_EQ(backend.index(d, i), expected[i]);
    EXPECT_EQ(render.triangleCount, 2);
    // The 2D states every screen sequence starts from.
    EXPECT_EQ(d.states.depthTest, 0);
    EXPECT_EQ(d.states.alphaBlend, 1);
    EXPECT_EQ(d.states.alphaTest, 1);
    EXPECT_EQ(d.states.alphaRef, 1);
    EXPECT_EQ(d.states.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(d.states.dstBlend, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(d.transforms.projection, orthographicMatrix(800, 600, 1, 100));
}

TEST_F(RenderTest, ScreenRectConvertsPixelsAndInsetsTheTextureRectangle) {
    drawScreenRect(0, 0, 100, 50, {0, 0, 0.5f, 0.25f}, 0xFFFFFFFF);
    endScene();
    const RecordedDraw& d = onlyDraw();
    expectVertex(d, 0, -300, 300, 0.499f, 0.001f);
    expectVertex(d, 1, -300, 250, 0.499f, 0.249f);
    expectVertex(d, 2, -400, 300, 0.001f, 0.001f);
    expectVertex(d, 3, -400, 250, 0.001f, 0.249f);
    EXPECT_EQ(backend.coloredVertex(d, 3).z, 10.0f);
}

TEST_F(RenderTest, RotatedQuadTurnsCounterClockwiseAboutThePivot) {
    // A 20 x 10 rectangle centred on (10, 0), turned a quarter about the origin.
    drawRotated(10, 0, 0, 0, 90, 20, 10, kWholeTexture, 0xFFFFFFFF);
    // The same turned about its own centre.
    drawRotated(10, 0, 10, 0, 90, 20, 10, kWholeTexture, 0xFFFFFFFF);
    endScene();
    const RecordedDraw& d = onlyDraw();
    // Top-right (20, 5) goes to (-5, 20); bottom-left (0, -5) goes to (5, 0).
    expectVertex(d, 0, -5, 20, 1, 0);
    expectVertex(d, 1, 5, 20, 1, 1);
    expectVertex(d, 2, -5, 0, 0, 0);
    expectVertex(d, 3, 5, 0, 0, 1);
    // About its centre: top-right (20, 5) relative (10, 5) goes to (-5, 10) + centre.
    expectVertex(d, 4, 5, 10, 1, 0);
    expectVertex(d, 7, 15, -10, 0, 1);
}

TEST_F(RenderTest, TintMultipliesQuadColoursAndTruncates) {
    render.tint = glm::vec4(0.5f, 1.0f, 0.2f, 0.5f);
    drawCentered(0, 0, 10, 10, kWholeTexture, 0xFFFF80FF);
    endScene();
    // alpha 255 * 0.5 = 127.5 -> 127; red 255 * 0.5 -> 127; green 128; blue 255 * 0.2 = 51.
    EXPECT_EQ(backend.coloredVertex(onlyDraw(), 0).color, 0x7F7F8033u);
}

TEST(RenderMatrices, OrthographicAndPerspectiveFollowTheGamesConvention) {
    glm::mat4 m = orthographicMatrix(800, 600, 1, 100);
    EXPECT_FLOAT_EQ(m[0][0], 2.0f / 800);
    EXPECT_FLOAT_EQ(m[1][1], 2.0f / 600);
    EXPECT_FLOAT_EQ(m[2][2], 1.0f / 99);
    EXPECT_FLOAT_EQ(m[3][2], 1.0f / -99);
    EXPECT_FLOAT_EQ(m[3][3], 1.0f);
    int nonZero = 0;
    for (int c = 0; c < 4; c++)
        for (int r = 0; r < 4; r++) nonZero += m[c][r] != 0.0f;
    EXPECT_EQ(nonZero, 5);
    // A point on the near plane lands at depth 0, on the far plane at 1, the view's corner at (1, 1).
    glm::vec4 nearCorner = m * glm::vec4(400, 300, 1, 1);
    EXPECT_NEAR(nearCorner.x, 1, 1e-6f);
    EXPECT_NEAR(nearCorner.y, 1, 1e-6f);
    EXPECT_NEAR(nearCorner.z, 0, 1e-6f);
    EXPECT_NEAR((m * glm::vec4(0, 0, 100, 1)).z, 1, 1e-6f);
    // Perspective: left-handed, depth 0 at near 5 and 1 at far 400.
    glm::mat4 p = perspectiveMatrix(glm::pi<float>() / 4, 4.0f / 3.0f, 5, 400);
    glm::vec4 n = p * glm::vec4(0, 0, 5, 1), f = p * glm::vec4(0, 0, 400, 1);
    EXPECT_NEAR(n.z / n.w, 0, 1e-5f);
    EXPECT_NEAR(f.z / f.w, 1, 1e-5f);
    EXPECT_NEAR(p[1][1], 1 / std::tan(glm::pi<float>() / 8), 1e-5f);
}

TEST_F(RenderTest, SameTextureRunIsOneDrawAndChangesSplitItInOrder) {
    Texture a{}, b{};
    a.handle = backend.createTexture(2, 2, 1, nullptr);
    b.handle = backend.createTexture(2, 2, 1, nullptr);
    setTexture(&a);
    for (int i = 0; i < 5; i++) drawCentered(i * 10.0f, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    setTexture(&b);
    drawCentered(100, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    setBlendMode(kBlendAdditive);
    drawCentered(200, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    // Switching away and back before drawing anything changes nothing.
    setBlendMode(kBlendNormal);
    setBlendMode(kBlendAdditive);
    drawCentered(300, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    setTexture(&a);
    drawCentered(400, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    EXPECT_EQ(backend.draws.size(), 3u); // the last run waits for the end of the frame
    presentFrame();
    ASSERT_EQ(backend.draws.size(), 4u);
    EXPECT_EQ(backend.draws[0].vertexCount, 20);
    EXPECT_EQ(backend.draws[0].primitiveCount, 10);
    EXPECT_EQ(backend.draws[0].states.texture, a.handle);
    EXPECT_EQ(backend.draws[1].vertexCount, 4);
    EXPECT_EQ(backend.draws[1].states.texture, b.handle);
    EXPECT_EQ(backend.draws[2].vertexCount, 8);
    EXPECT_EQ(backend.draws[2].states.dstBlend, BlendFactor::One);
    EXPECT_EQ(backend.draws[3].states.texture, a.handle);
    // Order within and across the batches is the order of drawing; indices address their own quads.
    float expectedX[] = {0, 10, 20, 30, 40};
    for (int q = 0; q < 5; q++) {
        EXPECT_FLOAT_EQ(backend.coloredVertex(backend.draws[0], q * 4).x, expectedX[q] + 2);
        EXPECT_EQ(backend.index(backend.draws[0], q * 6 + 3), q * 4 + 2);
    }
    EXPECT_FLOAT_EQ(backend.coloredVertex(backend.draws[2], 4).x, 302);
    EXPECT_FLOAT_EQ(backend.coloredVertex(backend.draws[3], 0).x, 402);
    EXPECT_EQ(render.triangleCount, 18);
    EXPECT_EQ(backend.totalPrimitives(), 18);
}

TEST_F(RenderTest, ListsTransformsAndClearsFlushTheBatchFirst) {
    setRenderState(kPresetDepthTest, true); // draws that write depths: the clear goes before the next
    setRenderState(kPresetDepthWrite, true);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    clearDepth(1.0f);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0));
    setWorld(&moved);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    ColoredVertex tri[3] = {};
    drawPrimitives(tri, 1, kColoredFormat, kTriangleList);
    ASSERT_EQ(backend.draws.size(), 4u);
    ASSERT_EQ(backend.clears.size(), 1u);
    EXPECT_LT(backend.draws[0].sequence, backend.clears[0].sequence);
    EXPECT_GT(backend.draws[1].sequence, backend.clears[0].sequence);
    EXPECT_EQ(backend.draws[1].transforms.world, glm::mat4(1.0f));
    EXPECT_EQ(backend.draws[2].transforms.world, moved);
    EXPECT_EQ(backend.draws[3].vertexCount, 3);
    EXPECT_EQ(render.triangleCount, 7);
}

TEST_F(RenderTest, ListsCountTheirVerticesByPrimitiveType) {
    ColoredVertex v[12] = {};
    drawPrimitives(v, 4, kColoredFormat, kTriangleStrip);
    drawPrimitives(v, 3, kColoredFormat, kTriangleFan);
    drawPrimitives(v, 2, kColoredFormat, kLineList);
    drawPrimitives(v, 5, kColoredFormat, kLineStrip);
    drawPrimitives(v, 4, kTexturedFormat, kTriangleList);
    ASSERT_EQ(backend.draws.size(), 5u);
    const int expected[5] = {6, 5, 4, 6, 12};
    for (int i = 0; i < 5; i++) EXPECT_EQ(backend.draws[i].vertexCount, expected[i]) << i;
    EXPECT_EQ(backend.draws[4].stride, 20);
    EXPECT_EQ(render.triangleCount, 4 + 3 + 2 + 5 + 4);
}

TEST_F(RenderTest, CornerQuadsKeepTheirTextureCornersAndColours) {
    const glm::vec3 c[4] = {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}};
    const glm::vec2 uv[4] = {{0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f}, {0.7f, 0.8f}};
    drawQuadTextured(c, uv);
    drawBeam2({0, 0, 0}, {0, 10, 0}, 1, 0xFF111111, 0xFF222222);
    glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 50));
    setView(&view);
    drawBillboard(nullptr, {0, 0, 0}, 0, 2);
    endScene();
    ASSERT_EQ(backend.draws.size(), 2u);
    const RecordedDraw& d = backend.draws[0];
    EXPECT_EQ(backend.coloredVertex(d, 2).u, 0.5f);
    EXPECT_EQ(backend.coloredVertex(d, 2).color, 0xFFFFFFFFu);
    const int pair[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; i++) EXPECT_EQ(backend.index(d, i), pair[i]);
    EXPECT_EQ(backend.coloredVertex(d, 5).color, 0xFF111111u);
    EXPECT_EQ(backend.coloredVertex(d, 6).color, 0xFF222222u);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 6).y, 10);
    // The white billboard: corner 0 bottom-right with texture point (1, 1), corner 2 top-left with (0, 0).
    const RecordedDraw& b = backend.draws[1];
    EXPECT_EQ(b.transforms.view, view);
    EXPECT_FLOAT_EQ(backend.coloredVertex(b, 0).x, 2);
    EXPECT_FLOAT_EQ(backend.coloredVertex(b, 0).y, -2);
    EXPECT_EQ(backend.coloredVertex(b, 0).u, 1.0f);
    EXPECT_EQ(backend.coloredVertex(b, 2).v, 0.0f);
}

TEST_F(RenderTest, FullBatchIsDrawnAndGoesOn) {
    for (int i = 0; i < kMaxBatchQuads + 3; i++) drawCentered(0, 0, 1, 1, kWholeTexture, 0xFFFFFFFF);
    endScene();
    ASSERT_EQ(backend.draws.size(), 2u);
    EXPECT_EQ(backend.draws[0].primitiveCount, kMaxBatchQuads * 2);
    EXPECT_EQ(backend.draws[1].primitiveCount, 6);
    EXPECT_EQ(backend.index(backend.draws[1], 17), 11); // the third quad restarts from the batch start
}

TEST_F(RenderTest, PresetsAndBlendModes) {
    setRenderState(kPresetProjection, true);
    EXPECT_EQ(getProjection(), orthographicMatrix(800, 600, 1, 500));
    setPerspective(800, 600);
    setRenderState(kPresetProjection, false);
    EXPECT_EQ(getProjection(), perspectiveMatrix(glm::pi<float>() / 4, 800.0f / 600.0f, 5, 400));
    setBlendMode(kBlendAdditive);
    EXPECT_EQ(render.states.srcBlend, BlendFactor::SrcColor);
    EXPECT_EQ(render.states.dstBlend, BlendFactor::One);
    setBlendMode(kBlendOpaque);
    EXPECT_EQ(render.states.srcBlend, BlendFactor::One);
    EXPECT_EQ(render.states.dstBlend, BlendFactor::Zero);
    setRenderState(kPresetFiltering, false);
    setRenderState(kPresetLighting, true);
    setRenderState(kPresetDepthWrite, false);
    EXPECT_EQ(render.states.linearFilter, 0);
    EXPECT_EQ(render.states.lighting, 1);
    EXPECT_EQ(render.states.depthWrite, 0);
    applyDefaultStates();
    EXPECT_EQ(render.states.depthTest, 1);
    EXPECT_EQ(render.states.alphaRef, 128);
    EXPECT_EQ(render.states.lighting, 0);
    EXPECT_EQ(render.states.cullCounterClockwise, 1);
}

TEST_F(RenderTest, GammaAndDisplaySwitchTakeEffectAtPresent) {
    bool switchedTo = false;
    int switches = 0;
    static bool* target;
    static int* count;
    target = &switchedTo;
    count = &switches;
    render.applyDisplayMode = [](bool full) { *target = full, ++*count; };
    setGamma(1.0f);
    requestDisplayReset(true);
    EXPECT_EQ(switches, 0);
    presentFrame();
    ASSERT_EQ(backend.presents.size(), 1u);
    EXPECT_FLOAT_EQ(backend.presents[0], 1.5f);
    EXPECT_EQ(switches, 1);
    EXPECT_TRUE(switchedTo);
    presentFrame();
    EXPECT_EQ(switches, 1);
    EXPECT_FLOAT_EQ(backend.presents[1], 1.5f);
    releaseDisplay();
    EXPECT_FLOAT_EQ(render.gamma, 0.5f);
}

// A point of the screen space as a draw puts it on the drawable: through the draw's transforms to the
// view's -1..1, then into the picture's rectangle (pixels, y from the top).
glm::vec2 drawablePixel(const RecordedDraw& d, const PictureArea& area, float x, float y) {
    const Transforms& t = d.transforms;
    glm::vec4 clip = t.projection * (t.view * (t.world * glm::vec4(x, y, 10.0f, 1.0f)));
    glm::vec2 view = glm::vec2(clip) / clip.w;
    return {area.x + (view.x + 1) / 2 * area.width, area.y + (1 - view.y) / 2 * area.height};
}

int drawableWidth = 800, drawableHeight = 600;

TEST_F(RenderTest, ScreenSpaceIsDrawnIntoTheCentredPictureOfTheDrawable) {
    render.drawableSize = [](int* w, int* h) { *w = drawableWidth, *h = drawableHeight; };
    struct Case {
        int width, height;
        PictureArea area;
    } cases[] = {
        {800, 600, {800, 600, 0, 0, 800, 600}},
        {1920, 1080, {1920, 1080, 240, 0, 1440, 1080}}, // bars left and right
        {1280, 1024, {1280, 1024, 0, 32, 1280, 960}},   // bars above and below
        {3840, 2160, {3840, 2160, 480, 0, 2880, 2160}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        drawableWidth = c.width, drawableHeight = c.height;
        backend.clearFrame();
        clearColor(0xFF000000u);
        begin2D();
        drawRect(-400, 300, 400, -300, kWholeTexture, 0xFFFFFFFFu);
        drawableWidth = 640, drawableHeight = 480; // a resize in the middle of a frame waits for the next
        drawCentered(100, -50, 40, 40, kWholeTexture, 0xFFFFFFFFu);
        presentFrame();
        ASSERT_EQ(backend.areas.size(), 1u); // once per frame, before its first clear
        EXPECT_EQ(backend.areas[0], c.area);
        EXPECT_EQ(render.pictureArea, c.area);
        ASSERT_EQ(backend.draws.size(), 1u);
        const RecordedDraw& d = backend.draws[0];
        // The corners of the view land on the corners of the picture; a unit is width / 800 pixels.
        glm::vec2 topLeft = drawablePixel(d, c.area, -400, 300),
                  bottomRight = drawablePixel(d, c.area, 400, -300);
        EXPECT_NEAR(topLeft.x, c.area.x, 1e-3f);
        EXPECT_NEAR(topLeft.y, c.area.y, 1e-3f);
        EXPECT_NEAR(bottomRight.x, c.area.x + c.area.width, 1e-3f);
        EXPECT_NEAR(bottomRight.y, c.area.y + c.area.height, 1e-3f);
        float unit = c.area.width / 800.0f;
        glm::vec2 ball = drawablePixel(d, c.area, 100, -50);
        EXPECT_NEAR(ball.x, c.width / 2.0f + 100 * unit, 1e-2f);
        EXPECT_NEAR(ball.y, c.height / 2.0f + 50 * unit, 1e-2f);
        EXPECT_NEAR(c.area.height / 600.0f, unit, 1e-6f); // square units: no stretch
    }
    // The next frame takes the size the drawable has by then.
    backend.clearFrame();
    clearDepth(1.0f);
    ASSERT_EQ(backend.areas.size(), 1u);
    EXPECT_EQ(backend.areas[0], (PictureArea{640, 480, 0, 0, 640, 480}));
}

// A depth clear of 1.0 waits for a draw that writes depths; a test against it that writes nothing passes
// everywhere and is left out, so a frame without depth writes never touches the window's depths.
TEST_F(RenderTest, ADepthClearWaitsForTheFirstDrawThatWritesDepths) {
    clearDepth(1.0f);
    setRenderState(kPresetDepthTest, true);
    setRenderState(kPresetDepthWrite, false);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    flushBatch();
    ASSERT_EQ(backend.draws.size(), 1u);
    EXPECT_EQ(backend.draws[0].states.depthTest, 0);
    EXPECT_TRUE(backend.clears.empty());
    setRenderState(kPresetDepthWrite, true);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    flushBatch();
    ASSERT_EQ(backend.draws.size(), 2u);
    EXPECT_EQ(backend.draws[1].states.depthTest, 1);
    ASSERT_EQ(backend.clears.size(), 1u);
    EXPECT_TRUE(backend.clears[0].depth);
    EXPECT_LT(backend.clears[0].sequence, backend.draws[1].sequence);
    // A clear to a nearer depth decides the test: it is done before the first test against it.
    clearDepth(0.5f);
    setRenderState(kPresetDepthWrite, false);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    flushBatch();
    ASSERT_EQ(backend.clears.size(), 2u);
    EXPECT_EQ(backend.clears[1].z, 0.5f);
    EXPECT_EQ(backend.draws[2].states.depthTest, 1);
}

// A colour clear waits for the first draw, and the landscape's low-detail picture starts from it instead
// when nothing was drawn before, on a picture larger than the screen space's own 800 x 600 only.
TEST_F(RenderTest, APendingClearGoesBeforeTheFirstDrawOrIntoTheLowDetailPicture) {
    render.drawableSize = [](int* w, int* h) { *w = drawableWidth, *h = drawableHeight; };
    backend.lowDetailPicture = true;
    drawableWidth = 1920, drawableHeight = 1080;
    clearColor(0xFF9696FFu);
    ASSERT_TRUE(beginLowDetailLayers());
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    endLowDetailLayers();
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    presentFrame();
    EXPECT_EQ(backend.lowDetailStarts, std::vector<uint32_t>{0xFF9696FFu});
    EXPECT_EQ(backend.lowDetailCopies, 1);
    EXPECT_TRUE(backend.clears.empty()); // the copy covers the picture area: it is never cleared
    ASSERT_EQ(backend.draws.size(), 2u);
    EXPECT_TRUE(backend.draws[0].lowDetail);
    EXPECT_FALSE(backend.draws[1].lowDetail);

    // Something drawn first: what lies beneath is not one colour, so the layers go straight on.
    backend.clearFrame();
    clearColor(0xFF000000u);
    drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFFu);
    EXPECT_FALSE(beginLowDetailLayers());
    presentFrame();
    ASSERT_EQ(backend.clears.size(), 1u);
    ASSERT_EQ(backend.draws.size(), 1u);
    EXPECT_LT(backend.clears[0].sequence, backend.draws[0].sequence);

    // At the picture's own size there is nothing to gain; a clear with nothing drawn still happens.
    backend.clearFrame();
    drawableWidth = 800, drawableHeight = 600;
    clearColor(0xFF000000u);
    EXPECT_FALSE(beginLowDetailLayers());
    presentFrame();
    EXPECT_TRUE(backend.lowDetailStarts.empty());
    ASSERT_EQ(backend.clears.size(), 1u);
    EXPECT_EQ(backend.clears[0].argb, 0xFF000000u);
}

TEST_F(RenderTest, BillboardsFaceTheViewAndTurnClockwise) {
    glm::vec3 c[4];
    billboardCorners({10, 20, 0}, 0, 5, c);
    // Bottom-right, top-right, top-left, bottom-left of an upright picture.
    EXPECT_EQ(c[0], glm::vec3(15, 15, 0));
    EXPECT_EQ(c[1], glm::vec3(15, 25, 0));
    EXPECT_EQ(c[2], glm::vec3(5, 25, 0));
    billboardCorners({0, 0, 0}, 90, 1, c);
    // A quarter turn clockwise: the picture's top now faces right.
    EXPECT_NEAR(c[1].x, 1, 1e-6f);
    EXPECT_NEAR(c[1].y, -1, 1e-6f);
    static int rejected;
    rejected = 0;
    render.isVisible = [](const glm::vec3& centre, float) { return centre.x < 100 || (++rejected, false); };
    drawBillboard2D(nullptr, 500, 0, 0, 8, 0xFFFFFFFF);
    drawBillboard2D(nullptr, 0, 0, 0, 8, 0x80FFFFFF);
    endScene();
    EXPECT_EQ(rejected, 1);
    const RecordedDraw& d = onlyDraw();
    EXPECT_EQ(backend.coloredVertex(d, 0).u, 0.0f);
    EXPECT_EQ(backend.coloredVertex(d, 2).v, -1.0f);
    EXPECT_EQ(backend.coloredVertex(d, 1).color, 0x80FFFFFFu);
}

TEST_F(RenderTest, BeamRunsAcrossTheLineOfSight) {
    drawBeam({0, 0, 0}, {10, 0, 0}, 2, 0xFFFF0000);
    endScene();
    const RecordedDraw& d = onlyDraw();
    // Side = (10, 0, 0) x (0, 0, -1) = (0, 10, 0), scaled to 2.
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 0).y, -2);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 1).y, 2);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 2).x, 10);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 2).y, 2);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 3).y, -2);
}

TEST(RenderMesh, UploadNarrowsIndicesAndRefusesOutOfRangeOnes) {
    resetRender();
    RecordingBackend backend;
    createDisplay(&backend);
    LitVertex v[3] = {};
    uint32_t good[3] = {0, 1, 2}, bad[3] = {0, 1, 3};
    MeshBuffer mesh;
    ASSERT_TRUE(uploadMesh({v, 3, good, 3}, kLitFormat, mesh));
    EXPECT_EQ(mesh.stride, 32);
    EXPECT_EQ(backend.buffers[0].indices, (std::vector<uint16_t>{0, 1, 2}));
    drawMesh(mesh);
    EXPECT_EQ(render.triangleCount, 1);
    EXPECT_EQ(backend.draws.back().buffer, mesh.buffer);
    MeshBuffer broken;
    EXPECT_FALSE(uploadMesh({v, 3, bad, 3}, kLitFormat, broken));
    EXPECT_EQ(vertexStride(kFormatPosition | kFormatNormal | kFormatPointSize | kFormatDiffuse |
                           kFormatSpecular | kFormatTex1),
              44);
    releaseMesh(mesh);
    resetRender();
}

TEST(RenderMesh, FaceAndVertexNormals) {
    glm::vec3 p[4] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    uint32_t tris[6] = {0, 1, 2, 0, 3, 1};
    glm::vec3* faces = computeFaceNormals(p, tris, 2, nullptr);
    // (v2 - v0) x (v1 - v0) = (1,0,0) x (0,1,0) = (0,0,1).
    EXPECT_EQ(faces[0], glm::vec3(0, 0, 1));
    EXPECT_EQ(faces[1], glm::vec3(1, 0, 0));
    glm::vec3 out[4];
    computeVertexNormals(p, 4, tris, 2, out);
    EXPECT_NEAR(out[0].x, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(out[0].z, std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(out[2], glm::vec3(0, 0, 1));
    delete[] faces;
}

TEST(RenderMath, FastSqrtIsCloseOverEveryScale) {
    buildSqrtTables();
    EXPECT_EQ(fastSqrt(0.0f), 0.0f);
    for (float x : {1e-6f, 0.003f, 0.25f, 0.3f, 0.5f, 0.9f, 1.0f, 2.0f, 3.0f, 100.0f, 12345.0f, 4e9f}) {
        EXPECT_NEAR(fastSqrt(x) / std::sqrt(x), 1.0f, 1e-4f) << x;
    }
}

TEST(RenderMath, PulseUsesTheRunTimeWhenAskedForNow) {
    EXPECT_FLOAT_EQ(pulse(1, 0), 0.5f);
    EXPECT_NEAR(pulse(1, 250), 1.0f, 1e-6f);
    EXPECT_NEAR(pulse(2, 375), 0.0f, 1e-6f);
    resetAppState();
    app.runTimeMs = 250;
    EXPECT_NEAR(pulse(1), 1.0f, 1e-6f);
    resetAppState();
}

} // namespace
