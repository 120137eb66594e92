#include "render/draw_sprite.h"

#include <allegro5/allegro_primitives.h>
#include <cmath>

namespace {

struct StandIn {
    unsigned char r, g, b, a;
};

// Box colours for missing sprites, in SpriteId order: each icon hints at its meter. The controls
// are slightly translucent so that the white hover highlight behind them still shows.
const StandIn spriteStandIns[spriteCount] = {
    {255, 140, 0, 255},    // heat
    {230, 60, 20, 255},    // fire
    {40, 120, 230, 255},   // water
    {90, 170, 60, 255},    // food
    {240, 80, 140, 255},   // health
    {200, 30, 30, 200},    // close
    {70, 80, 110, 200},    // action 1
    {70, 80, 110, 200},    // action 2
    {70, 80, 110, 200},    // action 3
    {70, 80, 110, 200},    // action 4
    {230, 200, 80, 255},   // chip
};

const StandIn mapStandIn = {34, 68, 45, 255};  // marsh green

void drawStandIn(const StandIn& colour, float x, float y, float w, float h)
{
    al_draw_filled_rectangle(x, y, x + w, y + h, al_map_rgba(colour.r, colour.g, colour.b, colour.a));
}

}  // namespace

void drawSprite(ALLEGRO_BITMAP* bitmap, SpriteId id, float x, float y)
{
    if (bitmap) {
        al_draw_bitmap(bitmap, x, y, 0);
        return;
    }
    const SpriteRect& rect = spriteRects[id];
    drawStandIn(spriteStandIns[id], x, y, (float)rect.w, (float)rect.h);
}

void drawMapPicture(ALLEGRO_BITMAP* bitmap)
{
    if (bitmap) {
        al_draw_bitmap(bitmap, 0, 0, 0);
        return;
    }
    drawStandIn(mapStandIn, 0, 0, (float)mapCanvasWidth, (float)mapCanvasHeight);
}

ALLEGRO_BITMAP* makeScaledMap(ALLEGRO_BITMAP* map, const ALLEGRO_TRANSFORM& worldTransform)
{
    float right = (float)mapCanvasWidth;
    float bottom = (float)mapCanvasHeight;
    al_transform_coordinates(&worldTransform, &right, &bottom);
    // The pixels whose centres the scaled canvas covers: those drawing it scaled would fill.
    const int width = (int)std::ceil(right - 0.5f);
    const int height = (int)std::ceil(bottom - 0.5f);
    if (width <= 0 || height <= 0) return nullptr;

    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_NEW_BITMAP_PARAMETERS | ALLEGRO_STATE_TARGET_BITMAP |
                               ALLEGRO_STATE_BLENDER);
    // Copied pixel for pixel onto the display: it needs neither filtering nor smaller levels.
    al_set_new_bitmap_flags(al_get_new_bitmap_flags() &
                            ~(ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR | ALLEGRO_MIPMAP));
    ALLEGRO_BITMAP* scaled = al_create_bitmap(width, height);
    if (scaled) {
        al_set_target_bitmap(scaled);
        al_use_transform(&worldTransform);
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
        drawMapPicture(map);
    }
    al_restore_state(&state);
    return scaled;
}
