#include "care/meters.h"

static void addInDouble(float& meter, double amount)
{
    meter = (float)((double)meter + amount);
}

// Heat rises by a quarter each tick towards a burning fire, and otherwise cools by an eighth.
static constexpr double heatRise = 0.25;
static constexpr double heatFall = 0.125;

void heatFollowsFire(Progress& p)
{
    if (p.fire > 0.0f && p.heat < p.fire) {
        addInDouble(p.heat, heatRise);
    } else if (p.heat != 0.0f) {
        addInDouble(p.heat, -heatFall);
    }
}

// Food and water decay by a quarter each tick; an empty meter stays at 0 and costs a quarter of
// health instead.
static constexpr double decayPerTick = 0.25;
static constexpr double emptyMeterDamage = 0.25;

static void decay(float& meter, float& health)
{
    addInDouble(meter, -decayPerTick);
    if (meter < 0.0f) {
        meter = 0.0f;
        addInDouble(health, -emptyMeterDamage);
    }
}

void foodDecays(Progress& p) { decay(p.food, p.health); }

void waterDecays(Progress& p) { decay(p.water, p.health); }

static constexpr double heatDamagePerTick = 0.25;

void heatDamage(Progress& p)
{
    if (p.heat > scaldingHeat) addInDouble(p.health, -heatDamagePerTick);
}

void clampHeat(Progress& p)
{
    if (p.heat > meterFull) p.heat = meterFull;
}

// Each tick of healing trades 5 food and 5 water for 10 health.
static constexpr float healCost = 5.0f;
static constexpr float healGain = 10.0f;

void heal(Progress& p)
{
    if (p.food > wellFilled && p.water > wellFilled && p.health < meterFull) {
        p.food -= healCost;
        p.water -= healCost;
        p.health += healGain;
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
