#include <gtest/gtest.h>

#include <vector>

#include "game/game_loop.h"
#include "game/input.h"

namespace {

ALLEGRO_EVENT keyEvent(ALLEGRO_EVENT_TYPE type, int keycode)
{
    ALLEGRO_EVENT event{};
    event.type = type;
    event.keyboard.keycode = keycode;
    return event;
}

ALLEGRO_EVENT mouseEvent(ALLEGRO_EVENT_TYPE type, int x, int y, unsigned button)
{
    ALLEGRO_EVENT event{};
    event.type = type;
    event.mouse.x = x;
    event.mouse.y = y;
    event.mouse.button = button;
    return event;
}

// Each tracked key lands in its own field with both bits; the rest are ignored.
TEST(Input, KeyTable)
{
    const struct {
        int keycode;
        KeyState InputState::*field;
    } cases[] = {
        {ALLEGRO_KEY_W, &InputState::up},       {ALLEGRO_KEY_UP, &InputState::up},
        {ALLEGRO_KEY_S, &InputState::down},     {ALLEGRO_KEY_DOWN, &InputState::down},
        {ALLEGRO_KEY_A, &InputState::left},     {ALLEGRO_KEY_LEFT, &InputState::left},
        {ALLEGRO_KEY_D, &InputState::right},    {ALLEGRO_KEY_RIGHT, &InputState::right},
        {ALLEGRO_KEY_ENTER, &InputState::confirm}, {ALLEGRO_KEY_SPACE, &InputState::confirm},
        {ALLEGRO_KEY_ESCAPE, &InputState::escape},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keycode);
        InputState input{};
        onKeyDown(input, keyEvent(ALLEGRO_EVENT_KEY_DOWN, c.keycode));
        EXPECT_EQ(input.*c.field, keyHeld | keyPressed);
        onKeyUp(input, keyEvent(ALLEGRO_EVENT_KEY_UP, c.keycode));
        EXPECT_EQ(input.*c.field, keyPressed);
    }
    InputState input{};
    onKeyDown(input, keyEvent(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_Q));
    onKeyDown(input, keyEvent(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_ESCAPE));  // wrong type for the handler
    EXPECT_EQ(input.escape, 0);
    EXPECT_EQ(input.up | input.down | input.left | input.right | input.confirm, 0);
}

// What each tick sees of a key, given the events that came before it.
TEST(Input, PressedLastsExactlyOneTick)
{
    GameLoopState state;
    initGameLoopState(state, 854, 480, 1);
    state.screen = Screen::Dialog;  // any screen; the input rules do not depend on it
    ALLEGRO_EVENT tick{};
    tick.type = ALLEGRO_EVENT_TIMER;

    // Pressed and released between two ticks: the next tick sees pressed without held.
    handleEvent(state, keyEvent(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_SPACE));
    handleEvent(state, keyEvent(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_SPACE));
    EXPECT_EQ(state.input.confirm, keyPressed);
    handleEvent(state, tick);
    EXPECT_EQ(state.input.confirm, 0);

    // Held through several ticks, with key repeats: pressed for the first tick only.
    handleEvent(state, keyEvent(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_D));
    handleEvent(state, tick);
    EXPECT_EQ(state.input.right, keyHeld);
    handleEvent(state, keyEvent(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_D));
    handleEvent(state, tick);
    EXPECT_EQ(state.input.right, keyHeld);
}

