#include "care/phases.h"

#include "game/screen_flow.h"
#include "progress/progress.h"

const PhaseEntry phaseEntries[phaseCount] = {
    {1, 3, 0},  // reached from 4 (or from -1): 0 belongs to a fresh chip, so the cycle goes on at 1
    {1, 3, 0},
    {2, -1, 500},
    {3, 8, 0},
    {4, -1, 1000},
};
// A loaded negative phase climbs by one each minute, without dialogs, until it reaches 0.
const PhaseEntry negativePhaseEntry = {0, -1, 0};  // its phase field is not used

void phaseStep(GameLoopState& state)
{
    // In 64 bits, so that no loaded value can overflow; % keeps the dividend's sign.
    progress.phaseTick = (int32_t)(((int64_t)progress.phaseTick + 1) % phaseLength);
    if (progress.phaseTick != 0) return;
    const int32_t phase = (int32_t)(((int64_t)progress.phase + 1) % phaseCount);
    const PhaseEntry& entry = phase >= 0 ? phaseEntries[phase] : negativePhaseEntry;
    progress.phase = phase >= 0 ? entry.phase : phase;
    state.saveRequested = true;  // so that a crash loses at most one phase of care
    if (entry.dialogNode >= 0) requestFade(state, Screen::Dialog, entry.dialogNode);
    if (entry.particleCount == 0) {
        clearParticles(state.care);
    } else {
        state.care.particleCount = entry.particleCount;
    }
}
