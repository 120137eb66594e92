// Which screen runs, and the fade to black that carries every change of screen.
#pragma once
#include <cstdint>

#include "game/game_loop_state.h"

constexpr int32_t fadeStep = 4;
constexpr int32_t fadeBlack = 127;

// Asks for a fade to `target` (Care or Dialog). For Dialog, `node` is the node to show;
// node -2 quits and resets at the switch.
void requestFade(GameLoopState& state, Screen target, int32_t node = 0);

// Once per tick: a fade step while fading, else the current screen's tick.
void advanceScreenFlow(GameLoopState& state);

// The first tick: a resumed game opens on the care screen, a fresh one on dialog node 0.
void startDecision(GameLoopState& state);

// Dialog node -2: a new chip with both counters at zero, and the game ends.
void quitAndReset(GameLoopState& state);

// Darkens the whole display by fadeLevel; leaves the screen transform in force.
void drawFadeOverlay(const GameLoopState& state);