TEST(Input, MouseButtonsOneToFiveOnlyAndNeverReleased)
{
    const struct {
        ALLEGRO_EVENT_TYPE type;
        unsigned button;
        KeyState expected[mouseButtonCount];
    } cases[] = {
        {ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 1, {3, 0, 0, 0, 0}},
        {ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 5, {0, 0, 0, 0, 3}},
        {ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 0, {0, 0, 0, 0, 0}},
        {ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 6, {0, 0, 0, 0, 0}},
        {ALLEGRO_EVENT_MOUSE_BUTTON_UP, 1, {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " button " << c.button);
        GameLoopState state;
        initGameLoopState(state, 854, 480, 1);
        handleEvent(state, mouseEvent(c.type, 50, 60, c.button));
        for (int i = 0; i < mouseButtonCount; ++i) EXPECT_EQ(state.input.buttons[i], c.expected[i]);
        // Button events carry a position, but only mouse moves change the pointer.
        EXPECT_EQ(state.input.mouseX, 0);
        EXPECT_EQ(state.input.mouseY, 0);
    }

    GameLoopState state;
    initGameLoopState(state, 854, 480, 1);
    handleEvent(state, mouseEvent(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 0, 0, 1));
    handleEvent(state, mouseEvent(ALLEGRO_EVENT_MOUSE_BUTTON_UP, 0, 0, 1));
    EXPECT_EQ(state.input.buttons[0], keyHeld | keyPressed);  // a release changes nothing
    handleEvent(state, mouseEvent(ALLEGRO_EVENT_MOUSE_AXES, 700, 300, 0));
    EXPECT_EQ(state.input.mouseX, 700);
    EXPECT_EQ(state.input.mouseY, 300);
}

// A tap is a click of button 1 where the finger lands, pointer first, whenever no other finger
// that the game knows of is down, whatever Allegro's primary flag says (false throughout here).
// A lost begin, or a finger still down when the page was hidden, never stops later taps; a lost
// end costs the next tap at most.
TEST(Input, TapsWhileNoOtherFingerIsDown)
{
    constexpr ALLEGRO_EVENT_TYPE begin = ALLEGRO_EVENT_TOUCH_BEGIN, end = ALLEGRO_EVENT_TOUCH_END;
    struct Step {
        ALLEGRO_EVENT_TYPE type;
        int id;
        bool clicks;
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"taps one after another", {{begin, 1, true}, {end, 1, false}, {begin, 2, true}, {end, 2, false}}},
        {"a finger slides", {{begin, 1, true}, {ALLEGRO_EVENT_TOUCH_MOVE, 1, false}}},
        {"two fingers", {{begin, 1, true}, {begin, 2, false}, {end, 1, false}, {begin, 3, false},
                         {end, 2, false}, {end, 3, false}, {begin, 4, true}}},
        {"a cancel", {{begin, 1, true}, {ALLEGRO_EVENT_TOUCH_CANCEL, 1, false}, {begin, 2, true}}},
        {"an end without a begin", {{end, 5, false}, {begin, 1, true}, {end, 1, false}, {begin, 2, true}}},
        {"a begin without an end, then a hidden page",
         {{begin, 1, true}, {begin, 2, false}, {ALLEGRO_EVENT_DISPLAY_SWITCH_OUT, 0, false}, {begin, 3, true}}},
        {"the same finger begins again", {{begin, 1, true}, {begin, 1, true}}},
        // Allegro gives a new finger the first free id; one whose end is lost keeps its own.
        {"an end lost, then taps", {{begin, 1, true}, {begin, 2, false}, {end, 2, false}, {begin, 2, true}}},
        {"a second finger's end lost", {{begin, 1, true}, {begin, 2, false}, {end, 1, false}, {begin, 1, false},
                                        {end, 1, false}, {begin, 1, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameLoopState state;
        initGameLoopState(state, 854, 480, 1);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            const Step& step = c.steps[i];
            ALLEGRO_EVENT event{};
            event.type = step.type;
            event.touch.id = step.id;
            event.touch.x = 100.75f * step.id;
            event.touch.y = 10.25f * step.id;
            event.touch.primary = false;
            const int32_t x = state.input.mouseX, y = state.input.mouseY;
            handleEvent(state, event);
            EXPECT_EQ(isPressed(state.input.buttons[0]), step.clicks);
            EXPECT_EQ(state.input.mouseX, step.clicks ? (int32_t)(100.75f * step.id) : x);
            EXPECT_EQ(state.input.mouseY, step.clicks ? (int32_t)(10.25f * step.id) : y);
            clearPressed(state.input);
        }
    }
}

}  // namespace
