// The game loop: set-up, one event at a time, one tick per timer event, at most one frame per pass.
#pragma once
#include <allegro5/allegro.h>
#include <cstdint>

#include "game/frame_view.h"
#include "game/game_loop_state.h"

// Runs until the player quits, the display closes or an ending signal arrives; loads the assets
// and the progress, saves the progress at each screen switch, phase change and at the end, and
// releases the assets.
void runGameLoop();

// Set-up without a display or assets (those are the caller's): the fit transform for the given
// display size, the generator seeded from rngStart, zeroed input, the care state, the screen flow
// at Start with nothing pending.
void initGameLoopState(GameLoopState& state, int32_t displayWidth, int32_t displayHeight,
                       uint64_t rngStart);

// One event by the event table; timer events run a tick.
void handleEvent(GameLoopState& state, const ALLEGRO_EVENT& event);

// One 60 Hz tick: Escape, the screen flow, the end of the pressed bits.
void runTick(GameLoopState& state);

// After a pass: is a frame to be drawn? Only if the window was exposed (or nothing has been
// drawn yet) or the state now shows something other than `shown`, the frame on the display.
bool frameWanted(const GameLoopState& state, const FrameView& shown);

// Clears the target to black, draws the current screen and the fade overlay. Does not flip.
void drawFrame(const GameLoopState& state);
