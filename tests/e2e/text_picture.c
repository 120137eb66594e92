/* Draws lines of text the way the game draws them (its font at -20 pixels without autohint,
   straight-alpha blending) into a memory bitmap and writes the pixels as raw RGB to stdout, so
   a test can compare a screenshot with the text that ought to be there.
   Usage: text_picture FONT WIDTH HEIGHT BG_R,BG_G,BG_B [X,Y,ALIGN,R,G,B TEXT]...
   ALIGN is 0 for left (X is the left edge) or 1 for centred (X is the middle). */
#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_ttf.h>
#include <stdio.h>

static int usage(const char* self)
{
    fprintf(stderr, "usage: %s FONT WIDTH HEIGHT BG_R,BG_G,BG_B [X,Y,ALIGN,R,G,B TEXT]...\n", self);
    return 2;
}

int main(int argc, char** argv)
{
    int width, height, r, g, b;
    if (argc < 5 || (argc - 5) % 2 != 0) return usage(argv[0]);
    if (sscanf(argv[2], "%d", &width) != 1 || sscanf(argv[3], "%d", &height) != 1 ||
        sscanf(argv[4], "%d,%d,%d", &r, &g, &b) != 3 || width <= 0 || height <= 0)
        return usage(argv[0]);
    if (!al_init() || !al_init_font_addon() || !al_init_ttf_addon()) {
        fprintf(stderr, "cannot start Allegro\n");
        return 1;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_FONT* font = al_load_font(argv[1], -20, ALLEGRO_TTF_NO_AUTOHINT);
    ALLEGRO_BITMAP* canvas = al_create_bitmap(width, height);
    if (!font || !canvas) {
        fprintf(stderr, "cannot load %s or make the canvas\n", argv[1]);
        return 1;
    }
    al_set_target_bitmap(canvas);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    al_clear_to_color(al_map_rgb(r, g, b));
    for (int i = 5; i < argc; i += 2) {
        int x, y, align;
        if (sscanf(argv[i], "%d,%d,%d,%d,%d,%d", &x, &y, &align, &r, &g, &b) != 6) return usage(argv[0]);
        al_draw_text(font, al_map_rgb(r, g, b), (float)x, (float)y,
                     align ? ALLEGRO_ALIGN_CENTRE : ALLEGRO_ALIGN_LEFT, argv[i + 1]);
    }
    al_lock_bitmap(canvas, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char rgb[3];
            al_unmap_rgb(al_get_pixel(canvas, x, y), &rgb[0], &rgb[1], &rgb[2]);
            fwrite(rgb, 1, 3, stdout);
        }
    }
    al_unlock_bitmap(canvas);
    al_destroy_bitmap(canvas);
    al_destroy_font(font);
    return 0;
}
