#include <gtest/gtest.h>

#include "care/movement.h"

namespace {

CareState restingAt(int32_t x, int32_t y)
{
    CareState care;
    initCareState(care);
    care.chipX = care.targetX = x;
    care.chipY = care.targetY = y;
    return care;
}

TEST(Wander, StepByTimer)
{
    const struct {
        const char* name;
        int32_t timer, chipX, chipY, targetX, targetY;
        int32_t timerAfter, chipXAfter, chipYAfter;
    } cases[] = {
        {"diagonal", 10, 100, 100, 200, 50, 9, 101, 99},
        {"x matches", 10, 100, 100, 100, 50, 9, 100, 99},
        {"y matches", 10, 100, 100, 0, 100, 9, 99, 100},
        {"waits at the target", 10, 100, 100, 100, 100, 9, 100, 100},
        {"last tick of a walk", 1, 100, 100, 200, 200, 0, 101, 101},
        {"cool-down", -19, 100, 100, 200, 200, -18, 100, 100},
        {"end of a cool-down", -1, 100, 100, 200, 200, 0, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CareState care = restingAt(c.chipX, c.chipY);
        care.targetX = c.targetX;
        care.targetY = c.targetY;
        care.wanderTimer = c.timer;
        care.buttonsEnabled = false;
        Rng rng{1};
        wanderStep(care, rng);
        EXPECT_EQ(care.wanderTimer, c.timerAfter);
        EXPECT_EQ(care.chipX, c.chipXAfter);
        EXPECT_EQ(care.chipY, c.chipYAfter);
        EXPECT_FALSE(care.buttonsEnabled);
        EXPECT_EQ(rng.state, 1u);  // no draws while walking or cooling down
    }
}

// Timer 0 draws three values: target x mod 572, target y mod 427, extra ticks mod 60.
TEST(Wander, PicksATargetAndEnablesThePanel)
{
    const struct {
        uint64_t state;
        int32_t targetX, targetY, timer;
    } cases[] = {
        {0x9857fb32c9efb5e4ULL, 123, 134, 142},  // the state seeded from 12345
        {0, 0, 0, 120},  // a dead generator: always (0, 0) and 120 ticks
    };
    for (const auto& c : cases) {
        CareState care = restingAt(320, 240);
        care.buttonsEnabled = false;
        Rng rng{c.state};
        wanderStep(care, rng);
        EXPECT_EQ(care.targetX, c.targetX);
        EXPECT_EQ(care.targetY, c.targetY);
        EXPECT_EQ(care.wanderTimer, c.timer);
        EXPECT_TRUE(care.buttonsEnabled);
        EXPECT_EQ(care.chipX, 320);  // no step in the picking tick
        EXPECT_EQ(care.chipY, 240);
    }
}

// In the zone the chip rises one pixel a tick to 20 and falls back, 40 ticks a hop, and the
// landing tick sets the next hop going. A hop begun is finished outside the zone; none follows.
TEST(Hop, FortyTickHop)
{
    for (const bool staysInZone : {true, false}) {
        SCOPED_TRACE(staysInZone ? "in the zone" : "out of the zone after the first tick");
        CareState care = restingAt(100, 300);
        for (int32_t t = 1; t <= 42; ++t) {
            hopStep(care);
            if (!staysInZone) care.chipX = 400;
            const int32_t expected = t <= 21 ? t - 1 : (t <= 41 ? 41 - t : (staysInZone ? t - 41 : 0));
            ASSERT_EQ(care.hop, expected) << "tick " << t;
            if (t == 1 || t == 21 || t == 41) {
                ASSERT_EQ(care.hopTarget, t == 1 || (t == 41 && staysInZone) ? 20 : 0) << "tick " << t;
            }
        }
    }
}

TEST(Hop, ZoneEdges)
{
    const struct {
        int32_t x, y;
        bool hops;
    } cases[] = {
        {212, 286, true}, {213, 286, false}, {212, 285, false}, {213, 285, false},
        {0, 426, true},   {571, 426, false}, {0, 0, false},
    };
    for (const auto& c : cases) {
        CareState care = restingAt(c.x, c.y);
        hopStep(care);
        EXPECT_EQ(care.hopTarget, c.hops ? 20 : 0) << c.x << ", " << c.y;
        EXPECT_EQ(care.hop, 0);
    }
}

}  // namespace
