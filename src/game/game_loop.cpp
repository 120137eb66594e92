#include "game/game_loop.h"

#include <chrono>

#include "care/care_state.h"
#include "dialog/dialog_screen.h"
#include "game/frame_view.h"
#include "game/screen_flow.h"
#include "game/screen_report.h"
#include "progress/progress.h"
#include "render/care_screen.h"
#include "render/draw_sprite.h"
#include "shell/fit_transform.h"
#include "shell/platform.h"
#include "shell/startup.h"

namespace {

// Walks and particle showers differ from run to run.
uint64_t clockSeed()
{
    return (uint64_t)std::chrono::system_clock::now().time_since_epoch().count();
}

// Whether the display shows the map smaller than its canvas.
bool mapShrunk(const ALLEGRO_TRANSFORM& worldTransform)
{
    float x = 0;
    float bottom = (float)mapCanvasHeight;
    al_transform_coordinates(&worldTransform, &x, &bottom);
    return bottom < (float)mapCanvasHeight;
}

}  // namespace

void initGameLoopState(GameLoopState& state, int32_t displayWidth, int32_t displayHeight,
                       uint64_t rngStart)
{
    FitTransform fit;
    makeFitTransform(fit, (float)displayWidth, (float)displayHeight, (float)mapCanvasWidth,
                     (float)mapCanvasHeight);
    state = GameLoopState{};
    seedRng(state.rng, rngStart);
    state.input = InputState{};
    initCareState(state.care);
    state.displayWidth = displayWidth;
    state.displayHeight = displayHeight;
    state.screen = Screen::Start;
    state.fading = false;
    state.fadeLevel = 0;
    state.pendingScreen = Screen::Start;
    state.pendingNode = 0;
    state.currentNode = 0;
    state.hover = 0;
    state.running = true;
    state.redrawRequested = true;
    state.saveRequested = false;
    al_identity_transform(&state.screenTransform);
    // Only the scale is used: the map is anchored at the display's top-left corner.
    al_copy_transform(&state.worldTransform, &fit.transform);
}

void handleEvent(GameLoopState& state, const ALLEGRO_EVENT& event)
{
    switch (event.type) {
    case ALLEGRO_EVENT_KEY_DOWN: onKeyDown(state.input, event); break;
    case ALLEGRO_EVENT_KEY_UP: onKeyUp(state.input, event); break;
    case ALLEGRO_EVENT_MOUSE_AXES: onMouseAxes(state.input, event); break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN: onMouseButtonDown(state.input, event); break;
    case ALLEGRO_EVENT_TOUCH_BEGIN: onTouchBegin(state.input, event); break;
    case ALLEGRO_EVENT_TOUCH_END:
    case ALLEGRO_EVENT_TOUCH_CANCEL: onTouchEnd(state.input, event); break;
    case ALLEGRO_EVENT_DISPLAY_SWITCH_OUT: onDisplaySwitchOut(state.input, event); break;
    case ALLEGRO_EVENT_TIMER: runTick(state); break;
    case ALLEGRO_EVENT_DISPLAY_EXPOSE: state.redrawRequested = true; break;
    case ALLEGRO_EVENT_DISPLAY_CLOSE: state.running = false; break;
    default: break;  // key repeats, button releases, sliding fingers and the rest change nothing
    }
}

void runTick(GameLoopState& state)
{
    // Escape ends the loop after this pass; the tick itself still runs.
    if (isPressed(state.input.escape)) state.running = false;
    advanceScreenFlow(state);
    clearPressed(state.input);
}

bool frameWanted(const GameLoopState& state, const FrameView& shown)
{
    return state.redrawRequested || !sameFrame(frameView(state), shown);
}

void drawFrame(const GameLoopState& state)
{
    // The care screen clears only what its map leaves uncovered.
    if (state.screen != Screen::Care) al_clear_to_color(al_map_rgb(0, 0, 0));
    switch (state.screen) {
    case Screen::Care: drawCareScreen(state); break;
    case Screen::Dialog: drawDialog(state); break;
    case Screen::Start: break;
    }
    drawFadeOverlay(state);
}

void runGameLoop()
{
    // One record for the whole run; static because the particle pool makes it large.
    static GameLoopState state;
    ALLEGRO_BITMAP* backBuffer = al_get_target_bitmap();
    initGameLoopState(state, al_get_bitmap_width(backBuffer), al_get_bitmap_height(backBuffer),
                      clockSeed());
    loadAssets(state.assets, audioInstalled, mapShrunk(state.worldTransform));
    // The display is made once and never recreated, so the map is scaled once for the run.
    state.assets.scaledMap = makeScaledMap(state.assets.mapBitmap, state.worldTransform);
    // Nothing reads the picture at its own size again: its memory goes back before the first
    // frame (the textures for the panel, the shaders) asks for more.
    if (state.assets.scaledMap && state.assets.mapBitmap) {
        al_destroy_bitmap(state.assets.mapBitmap);
        state.assets.mapBitmap = nullptr;
    }
    yieldToPage();
    loadProgress();
    publishProgress();
    // From here on a lost display has progress of its own to keep: the copy published after
    // the last whole pass, never the record a tick may be halfway through changing.
    watchDisplayConnection(savePublishedProgress);
    al_start_timer(timer);

    // Only a page keeps an accessible copy of the screen: desktops need no description of it.
    PageWindow page;
    const bool inPage = pageWindow(page);
    FrameView shown = frameView(state);
    while (state.running) {
        al_wait_for_event(eventQueue, nullptr);
        // Every queued event is handled, each timer event a tick of its own; then one frame.
        ALLEGRO_EVENT event;
        while (al_get_next_event(eventQueue, &event)) handleEvent(state, event);
        publishProgress();
        // A logout, a shutdown or a closed terminal ends the game like the close box.
        if (endSignalled()) state.running = false;
        // A frame like the one on the display is neither drawn nor flipped again.
        if (frameWanted(state, shown)) {
            drawFrame(state);
            al_flip_display();
            shown = frameView(state);
            state.redrawRequested = false;
        }
        // The page's accessible copy of the screen follows what the frame shows.
        if (inPage) reportScreenChanges(state);
        // After the flip, so the black frame of a switch is already on screen; the last save
        // comes after the loop anyway.
        if (state.saveRequested && state.running) saveProgress();
        state.saveRequested = false;
    }

    saveProgress();
    al_stop_timer(timer);
    al_flush_event_queue(eventQueue);
    // Before the display goes: destroying it would otherwise convert every picture it holds,
    // and a half-loaded one never finishes converting.
    releaseAssets(state.assets);
}
