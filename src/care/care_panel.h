// The side panel of the care screen: which control the pointer is over and what the four
// actions do.
#pragma once
#include <cstdint>

#include "care/panel_layout.h"
#include "game/game_loop_state.h"
#include "progress/progress.h"

// The control under (x, y) on a w x h display: hoverNone, hoverClose or 1 to 4.
int32_t hitTestPanel(int32_t x, int32_t y, int32_t w, int32_t h);

// Sets hover (none while the panel is disabled); a click on the close button ends the game.
void panelStep(GameLoopState& state);

// One care action. Unused effects are left at their neutral values (null, 0, false, 1).
struct CareAction {
    float Progress::*needsLow;  // carried out only while this meter is below 100; null: always
    float Progress::*refill;  // this meter goes to 255
    float heatDrop;  // heat falls by this much, not below 0
    bool heatOut;  // heat goes to 0
    float fireRaise;  // fire rises by this much, not above 255
    float fireScale;  // fire is multiplied by this
    int32_t ignoredTicks;  // the panel ignores the mouse for this many ticks after the action
};

// Indexed by hover - 1.
constexpr int careActionCount = 4;
extern const CareAction careActions[careActionCount];

// The clicked action, if its condition holds: effects, panel disabled, cool-down started.
// Returns whether an action was carried out (the tick then skips the wander step).
bool careActionStep(GameLoopState& state);
