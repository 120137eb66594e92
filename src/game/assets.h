// The game's pictures, font and sound, loaded once by name from the mounted data.
#pragma once
#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include "game/sprite_sheet.h"

// A picture that failed to load stays null and is drawn as a plain box of its size; a font
// that failed to load is replaced by Allegro's built-in font; a missing sound stays null and
// the game is silent.
struct Assets {
    ALLEGRO_FONT* uiFont;
    ALLEGRO_BITMAP* mapBitmap;
    // The map as the display shows it, made by makeScaledMap when the game loop starts; while it
    // is null the care screen scales mapBitmap itself. Once it is made, mapBitmap is freed.
    ALLEGRO_BITMAP* scaledMap;
    ALLEGRO_BITMAP* tilesBitmap;
    ALLEGRO_BITMAP* worldTilesBitmap;  // the same sheet, filtered for drawing at any scale
    // Sub-bitmaps of tilesBitmap (the chip: of worldTilesBitmap), at the rectangles of spriteRects.
    ALLEGRO_BITMAP* iconHeat;
    ALLEGRO_BITMAP* iconFire;
    ALLEGRO_BITMAP* iconWater;
    ALLEGRO_BITMAP* iconFood;
    ALLEGRO_BITMAP* iconHealth;
    ALLEGRO_BITMAP* closeIcon;
    ALLEGRO_BITMAP* actionButton1;
    ALLEGRO_BITMAP* actionButton2;
    ALLEGRO_BITMAP* actionButton3;
    ALLEGRO_BITMAP* actionButton4;
    ALLEGRO_BITMAP* chipSprite;
    ALLEGRO_SAMPLE* crySample;
};

// withSound: audio is installed (loading a sample before that crashes Allegro). mapShrunk: the
// display shows the map smaller than its canvas.
void loadAssets(Assets& assets, bool withSound, bool mapShrunk);
// Destroys what loadAssets made (sprites before their sheet) and nulls every field.
void releaseAssets(Assets& assets);
