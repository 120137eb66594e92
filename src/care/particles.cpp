#include "care/particles.h"

#include "game/screen_flow.h"
#include "progress/progress.h"

const PhaseEntry phaseEntries[phaseCount] = {
    {1, 3, 0},  // a fresh chip's first minute is over: the cycle starts at 1
    {1, 3, 0},
    {2, -1, 500},
    {3, 8, 0},
    {4, -1, 1000},
};
const PhaseEntry negativePhaseEntry = {0, -1, 0};  // phase is kept as it is

static constexpr uint64_t spreadSteps = 30;  // velocities -15..14 quarter pixels per tick
static constexpr int32_t spreadCentre = 15;
static constexpr uint64_t spawnWidth = 68;  // the chip sprite's width
static constexpr uint64_t extraLife = 60;
static constexpr int32_t minLife = 60;

static void respawn(Particle& p, const CareState& care, Rng& rng)
{
    const int32_t r1 = (int32_t)(rngNext(rng) % spreadSteps);
    const int32_t r2 = (int32_t)(rngNext(rng) % spreadSteps);
    const int32_t r3 = (int32_t)(rngNext(rng) % spawnWidth);
    const int32_t r4 = (int32_t)(rngNext(rng) % extraLife);
    p.vx = (float)((r1 - spreadCentre) * 0.25);
    p.vy = (float)((r2 - spreadCentre) * 0.25);
    p.x = (float)(care.chipX + r3);
    p.y = (float)care.chipY - (float)care.hop;
    p.life = p.maxLife = r4 + minLife;
    p.active = true;
}

static constexpr float mapWidth = (float)mapCanvasWidth;
static constexpr float mapHeight = (float)mapCanvasHeight;

// Off one edge, on at the other; a particle exactly on an edge stays.
static void moveAndWrap(Particle& p)
{
    p.x += p.vx;
    p.y += p.vy;
    if (p.x < 0.0f) p.x = mapWidth;
    if (p.x > mapWidth) p.x = 0.0f;
    if (p.y < 0.0f) {
        p.y = mapHeight;
    } else if (p.y > mapHeight) {
        p.y = 0.0f;
    }
}

void particleStep(CareState& care, Rng& rng)
{
    if (care.particleCount <= 0) return;
    const int32_t count = care.particleCount < particlePoolSize ? care.particleCount : particlePoolSize;
    int32_t spawned = 0;
    for (int32_t i = 0; i < count; ++i) {
        Particle& p = care.particles[i];
        if (p.active) {
            p.life -= 1;
            if (p.life < 1) {
                p.active = false;
            } else {
                moveAndWrap(p);
            }
        }
        if (!p.active && spawned < particleSpawnsPerTick) {
            spawned += 1;
            respawn(p, care, rng);
        }
    }
    care.spawnedThisTick = spawned;
}

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
