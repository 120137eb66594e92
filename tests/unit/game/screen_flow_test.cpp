#include <gtest/gtest.h>

#include "../../support/game_state.h"
#include "dialog/dialog_table.h"
#include "game/screen_flow.h"

namespace {

ALLEGRO_EVENT eventOfType(ALLEGRO_EVENT_TYPE type)
{
    ALLEGRO_EVENT event{};
    event.type = type;
    return event;
}

GameLoopState freshState()
{
    GameLoopState state;
    freshGame(state);
    return state;
}

// The first tick opens a fresh game on dialog node 0 and a resumed one on the care screen.
TEST(ScreenFlow, StartDecision)
{
    const struct {
        int32_t phase, phaseTick;
        Screen screen;
        int32_t particleCount;
    } cases[] = {
        {0, 0, Screen::Dialog, 0},  {0, 1, Screen::Care, 0},    {0, -7, Screen::Care, 0},
        {1, 0, Screen::Care, 0},    {2, 100, Screen::Care, 500}, {3, 0, Screen::Care, 0},
        {4, 3599, Screen::Care, 1000}, {-2, 0, Screen::Care, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "phase " << c.phase << " tick " << c.phaseTick);
        GameLoopState state = freshState();
        state.currentNode = 5;
        progress.phase = c.phase;
        progress.phaseTick = c.phaseTick;
        startDecision(state);
        EXPECT_EQ(state.screen, c.screen);
        EXPECT_EQ(state.care.particleCount, c.particleCount);
        EXPECT_FALSE(state.fading);  // no fade: the first frame already shows the screen
        if (c.screen == Screen::Dialog) {
            EXPECT_EQ(state.currentNode, 0);
        }
    }
}

// A change of screen, tick by tick from the request: 32 ticks darker, the switch, one black
// frame, then the new screen at full brightness and its first tick at T+34.
TEST(ScreenFlow, FadeTimeline)
{
    GameLoopState state = freshState();
    state.screen = Screen::Dialog;
    state.currentNode = 2;
    state.care.wanderTimer = -30;
    progress.phase = 1;
    requestFade(state, Screen::Care);  // tick T

    for (int tick = 1; tick <= 34; ++tick) {
        SCOPED_TRACE(testing::Message() << "T+" << tick);
        advanceScreenFlow(state);
        if (tick <= 31) {
            EXPECT_TRUE(state.fading);
            EXPECT_EQ(state.fadeLevel, 4 * tick);
            EXPECT_EQ(state.screen, Screen::Dialog);
            EXPECT_EQ(state.care.wanderTimer, -30);
        } else if (tick == 32) {
            EXPECT_TRUE(state.fading);
            EXPECT_EQ(state.fadeLevel, 127);
            EXPECT_EQ(state.screen, Screen::Care);
            EXPECT_EQ(state.pendingScreen, Screen::Start);
            EXPECT_EQ(state.care.wanderTimer, 0);
        } else if (tick == 33) {
            EXPECT_FALSE(state.fading);
            EXPECT_EQ(state.fadeLevel, 0);
        }
        // The care simulation stays frozen until its own first tick.
        EXPECT_EQ(progress.phaseTick, tick == 34 ? 1 : 0);
    }
}

TEST(ScreenFlow, FadeToDialogCarriesTheNode)
{
    GameLoopState state = freshState();
    state.screen = Screen::Care;
    requestFade(state, Screen::Dialog, 13);
    for (int tick = 1; tick <= 32; ++tick) advanceScreenFlow(state);
    EXPECT_EQ(state.screen, Screen::Dialog);
    EXPECT_EQ(state.currentNode, 13);
    EXPECT_EQ(state.pendingNode, 0);
}

// Node -2: a new chip, no counters, the phase position kept, and the game ends on black.
TEST(ScreenFlow, QuitAndResetAtTheSwitch)
{
    GameLoopState state = freshState();
    state.screen = Screen::Dialog;
    state.currentNode = 15;
    progress = Progress{3, 1, 40.5f, 12.0f, 3.0f, 90.0f, 17.25f, 11, 4};
    requestFade(state, Screen::Dialog, nextQuitsAndResets);
    for (int tick = 1; tick <= 31; ++tick) advanceScreenFlow(state);
    EXPECT_TRUE(state.running);
    advanceScreenFlow(state);

    EXPECT_FALSE(state.running);
    EXPECT_EQ(state.screen, Screen::Start);
    EXPECT_EQ(state.fadeLevel, 127);
    expectSameProgress(progress, Progress{3, 1, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0});
}

// The event table, with what each event leaves behind.
TEST(GameLoop, EventTable)
{
    {
        GameLoopState state = freshState();
        handleEvent(state, eventOfType(ALLEGRO_EVENT_DISPLAY_CLOSE));
        EXPECT_FALSE(state.running);
        EXPECT_EQ(state.screen, Screen::Start);  // no tick ran
    }
    {
        GameLoopState state = freshState();
        state.redrawRequested = false;
        handleEvent(state, eventOfType(ALLEGRO_EVENT_DISPLAY_EXPOSE));
        EXPECT_TRUE(state.redrawRequested);
        EXPECT_TRUE(frameWanted(state, frameView(state)));
        EXPECT_TRUE(state.running);
    }
    {
        // A timer event is a tick: the start decision runs and its new screen wants a frame.
        GameLoopState state = freshState();
        state.redrawRequested = false;
        const FrameView shown = frameView(state);
        EXPECT_FALSE(frameWanted(state, shown));
        handleEvent(state, eventOfType(ALLEGRO_EVENT_TIMER));
        EXPECT_EQ(state.screen, Screen::Dialog);
        EXPECT_TRUE(frameWanted(state, shown));
    }
    {
        // Escape ends the loop, but its tick still runs.
        GameLoopState state = freshState();
        ALLEGRO_EVENT escape = eventOfType(ALLEGRO_EVENT_KEY_DOWN);
        escape.keyboard.keycode = ALLEGRO_KEY_ESCAPE;
        handleEvent(state, escape);
        EXPECT_TRUE(state.running);
        handleEvent(state, eventOfType(ALLEGRO_EVENT_TIMER));
        EXPECT_FALSE(state.running);
        EXPECT_EQ(state.screen, Screen::Dialog);
        EXPECT_EQ(state.input.escape, keyHeld);
    }
    {
        // A click during the intro reaches the first tick, which only makes the start decision,
        // though it lands on "Will do!", the first answer of node 0.
        GameLoopState state = freshState();
        ALLEGRO_EVENT move = eventOfType(ALLEGRO_EVENT_MOUSE_AXES);
        move.mouse.x = 213;
        move.mouse.y = 430;
        ALLEGRO_EVENT click = eventOfType(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN);
        click.mouse.button = 1;
        handleEvent(state, move);
        handleEvent(state, click);
        handleEvent(state, eventOfType(ALLEGRO_EVENT_TIMER));
        EXPECT_FALSE(state.fading);
        EXPECT_EQ(state.input.buttons[0], keyHeld);
        // The same click on the dialog screen is an answer: the tick sees it before it is cleared.
        handleEvent(state, click);
        handleEvent(state, eventOfType(ALLEGRO_EVENT_TIMER));
        EXPECT_TRUE(state.fading);
        EXPECT_EQ(state.input.buttons[0], keyHeld);
    }
}

// Queued ticks are each run in turn, none merged: 40 timer events are 40 ticks.
TEST(GameLoop, EveryTimerEventIsATick)
{
    GameLoopState state = freshState();
    progress.phaseTick = 1;  // resume on the care screen
    for (int i = 0; i < 41; ++i) handleEvent(state, eventOfType(ALLEGRO_EVENT_TIMER));
    EXPECT_EQ(state.screen, Screen::Care);
    EXPECT_EQ(progress.phaseTick, 41);  // one start decision, then 40 care ticks
}

// The overlay darkens the finished frame by fadeLevel / 127, and black at the switch.
TEST(ScreenFlow, FadeOverlayDarkensTheFrame)
{
    const struct {
        int32_t fadeLevel;
        unsigned char expected;
    } cases[] = {{0, 200}, {64, 99}, {124, 5}, {127, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fadeLevel);
        GameLoopState state;
        freshGame(state, 40, 30);
        state.fadeLevel = c.fadeLevel;
        ALLEGRO_BITMAP* frame = al_create_bitmap(40, 30);
        al_set_target_bitmap(frame);
        al_clear_to_color(al_map_rgb(200, 200, 200));
        al_use_transform(&state.worldTransform);  // as the care screen leaves it: 1/16 scale
        drawFadeOverlay(state);
        EXPECT_EQ(al_get_current_transform()->m[0][0], 1.0f);  // display pixels from here on
        for (int xy : {0, 20, 29}) {
            unsigned char r, g, b;
            al_unmap_rgb(al_get_pixel(frame, xy, xy), &r, &g, &b);
            EXPECT_NEAR(r, c.expected, 1) << "at " << xy;
        }
        al_destroy_bitmap(frame);
    }
}

}  // namespace
