// One tick of the care screen: panel, meters, cry, death, success, action, walk, hop, particles,
// phase.
#pragma once
#include "game/game_loop_state.h"

void careTick(GameLoopState& state);
