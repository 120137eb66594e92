// al_lock_sample_id, which reaches the instance behind a played sample, is marked unstable.
#define ALLEGRO_UNSTABLE
#include "care/care_tick.h"

#include <allegro5/allegro_audio.h>

#include "care/care_panel.h"
#include "care/meters.h"
#include "care/movement.h"
#include "care/particles.h"
#include "care/phases.h"
#include "game/screen_flow.h"
#include "progress/progress.h"

// The chip cries while its health is below this, and stops once it is above.
static constexpr float cryHealth = 100.0f;

// The chip dies when its health falls below this.
static constexpr float deadHealth = 1.0f;
// It is raised once fire and health are above this (the top, less one) and food and water are
// well filled.
static constexpr float raisedLevel = meterFull - 1.0f;

// Node 16 once deaths lead successes by 28 or more, 12 otherwise; successes likewise, 15
// once they lead by 11 or more, 14 otherwise.
static constexpr int32_t deathNode = 12;
static constexpr int32_t lastDeathNode = 16;
static constexpr int64_t lastDeathLead = 27;
static constexpr int32_t successNode = 14;
static constexpr int32_t lastSuccessNode = 15;
static constexpr int64_t lastSuccessLead = 10;

// Cutting the cry mid-voice clicks, so a stopped cry plays on once to the next pause between
// whimpers: a run of samples this long and this quiet.
static constexpr unsigned cryPauseSamples = 1024;
static constexpr int cryQuiet = 64;

// Whether the instance's next samples are a pause (or the sound is over, or not one we can read).
static bool cryAtPause(ALLEGRO_SAMPLE_INSTANCE* instance, ALLEGRO_SAMPLE* sample)
{
    if (al_get_sample_depth(sample) != ALLEGRO_AUDIO_DEPTH_INT16 ||
        al_get_sample_channels(sample) != ALLEGRO_CHANNEL_CONF_1)
        return true;
    const int16_t* data = static_cast<const int16_t*>(al_get_sample_data(sample));
    const unsigned length = al_get_sample_length(sample);
    const unsigned position = al_get_sample_instance_position(instance);
    for (unsigned i = position; i < length && i < position + cryPauseSamples; ++i)
        if (data[i] > cryQuiet || data[i] < -cryQuiet) return false;
    return true;
}

// Stops the sound behind id at a pause; otherwise lets it finish the current whimper, playing
// once from here. Returns whether it is still sounding.
static bool stopAtPause(ALLEGRO_SAMPLE_ID& id, ALLEGRO_SAMPLE* sample)
{
    ALLEGRO_SAMPLE_INSTANCE* instance = al_lock_sample_id(&id);
    if (!instance) return false;  // already over
    al_set_sample_instance_playmode(instance, ALLEGRO_PLAYMODE_ONCE);
    const bool atPause = cryAtPause(instance, sample);
    al_unlock_sample_id(&id);
    if (atPause) al_stop_sample(&id);
    return !atPause;
}

// A missing sample (no audio, or no cry file) is never handed to Allegro: the chip cries in
// silence, and `crying` is tracked all the same.
static void startCry(CareState& care, ALLEGRO_SAMPLE* sample)
{
    care.cryStarted = sample != nullptr &&
                      al_play_sample(sample, 1.0f, 0.0f, 1.0f, ALLEGRO_PLAYMODE_LOOP, &care.cryId);
    care.crying = true;
}

// `crying` ends at once; only the sound's tail runs on, cut at the next pause by the following
// care ticks (none run under a fade or a dialog: then the tail plays to the end of the loop).
// An older tail that is still sounding is left to run out by itself.
static void stopCry(CareState& care, ALLEGRO_SAMPLE* sample)
{
    if (care.cryStarted && stopAtPause(care.cryId, sample)) {
        care.cryTailId = care.cryId;
        care.cryTailPlaying = true;
    }
    care.cryStarted = false;
    care.crying = false;
}

static void cryStep(GameLoopState& state)
{
    CareState& care = state.care;
    if (care.cryTailPlaying) care.cryTailPlaying = stopAtPause(care.cryTailId, state.assets.crySample);
    if (progress.health < cryHealth && !care.crying) startCry(care, state.assets.crySample);
    if (progress.health > cryHealth && care.crying) stopCry(care, state.assets.crySample);
}

// Counters loaded from a file may sit at the top of the range: wrap instead of overflowing.
static int32_t countUp(int32_t count)
{
    return (int32_t)((uint32_t)count + 1u);
}

static void newChip(GameLoopState& state)
{
    resetForNewChip(progress);
    if (state.care.crying) stopCry(state.care, state.assets.crySample);
}

static void deathStep(GameLoopState& state)
{
    if (!(progress.health < deadHealth)) return;
    progress.deadCount = countUp(progress.deadCount);
    const bool last = (int64_t)progress.deadCount - lastDeathLead > (int64_t)progress.goodCount;
    requestFade(state, Screen::Dialog, last ? lastDeathNode : deathNode);
    newChip(state);
}

static void successStep(GameLoopState& state)
{
    const Progress& p = progress;
    if (!(p.fire > raisedLevel && p.health > raisedLevel && p.food > wellFilled && p.water > wellFilled))
        return;
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
