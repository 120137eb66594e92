// The per-tick rules of the five meters. Each works on the progress record it is given.
#pragma once
#include "progress/progress.h"

constexpr float meterFull = 255.0f;
// Food and water above this heal the chip, and are part of raising it.
constexpr float wellFilled = 200.0f;
// Above this heat the chip loses a quarter of health each tick.
constexpr float scaldingHeat = 200.0f;

// These four widen the meter to double, add or subtract, and round back to float.
void heatFollowsFire(Progress& p);
void foodDecays(Progress& p);
void waterDecays(Progress& p);  // its health damage comes on top of the food's
void heatDamage(Progress& p);

void clampHeat(Progress& p);

// Well fed and watered, the chip heals (single precision; health may pass 255).
void heal(Progress& p);

// A fresh chip's meters: no heat or fire, food, water and health full.
void resetMeters(Progress& p);

// A fresh chip after a death or a success: fresh meters, the phase cycle from the start.
void resetForNewChip(Progress& p);
