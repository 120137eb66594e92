// Where the side panel and its parts sit, in display pixels on a w x h display, counted from
// the right edge and, for the close button, from the bottom edge. The hit test and the drawing
// both read this one layout. Also the counters' box at the top-left corner.
#pragma once
#include <cstdint>

#include "game/assets.h"
#include "progress/progress.h"

constexpr int32_t panelWidth = 300;

// One meter row: its icon at (w - meterIconFromRight, y), then its bar from
// w - meterBarFromRight to w - meterBarEndFromRight, meterBarHeight high.
constexpr int32_t meterIconFromRight = 290;
constexpr int32_t meterBarFromRight = 266;
constexpr int32_t meterBarEndFromRight = 10;
constexpr int32_t meterBarHeight = 16;

struct MeterBar {
    int32_t y;
    ALLEGRO_BITMAP* Assets::*icon;
    SpriteId iconId;
    float Progress::*meter;
};

inline constexpr MeterBar meterBars[] = {
    {10, &Assets::iconHeat, SpriteIconHeat, &Progress::heat},
    {36, &Assets::iconFire, SpriteIconFire, &Progress::fire},
    {62, &Assets::iconFood, SpriteIconFood, &Progress::food},
    {88, &Assets::iconWater, SpriteIconWater, &Progress::water},
    {114, &Assets::iconHealth, SpriteIconHealth, &Progress::health},
};

constexpr int32_t hoverNone = -1;
constexpr int32_t hoverClose = 0;

// A control's sprite has its top-left corner at (w - fromRight, y), or (w - fromRight, h - y)
// when yFromBottom, and fills a square of `size`, which is also its highlight. The control
// reacts strictly inside that square: not on its first row and column.
struct PanelControl {
    int32_t hover;  // 1 to 4: the care action; hoverClose: the close button
    int32_t fromRight;
    int32_t y;
    bool yFromBottom;
    int32_t size;
    ALLEGRO_BITMAP* Assets::*sprite;
    SpriteId spriteId;
};

// Action buttons first, the close button last: where they overlap, the close button wins.
inline constexpr PanelControl panelControls[] = {
    {1, 290, 140, false, 135, &Assets::actionButton1, SpriteActionButton1},
    {2, 145, 140, false, 135, &Assets::actionButton2, SpriteActionButton2},
    {3, 290, 285, false, 135, &Assets::actionButton3, SpriteActionButton3},
    {4, 145, 285, false, 135, &Assets::actionButton4, SpriteActionButton4},
    {hoverClose, 26, 26, true, 16, &Assets::closeIcon, SpriteCloseIcon},
};

// The counters' box at (0, 0), countersWidth x countersHeight, with the good and the dead
// chips' counts on one line each, from x countersTextX.
constexpr int32_t countersWidth = 170;
constexpr int32_t countersHeight = 50;
constexpr int32_t countersTextX = 5;
constexpr int32_t goodCountY = 5;
constexpr int32_t deadCountY = 25;
// The counters' words, with the count.
constexpr const char* goodCountText = "Good Chips: %d";
constexpr const char* deadCountText = "Dead Chips: %d";
