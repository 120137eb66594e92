#include <gtest/gtest.h>

#include "../../support/game_state.h"
#include "care/meters.h"

namespace {

// Heat creeps up by a quarter while below a burning fire, otherwise cools by an eighth.
TEST(Meters, HeatFollowsFire)
{
    const struct {
        float heat, fire, after;
    } cases[] = {
        {0.0f, 0.0f, 0.0f},  // nothing burns, nothing to cool
        {0.125f, 0.0f, 0.0f},
        {10.0f, 0.0f, 9.875f},
        {19.75f, 20.0f, 20.0f},
        {20.0f, 20.0f, 19.875f},  // not below the fire: cools
        {20.125f, 20.0f, 20.0f},
        {0.0f, 0.25f, 0.25f},
        {0.0f, -5.0f, 0.0f},  // a negative fire does not heat
        {-1.0f, -5.0f, -1.125f},
        {300.0f, 255.0f, 299.875f},  // the clamp is a later step
        // Rounded back to float: the exact 128.2499923... is a tie that goes to 128.25.
        {127.99999237060546875f, 255.0f, 128.25f},
    };
    for (const auto& c : cases) {
        Progress p = withMeters(c.heat, c.fire, 255, 255, 255);
        heatFollowsFire(p);
        EXPECT_EQ(p.heat, c.after) << "heat " << c.heat << " fire " << c.fire;
    }
}

// Food and water lose a quarter per tick; an empty one stays 0 and costs health.
TEST(Meters, FoodAndWaterDecay)
{
    const struct {
        float food, water, health;
        float foodAfter, waterAfter, healthAfter;
    } cases[] = {
        {255, 255, 255, 254.75f, 254.75f, 255},
        {0.25f, 0.25f, 50, 0, 0, 50},  // reaches 0 exactly: no damage yet
        {0.125f, 255, 50, 0, 254.75f, 49.75f},
        {0, 255, 50, 0, 254.75f, 49.75f},
        {255, 0, 50, 254.75f, 0, 49.75f},
        {0, 0, 50, 0, 0, 49.5f},  // both empty: the damage adds up
        {0, 0, 0.25f, 0, 0, -0.25f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "food " << c.food << " water " << c.water);
        Progress p = withMeters(0, 0, c.food, c.water, c.health);
        foodDecays(p);
        waterDecays(p);
        EXPECT_EQ(p.food, c.foodAfter);
        EXPECT_EQ(p.water, c.waterAfter);
        EXPECT_EQ(p.health, c.healthAfter);
    }
}

TEST(Meters, HeatDamageAndClamp)
{
    const struct {
        float heat, healthAfter, heatAfter;
    } cases[] = {
        {200.0f, 100.0f, 200.0f},
        {200.125f, 99.75f, 200.125f},
        {255.0f, 99.75f, 255.0f},
        {255.25f, 99.75f, 255.0f},
        {1000.0f, 99.75f, 255.0f},
    };
    for (const auto& c : cases) {
        Progress p = withMeters(c.heat, 0, 255, 255, 100);
        heatDamage(p);
        clampHeat(p);
        EXPECT_EQ(p.health, c.healthAfter) << "heat " << c.heat;
        EXPECT_EQ(p.heat, c.heatAfter) << "heat " << c.heat;
    }
}

TEST(Meters, Healing)
{
    const struct {
        float food, water, health;
        float foodAfter, waterAfter, healthAfter;
    } cases[] = {
        {210, 210, 250, 205, 205, 260},  // not clamped at 255
        {204.75f, 204.75f, 260, 204.75f, 204.75f, 260},
        {200.25f, 200.25f, 254.75f, 195.25f, 195.25f, 264.75f},  // the most health can get
        {200, 255, 100, 200, 255, 100},
        {255, 200, 100, 255, 200, 100},
        {255, 255, 255, 255, 255, 255},
        {255, 255, -3, 250, 250, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.food << " " << c.water << " " << c.health);
        Progress p = withMeters(0, 0, c.food, c.water, c.health);
        heal(p);
        EXPECT_EQ(p.food, c.foodAfter);
        EXPECT_EQ(p.water, c.waterAfter);
        EXPECT_EQ(p.health, c.healthAfter);
    }
}

}  // namespace
