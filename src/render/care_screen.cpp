#include "render/care_screen.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include "care/panel_layout.h"
#include "progress/progress.h"
#include "render/draw_particles.h"
#include "render/draw_sprite.h"

namespace {

void drawMapLayer(const GameLoopState& state)
{
    const CareState& care = state.care;
    al_use_transform(&state.worldTransform);
    // The map is opaque, so copying it gives the same pixels as blending it, for less work.
    ALLEGRO_STATE blenderState;
    al_store_state(&blenderState, ALLEGRO_STATE_BLENDER);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    drawMapPicture(state.assets.mapBitmap);
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
    al_draw_filled_rectangle((float)(w - panelWidth), 0, (float)w, (float)h, al_map_rgba(255, 127, 127, 127));

    const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
    const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
    for (const MeterBar& bar : meterBars) {
        const float v = progress.*bar.meter;
        const float barLeft = (float)(w - meterBarFromRight);
        const float barBottom = (float)(bar.y + meterBarHeight);
        drawSprite(state.assets.*bar.icon, bar.iconId, (float)(w - meterIconFromRight), (float)bar.y);
        al_draw_filled_rectangle(barLeft, (float)bar.y, (float)(w - meterBarEndFromRight), barBottom, black);
        // A full meter fills the background exactly; health healed past 255 runs over its end.
        const float fillEnd = (float)w - ((255.0f - v) + (float)meterBarEndFromRight);
        al_draw_filled_rectangle(barLeft, (float)bar.y, fillEnd, barBottom, red);
    }

    // During the cool-down after an action the controls are gone, highlight and all.
    if (state.care.buttonsEnabled) {
        const ALLEGRO_COLOR white = al_map_rgb(255, 255, 255);
        for (const PanelControl& control : panelControls) {
            const int32_t x = w - control.fromRight;
            const int32_t y = control.yFromBottom ? h - control.y : control.y;
            // Behind the sprite: it shows only through the sprite's transparent pixels.
            if (state.hover == control.hover) {
                al_draw_filled_rectangle((float)x, (float)y, (float)(x + control.size),
                                         (float)(y + control.size), white);
            }
            drawSprite(state.assets.*control.sprite, control.spriteId, (float)x, (float)y);
        }
    }

    al_draw_filled_rectangle(0, 0, 170, 50, al_map_rgba(255, 127, 127, 255));
    al_draw_textf(state.assets.uiFont, al_map_rgb(255, 255, 255), 5, 5, 0, "Good Chips: %d",
                  (int)progress.goodCount);
    al_draw_textf(state.assets.uiFont, red, 5, 25, 0, "Dead Chips: %d", (int)progress.deadCount);
}

}  // namespace

void drawCareScreen(const GameLoopState& state)
{
    drawMapLayer(state);
    drawPanelLayer(state);
}
