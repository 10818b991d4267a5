// The level statistics page: the won level's four results counted up row by row beside the records.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/font.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "player/records.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"

namespace {

constexpr int kRows = 4;

const char* tx(const char* key) {
    const char* t = findText(key);
    return t ? t : "";
}

struct Row {
    int value;
    int best;
    bool lowerIsBetter;
    bool highlighted;
};

// The records of the level just won: the one on the board, which the map's choice need not be (a
// resumed game or the next level after a skip never passed through the map).
const LevelRecord& wonLevelRecord() {
    return records
        .levels[std::clamp(game.mode, 0, kModeCount - 1)][std::clamp(game.levelIndex, 0, kLevelCount - 1)];
}

void rows(Row out[kRows]) {
    const LevelRecord& r = wonLevelRecord();
    out[0] = {game.score, r.bestScore, false, game.score >= r.bestScore};
    out[1] = {game.maxCombo, r.bestCombo, false, game.maxCombo >= r.bestCombo};
    out[2] = {game.levelTimeMs, r.bestTimeMs, true, r.bestTimeMs <= 0 || game.levelTimeMs <= r.bestTimeMs};
    out[3] = {game.movesMade, r.fewestMoves, true, r.fewestMoves <= 0 || game.movesMade <= r.fewestMoves};
}

void formatValue(char* out, size_t n, int row, int value, const char* prefix) {
    if (row == 2) {
        int seconds = value / 1000;
        std::snprintf(out, n, "%s%.2i:%.2i", prefix, seconds / 60, seconds % 60);
    } else {
        std::snprintf(out, n, "%s%i", prefix, value);
    }
}

float stageDuration(int stage) {
    return stage == 0 ? static_cast<float>(std::min(game.score, 2500)) : 0.0f;
}

} // namespace

// One frame of the count-up: the running stage grows, ends and plays its sounds.
void advanceStatistics() {
    StatsCountUp& s = menus.stats;
    Row r[kRows];
    rows(r);
    while (s.stage < kRows) {
        float duration = stageDuration(s.stage);
        if (s.stage == 0 && duration > 0) {
            s.stageMs += app.frameTimeMs;
            s.tickMs += app.frameTimeMs;
            if (s.tickMs >= 100) {
                s.tickMs -= 100;
                float f = std::min(1.0f, s.stageMs / duration);
                playSoundAt("score.ogg", static_cast<int>(20000 + 25000 * f));
            }
            if (s.stageMs < duration) return;
        }
        if (r[s.stage].highlighted) playSound("wow.ogg"); // the record block names the new record
        ++s.stage;
        s.stageMs = 0;
        s.tickMs = 0;
    }
}

void drawStatisticsPage() {
    if (!menus.opening && !menus.closing) advanceStatistics();
    glm::mat4 m(1.0f);
    m[1][1] = std::max(1 - menus.fadeAmount * menus.fadeAmount, 0.001f);
    setWorld(&m);
    drawPanel(0, 0, 550, 445);
    setTextColor(255, 255, 155, 255);
    drawTextCentered(0, 155.5f, 19, tx("stats"));
    Row r[kRows];
    rows(r);
    float pulse = 128 + 127 * (std::sin(menus.pageClockMs * 0.01f) * 0.5f + 0.5f);
    const char* labels[kRows] = {"yourscore", game.mode == 2 ? "maxcombo" : "yourcombo", "yourtime",
                                 "yourmoves"};
    const char* bestLabels[kRows] = {"bestscore", "bestcombo", "besttime", "bestmoves"};
    const StatsCountUp& s = menus.stats;
    const LevelRecord& rec = wonLevelRecord();
    const char* holders[kRows] = {rec.scoreName, rec.comboName, rec.timeName, rec.movesName};
    for (int i = 0; i < kRows; ++i) {
        float y = 92.5f - 60.0f * i;
        int shown = r[i].value;
        if (i > s.stage) shown = 0;
        if (i == s.stage && s.stage < kRows) {
            float duration = stageDuration(i);
            shown = duration > 0 ? static_cast<int>(r[i].value * std::min(1.0f, s.stageMs / duration)) : 0;
        }
        setTextColor(0xFFFFFFFFu);
        drawText(-209, y, 13, tx(labels[i]), false);
        char value[32];
        formatValue(value, sizeof value, i, shown, "");
        bool done = i < s.stage;
        if (done && r[i].highlighted)
            setTextColor(255, 200, 200, static_cast<uint8_t>(pulse));
        else
            setTextColor(0xFFFFFFFFu);
        // A value too long for its column gets smaller rather than run into the records beside it.
        constexpr float kValueWidth = 105;
        drawText(-69, y, fitTextSize(value, 17, kValueWidth), value, false);

        float by = 102.5f - 40.0f * i;
        setTextColor(255, 255, 100, 255);
        const char* label = tx(bestLabels[i]);
        drawText(49.5f, by, 11, label, false);
        char best[32];
        bool newBest = done && r[i].highlighted;
        formatValue(best, sizeof best, i, newBest ? r[i].value : r[i].best, "   ");
        if (newBest) setTextColor(255, 200, 100, static_cast<uint8_t>(pulse));
        drawText(49.5f + measureText(label, 11), by, 14, best, false);
        if (newBest) {
            // In place of the old holder's name, readable on the panel rather than behind it.
            drawText(49.5f, by - 20, 11, tx("scorewow"), false);
            continue;
        }
        setTextColor(255, 255, 100, 255);
        const char* by_ = tx("by");
        drawText(49.5f, by - 20, 11, by_, false);
        char holder[kRecordNameBytes + 1] = {};
        std::memcpy(holder, holders[i], kRecordNameBytes);
        drawText(49.5f + measureText(by_, 11) + 4, by - 20, 11, holder, false);
    }
    setTextColor(0xFFFFFFFFu);
    drawButton(0, -167.5f, 200, 64, 18, tx("ok"));
    setWorld(nullptr);
}
