// Draws the game's pictures so that a picture that failed to load still shows as a plain box of
// its size: the player sees, and can click, every control even without the sprite sheet.
#pragma once
#include <allegro5/allegro.h>

#include "game/sprite_sheet.h"

// The sprite `id` with its top-left corner at (x, y), through the transform in force.
void drawSprite(ALLEGRO_BITMAP* bitmap, SpriteId id, float x, float y);

// The map picture filling the 640 x 480 map canvas from (0, 0).
void drawMapPicture(ALLEGRO_BITMAP* bitmap);

// A new bitmap holding the map picture (or its stand-in) drawn through `worldTransform`, filtered
// as the picture is, and just large enough for it: drawn unscaled at the display's top-left
// corner it gives the same pixels as the picture scaled there, at a fraction of the cost.
// Null if the bitmap cannot be made.
ALLEGRO_BITMAP* makeScaledMap(ALLEGRO_BITMAP* map, const ALLEGRO_TRANSFORM& worldTransform);
