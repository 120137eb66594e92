#include "care/care_tick.h"

#include <allegro5/allegro_audio.h>

#include "care/care_panel.h"
#include "care/meters.h"
#include "care/movement.h"
#include "care/particles.h"
#include "game/screen_flow.h"
#include "progress/progress.h"

static constexpr float cryHealth = 100.0f;

// Node 16 once deaths lead successes by 28 or more, 12 otherwise; successes likewise, 15
// once they lead by 11 or more, 14 otherwise.
static constexpr int32_t deathNode = 12;
static constexpr int32_t lastDeathNode = 16;
static constexpr int64_t lastDeathLead = 27;
static constexpr int32_t successNode = 14;
static constexpr int32_t lastSuccessNode = 15;
static constexpr int64_t lastSuccessLead = 10;

// A missing sample (no audio, or no "cry.ogg") is never handed to Allegro: the chip cries in
// silence, and `crying` is tracked all the same.
static void startCry(CareState& care, ALLEGRO_SAMPLE* sample)
{
    care.cryStarted = sample != nullptr &&
                      al_play_sample(sample, 1.0f, 0.0f, 1.0f, ALLEGRO_PLAYMODE_LOOP, &care.cryId);
    care.crying = true;
}

static void stopCry(CareState& care)
{
    if (care.cryStarted) al_stop_sample(&care.cryId);
    care.cryStarted = false;
    care.crying = false;
}

static void cryStep(GameLoopState& state)
{
    if (progress.health < cryHealth && !state.care.crying) startCry(state.care, state.assets.crySample);
    if (progress.health > cryHealth && state.care.crying) stopCry(state.care);
}

// Counters loaded from a file may sit at the top of the range: wrap instead of overflowing.
static int32_t countUp(int32_t count)
{
    return (int32_t)((uint32_t)count + 1u);
}

static void newChip(GameLoopState& state)
{
    resetForNewChip(progress);
    if (state.care.crying) stopCry(state.care);
}

static void deathStep(GameLoopState& state)
{
    if (!(progress.health < 1.0f)) return;
    progress.deadCount = countUp(progress.deadCount);
    const bool last = (int64_t)progress.deadCount - lastDeathLead > (int64_t)progress.goodCount;
    requestFade(state, Screen::Dialog, last ? lastDeathNode : deathNode);
    newChip(state);
}

static void successStep(GameLoopState& state)
{
    const Progress& p = progress;
    if (!(p.fire > 254.0f && p.health > 254.0f && p.food > 200.0f && p.water > 200.0f)) return;
    progress.goodCount = countUp(progress.goodCount);
    const bool last = (int64_t)progress.goodCount - lastSuccessLead > (int64_t)progress.deadCount;
    requestFade(state, Screen::Dialog, last ? lastSuccessNode : successNode);
    newChip(state);
}

void careTick(GameLoopState& state)
{
    panelStep(state);
    heatFollowsFire(progress);
    foodDecays(progress);
    waterDecays(progress);
    heatDamage(progress);
    clampHeat(progress);
    cryStep(state);
    heal(progress);
    deathStep(state);
    successStep(state);
    // A care action starts a cool-down in wanderTimer, which this tick must leave as set.
    if (!careActionStep(state)) wanderStep(state.care, state.rng);
    hopStep(state.care);
    particleStep(state.care, state.rng);
    phaseStep(state);
}
