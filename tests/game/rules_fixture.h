// Shared set-up of the rules tests: a clean state, one fresh profile, a recording presentation and boards
// built from short text pictures.
//
// Picture characters (row by row, the first row at y = top, the first column at x = left):
//   '#' hole          '-' empty clean cell     '1'..'9' empty busy square with that many layers
//   'a'..'h' ball of colour 0..7 (finished appearing)    'A'..'H' chained ball of colour 0..7
//   'J' joker  'T' triple bomb  '*' diamond  'Q' quadro bomb
// Cells of the playing area outside the picture are empty clean cells unless holesAround is set.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/app_state.h"
#include "engine/random.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/presentation_recorder.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

inline void setBall(int x, int y, int kind, int chains = 0) {
    Cell& cell = liveRules.at(x, y);
    newBall(liveRules, cell);
    cell.ball.kind = kind;
    cell.ball.appearMs = 0;
    cell.ball.chains = chains;
    if (cell.square < 0) cell.square = 0;
}

inline void loadPicture(const char* picture, int left = kPlayLeft, int top = kPlayTop,
                        bool holesAround = false) {
    clearBoard(liveRules);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = liveRules.at(x, y);
            cell.square = holesAround ? -1 : 0;
            cell.ball.appearMs = 0;
            cell.ball.chains = 0;
            cell.ball.moveTargetX = cell.ball.moveTargetY = -1;
            cell.scale = 1;
        }
    }
    int x = left;
    int y = top;
    for (const char* p = picture; *p; ++p) {
        char c = *p;
        if (c == '\n') {
            if (x != left) ++y;
            x = left;
            continue;
        }
        if (c == ' ') continue;
        Cell& cell = liveRules.at(x, y);
        cell.square = 0;
        if (c == '#') {
            cell.square = -1;
        } else if (c >= '1' && c <= '9') {
            cell.square = c - '0';
        } else if (c >= 'a' && c <= 'h') {
            setBall(x, y, c - 'a');
        } else if (c >= 'A' && c <= 'H') {
            setBall(x, y, c - 'A', 1);
        } else if (c == 'J') {
            setBall(x, y, kJoker);
        } else if (c == 'T') {
            setBall(x, y, kTripleBomb);
        } else if (c == '*') {
            setBall(x, y, kDiamond);
        } else if (c == 'Q') {
            setBall(x, y, kQuadroBomb);
        }
        ++x;
    }
    countFreeCells(liveRules);
}

inline int kindAt(int x, int y) {
    return liveRules.at(x, y).ball.kind;
}

inline void setFrame(float ms) {
    app.frameTimeMs = ms;
    liveRules.stepBy(ms);
    app.frameDeltaMs = static_cast<uint32_t>(ms);
}

class RulesTest : public ::testing::Test {
  protected:
    PresentationRecorder events;

    void SetUp() override {
        resetAppState();
        liveRules = Rules{};
        resetSettings();
        resetProfiles();
        resetRecords();
        createProfile("tester");
        liveRules.random.seed(1);
        events = PresentationRecorder{};
        liveRules.presentation = &events;
        setFrame(16);
    }
    void TearDown() override { liveRules.presentation = nullptr; }
};
