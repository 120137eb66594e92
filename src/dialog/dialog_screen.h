// The dialog screen: a node's lines, its answer buttons, and the answer the player clicks.
#pragma once
#include <cstdint>

#include "dialog/dialog_table.h"
#include "game/game_loop_state.h"

// One answer button in display pixels, with the point its label is centred on (x) and hangs
// from (y). The pointer is over the button only strictly inside its edges.
struct OptionBox {
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
    int32_t labelX;
    int32_t labelY;
};

// 1 to 4, read from which of labels 4, 3 and 2 are present (label 1 always is).
int32_t dialogOptionCount(const DialogNode& node);

// The button of option 1..optionCount in the layout for optionCount options on a w x h display.
OptionBox optionBox(int32_t optionCount, int32_t option, int32_t w, int32_t h);

bool isOverOption(const OptionBox& box, int32_t x, int32_t y);

// Hover and click of the current node's answers; a click asks for a fade. Never draws.
void dialogTick(GameLoopState& state);
// The current node's lines and answer buttons, in display pixels. Draws only.
void drawDialog(const GameLoopState& state);
