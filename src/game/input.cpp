#include "game/input.h"

#include <algorithm>
#include <initializer_list>

namespace {

struct KeyBinding {
    int keycode;
    KeyState InputState::*field;
};

const KeyBinding keyTable[] = {
    {ALLEGRO_KEY_W, &InputState::up},         {ALLEGRO_KEY_UP, &InputState::up},
    {ALLEGRO_KEY_S, &InputState::down},       {ALLEGRO_KEY_DOWN, &InputState::down},
    {ALLEGRO_KEY_A, &InputState::left},       {ALLEGRO_KEY_LEFT, &InputState::left},
    {ALLEGRO_KEY_D, &InputState::right},      {ALLEGRO_KEY_RIGHT, &InputState::right},
    {ALLEGRO_KEY_ENTER, &InputState::confirm}, {ALLEGRO_KEY_SPACE, &InputState::confirm},
    {ALLEGRO_KEY_ESCAPE, &InputState::escape},
};

KeyState* keyField(InputState& input, int keycode)
{
    for (const KeyBinding& binding : keyTable)
        if (binding.keycode == keycode) return &(input.*binding.field);
    return nullptr;
}

// Lifts the finger `id`, and when `withEarlier` the fingers down before it; the rest keep their order.
void liftFinger(InputState& input, int id, bool withEarlier)
{
    for (int i = 0; i < input.fingerCount; ++i) {
        if (input.fingers[i] != id) continue;
        const int first = withEarlier ? 0 : i;
        std::copy(input.fingers + i + 1, input.fingers + input.fingerCount, input.fingers + first);
        input.fingerCount -= i + 1 - first;
        return;
    }
}

}  // namespace

void onKeyDown(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_KEY_DOWN) return;
    if (KeyState* key = keyField(input, event.keyboard.keycode)) *key = keyHeld | keyPressed;
}

void onKeyUp(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_KEY_UP) return;
    // Only held is cleared: a key pressed and released between two ticks still counts as pressed.
    if (KeyState* key = keyField(input, event.keyboard.keycode)) *key &= ~keyHeld;
}

void onMouseAxes(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_MOUSE_AXES) return;
    input.mouseX = event.mouse.x;
    input.mouseY = event.mouse.y;
}

void onMouseButtonDown(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_MOUSE_BUTTON_DOWN) return;
    const unsigned button = event.mouse.button;
    if (button >= 1 && button <= mouseButtonCount) input.buttons[button - 1] = keyHeld | keyPressed;
}

void onTouchBegin(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_TOUCH_BEGIN) return;
    // A finger that begins again under the same id has lifted since, unheard.
    liftFinger(input, event.touch.id, false);
    const bool alone = input.fingerCount == 0;
    if (input.fingerCount < maxFingers) input.fingers[input.fingerCount++] = event.touch.id;
    if (!alone) return;
    input.mouseX = (int32_t)event.touch.x;
    input.mouseY = (int32_t)event.touch.y;
    input.buttons[0] = keyHeld | keyPressed;
}

void onTouchEnd(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type != ALLEGRO_EVENT_TOUCH_END && event.type != ALLEGRO_EVENT_TOUCH_CANCEL) return;
    liftFinger(input, event.touch.id, true);
}

void onDisplaySwitchOut(InputState& input, const ALLEGRO_EVENT& event)
{
    if (event.type == ALLEGRO_EVENT_DISPLAY_SWITCH_OUT) input.fingerCount = 0;
}

void clearPressed(InputState& input)
{
    for (KeyState* key : {&input.up, &input.down, &input.left, &input.right, &input.confirm, &input.escape})
        *key &= ~keyPressed;
    for (KeyState& button : input.buttons) button &= ~keyPressed;
}
