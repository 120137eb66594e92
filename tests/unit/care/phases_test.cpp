#include <gtest/gtest.h>

#include "care/phases.h"
#include "../../support/game_state.h"

namespace {

TEST(Phase, Table)
{
    const struct {
        int32_t phase, phaseTick;
        int32_t phaseAfter, phaseTickAfter;
        int32_t node;  // -1: no dialog
        int32_t countAfter;
        bool cleared;
    } cases[] = {
        {2, 100, 2, 101, -1, 300, false},
        {0, 3599, 1, 0, 3, 0, true},
        {1, 3599, 2, 0, -1, 500, false},
        {2, 3599, 3, 0, 8, 0, true},
        {3, 3599, 4, 0, -1, 1000, false},
        {4, 3599, 1, 0, 3, 0, true},
        {-2, 3599, -1, 0, -1, 0, true},  // a loaded negative phase climbs without dialogs
        {-1, 3599, 1, 0, 3, 0, true},
        {-7, 3599, -1, 0, -1, 0, true},
        {1, -5, 1, -4, -1, 300, false},
        {1, -1, 2, 0, -1, 500, false},
        {1, -3600, 1, -3599, -1, 300, false},
        {1, 3600, 1, 1, -1, 300, false},  // out of range: folded back, no phase change
        {1, 7199, 2, 0, -1, 500, false},
        {1, 2147483647, 1, 848, -1, 300, false},
        {2147483647, 3599, 3, 0, 8, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << " tick " << c.phaseTick);
        GameLoopState state;
        startCare(state);
        progress.phase = c.phase;
        progress.phaseTick = c.phaseTick;
        state.care.particleCount = 300;
        state.care.particles[7].active = true;
        state.care.particles[999].active = true;
        phaseStep(state);
        EXPECT_EQ(progress.phase, c.phaseAfter);
        EXPECT_EQ(progress.phaseTick, c.phaseTickAfter);
        EXPECT_EQ(state.fading, c.node >= 0);
        if (c.node >= 0) {
            EXPECT_EQ(state.pendingScreen, Screen::Dialog);
            EXPECT_EQ(state.pendingNode, c.node);
        }
        EXPECT_EQ(state.care.particleCount, c.countAfter);
        EXPECT_EQ(state.care.particles[7].active, !c.cleared);
        EXPECT_EQ(state.care.particles[999].active, !c.cleared);
    }
}

}  // namespace
