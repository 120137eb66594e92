// Draws the game's pictures so that a picture that failed to load still shows as a plain box of
// its size: the player sees, and can click, every control even without "tiles.png".
#pragma once
#include <allegro5/allegro.h>

#include "game/sprite_sheet.h"

// The sprite `id` with its top-left corner at (x, y), through the transform in force.
void drawSprite(ALLEGRO_BITMAP* bitmap, SpriteId id, float x, float y);

// The map picture filling the 640 x 480 map canvas from (0, 0).
void drawMapPicture(ALLEGRO_BITMAP* bitmap);
