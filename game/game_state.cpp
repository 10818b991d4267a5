#include "game/game_state.h"

GameState game;

void resetGameState() {
    game = GameState{};
}
