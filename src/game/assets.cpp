#include "game/assets.h"

#include <allegro5/allegro_ttf.h>

namespace {

// Where each sprite is kept, in the order of spriteRects.
ALLEGRO_BITMAP* Assets::*const spriteSlots[spriteCount] = {
    &Assets::iconHeat,      &Assets::iconFire,      &Assets::iconWater,     &Assets::iconFood,
    &Assets::iconHealth,    &Assets::closeIcon,     &Assets::actionButton1, &Assets::actionButton2,
    &Assets::actionButton3, &Assets::actionButton4, &Assets::chipSprite,
};

constexpr int fontHeight = -20;  // negative: the whole glyph height in pixels

// Our pictures store straight alpha, which is what the game's blender expects; Allegro would
// otherwise premultiply on load and every soft edge would come out too dark.
// Loaded into memory first: a cut-short file leaves behind a half-made bitmap that Allegro never
// hands back, and as a display bitmap that one would make destroying the display loop for ever.
// A whole picture then moves to the display for drawing.
ALLEGRO_BITMAP* loadPicture(const char* name)
{
    const int flags = al_get_new_bitmap_flags();
    al_set_new_bitmap_flags((flags & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP* picture = al_load_bitmap_flags(name, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    al_set_new_bitmap_flags(flags);
    if (picture) al_convert_bitmap(picture);
    return picture;
}

}  // namespace

void loadAssets(Assets& assets, bool withSound)
{
    assets = Assets{};
    assets.uiFont = al_load_font("VeraMoBd.ttf", fontHeight, ALLEGRO_TTF_NO_AUTOHINT);
    if (!assets.uiFont) assets.uiFont = al_create_builtin_font();
    assets.mapBitmap = loadPicture("map.jpg");
    assets.tilesBitmap = loadPicture("tiles.png");
    if (assets.tilesBitmap) {
        const int sheetWidth = al_get_bitmap_width(assets.tilesBitmap);
        const int sheetHeight = al_get_bitmap_height(assets.tilesBitmap);
        for (int i = 0; i < spriteCount; ++i) {
            const SpriteRect& r = spriteRects[i];
            // A sheet too small for a sprite leaves that sprite missing rather than clipped.
            if (r.x + r.w <= sheetWidth && r.y + r.h <= sheetHeight)
                assets.*spriteSlots[i] = al_create_sub_bitmap(assets.tilesBitmap, r.x, r.y, r.w, r.h);
        }
    }
    if (withSound) assets.crySample = al_load_sample("cry.ogg");
}

void releaseAssets(Assets& assets)
{
    for (ALLEGRO_BITMAP* Assets::*slot : spriteSlots)
        if (assets.*slot) al_destroy_bitmap(assets.*slot);
    if (assets.tilesBitmap) al_destroy_bitmap(assets.tilesBitmap);
    if (assets.mapBitmap) al_destroy_bitmap(assets.mapBitmap);
    if (assets.uiFont) al_destroy_font(assets.uiFont);
    if (assets.crySample) al_destroy_sample(assets.crySample);  // stops the cry first
    assets = Assets{};
}
