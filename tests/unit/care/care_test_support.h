// A game loop on the care screen, as the first care tick finds it, with fresh meters.
#pragma once
#include "game/game_loop.h"
#include "game/input.h"
#include "progress/progress.h"

constexpr int32_t testWidth = 854;
constexpr int32_t testHeight = 480;
constexpr uint64_t testSeed = 12345;

inline void startCare(GameLoopState& state, int32_t width = testWidth, int32_t height = testHeight)
{
    initGameLoopState(state, width, height, testSeed);
    state.screen = Screen::Care;
    progress = defaultProgress();
}

// The mouse is at (x, y); pressed: button 1 went down since the last tick.
inline void pointAt(GameLoopState& state, int32_t x, int32_t y, bool pressed)
{
    state.input.mouseX = x;
    state.input.mouseY = y;
    state.input.buttons[0] = pressed ? (keyHeld | keyPressed) : 0;
}

// Centres of the action buttons on the test display.
constexpr int32_t buttonX[5] = {0, 630, 776, 630, 776};
constexpr int32_t buttonY[5] = {0, 200, 200, 350, 350};
