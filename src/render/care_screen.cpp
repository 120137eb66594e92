#include "render/care_screen.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include "progress/progress.h"
#include "render/draw_particles.h"
#include "render/draw_sprite.h"
#include "render/rect_batch.h"

namespace {

struct MeterBar {
    int32_t y;
    ALLEGRO_BITMAP* Assets::*icon;
    SpriteId iconId;
    float Progress::*meter;
};

const MeterBar meterBars[] = {
    {10, &Assets::iconHeat, SpriteIconHeat, &Progress::heat},
    {36, &Assets::iconFire, SpriteIconFire, &Progress::fire},
    {62, &Assets::iconFood, SpriteIconFood, &Progress::food},
    {88, &Assets::iconWater, SpriteIconWater, &Progress::water},
    {114, &Assets::iconHealth, SpriteIconHealth, &Progress::health},
};

// A side-panel control: its sprite's top-left corner is (w - fromRight, y), or
// (w - fromRight, h - y) when measured from the bottom; its highlight is a square of `size`.
struct PanelControl {
    int32_t hover;
    int32_t fromRight;
    int32_t y;
    bool yFromBottom;
    int32_t size;
    ALLEGRO_BITMAP* Assets::*sprite;
    SpriteId spriteId;
};

const PanelControl panelControls[] = {
    {1, 290, 140, false, 135, &Assets::actionButton1, SpriteActionButton1},
    {2, 145, 140, false, 135, &Assets::actionButton2, SpriteActionButton2},
    {3, 290, 285, false, 135, &Assets::actionButton3, SpriteActionButton3},
    {4, 145, 285, false, 135, &Assets::actionButton4, SpriteActionButton4},
    {0, 26, 26, true, 16, &Assets::closeIcon, SpriteCloseIcon},
};

void drawMapLayer(const GameLoopState& state)
{
    const CareState& care = state.care;
    // The map is opaque, so copying it gives the same pixels as blending it, for less work.
    ALLEGRO_STATE blenderState;
    al_store_state(&blenderState, ALLEGRO_STATE_BLENDER);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    // Scaled and filtered once when the loop began, it is only copied here, pixel for pixel.
    if (state.assets.scaledMap) {
        al_use_transform(&state.screenTransform);
        al_draw_bitmap(state.assets.scaledMap, 0, 0, 0);
    }
    al_use_transform(&state.worldTransform);
    if (!state.assets.scaledMap) drawMapPicture(state.assets.mapBitmap);
    al_restore_state(&blenderState);

    // The shadow stays on the ground and shrinks as the chip rises.
    const float shrink = (float)(20 - care.hop / 2) / 20.0f;
    al_draw_filled_ellipse((float)(care.chipX + 43), (float)(care.chipY + 53),
                           (float)(43.0 * shrink), (float)(12.0 * shrink), al_map_rgba(0, 0, 0, 150));

    drawParticles(care.particles, care.particleCount);
    drawSprite(state.assets.chipSprite, SpriteChip, (float)care.chipX, (float)(care.chipY - care.hop));
}

void drawPanelLayer(const GameLoopState& state)
{
    const int32_t w = state.displayWidth;
    const int32_t h = state.displayHeight;
    al_use_transform(&state.screenTransform);
    // The rectangles first, in one call, then the sprites, in one batch: no sprite overlaps a
    // bar, a highlight other than its own or another sprite, so the pixels are the same as
    // drawing each row in turn.
    RectBatch rects;
    rects.count = 0;
    addRect(rects, (float)(w - 300), 0, (float)w, (float)h, al_map_rgba(255, 127, 127, 127));

    const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
    const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
    for (const MeterBar& bar : meterBars) {
        addRect(rects, (float)(w - 266), (float)bar.y, (float)(w - 10), (float)(bar.y + 16), black);
        addRect(rects, (float)(w - 266), (float)bar.y, meterFillEnd(w, progress.*bar.meter),
                (float)(bar.y + 16), red);
    }
    // During the cool-down after an action the controls are gone, highlight and all.
    const bool controlsShown = state.care.buttonsEnabled;
    for (const PanelControl& control : panelControls) {
        // Behind the sprite: it shows only through the sprite's transparent pixels.
        if (!controlsShown || state.hover != control.hover) continue;
        const float x = (float)(w - control.fromRight);
        const float y = (float)(control.yFromBottom ? h - control.y : control.y);
        addRect(rects, x, y, x + (float)control.size, y + (float)control.size, al_map_rgb(255, 255, 255));
    }
    drawRects(rects);

    // A missing sprite's stand-in box is drawn at once rather than held; no sprite overlaps it.
    al_hold_bitmap_drawing(true);
    for (const MeterBar& bar : meterBars)
        drawSprite(state.assets.*bar.icon, bar.iconId, (float)(w - 290), (float)bar.y);
    if (controlsShown) {
        for (const PanelControl& control : panelControls) {
            const int32_t y = control.yFromBottom ? h - control.y : control.y;
            drawSprite(state.assets.*control.sprite, control.spriteId, (float)(w - control.fromRight), (float)y);
        }
    }
    al_hold_bitmap_drawing(false);

    al_draw_filled_rectangle(0, 0, 170, 50, al_map_rgba(255, 127, 127, 255));
    al_hold_bitmap_drawing(true);
    al_draw_textf(state.assets.uiFont, al_map_rgb(255, 255, 255), 5, 5, 0, "Good Chips: %d",
                  (int)progress.goodCount);
    al_draw_textf(state.assets.uiFont, red, 5, 25, 0, "Dead Chips: %d", (int)progress.deadCount);
    al_hold_bitmap_drawing(false);
}

}  // namespace

float meterFillEnd(int32_t displayWidth, float meter)
{
    // A full meter fills the background exactly; health healed past 255 runs over its end.
    return (float)displayWidth - ((255.0f - meter) + 10.0f);
}

void drawCareScreen(const GameLoopState& state)
{
    drawMapLayer(state);
    drawPanelLayer(state);
}
