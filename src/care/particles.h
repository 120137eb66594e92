// The particle showers of phases 2 and 4: a pool of particles springing from the chip.
#pragma once
#include <cstdint>

#include "care/care_state.h"

constexpr int32_t particleSpawnsPerTick = 20;

// Ages, moves and wraps the particles in use; respawns at most 20 dead ones at the chip,
// lowest slots first.
void particleStep(CareState& care, Rng& rng);
