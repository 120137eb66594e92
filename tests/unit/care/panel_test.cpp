#include <gtest/gtest.h>

#include "care/care_panel.h"
#include "care/care_tick.h"
#include "../../support/game_state.h"

namespace {

// On 854 x 480: buttons 1/3 span x 565..698, 2/4 x 710..843; rows y 141..274 and 286..419;
// the close button x 829..843, y 455..469.
TEST(Panel, HitTestBoundsOnBothSidesOfEveryEdge)
{
    const struct {
        int32_t x, y, hover;
    } cases[] = {
        // button 1
        {564, 200, -1}, {565, 200, 1}, {698, 200, 1}, {699, 200, -1},
        {630, 140, -1}, {630, 141, 1}, {630, 274, 1}, {630, 275, -1},
        // button 2
        {709, 200, -1}, {710, 200, 2}, {843, 200, 2}, {844, 200, -1},
        {776, 140, -1}, {776, 141, 2}, {776, 274, 2}, {776, 275, -1},
        // button 3
        {564, 350, -1}, {565, 350, 3}, {698, 350, 3}, {699, 350, -1},
        {630, 285, -1}, {630, 286, 3}, {630, 419, 3}, {630, 420, -1},
        // button 4
        {709, 350, -1}, {710, 350, 4}, {843, 350, 4}, {844, 350, -1},
        {776, 285, -1}, {776, 286, 4}, {776, 419, 4}, {776, 420, -1},
        // close button
        {828, 460, -1}, {829, 460, 0}, {843, 460, 0}, {844, 460, -1},
        {835, 454, -1}, {835, 455, 0}, {835, 469, 0}, {835, 470, -1},
        // far away
        {0, 0, -1}, {-5, 200, -1}, {900, 200, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hitTestPanel(c.x, c.y, testWidth, testHeight), c.hover) << c.x << ", " << c.y;
    }
}

// Where the close button overlaps a button (displays 297 to 444 high), it wins.
TEST(Panel, CloseButtonWinsAnOverlap)
{
    const struct {
        int32_t height, x, y, hover;
    } cases[] = {
        {297, 835, 286, 0},  // close y 272..286, button 4 from 286
        {297, 835, 287, 4},  // just below the close button
        {400, 835, 380, 0},
        {400, 820, 380, 4},  // left of the close button: still button 4
        {444, 835, 419, 0},  // close y 419..433
        {445, 835, 419, 4},  // close y 420..434
        {296, 835, 274, 0},  // a lower display overlaps button 2 instead
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hitTestPanel(c.x, c.y, testWidth, c.height), c.hover)
            << "height " << c.height << " at " << c.x << ", " << c.y;
    }
}

// A click in the overlap quits and carries out no action.
TEST(Panel, ClickInTheOverlapQuitsWithoutActing)
{
    GameLoopState state;
    startCare(state, testWidth, 400);
    progress.fire = 100;
    pointAt(state, 835, 380, true);
    careTick(state);
    EXPECT_EQ(state.hover, 0);
    EXPECT_FALSE(state.running);
    EXPECT_EQ(progress.fire, 100);
    EXPECT_TRUE(state.care.buttonsEnabled);
}

}  // namespace
