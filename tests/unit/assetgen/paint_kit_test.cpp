// The generator's painting kit: supersampled canvases must box down to straight colour
// (no dark fringes at soft edges), and paths must fill whichever way they run.
#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>
#include <gtest/gtest.h>

#include "../../support/pixels.h"
#include "paint.h"

namespace {

// The tests share one program with others that expect the straight-alpha blender.
void restoreStraightBlender()
{
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    ALLEGRO_TRANSFORM identity;
    al_identity_transform(&identity);
    al_use_transform(&identity);
}

}  // namespace

TEST(PaintKit, BoxingDownKeepsStraightColourAtSoftEdges)
{
    // Each row paints some of the four samples behind one final pixel (canvas factor 2).
    struct Sample {
        int x, y;
        Rgb colour;
        float alpha;
    };
    struct Row {
        const char* name;
        Sample samples[4];
        int count;
        Rgba expected;
    };
    const Rgb red = {1, 0, 0}, green = {0, 1, 0}, blue = {0, 0, 1};
    const Row rows[] = {
        {"nothing painted", {}, 0, {0, 0, 0, 0}},
        {"one opaque sample of four", {{0, 0, red, 1.0f}}, 1, {255, 0, 0, 64}},
        {"two colours, two holes", {{0, 0, red, 1.0f}, {1, 1, green, 1.0f}}, 2, {128, 128, 0, 128}},
        {"one half-transparent sample", {{1, 0, blue, 0.5f}}, 1, {0, 0, 255, 32}},
        {"all four opaque",
         {{0, 0, red, 1.0f}, {1, 0, red, 1.0f}, {0, 1, red, 1.0f}, {1, 1, red, 1.0f}},
         4,
         {255, 0, 0, 255}},
    };
    for (const Row& row : rows) {
        Canvas canvas = beginCanvas(1, 1, 2);
        for (int i = 0; i < row.count; ++i) {
            const Sample& s = row.samples[i];
            al_draw_filled_rectangle(s.x * 0.5f, s.y * 0.5f, s.x * 0.5f + 0.5f, s.y * 0.5f + 0.5f,
                                     paint(s.colour, s.alpha));
        }
        ALLEGRO_BITMAP* small = finishCanvas(canvas);
        Rgba got = pixelAt(small, 0, 0);
        EXPECT_NEAR(got.r, row.expected.r, 1) << row.name;
        EXPECT_NEAR(got.g, row.expected.g, 1) << row.name;
        EXPECT_NEAR(got.b, row.expected.b, 1) << row.name;
        EXPECT_NEAR(got.a, row.expected.a, 1) << row.name;
        al_destroy_bitmap(small);
    }
    restoreStraightBlender();
}

TEST(PaintKit, PathsFillWhicheverWayTheyRun)
{
    struct Row {
        const char* name;
        float points[10];
        int count;
    };
    const Row rows[] = {
        {"clockwise on screen", {2, 2, 8, 2, 8, 8, 2, 8}, 4},
        {"counter-clockwise on screen", {2, 2, 2, 8, 8, 8, 8, 2}, 4},
        {"closed by repeating the first point", {2, 2, 8, 2, 8, 8, 2, 8, 2, 2}, 5},
    };
    for (const Row& row : rows) {
        Canvas canvas = beginCanvas(10, 10, 1);
        Path path;
        moveTo(path, row.points[0], row.points[1]);
        for (int i = 1; i < row.count; ++i)
            lineTo(path, row.points[2 * i], row.points[2 * i + 1]);
        fillPath(path, paint(Rgb{1, 1, 1}));
        ALLEGRO_BITMAP* small = finishCanvas(canvas);
        EXPECT_EQ(pixelAt(small, 5, 5).a, 255) << row.name;
        EXPECT_EQ(pixelAt(small, 0, 0).a, 0) << row.name;
        al_destroy_bitmap(small);
    }
    restoreStraightBlender();
}
