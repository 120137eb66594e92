#include "care/movement.h"

static int32_t stepTowards(int32_t from, int32_t to)
{
    if (from > to) return from - 1;
    if (from < to) return from + 1;
    return from;
}

void wanderStep(CareState& care, Rng& rng)
{
    if (care.wanderTimer == 0) {
        care.targetX = (int32_t)(rngNext(rng) % wanderRangeX);
        care.targetY = (int32_t)(rngNext(rng) % wanderRangeY);
        const int32_t extra = (int32_t)(rngNext(rng) % wanderExtraTicks);
        care.buttonsEnabled = true;  // a cool-down, if any, is over
        care.wanderTimer = wanderMinTicks + extra;
    } else if (care.wanderTimer > 0) {
        care.wanderTimer -= 1;
        care.chipX = stepTowards(care.chipX, care.targetX);
        care.chipY = stepTowards(care.chipY, care.targetY);
    } else {
        care.wanderTimer += 1;
    }
}

void hopStep(CareState& care)
{
    const bool inZone = care.chipX < hopZoneRight && care.chipY > hopZoneTop;
    if (care.hop < care.hopTarget) care.hop += 1;
    if (care.hop > care.hopTarget) care.hop -= 1;
    if (care.hopTarget != 0 && care.hop == care.hopTarget) {
        care.hopTarget = 0;  // at the top: come down again
    } else if (care.hopTarget == 0 && care.hop == 0) {
        care.hopTarget = inZone ? hopHeight : 0;
    }
}
