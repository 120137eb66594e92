#include <gtest/gtest.h>

#include "shell/startup.h"

namespace {

// The display in a browser's page: the window's size when it is at least 480 tall, else 480 tall
// at the window's proportions; a window taller than wide gets a landscape display.
TEST(PageDisplay, NeverShorterThanThePanelNeedsAndAlwaysLandscape)
{
    const struct {
        int width, height, displayWidth, displayHeight;
    } cases[] = {
        {960, 540, 960, 540},    // a desktop browser: the window itself
        {844, 390, 1039, 480},   // a phone held sideways: 480 tall, scaled down by the page
        {1024, 480, 1024, 480},
        {600, 900, 855, 480},    // an upright desktop window: landscape, letterboxed
        {1200, 1600, 1200, 674},
        {0, 0, 854, 480},        // a window of nothing: the fallback window's size
        {1, 300, 854, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const DisplaySize size = pageDisplaySize(c.width, c.height);
        EXPECT_EQ(size.width, c.displayWidth);
        EXPECT_EQ(size.height, c.displayHeight);
    }
}

}  // namespace
