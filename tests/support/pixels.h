// Reading back what was drawn into a memory bitmap.
#pragma once
#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>

struct Rgba {
    int r, g, b, a;
};

inline Rgba pixelAt(ALLEGRO_BITMAP* bitmap, int x, int y)
{
    unsigned char r, g, b, a;
    al_unmap_rgba(al_get_pixel(bitmap, x, y), &r, &g, &b, &a);
    return Rgba{r, g, b, a};
}

inline bool sameColour(Rgba p, int r, int g, int b, int tolerance = 0)
{
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
           std::abs(p.b - b) <= tolerance;
}

// Straight alpha: the colour (r, g, b) at alpha a (0 to 255) over an opaque background.
inline Rgba blendOver(int r, int g, int b, int a, Rgba under)
{
    const double t = a / 255.0;
    return Rgba{(int)(r * t + under.r * (1 - t) + 0.5), (int)(g * t + under.g * (1 - t) + 0.5),
                (int)(b * t + under.b * (1 - t) + 0.5), 255};
}

// The smallest box holding every pixel of exactly (r, g, b) within [x0, x1) x [y0, y1); empty
// (x1 < x0) when there is none.
struct PixelBounds {
    int x0, y0, x1, y1;
    bool empty() const { return x1 < x0; }
};

inline PixelBounds boundsOf(ALLEGRO_BITMAP* bitmap, int r, int g, int b, int x0, int y0, int x1,
                            int y1)
{
    PixelBounds found{x1, y1, -1, -1};
    al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!sameColour(pixelAt(bitmap, x, y), r, g, b)) continue;
            if (x < found.x0) found.x0 = x;
            if (y < found.y0) found.y0 = y;
            if (x > found.x1) found.x1 = x;
            if (y > found.y1) found.y1 = y;
        }
    }
    al_unlock_bitmap(bitmap);
    return found;
}

// Both boxes found, and equal: the same thing drawn in the same place.
inline void expectSameBounds(const PixelBounds& got, const PixelBounds& want)
{
    EXPECT_FALSE(got.empty());
    EXPECT_EQ(got.x0, want.x0);
    EXPECT_EQ(got.x1, want.x1);
    EXPECT_EQ(got.y0, want.y0);
    EXPECT_EQ(got.y1, want.y1);
}

// A memory bitmap of the given size as the drawing target, cleared to black, for one test.
struct TargetBitmap {
    ALLEGRO_BITMAP* bitmap;
    TargetBitmap(int w, int h) : bitmap(al_create_bitmap(w, h))
    {
        al_set_target_bitmap(bitmap);
        al_clear_to_color(al_map_rgb(0, 0, 0));
    }
    ~TargetBitmap()
    {
        al_set_target_bitmap(nullptr);
        al_destroy_bitmap(bitmap);
    }
    TargetBitmap(const TargetBitmap&) = delete;
    TargetBitmap& operator=(const TargetBitmap&) = delete;
};
