// The sprite sheet (QUENMARSH_TILES_FILE: every sprite at its rectangle of spriteRects, on a
// transparent background), and the icons, which show the chip: the desktop's, and the maskable
// one that phones' home screens cut to their own shape.
#pragma once
#include <allegro5/allegro.h>

int spriteSheetWidth();
int spriteSheetHeight();
ALLEGRO_BITMAP* drawSpriteSheet();
ALLEGRO_BITMAP* drawDesktopIcon(int size);
ALLEGRO_BITMAP* drawMaskableIcon(int size);
