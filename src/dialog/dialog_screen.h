// The dialog screen: a node's lines, its answer buttons, and the answer the player clicks.
#pragma once
#include "game/game_loop_state.h"

void dialogTick(GameLoopState& state);
void drawDialog(const GameLoopState& state);
