#include "care/particles.h"

#include "game/sprite_sheet.h"

static constexpr uint64_t spreadSteps = 30;  // velocities -15..14 quarter pixels per tick
static constexpr int32_t spreadCentre = 15;
// Particles spring across a band this wide from the chip's left edge: the game's own width,
// narrower than the 86-pixel chip sprite.
static constexpr uint64_t spawnWidth = 68;
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
