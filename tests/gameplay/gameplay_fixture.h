// Shared set-up of the game scene's tests: the rules' fixture (clean state, one profile, a recording
// presentation, boards from text pictures), a recording render backend with every game picture made
// as a small empty texture, and helpers to put the mouse on a cell or a point.
#pragma once

#include <gtest/gtest.h>

#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "game/rules_fixture.h"
#include "gameplay/beams.h"
#include "gameplay/board_input.h"
#include "gameplay/board_view.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/hud.h"
#include "gameplay/live_output.h"
#include "gameplay/tips.h"
#include "output_recorder.h"
#include "visuals/game_textures.h"
#include "visuals/particle_effects.h"
#include "visuals/quick_effects.h"

class GameplayTest : public RulesTest {
  protected:
    RecordingBackend backend;
    OutputRecorder output; // what the game scene plays and shows itself (the rules' events go to events)

    void SetUp() override {
        RulesTest::SetUp();
        gamePresentation.output = &output;
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetGameTextures();
        makeGameTextures();
        loadGameTextures();
        resetGameView();
        resetBoardView();
        resetBoardInput();
        resetTips();
        resetHud();
        resetBeams();
        resetScoreNumbers();
        resetQuickEffects();
        resetParticleSystem();
        presentationRandom.seed(5);
    }
    void TearDown() override {
        resetGameTextures();
        resetTextures();
        resetRender();
        gamePresentation.output = &liveOutput;
        RulesTest::TearDown();
    }

    static void makeGameTextures() {
        static const char* const kNames[] = {
            "field0.tga",      "field1.tga",     "field2.tga",      "field1a.tga",   "field2a.tga",
            "fieldspodsv.tga", "jocker.tga",     "bomb.tga",        "superbomb.tga", "shadow.tga",
            "zep2.tga",        "gamebar.tga",    "gamebarfoot.tga", "heart.tga",     "molotok1.tga",
            "molotok2.tga",    "hammer_lum.jpg", "flare.jpg",       "levelbar1.tga", "levelbar2.tga",
            "question.tga",    "baloon.tga",     "white.jpg",       "button.tga"};
        for (const char* name : kNames) createTexture(name, 4, 4, kFormatA8R8G8B8);
        char name[32];
        for (int i = 0; i < 8; ++i) {
            std::snprintf(name, sizeof name, "bal%.2i.tga", i);
            createTexture(name, 4, 4, kFormatA8R8G8B8);
        }
        for (int i = 0; i < kDiamondFrames; ++i) {
            std::snprintf(name, sizeof name, "diamond01%.2i.tga", i);
            createTexture(name, 4, 4, kFormatA8R8G8B8);
        }
    }

    static void mouseAt(float x, float y) {
        gameView.mouseX = x;
        gameView.mouseY = y;
    }
    static void mouseOnCell(int x, int y) {
        Point c = cellCentre(x, y);
        mouseAt(c.x, c.y);
    }
    // Recorded quads drawn with a picture (a draw may hold several quads of one picture).
    int quadsWith(const Texture* texture) const {
        int quads = 0;
        for (const RecordedDraw& d : backend.draws) {
            if (texture && d.states.texture == texture->handle) quads += d.primitiveCount / 2;
        }
        return quads;
    }
    // Draws the gathered quads and ends the recorded frame's batch.
    void flush() { flushBatch(); }
};
