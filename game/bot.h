// A bot that plays the rules headless: it looks for lines (preferring long ones and busy squares), sets
// off bombs and diamonds, and uses the hammer when no line can be made. The simulator and the benchmarks
// use it to play whole levels.
#pragma once

struct Rules;

struct BotMove {
    int fromX = -1; // the ball to move, or the cell to smash
    int fromY = -1;
    int toX = -1; // the target cell; -1 for a hammer blow
    int toY = -1;
    int value = 0; // the bot's estimate; 1000 and more completes a line
};

struct BotGameResult {
    bool won = false;
    int score = 0;
    int movesMade = 0;
    int levelTimeMs = 0;
};

bool botReady(Rules& r); // nothing travels or appears and the level still runs
bool botChooseMove(Rules& r,
                   BotMove* move); // the best move of the current board; false when no ball can move
bool botChooseHammer(Rules& r, BotMove* blow); // a ball worth smashing; false when none
void botAct(Rules& r); // chooses and plays one move (or hammer blow) through the clicks
// A fresh profile in the mode at the level, the rules' generator seeded, and the level started.
void botStartLevel(Rules& r, int mode, int levelIndex, unsigned seed);
// Plays one level with a fresh profile from the given seed, in frames of frameMs, until it is won or
// lost (or maxLevelMs of play have passed).
// afterFrame, when given, is called after every frame of the rules (the soak's checks).
BotGameResult botPlayLevel(Rules& r, int mode, int levelIndex, unsigned seed, float frameMs = 16,
                           int maxLevelMs = 3600000, void (*afterFrame)(void* context) = nullptr,
                           void* context = nullptr);
