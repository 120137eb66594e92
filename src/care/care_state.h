// The care screen's own state: the chip, its walk and hops, the cry, the particle pool and the
// random generator. The meters themselves live in the progress record.
#pragma once
#include <allegro5/allegro_audio.h>
#include <cstdint>

constexpr int particlePoolSize = 1000;

struct Particle {
    bool active;
    float x;  // map-canvas pixels
    float y;
    float vx;  // pixels per tick
    float vy;
    int32_t life;  // ticks left
    int32_t maxLife;  // life at the respawn, for fading
};

// xorshift64*: one generator for the whole game loop.
struct Rng {
    uint64_t state;
};

uint64_t rngNext(Rng& rng);

// start is any value (0 is replaced); one step is taken and its product kept as the state.
void seedRng(Rng& rng, uint64_t start);

struct CareState {
    bool buttonsEnabled;  // the side-panel controls react and are drawn
    bool crying;
    ALLEGRO_SAMPLE_ID cryId;
    bool cryStarted;  // al_play_sample accepted the loop, so cryId may be handed to al_stop_sample
    ALLEGRO_SAMPLE_ID cryTailId;  // a stopped cry still finishing its whimper
    bool cryTailPlaying;
    int32_t chipX;  // map-canvas pixels, top-left of the chip sprite at rest
    int32_t chipY;
    int32_t targetX;
    int32_t targetY;
    int32_t wanderTimer;  // 0: pick a target now; above 0: walking; below 0: cool-down
    int32_t hop;  // 0 to 20 pixels above the ground
    int32_t hopTarget;  // 0 or 20
    Particle particles[particlePoolSize];
    int32_t particleCount;  // leading slots in use: 0, 500 or 1000
    int32_t spawnedThisTick;
};

// The state a game loop starts with: chip and target at (320, 240), panel enabled, pool empty.
void initCareState(CareState& care);

// Marks every slot inactive and the count 0; the other fields of the slots are left alone.
void clearParticles(CareState& care);
