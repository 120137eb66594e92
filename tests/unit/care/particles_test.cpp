#include <gtest/gtest.h>

#include <tuple>

#include "care/particles.h"
#include "../../support/game_state.h"

namespace {

int32_t activeCount(const CareState& care)
{
    int32_t n = 0;
    for (const Particle& p : care.particles) n += p.active ? 1 : 0;
    return n;
}

// Slot 0 holds a long-lived particle; every other slot in use is alive too, so nothing respawns.
TEST(Particles, MoveAndWrap)
{
    const struct {
        float x, y, vx, vy, xAfter, yAfter;
    } cases[] = {
        {639.5f, 100, 1, 0, 0, 100},     {0.25f, 100, -0.5f, 0, 640, 100},
        {0, 100, 0, 0, 0, 100},          {640, 100, 0, 0, 640, 100},
        {639.75f, 100, 0.25f, 0, 640, 100}, {-3, 100, 0, 0, 640, 100},
        {700, 100, 0, 0, 0, 100},        {100, 479.5f, 0, 1, 100, 0},
        {100, 0.25f, 0, -0.5f, 100, 480}, {100, 0, 0, 0, 100, 0},
        {100, 480, 0, 0, 100, 480},      {100, 479.75f, 0, 0.25f, 100, 480},
        {0.25f, 479.5f, -0.5f, 3.5f, 640, 0},
    };
    for (const auto& c : cases) {
        CareState care;
        initCareState(care);
        care.particleCount = 1;
        care.particles[0] = Particle{true, c.x, c.y, c.vx, c.vy, 50, 100};
        Rng rng{1};
        particleStep(care, rng);
        EXPECT_EQ(care.particles[0].x, c.xAfter) << c.x << " + " << c.vx;
        EXPECT_EQ(care.particles[0].y, c.yAfter) << c.y << " + " << c.vy;
        EXPECT_EQ(care.particles[0].life, 49);
        EXPECT_EQ(rng.state, 1u);
    }
}

// Four draws per respawn: vx, vy from r mod 30, x from r mod 68, life from r mod 60; the
// particle starts at the chip, lifted by the hop, and does not move in its first tick.
TEST(Particles, RespawnDrawsInOrder)
{
    CareState care;
    initCareState(care);
    care.chipX = 100;
    care.chipY = 200;
    care.hop = 7;
    care.particleCount = 500;
    for (int32_t i = 0; i < 500; ++i) care.particles[i] = Particle{true, 0, 0, 0, 0, 50, 50};
    care.particles[3].active = false;
    care.particles[9].life = 1;  // dies in this step and is respawned at once
    Rng rng{0x9857fb32c9efb5e4ULL};
    Rng expectedRng = rng;
    for (int i = 0; i < 8; ++i) rngNext(expectedRng);
    particleStep(care, rng);
    const struct {
        int32_t slot;
        float vx, vy, x, y;
        int32_t life;
    } cases[] = {
        {3, 0.5f, -1.25f, 118, 193, 95},
        {9, -0.25f, -2.75f, 108, 193, 81},
    };
    for (const auto& c : cases) {
        const Particle& p = care.particles[c.slot];
        EXPECT_EQ(std::tie(p.active, p.vx, p.vy, p.x, p.y, p.life, p.maxLife),
                  std::make_tuple(true, c.vx, c.vy, c.x, c.y, c.life, c.life)) << "slot " << c.slot;
    }
    EXPECT_EQ(care.spawnedThisTick, 2);
    EXPECT_EQ(rng.state, expectedRng.state);
}

// At most 20 respawns a tick, lowest slots first: 500 empty slots fill in 25 ticks, 1000 in 50.
TEST(Particles, TwentyRespawnsPerTick)
{
    const struct {
        int32_t count, ticks;
    } cases[] = {{500, 25}, {1000, 50}};
    for (const auto& c : cases) {
        CareState care;
        initCareState(care);
        care.particleCount = c.count;
        Rng rng{1};
        for (int32_t t = 1; t <= c.ticks; ++t) {
            particleStep(care, rng);
            ASSERT_EQ(activeCount(care), 20 * t) << "tick " << t;
            ASSERT_TRUE(care.particles[20 * t - 1].active) << "tick " << t;
            ASSERT_EQ(care.spawnedThisTick, 20);
        }
        particleStep(care, rng);
        EXPECT_EQ(care.spawnedThisTick, 0);  // every particle lives at least 60 ticks
        EXPECT_EQ(activeCount(care), c.count);
    }
}

TEST(Particles, DeathsBeyondTheLimitWaitForTheNextTick)
{
    CareState care;
    initCareState(care);
    care.particleCount = 500;
    for (int32_t i = 0; i < 500; ++i) care.particles[i] = Particle{true, 0, 0, 0, 0, 50, 50};
    for (int32_t i = 0; i < 25; ++i) care.particles[i * 2].life = 1;  // 25 die in one step
    Rng rng{1};
    particleStep(care, rng);
    EXPECT_EQ(care.spawnedThisTick, 20);
    EXPECT_TRUE(care.particles[38].active);
    EXPECT_FALSE(care.particles[40].active);
    EXPECT_FALSE(care.particles[48].active);
    particleStep(care, rng);
    EXPECT_EQ(care.spawnedThisTick, 5);
    EXPECT_EQ(activeCount(care), 500);
}

TEST(Particles, OnlyTheSlotsInUseAreTouched)
{
    for (int32_t count : {0, -3}) {
        CareState care;
        initCareState(care);
        care.particleCount = count;
        Rng rng{1};
        particleStep(care, rng);
        EXPECT_EQ(rng.state, 1u);
        EXPECT_EQ(activeCount(care), 0);
    }
    CareState care;
    initCareState(care);
    care.particleCount = 500;
    care.particles[500] = Particle{true, 5, 5, 1, 1, 1, 1};
    Rng rng{1};
    particleStep(care, rng);
    EXPECT_EQ(care.particles[500].x, 5);
    EXPECT_EQ(care.particles[500].life, 1);
}

}  // namespace
