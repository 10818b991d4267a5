#include "app/overlay.h"

#include <cstdio>

#include "engine/app_state.h"
#include "engine/font.h"
#include "engine/render.h"

void drawOverlay(bool enabled) {
    // Formatted first: the count covers the scene, not the overlay's own glyphs.
    char triangles[32];
    std::snprintf(triangles, sizeof triangles, "%i TRI", render.triangleCount);
    begin2D();
    if (enabled) {
        drawText(-360.0f, -100.0f, 10.0f, app.fpsText);
        drawText(-360.0f, -115.0f, 10.0f, triangles);
    }
    setProjection(render.perspective);
    setView(&render.cameraView);
    setRenderState(kPresetAlphaBlend, false);
    setRenderState(kPresetAlphaTest, false);
    render.triangleCount = 0;
}
