// One tick of the care screen: panel, meters, cry, healing, death, success, action or walk, hop,
// particles, phase.
#pragma once
#include "game/game_loop_state.h"

void careTick(GameLoopState& state);
