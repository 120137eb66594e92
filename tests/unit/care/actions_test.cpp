#include <gtest/gtest.h>

#include "care/care_panel.h"
#include "care/care_tick.h"
#include "../../support/game_state.h"

namespace {

// careActionStep alone, with the hover the hit test would have found.
TEST(CareActions, ConditionsAndEffects)
{
    const struct {
        const char* name;
        int32_t hover;
        bool pressed;
        float heat, fire, food, water;
        float heatAfter, fireAfter, foodAfter, waterAfter;
        int32_t wanderTimer;  // 7 when nothing was carried out
    } cases[] = {
        {"feed", 1, true, 50, 50, 99.75f, 150, 50, 50, 255, 150, -19},
        {"feed, not hungry", 1, true, 50, 50, 100, 150, 50, 50, 100, 150, 7},
        {"water", 2, true, 60, 0, 150, 50, 0, 0, 150, 255, -29},
        {"water, some heat left", 2, true, 150.5f, 10, 150, 99.75f, 50.5f, 10, 150, 255, -29},
        {"water, not thirsty", 2, true, 60, 0, 150, 100, 60, 0, 150, 100, 7},
        {"stoke", 3, true, 10, 240, 150, 150, 10, 255, 150, 150, -49},
        {"stoke, just fits", 3, true, 10, 234.5f, 150, 150, 10, 254.5f, 150, 150, -49},
        {"stoke, from 0", 3, true, 10, 0, 150, 150, 10, 20, 150, 150, -49},
        {"damp", 4, true, 25, 20, 150, 150, 0, 5, 150, 150, -49},
        {"damp, odd fire", 4, true, 255, 255, 150, 150, 0, 63.75f, 150, 150, -49},
        {"hover only", 3, false, 10, 100, 150, 150, 10, 100, 150, 150, 7},
        {"close button", 0, true, 10, 100, 50, 50, 10, 100, 50, 50, 7},
        {"nothing", -1, true, 10, 100, 50, 50, 10, 100, 50, 50, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameLoopState state;
        startCare(state);
        progress = withMeters(c.heat, c.fire, c.food, c.water, progress.health);
        state.care.wanderTimer = 7;
        state.hover = c.hover;
        pointAt(state, 0, 0, c.pressed);
        const bool acted = careActionStep(state);
        EXPECT_EQ(acted, c.wanderTimer != 7);
        EXPECT_EQ(state.care.buttonsEnabled, !acted);
        EXPECT_EQ(state.care.wanderTimer, c.wanderTimer);
        EXPECT_EQ(progress.heat, c.heatAfter);
        EXPECT_EQ(progress.fire, c.fireAfter);
        EXPECT_EQ(progress.food, c.foodAfter);
        EXPECT_EQ(progress.water, c.waterAfter);
        EXPECT_EQ(progress.health, 255);
    }
}

// Clicking every tick: the panel ignores 20, 30 or 50 ticks after an action, and the tick
// after those acts again. The close button is ignored as long.
TEST(CareActions, CoolDownsCountedInTicks)
{
    const struct {
        int32_t hover;
        int32_t ignored;
    } cases[] = {{1, 20}, {2, 30}, {3, 50}, {4, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.hover);
        GameLoopState state;
        startCare(state);
        careTick(state);  // the first tick picks a target
        progress.food = progress.water = 50;
        pointAt(state, buttonX[c.hover], buttonY[c.hover], true);
        careTick(state);
        ASSERT_FALSE(state.care.buttonsEnabled);
        for (int32_t t = 1; t <= c.ignored; ++t) {
            progress.food = progress.water = 50;
            pointAt(state, t % 2 ? 835 : buttonX[c.hover], t % 2 ? 460 : buttonY[c.hover], true);
            careTick(state);
            ASSERT_EQ(state.hover, -1) << "tick " << t;
            ASSERT_TRUE(state.running) << "tick " << t;
            // The last ignored tick picks a target and enables the panel for the next one.
            ASSERT_EQ(state.care.buttonsEnabled, t == c.ignored) << "tick " << t;
        }
        EXPECT_GE(state.care.wanderTimer, 120);
        pointAt(state, buttonX[c.hover], buttonY[c.hover], true);
        careTick(state);
        EXPECT_EQ(state.hover, c.hover);
        EXPECT_FALSE(state.care.buttonsEnabled);
    }
}

// The tick of an action runs no wander step: the chip stands and the cool-down is as set.
TEST(CareActions, ActionTickSkipsTheWander)
{
    GameLoopState state;
    startCare(state);
    state.care.targetX = 0;
    state.care.wanderTimer = 50;
    pointAt(state, buttonX[3], buttonY[3], true);
    careTick(state);
    EXPECT_EQ(state.care.chipX, 320);
    EXPECT_EQ(state.care.wanderTimer, -49);
    pointAt(state, buttonX[1], buttonY[1], true);  // fed already: no action, the chip walks
    state.care.buttonsEnabled = true;
    state.care.wanderTimer = 50;
    careTick(state);
    EXPECT_EQ(state.care.chipX, 319);
    EXPECT_EQ(state.care.wanderTimer, 49);
}

}  // namespace
