// The input record: what the keyboard, the mouse and fingers on a touch screen have done since
// the last tick.
#pragma once
#include <allegro5/allegro.h>
#include <cstdint>

// One key or mouse button. Bit 0: held down. Bit 1: went down since the end of the last tick.
using KeyState = int32_t;
constexpr KeyState keyHeld = 1;
constexpr KeyState keyPressed = 2;

constexpr int mouseButtonCount = 5;
// As many fingers as Allegro tells apart at once.
constexpr int maxFingers = ALLEGRO_TOUCH_INPUT_MAX_TOUCH_COUNT;

struct InputState {
    KeyState up;
    KeyState down;
    KeyState left;
    KeyState right;
    KeyState confirm;
    KeyState escape;
    int32_t mouseX;  // display pixels, from the last mouse-move event
    int32_t mouseY;
    KeyState buttons[mouseButtonCount];  // mouse buttons 1 to 5, button 1 first
    // The fingers on the screen that the game knows of, by Allegro's touch id, the first down
    // first. The game keeps them itself rather than trusting Allegro's primary flag: Allegro
    // counts fingers down and drops touch events that come while it has no display, so a lost
    // begin or end (a page hidden mid-touch) would leave its count wrong, and every later tap
    // ignored, for good.
    int fingerCount;
    int fingers[maxFingers];
};

inline bool isPressed(KeyState key) { return (key & keyPressed) != 0; }

// Act only on events of their own type; keys the game does not track are ignored.
void onKeyDown(InputState& input, const ALLEGRO_EVENT& event);
void onKeyUp(InputState& input, const ALLEGRO_EVENT& event);
void onMouseAxes(InputState& input, const ALLEGRO_EVENT& event);
void onMouseButtonDown(InputState& input, const ALLEGRO_EVENT& event);
// A finger that touches the screen while no other that the game knows of is on it clicks mouse
// button 1 where it lands: the pointer moves there first. Other fingers, and lifting or sliding
// one, do nothing.
void onTouchBegin(InputState& input, const ALLEGRO_EVENT& event);
// A finger lifted or cancelled, and with it every finger down before it: one whose end was lost
// counts as lifted once a finger that touched after it lifts, so a lost end costs at most the next
// tap, never the taps after it (and a finger held while a later one lifts no longer stops taps).
// One the game never saw begin changes nothing.
void onTouchEnd(InputState& input, const ALLEGRO_EVENT& event);
// The display lost the focus (in the browser: the page was hidden, or the window left): a finger
// may lift meanwhile with no end the game hears of, so every finger counts as lifted.
void onDisplaySwitchOut(InputState& input, const ALLEGRO_EVENT& event);

// End of a tick: every key and button forgets that it was pressed, but stays held.
void clearPressed(InputState& input);
