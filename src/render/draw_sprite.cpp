#include "render/draw_sprite.h"

#include <allegro5/allegro_primitives.h>

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
