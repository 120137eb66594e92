#include "render/care_screen.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include "care/panel_layout.h"
#include "progress/progress.h"
#include "render/draw_particles.h"
#include "render/draw_sprite.h"
#include "render/rect_batch.h"

namespace {

// Black wherever the scaled map does not reach: to its right and below it. The map is opaque and
// copied over whatever the last frame left, so clearing under it would only cost time.
void clearBesideMap(const GameLoopState& state)
{
    const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
    ALLEGRO_BITMAP* map = state.assets.scaledMap;
    if (!map) {
        al_clear_to_color(black);
        return;
    }
    const int mapWidth = al_get_bitmap_width(map);
    const int mapHeight = al_get_bitmap_height(map);
    int x, y, w, h;
    al_get_clipping_rectangle(&x, &y, &w, &h);
    if (mapWidth < state.displayWidth) {
        al_set_clipping_rectangle(mapWidth, 0, state.displayWidth - mapWidth, state.displayHeight);
        al_clear_to_color(black);
    }
    if (mapHeight < state.displayHeight) {
        al_set_clipping_rectangle(0, mapHeight, mapWidth, state.displayHeight - mapHeight);
        al_clear_to_color(black);
    }
    al_set_clipping_rectangle(x, y, w, h);
}

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

    // The shadow is centred on the bottom edge of the chip sprite at rest, as wide as the sprite;
    // it stays on the ground and shrinks as the chip rises.
    const SpriteRect& chip = spriteRects[SpriteChip];
    const int32_t halfWidth = chip.w / 2;
    const float shrink = (float)(20 - care.hop / 2) / 20.0f;
    al_draw_filled_ellipse((float)(care.chipX + halfWidth), (float)(care.chipY + chip.h),
                           (float)(halfWidth * (double)shrink), (float)(12.0 * shrink), al_map_rgba(0, 0, 0, 150));

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
    addRect(rects, (float)(w - panelWidth), 0, (float)w, (float)h, al_map_rgba(255, 127, 127, 127));

    const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
    const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
    for (const MeterBar& bar : meterBars) {
        const float barLeft = (float)(w - meterBarFromRight);
        const float barBottom = (float)(bar.y + meterBarHeight);
        addRect(rects, barLeft, (float)bar.y, (float)(w - meterBarEndFromRight), barBottom, black);
        addRect(rects, barLeft, (float)bar.y, meterFillEnd(w, progress.*bar.meter), barBottom, red);
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
        drawSprite(state.assets.*bar.icon, bar.iconId, (float)(w - meterIconFromRight), (float)bar.y);
    if (controlsShown) {
        for (const PanelControl& control : panelControls) {
            const int32_t y = control.yFromBottom ? h - control.y : control.y;
            drawSprite(state.assets.*control.sprite, control.spriteId, (float)(w - control.fromRight), (float)y);
        }
    }
    al_hold_bitmap_drawing(false);

    al_draw_filled_rectangle(0, 0, countersWidth, countersHeight, al_map_rgba(255, 127, 127, 255));
    al_hold_bitmap_drawing(true);
    al_draw_textf(state.assets.uiFont, al_map_rgb(255, 255, 255), countersTextX, goodCountY, 0,
                  goodCountText, (int)progress.goodCount);
    al_draw_textf(state.assets.uiFont, red, countersTextX, deadCountY, 0, deadCountText,
                  (int)progress.deadCount);
    al_hold_bitmap_drawing(false);
}

}  // namespace

float meterFillEnd(int32_t displayWidth, float meter)
{
    // A full meter fills the background exactly; health healed past 255 runs over its end.
    return (float)displayWidth - ((255.0f - meter) + (float)meterBarEndFromRight);
}

void drawCareScreen(const GameLoopState& state)
{
    clearBesideMap(state);
    drawMapLayer(state);
    drawPanelLayer(state);
}
