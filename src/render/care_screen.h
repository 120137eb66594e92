// Draws the care screen: the map layer through the world transform, then the side panel and
// counters in display pixels. Reads state only; leaves the screen transform in force.
#pragma once
#include <cstdint>

#include "game/game_loop_state.h"

void drawCareScreen(const GameLoopState& state);

// Where a meter bar's red fill ends on a display of the given width (display pixels, x).
float meterFillEnd(int32_t displayWidth, float meter);
