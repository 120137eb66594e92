// The sprite sheet "tiles.png" (every sprite at its rectangle of spriteRects, on a transparent
// background) and the desktop icon, which shows the chip.
#pragma once
#include <allegro5/allegro.h>

int spriteSheetWidth();
int spriteSheetHeight();
ALLEGRO_BITMAP* drawSpriteSheet();
ALLEGRO_BITMAP* drawDesktopIcon(int size);
