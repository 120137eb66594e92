#include "care/care_state.h"

// Any nonzero start will do; this one stands in for a zero, which would stay zero for ever.
static constexpr uint64_t fallbackRngStart = 0x9E3779B97F4A7C15ULL;

uint64_t rngNext(Rng& rng)
{
    uint64_t x = rng.state;
    x ^= x >> 12;
    x ^= x << 25;
    x ^= x >> 27;
    rng.state = x;
    return x * 0x2545F4914F6CDD1DULL;
}

void seedRng(Rng& rng, uint64_t start)
{
    rng.state = start != 0 ? start : fallbackRngStart;
    // The product of a nonzero state and the odd multiplier is nonzero, so the state stays live.
    rng.state = rngNext(rng);
}

void initCareState(CareState& care)
{
    care = CareState{};
    care.buttonsEnabled = true;
    care.chipX = care.targetX = 320;
    care.chipY = care.targetY = 240;
}

void clearParticles(CareState& care)
{
    care.particleCount = 0;
    for (Particle& p : care.particles) p.active = false;
}
