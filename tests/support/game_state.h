// Game loops and progress built for tests: the test display and seed, fresh progress.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/game_loop.h"
#include "game/input.h"
#include "progress/progress.h"

constexpr int32_t testWidth = 854;
constexpr int32_t testHeight = 480;
constexpr uint64_t testSeed = 12345;

// A game loop as the first tick finds it, on fresh progress.
inline void freshGame(GameLoopState& state, int32_t width = testWidth, int32_t height = testHeight)
{
    initGameLoopState(state, width, height, testSeed);
    progress = defaultProgress();
}

// The same on the care screen.
inline void startCare(GameLoopState& state, int32_t width = testWidth, int32_t height = testHeight)
{
    freshGame(state, width, height);
    state.screen = Screen::Care;
}

// `from` with these meters.
inline Progress withMeters(float heat, float fire, float food, float water, float health,
                           Progress from = defaultProgress())
{
    from.heat = heat;
    from.fire = fire;
    from.food = food;
    from.water = water;
    from.health = health;
    return from;
}

// Field by field, floats bit for bit: -0 and 0 differ, and so would a NaN.
inline void expectSameProgress(const Progress& actual, const Progress& expected, const std::string& label = "")
{
    SCOPED_TRACE(label);
    EXPECT_EQ(actual.phase, expected.phase);
    EXPECT_EQ(actual.phaseTick, expected.phaseTick);
    for (const float Progress::*meter : {&Progress::heat, &Progress::fire, &Progress::water, &Progress::food,
                                         &Progress::health})
        EXPECT_EQ(0, std::memcmp(&(actual.*meter), &(expected.*meter), sizeof(float)))
            << actual.*meter << " expected " << expected.*meter;
    EXPECT_EQ(actual.goodCount, expected.goodCount);
    EXPECT_EQ(actual.deadCount, expected.deadCount);
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
