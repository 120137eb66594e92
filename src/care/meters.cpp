#include "care/meters.h"

static void addInDouble(float& meter, double amount)
{
    meter = (float)((double)meter + amount);
}

void heatFollowsFire(Progress& p)
{
    if (p.fire > 0.0f && p.heat < p.fire) {
        addInDouble(p.heat, 0.25);
    } else if (p.heat != 0.0f) {
        addInDouble(p.heat, -0.125);
    }
}

// An empty meter stays at 0 and costs health instead.
static void decay(float& meter, float& health)
{
    addInDouble(meter, -0.25);
    if (meter < 0.0f) {
        meter = 0.0f;
        addInDouble(health, -0.25);
    }
}

void foodDecays(Progress& p) { decay(p.food, p.health); }

void waterDecays(Progress& p) { decay(p.water, p.health); }

void heatDamage(Progress& p)
{
    if (p.heat > 200.0f) addInDouble(p.health, -0.25);
}

void clampHeat(Progress& p)
{
    if (p.heat > meterFull) p.heat = meterFull;
}

void heal(Progress& p)
{
    if (p.food > 200.0f && p.water > 200.0f && p.health < meterFull) {
        p.food -= 5.0f;
        p.water -= 5.0f;
        p.health += 10.0f;
    }
}

void resetMeters(Progress& p)
{
    p.heat = 0.0f;
    p.fire = 0.0f;
    p.water = meterFull;
    p.food = meterFull;
    p.health = meterFull;
}

void resetForNewChip(Progress& p)
{
    resetMeters(p);
    p.phase = 0;
    p.phaseTick = 0;
}
