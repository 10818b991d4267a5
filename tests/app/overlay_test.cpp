#include "app/overlay.h"

#include <gtest/gtest.h>

#include <cstring>

#include "../engine/test_font.h"
#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/message_box.h"

namespace {

TEST(Overlay, ShowsTheCountOfTheSceneAndRestoresThe3DState) {
    RecordingBackend backend;
    resetRender();
    createDisplay(&backend);
    resetTextures();
    resetFileRegistry();
    resetMessageBoxes();
    messageBoxes.useWindow = false;
    resetText();
    resetAppState();
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    std::strcpy(app.fpsText, "60.0 FPS");
    glm::mat4 camera(2.0f);
    render.cameraView = camera;
    setPerspective(800, 600);

    for (int i = 0; i < 3; i++) drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    drawOverlay(false);
    EXPECT_EQ(render.triangleCount, 0);
    EXPECT_EQ(getProjection(), render.perspective);
    EXPECT_EQ(getView(), camera);
    EXPECT_EQ(render.states.alphaBlend, 0);
    EXPECT_EQ(render.states.alphaTest, 0);
    endScene();
    EXPECT_EQ(backend.totalPrimitives(), 6) << "nothing of the overlay shows while it is off";

    backend.clearFrame();
    for (int i = 0; i < 7; i++) drawCentered(0, 0, 4, 4, kWholeTexture, 0xFFFFFFFF);
    drawOverlay(true);
    endScene();
    // "60.0 FPS" and "14 TRI": 8 + 6 glyphs after the 7 quads of the scene.
    EXPECT_EQ(backend.totalPrimitives(), 2 * (7 + 8 + 6));
    EXPECT_EQ(render.triangleCount, 0);

    resetText();
    resetTextures();
    resetFileRegistry();
    resetMessageBoxes();
    resetAppState();
    resetRender();
}

} // namespace
