// What a frame shows, read from the game loop's state: two frames with equal views have the
// same pixels, so the loop draws (and flips) only when the view has changed or the window
// was exposed. Reading it never changes the state.
#pragma once
#include <cstdint>

#include "game/game_loop_state.h"

constexpr int meterBarCount = 5;

struct FrameView {
    Screen screen;
    int32_t fadeLevel;  // 0 (no overlay) to fadeBlack
    int32_t dialogNode;  // dialog screen only
    int32_t hover;  // the highlighted control or outlined answer; -1 (care) or 0 (dialog): none
    bool buttonsShown;
    // Care screen: for each meter bar the pixel column its red fill ends before, and, where the
    // end lies so near a pixel centre that a graphics card's snapping could tip it either way,
    // the exact end as well (0 elsewhere).
    int32_t barColumns[meterBarCount];
    float barNearEdge[meterBarCount];
    int32_t chipX;
    int32_t chipY;
    int32_t hop;
    uint64_t particles;  // a digest of the drawn particles' places and alphas
    int32_t goodCount;
    int32_t deadCount;
};

FrameView frameView(const GameLoopState& state);
bool sameFrame(const FrameView& a, const FrameView& b);
