#include "game/presentation_recorder.h"

#include <cstdarg>
#include <cstdio>

namespace {
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof(text), fmt, args);
    va_end(args);
    return text;
}

const char* awardName(Award award) {
    switch (award) {
    case Award::Megamatch:
        return "megamatch";
    case Award::Supermatch:
        return "supermatch";
    case Award::Excellent:
        return "excellent";
    case Award::Perfect:
        return "perfect";
    case Award::Incredible:
        break;
    }
    return "incredible";
}

const char* pageName(ResultPage page) {
    switch (page) {
    case ResultPage::LevelComplete:
        return "complete";
    case ResultPage::Defeat:
        return "defeat";
    case ResultPage::HiScore:
        return "hiscore";
    case ResultPage::GamePaused:
        break;
    }
    return "paused";
}

const char* tipOccasionName(TipOccasion occasion) {
    constexpr const char* kNames[] = {"hammer-on-level", "double-relax", "help-relax",    "level-bar",
                                      "puzzle-bar",      "action-bar",   "busy-square",   "chained",
                                      "new-ball",        "joker",        "hammer-charged"};
    static_assert(sizeof kNames / sizeof kNames[0] == static_cast<int>(TipOccasion::HammerCharged) + 1);
    return kNames[static_cast<int>(occasion)];
}
} // namespace

void PresentationRecorder::ballSelected(int x, int y) {
    lines.push_back(format("selected %d %d", x, y));
}
void PresentationRecorder::moveTargetChosen(int x, int y) {
    lines.push_back(format("target %d %d", x, y));
}
void PresentationRecorder::ballLanded(int x, int y) {
    lines.push_back(format("landed %d %d", x, y));
}
void PresentationRecorder::newBallsDealt() {
    lines.push_back("dealt");
}
void PresentationRecorder::comboCounted(int combo, int landingX, int landingY) {
    lines.push_back(format("combo %d at %d %d", combo, landingX, landingY));
}
void PresentationRecorder::diamondBolt(int diamondX, int diamondY, int ballX, int ballY) {
    lines.push_back(format("bolt %d %d to %d %d", diamondX, diamondY, ballX, ballY));
}
void PresentationRecorder::diamondSwept(int x, int y, int ballsReached) {
    lines.push_back(format("swept %d %d reached %d", x, y, ballsReached));
}
void PresentationRecorder::ballPopped(int x, int y, int combo, int mode, bool firstOfRun) {
    lines.push_back(format("popped %d %d combo %d mode %d%s", x, y, combo, mode, firstOfRun ? " first" : ""));
}
void PresentationRecorder::bombExploded(int x, int y, bool doubleBomb) {
    lines.push_back(format("bomb %d %d%s", x, y, doubleBomb ? " double" : ""));
}
void PresentationRecorder::diamondExploded(int x, int y) {
    lines.push_back(format("diamond %d %d", x, y));
}
void PresentationRecorder::chainBroken(int x, int y) {
    lines.push_back(format("chain %d %d", x, y));
}
void PresentationRecorder::squareCleared(int x, int y) {
    lines.push_back(format("square %d %d", x, y));
}
void PresentationRecorder::ballsSwept() {
    lines.push_back("swept-all");
}
void PresentationRecorder::boardClearedByDoubleBombs() {
    lines.push_back("cleared-by-double-bombs");
}
void PresentationRecorder::megamatchClearsBoard() {
    lines.push_back("megamatch-clears");
}
void PresentationRecorder::awardWon(Award award, int points) {
    lines.push_back(format("award %s %d", awardName(award), points));
}
void PresentationRecorder::pointsScored(int points, int x, int y) {
    lines.push_back(format("points %d at %d %d", points, x, y));
}
void PresentationRecorder::lifeWon() {
    lines.push_back("life");
}
void PresentationRecorder::bonusPiecePlaced(int kind, int x, int y) {
    lines.push_back(format("bonus %d at %d %d", kind, x, y));
}
void PresentationRecorder::hammerCharged() {
    lines.push_back("hammer-charged");
}
void PresentationRecorder::hammerStruck(int x, int y) {
    lines.push_back(format("hammer %d %d", x, y));
}
void PresentationRecorder::barStarArrived(int mode, float barFraction) {
    lines.push_back(format("star-arrived mode %d bar %g", mode, barFraction));
}
void PresentationRecorder::actionBarFell(float barFraction, float markerX, float markerY) {
    lines.push_back(format("bar-fell %g at %g %g", barFraction, markerX, markerY));
}
void PresentationRecorder::tipOccasion(TipOccasion occasion, int x, int y) {
    lines.push_back(format("tip %s %d %d", tipOccasionName(occasion), x, y));
}
void PresentationRecorder::levelStarted(int levelIndex) {
    lines.push_back(format("started %d", levelIndex));
}
void PresentationRecorder::savedGameResumed() {
    lines.push_back("resumed");
}
void PresentationRecorder::timeBonusCounted(int bonus, float markerX, float markerY) {
    lines.push_back(format("time-bonus %d at %g %g", bonus, markerX, markerY));
}
void PresentationRecorder::levelWon(int levelIndex, bool stageComplete) {
    lines.push_back(format("won %d%s", levelIndex, stageComplete ? " stage" : ""));
}
void PresentationRecorder::levelLost(bool noMoves, int livesLeft) {
    lines.push_back(format("lost %s lives %d", noMoves ? "no-moves" : "time", livesLeft));
}
void PresentationRecorder::levelGivenUp(int livesLeft) {
    lines.push_back(format("given-up lives %d", livesLeft));
}
void PresentationRecorder::completeSequencePassed(int markMs, int levelIndex) {
    lines.push_back(format("complete-mark %d level %d", markMs, levelIndex));
}
void PresentationRecorder::defeatSequenceEnded() {
    lines.push_back("defeat-ended");
}
void PresentationRecorder::resultPageDue(ResultPage page) {
    lines.push_back(format("page %s", pageName(page)));
}
void PresentationRecorder::timeOfDayChosen(int variant) {
    lines.push_back(format("time-of-day %d", variant));
}
void PresentationRecorder::finishedStageDismissed() {
    lines.push_back("to-map");
}

int PresentationRecorder::count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}
