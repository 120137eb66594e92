#include "care/care_panel.h"

#include "care/meters.h"

const CareAction careActions[careActionCount] = {
    // needsLow       refill          heatDrop heatOut fireRaise fireScale ignoredTicks
    {&Progress::food, &Progress::food, 0.0f, false, 0.0f, 1.0f, 20},  // feed
    {&Progress::water, &Progress::water, 100.0f, false, 0.0f, 1.0f, 30},  // water, cools a little
    {nullptr, nullptr, 0.0f, false, 20.0f, 1.0f, 50},  // stoke the fire
    {nullptr, nullptr, 0.0f, true, 0.0f, 0.25f, 50},  // damp the fire, all heat gone
};

static constexpr float lowMeter = 100.0f;

static bool inside(const PanelControl& c, int32_t x, int32_t y, int32_t w, int32_t h)
{
    const int32_t left = w - c.fromRight;
    const int32_t top = c.yFromBottom ? h - c.y : c.y;
    return left < x && x < left + c.size && top < y && y < top + c.size;
}

int32_t hitTestPanel(int32_t x, int32_t y, int32_t w, int32_t h)
{
    int32_t hover = hoverNone;
    for (const PanelControl& c : panelControls) {
        if (inside(c, x, y, w, h)) hover = c.hover;
    }
    return hover;
}

void panelStep(GameLoopState& state)
{
    state.hover = hoverNone;
    if (!state.care.buttonsEnabled) return;  // a cool-down: nothing in the panel reacts
    state.hover = hitTestPanel(state.input.mouseX, state.input.mouseY, state.displayWidth,
                               state.displayHeight);
    if (state.hover == hoverClose && isPressed(state.input.buttons[0])) state.running = false;
}

bool careActionStep(GameLoopState& state)
{
    if (state.hover < 1 || state.hover > careActionCount) return false;
    if (!isPressed(state.input.buttons[0])) return false;
    const CareAction& action = careActions[state.hover - 1];
    Progress& p = progress;
    if (action.needsLow && !(p.*action.needsLow < lowMeter)) return false;

    if (action.refill) p.*action.refill = meterFull;
    if (action.heatDrop != 0.0f) {
        p.heat = p.heat - action.heatDrop;
        if (p.heat < 0.0f) p.heat = 0.0f;
    }
    if (action.heatOut) p.heat = 0.0f;
    if (action.fireRaise != 0.0f) {
        p.fire = p.fire + action.fireRaise;
        if (p.fire > meterFull) p.fire = meterFull;
    }
    if (action.fireScale != 1.0f) p.fire = p.fire * action.fireScale;

    state.care.buttonsEnabled = false;
    // The wander step counts this up to 0 in the following ticks and re-enables the panel in
    // the tick after that.
    state.care.wanderTimer = 1 - action.ignoredTicks;
    return true;
}
