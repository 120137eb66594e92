#define ALLEGRO_UNSTABLE  // al_lock_sample_id
#include <gtest/gtest.h>

#include <allegro5/allegro_audio.h>

#include <cmath>
#include <vector>

#include "../../support/game_state.h"
#include "care/care_tick.h"

namespace {

TEST(CareTick, CombinedMeterRules)
{
    const struct {
        const char* name;
        float heat, fire, food, water, health;
        float heatAfter, foodAfter, waterAfter, healthAfter;
    } cases[] = {
        {"starving, parched and hot", 210, 0, 0, 0, 50, 209.875f, 0, 0, 49.25f},
        {"heals after decaying", 0, 0, 210, 210, 250, 0, 204.75f, 204.75f, 260},
        {"no healing once decayed to 200", 0, 0, 200.25f, 255, 200, 0, 200, 254.75f, 200},
        {"clamped after the damage test", 255.25f, 255, 255, 255, 100, 255, 249.75f, 249.75f, 109.75f},
        {"heat reaches 200.25 and hurts", 200, 255, 100, 100, 50, 200.25f, 99.75f, 99.75f, 49.75f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameLoopState state;
        startCare(state);
        progress = withMeters(c.heat, c.fire, c.food, c.water, c.health);
        careTick(state);
        EXPECT_EQ(progress.heat, c.heatAfter);
        EXPECT_EQ(progress.food, c.foodAfter);
        EXPECT_EQ(progress.water, c.waterAfter);
        EXPECT_EQ(progress.health, c.healthAfter);
    }
}

// The walk, the hop, the particles and the phase each see what the steps before them left.
TEST(CareTick, LaterStepsSeeTheEarlierOnes)
{
    const struct {
        const char* name;
        int32_t chipX, chipY, targetX, targetY, hopTarget, particleCount, phaseTick;
        int32_t hopTargetAfter;
        float firstParticleY;  // -1: none
    } cases[] = {
        {"a step into the zone starts a hop", 213, 300, 100, 300, 0, 0, 5, 20, -1},
        {"particles start at the stepped, risen chip", 300, 300, 300, 200, 20, 500, 5, 20, 298},
        {"a shower starts the tick after its phase", 300, 300, 300, 300, 0, 0, 3599, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameLoopState state;
        startCare(state);
        CareState& care = state.care;
        care.chipX = c.chipX;
        care.chipY = c.chipY;
        care.targetX = c.targetX;
        care.targetY = c.targetY;
        care.wanderTimer = 10;
        care.hopTarget = c.hopTarget;
        care.particleCount = c.particleCount;
        progress.phase = 1;
        progress.phaseTick = c.phaseTick;
        careTick(state);
        EXPECT_EQ(care.hopTarget, c.hopTargetAfter);
        EXPECT_EQ(care.particles[0].active ? care.particles[0].y : -1, c.firstParticleY);
    }
}

// The cry starts below 100 and stops above it; at exactly 100 nothing changes. No sample is
// loaded here, so crying is tracked without sound.
TEST(CareTick, CryFollowsHealth)
{
    const struct {
        float health;
        bool cryingBefore, cryingAfter;
        float foodAndWater;
    } cases[] = {
        {100, false, false, 150},   {100, true, true, 150},    {99.75f, false, true, 150},
        {99.75f, true, true, 150},  {100.25f, true, false, 150}, {100.25f, false, false, 150},
        {0.5f, true, false, 150},  // dies: stops
        {95, false, true, 255},  // cries before the same tick heals it past 100
    };
    for (const auto& c : cases) {
        GameLoopState state;
        startCare(state);
        progress = withMeters(0, 0, c.foodAndWater, c.foodAndWater, c.health);
        state.care.crying = c.cryingBefore;
        careTick(state);
        EXPECT_EQ(state.care.crying, c.cryingAfter) << "health " << c.health;
        EXPECT_FALSE(state.care.cryStarted);
    }
}

// With audio, the loop is played and stopped through the sample's id.
// A cry stopped mid-voice finishes its whimper, playing once, and is cut at the pause after it.
TEST(CareTick, CryPlaysAndStopsAtAPauseWhenAudioWorks)
{
    if (!al_install_audio()) GTEST_SKIP() << "no audio here (ALSOFT_DRIVERS=null provides one)";
    ASSERT_TRUE(al_reserve_samples(1));
    std::vector<int16_t> whimper(8820, 0);
    for (size_t i = 0; i < whimper.size() / 2; ++i) whimper[i] = (int16_t)(20000 * std::sin(i * 0.05));
    ALLEGRO_SAMPLE* sample = al_create_sample(whimper.data(), (unsigned)whimper.size(), 44100,
                                              ALLEGRO_AUDIO_DEPTH_INT16,
                                              ALLEGRO_CHANNEL_CONF_1, false);
    ASSERT_NE(sample, nullptr);
    GameLoopState state;
    startCare(state);
    state.assets.crySample = sample;
    progress = withMeters(0, 0, 150, 150, 99);
    careTick(state);
    EXPECT_TRUE(state.care.crying);
    EXPECT_TRUE(state.care.cryStarted);
    progress.health = 150;
    careTick(state);
    EXPECT_FALSE(state.care.crying);
    EXPECT_FALSE(state.care.cryStarted);
    ALLEGRO_SAMPLE_INSTANCE* tail = al_lock_sample_id(&state.care.cryTailId);
    ASSERT_NE(tail, nullptr) << "cut while the voice sounded";
    EXPECT_EQ(al_get_sample_instance_playmode(tail), ALLEGRO_PLAYMODE_ONCE);
    al_unlock_sample_id(&state.care.cryTailId);
    const auto runOutTail = [&state] {
        for (int i = 0; i < 200 && state.care.cryTailPlaying; ++i) {
            al_rest(0.01);
            careTick(state);
        }
    };
    runOutTail();
    EXPECT_FALSE(state.care.cryTailPlaying) << "the tail was not cut at the pause";
    // A death stops the loop too (a success never finds one: the cry stops above 100 in the
    // same tick). With room for one sample only, the next cry starts only if it was stopped.
    progress.health = 99;
    careTick(state);
    ASSERT_TRUE(state.care.cryStarted);
    progress = withMeters(0, 0, 150, 150, 0.5f, progress);
    careTick(state);
    EXPECT_EQ(progress.deadCount, 1);
    EXPECT_FALSE(state.care.crying);
    runOutTail();
    progress.health = 99;
    careTick(state);
    EXPECT_TRUE(state.care.cryStarted);
    al_destroy_sample(sample);
    al_uninstall_audio();
}

// Deaths beyond successes by 28 or more bring node 16; successes beyond deaths by 11, node 15.
TEST(CareTick, DeathAndSuccessChooseTheirNode)
{
    const struct {
        const char* name;
        float fire, food, water, health;
        int32_t good, dead;
        int32_t goodAfter, deadAfter, node;
    } cases[] = {
        {"death", 0, 150, 150, 0.75f, 0, 0, 0, 1, 12},
        {"death, 26 ahead", 0, 150, 150, 0.75f, 0, 26, 0, 27, 12},
        {"death, 27 ahead", 0, 150, 150, 0.75f, 0, 27, 0, 28, 16},
        {"death, 27 ahead of 5", 0, 150, 150, 0.75f, 5, 32, 5, 33, 16},
        {"death by the quarter of this tick", 0, 0, 150, 1.0f, 0, 0, 0, 1, 12},
        {"success", 255, 201, 201, 255, 0, 0, 1, 0, 14},
        {"success, 9 ahead", 255, 201, 201, 255, 9, 0, 10, 0, 14},
        {"success, 10 ahead", 255, 201, 201, 255, 10, 0, 11, 0, 15},
        {"success after healing", 255, 255, 255, 244.25f, 0, 0, 1, 0, 14},
        {"success at the top counter", 255, 201, 201, 255, 2147483647, 0, -2147483647 - 1, 0, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameLoopState state;
        startCare(state);
        progress = withMeters(100, c.fire, c.food, c.water, c.health);
        progress.goodCount = c.good;
        progress.deadCount = c.dead;
        progress.phase = 3;
        progress.phaseTick = 1234;
        state.care.particleCount = 500;
        careTick(state);
        EXPECT_TRUE(state.fading);
        EXPECT_EQ(state.pendingScreen, Screen::Dialog);
        EXPECT_EQ(state.pendingNode, c.node);
        // A new chip, whose phase cycle has already counted this tick.
        expectSameProgress(progress, Progress{0, 1, 0, 0, 255, 255, 255, c.goodAfter, c.deadAfter});
        EXPECT_EQ(state.care.particleCount, 500);  // the shower goes on
    }
}

TEST(CareTick, NoOutcome)
{
    const struct {
        const char* name;
        float fire, food, water, health;
    } cases[] = {
        {"health 1 stays alive", 0, 150, 150, 1.0f},
        {"healing comes before the death test", 0, 255, 255, 0.5f},
        {"fire not above 254", 254, 255, 255, 255},
        {"healed only to 254", 255, 255, 255, 244},
        {"food decays to 200", 255, 200.25f, 255, 255},
        {"water decays to 200", 255, 255, 200.25f, 255},
    };
    for (const auto& c : cases) {
        GameLoopState state;
        startCare(state);
        progress = withMeters(0, c.fire, c.food, c.water, c.health);
        careTick(state);
        EXPECT_FALSE(state.fading) << c.name;
        EXPECT_EQ(progress.deadCount + progress.goodCount, 0) << c.name;
    }
}

// A click in the tick of a death or success acts on the fresh chip's meters.
TEST(CareTick, ClickInTheTickOfAnOutcome)
{
    const struct {
        const char* name;
        float fire, health;
        int32_t hover;
        bool acted;
        float fireAfter, foodAfter;
    } cases[] = {
        {"stoke as it dies", 100, 0.5f, 3, true, 20, 255},
        {"stoke as it succeeds", 255, 255, 3, true, 20, 255},
        {"feed as it dies: fed already", 100, 0.5f, 1, false, 0, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameLoopState state;
        startCare(state);
        progress = withMeters(0, c.fire, 0, 0, c.health);
        if (c.health > 200) progress.food = progress.water = 201;
        pointAt(state, buttonX[c.hover], buttonY[c.hover], true);
        careTick(state);
        EXPECT_TRUE(state.fading);
        EXPECT_EQ(progress.fire, c.fireAfter);
        EXPECT_EQ(progress.food, c.foodAfter);
        EXPECT_EQ(state.care.buttonsEnabled, !c.acted);
    }
}

}  // namespace
