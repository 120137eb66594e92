// The phase cycle: a minute per phase, with a dialog on entering phases 1 and 3 and a particle
// shower through phases 2 and 4.
#pragma once
#include <cstdint>

#include "game/game_loop_state.h"

constexpr int32_t phaseLength = 3600;  // ticks
constexpr int32_t phaseCount = 5;  // 0 is only a fresh chip's; the cycle runs 1 to 4

// What entering a phase does. particleCount 0 clears the pool; any other count keeps it.
struct PhaseEntry {
    int32_t phase;  // the phase the cycle then stands in
    int32_t dialogNode;  // -1: no dialog
    int32_t particleCount;
};

// Indexed by the new phase 0 to 4; a negative phase (from a loaded file) only clears the pool.
extern const PhaseEntry phaseEntries[phaseCount];
extern const PhaseEntry negativePhaseEntry;

// Counts phaseTick; every 3600 ticks the next phase begins with its dialog or shower.
void phaseStep(GameLoopState& state);
