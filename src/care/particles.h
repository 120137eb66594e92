// The phase cycle (a minute per phase) and the particle showers of phases 2 and 4.
#pragma once
#include <cstdint>

#include "game/game_loop_state.h"
#include "game/sprite_sheet.h"

constexpr int32_t phaseLength = 3600;  // ticks
constexpr int32_t phaseCount = 5;  // 0 is only a fresh chip's; the cycle runs 1 to 4
constexpr int32_t particleSpawnsPerTick = 20;

// What entering a phase does. particleCount 0 clears the pool; any other count keeps it.
struct PhaseEntry {
    int32_t phase;  // the phase the cycle then stands in
    int32_t dialogNode;  // -1: no dialog
    int32_t particleCount;
};

// Indexed by the new phase 0 to 4; a negative phase (from a loaded file) only clears the pool.
extern const PhaseEntry phaseEntries[phaseCount];
extern const PhaseEntry negativePhaseEntry;

// Ages, moves and wraps the particles in use; respawns at most 20 dead ones at the chip,
// lowest slots first.
void particleStep(CareState& care, Rng& rng);

// Counts phaseTick; every 3600 ticks the next phase begins with its dialog or shower.
void phaseStep(GameLoopState& state);
