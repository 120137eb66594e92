// Everything the game loop owns for one run.
#pragma once
#include <allegro5/allegro.h>
#include <cstdint>

#include "care/care_state.h"
#include "game/assets.h"
#include "game/input.h"

enum class Screen : int32_t {
    Start = 0,  // before the first tick and after a quit-and-reset: nothing is drawn
    Care = 1,
    Dialog = 2,
};

struct GameLoopState {
    bool running;  // only ever goes from true to false
    bool redrawRequested;  // draw the next frame whatever it shows: the first one, or after an expose
    bool saveRequested;  // at a screen switch and a phase change: the progress is saved after the pass
    InputState input;

    // Read once at set-up; a resized window is not followed.
    int32_t displayWidth;
    int32_t displayHeight;
    ALLEGRO_TRANSFORM worldTransform;  // the 640 x 480 map canvas scaled onto the display
    ALLEGRO_TRANSFORM screenTransform;  // display pixels

    Assets assets;

    // Screen flow.
    Screen screen;
    bool fading;  // a transition runs; no screen ticks meanwhile
    int32_t fadeLevel;  // 0 clear to fadeBlack (screen_flow.h)
    Screen pendingScreen;  // Start: no switch pending
    int32_t pendingNode;
    int32_t currentNode;  // the dialog node shown on the dialog screen

    // The control under the pointer. Care screen: -1 none, 0 close, 1 to 4 actions.
    // Dialog screen: 0 none, 1 to 4 answers, -1 just clicked.
    int32_t hover;

    Rng rng;
    CareState care;
};
