#include "game/assets.h"

#include <allegro5/allegro_ttf.h>

#include "shell/platform.h"

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

// The map and the chip are drawn through the world transform at any scale: filtered, so that
// 1.125x or 1.5x look even rather than repeating every eighth or second row. The map is mipmapped
// too when it is shown smaller than its canvas (only then are the smaller levels read, and making
// them costs the graphics driver megabytes); the sprite sheet is not, since its small levels
// would blend neighbouring sprites.
ALLEGRO_BITMAP* loadScaledPicture(const char* name, int extraFlags)
{
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_NEW_BITMAP_PARAMETERS);
    al_set_new_bitmap_flags(al_get_new_bitmap_flags() | ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR | extraFlags);
    ALLEGRO_BITMAP* bitmap = loadPicture(name);
    al_restore_state(&state);
    return bitmap;
}

}  // namespace

void loadAssets(Assets& assets, bool withSound, bool mapShrunk)
{
    assets = Assets{};
    assets.uiFont = al_load_font(QUENMARSH_FONT_FILE, fontHeight, ALLEGRO_TTF_NO_AUTOHINT);
    if (!assets.uiFont) assets.uiFont = al_create_builtin_font();
    // Each picture and the sound take a while to decode: the page gets a turn between them.
    yieldToPage();
    assets.mapBitmap = loadScaledPicture(QUENMARSH_MAP_FILE, mapShrunk ? ALLEGRO_MIPMAP : 0);
    yieldToPage();
    // The panel's sprites stay unfiltered, pixel for pixel; the chip comes from a filtered copy.
    assets.tilesBitmap = loadPicture(QUENMARSH_TILES_FILE);
    assets.worldTilesBitmap = loadScaledPicture(QUENMARSH_TILES_FILE, 0);
    if (assets.tilesBitmap) {
        const int sheetWidth = al_get_bitmap_width(assets.tilesBitmap);
        const int sheetHeight = al_get_bitmap_height(assets.tilesBitmap);
        for (int i = 0; i < spriteCount; ++i) {
            const SpriteRect& r = spriteRects[i];
            // A sheet too small for a sprite leaves that sprite missing rather than clipped.
            ALLEGRO_BITMAP* sheet = i == SpriteChip ? assets.worldTilesBitmap : assets.tilesBitmap;
            if (sheet && r.x + r.w <= sheetWidth && r.y + r.h <= sheetHeight)
                assets.*spriteSlots[i] = al_create_sub_bitmap(sheet, r.x, r.y, r.w, r.h);
        }
    }
    yieldToPage();
    if (withSound) assets.crySample = al_load_sample(QUENMARSH_CRY_FILE);
}

void releaseAssets(Assets& assets)
{
    for (ALLEGRO_BITMAP* Assets::*slot : spriteSlots)
        if (assets.*slot) al_destroy_bitmap(assets.*slot);
    if (assets.tilesBitmap) al_destroy_bitmap(assets.tilesBitmap);
    if (assets.worldTilesBitmap) al_destroy_bitmap(assets.worldTilesBitmap);
    if (assets.mapBitmap) al_destroy_bitmap(assets.mapBitmap);
    if (assets.scaledMap) al_destroy_bitmap(assets.scaledMap);
    if (assets.uiFont) al_destroy_font(assets.uiFont);
    if (assets.crySample) al_destroy_sample(assets.crySample);  // stops the cry first
    assets = Assets{};
}
