// The input record: what the keyboard and mouse have done since the last tick.
#pragma once
#include <allegro5/allegro.h>
#include <cstdint>

// One key or mouse button. Bit 0: held down. Bit 1: went down since the end of the last tick.
using KeyState = int32_t;
constexpr KeyState keyHeld = 1;
constexpr KeyState keyPressed = 2;

constexpr int mouseButtonCount = 5;

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
};

inline bool isPressed(KeyState key) { return (key & keyPressed) != 0; }

// Act only on events of their own type; keys the game does not track are ignored.
void onKeyDown(InputState& input, const ALLEGRO_EVENT& event);
void onKeyUp(InputState& input, const ALLEGRO_EVENT& event);
void onMouseAxes(InputState& input, const ALLEGRO_EVENT& event);
void onMouseButtonDown(InputState& input, const ALLEGRO_EVENT& event);
// A finger that touches the screen while no other is on it clicks mouse button 1 where it
// lands: the pointer moves there first. Other fingers, and lifting or sliding one, do nothing.
void onTouchBegin(InputState& input, const ALLEGRO_EVENT& event);

// End of a tick: every key and button forgets that it was pressed, but stays held.
void clearPressed(InputState& input);
