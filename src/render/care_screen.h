// Draws the care screen: the map layer through the world transform, then the side panel and
// counters in display pixels. Reads state only; leaves the screen transform in force.
#pragma once
#include "game/game_loop_state.h"

void drawCareScreen(const GameLoopState& state);
