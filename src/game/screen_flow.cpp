#include "game/screen_flow.h"

#include <allegro5/allegro_primitives.h>

#include "care/care_tick.h"
#include "care/meters.h"
#include "care/phases.h"
#include "dialog/dialog_screen.h"
#include "dialog/dialog_table.h"
#include "progress/progress.h"

void requestFade(GameLoopState& state, Screen target, int32_t node)
{
    state.fading = true;
    state.pendingScreen = target;
    if (target == Screen::Dialog) state.pendingNode = node;
}

// The switch, 32 ticks into a fade: the new screen is in place, hidden behind full black.
static void switchScreen(GameLoopState& state)
{
    state.screen = state.pendingScreen;
    state.currentNode = state.pendingNode;
    state.pendingScreen = Screen::Start;
    state.pendingNode = 0;
    state.fadeLevel = fadeBlack;
    state.care.wanderTimer = 0;  // the first care tick after any switch picks a new target
    if (state.currentNode == nextQuitsAndResets) quitAndReset(state);
    state.saveRequested = true;  // written while the black frame shows
}

void advanceScreenFlow(GameLoopState& state)
{
    if (state.fading) {
        if (state.pendingScreen != Screen::Start) {
            state.fadeLevel += fadeStep;
            if (state.fadeLevel > fadeBlack) switchScreen(state);
        } else {
            // One black frame has been shown; the new screen appears at full brightness.
            state.fading = false;
            state.fadeLevel = 0;
        }
        return;
    }
    switch (state.screen) {
    case Screen::Start: startDecision(state); break;
    case Screen::Care: careTick(state); break;
    case Screen::Dialog: dialogTick(state); break;
    }
}

void startDecision(GameLoopState& state)
{
    if (progress.phase != 0 || progress.phaseTick != 0) {
        state.screen = Screen::Care;
        // A resumed shower goes on with an empty pool of the size its phase gives.
        if (progress.phase >= 0 && progress.phase < phaseCount)
            state.care.particleCount = phaseEntries[progress.phase].particleCount;
    } else {
        state.screen = Screen::Dialog;
        state.currentNode = 0;
        state.pendingNode = 0;
    }
}

void quitAndReset(GameLoopState& state)
{
    resetMeters(progress);
    progress.goodCount = 0;
    progress.deadCount = 0;
    state.running = false;
    state.screen = Screen::Start;
}

void drawFadeOverlay(const GameLoopState& state)
{
    al_use_transform(&state.screenTransform);
    // An overlay of alpha 0 would leave every pixel as it is: skip the full-screen fill.
    if (state.fadeLevel <= 0) return;
    float alpha = (float)(state.fadeLevel / (double)fadeBlack);
    if (alpha > 1.0f) alpha = 1.0f;
    al_draw_filled_rectangle(0, 0, (float)state.displayWidth, (float)state.displayHeight,
                             al_map_rgba_f(0, 0, 0, alpha));
}
