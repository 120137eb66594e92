#include <gtest/gtest.h>

#include <memory>

#include "../../support/game_state.h"

namespace {

// A care screen on an 854-pixel-wide display: each bar's fill ends half a pixel or more from
// the edge between two pixel centres, the pointer over button 2, 1000 slots with one particle.
std::unique_ptr<GameLoopState> careScreen()
{
    auto state = std::make_unique<GameLoopState>();
    startCare(*state);
    progress = withMeters(100, 100, 100, 100, 100);
    progress.phase = 4;
    state->hover = 2;
    state->care.buttonsEnabled = true;
    state->care.chipX = 200;
    state->care.chipY = 300;
    state->care.particleCount = 1000;
    state->care.particles[10] = Particle{true, 50.0f, 60.0f, 1.0f, 1.0f, 30, 90};
    return state;
}

using Change = void (*)(GameLoopState&);

}  // namespace

// Every change the frame shows asks for a frame; changes it does not show do not.
TEST(FrameView, OnlyVisibleChangesAskForAFrame)
{
    const struct {
        const char* what;
        Screen screen;
        Change change;
        bool wanted;
        Change before = nullptr;  // sets the scene first, if given
    } cases[] = {
        {"nothing", Screen::Care, [](GameLoopState&) {}, false},
        {"screen", Screen::Care, [](GameLoopState& s) { s.screen = Screen::Dialog; }, true},
        {"fade level", Screen::Care, [](GameLoopState& s) { s.fadeLevel = 4; }, true},
        {"hover", Screen::Care, [](GameLoopState& s) { s.hover = 0; }, true},
        {"buttons hidden", Screen::Care, [](GameLoopState& s) { s.care.buttonsEnabled = false; }, true},
        {"hover, buttons hidden", Screen::Care, [](GameLoopState& s) { s.hover = 1; }, false,
         [](GameLoopState& s) { s.care.buttonsEnabled = false; }},
        {"chip x", Screen::Care, [](GameLoopState& s) { s.care.chipX += 1; }, true},
        {"chip y", Screen::Care, [](GameLoopState& s) { s.care.chipY -= 1; }, true},
        {"hop", Screen::Care, [](GameLoopState& s) { s.care.hop = 1; }, true},
        {"particle moves", Screen::Care, [](GameLoopState& s) { s.care.particles[10].y += 0.25f; }, true},
        {"particle fades", Screen::Care, [](GameLoopState& s) { s.care.particles[10].life -= 1; }, true},
        {"particle spawns", Screen::Care,
         [](GameLoopState& s) { s.care.particles[999] = Particle{true, 1.0f, 2.0f, 0.0f, 0.0f, 60, 60}; }, true},
        {"slot beyond the count", Screen::Care,
         [](GameLoopState& s) { s.care.particles[600] = Particle{true, 1.0f, 2.0f, 0.0f, 0.0f, 60, 60}; }, false,
         [](GameLoopState& s) { s.care.particleCount = 500; }},
        {"good chips", Screen::Care, [](GameLoopState&) { progress.goodCount += 1; }, true},
        {"dead chips", Screen::Care, [](GameLoopState&) { progress.deadCount += 1; }, true},
        {"heat bar by a pixel", Screen::Care, [](GameLoopState&) { progress.heat += 0.75f; }, true},
        {"food bar by a quarter", Screen::Care, [](GameLoopState&) { progress.food -= 0.25f; }, false},
        {"water bar to a pixel's edge", Screen::Care, [](GameLoopState&) { progress.water += 0.5f; }, true},
        {"health past its bar", Screen::Care, [](GameLoopState&) { progress.health = 262.0f; }, true},
        {"fire bar by a pixel", Screen::Care, [](GameLoopState&) { progress.fire -= 1.0f; }, true},
        {"phase tick", Screen::Care, [](GameLoopState&) { progress.phaseTick += 1; }, false},
        {"walk target and timer", Screen::Care,
         [](GameLoopState& s) { s.care.targetX = 7; s.care.wanderTimer = 40; }, false},
        {"pointer", Screen::Care, [](GameLoopState& s) { s.input.mouseX = 5; }, false},
        {"dialog node", Screen::Dialog, [](GameLoopState& s) { s.currentNode = 3; }, true},
        {"answer outlined", Screen::Dialog, [](GameLoopState& s) { s.hover = 1; }, true},
        {"answer just clicked", Screen::Dialog, [](GameLoopState& s) { s.hover = -1; }, false},
        {"dialog fade", Screen::Dialog, [](GameLoopState& s) { s.fadeLevel = 127; }, true},
        {"meters under a dialog", Screen::Dialog, [](GameLoopState&) { progress.food = 3.0f; }, false},
        {"chip under a dialog", Screen::Dialog, [](GameLoopState& s) { s.care.chipX = 9; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto state = careScreen();
        state->screen = c.screen;
        if (c.screen == Screen::Dialog) state->hover = 0;
        if (c.before) c.before(*state);
        state->redrawRequested = false;
        const FrameView shown = frameView(*state);
        c.change(*state);
        EXPECT_EQ(frameWanted(*state, shown), c.wanted);
    }
}
