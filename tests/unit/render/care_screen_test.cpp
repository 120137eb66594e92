#include <gtest/gtest.h>

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>
#include <memory>

#include "../../support/game_state.h"
#include "../../support/pixels.h"
#include "render/care_screen.h"
#include "render/draw_sprite.h"

namespace {

const Rgba mapColour = {0, 0, 200, 255};
const Rgba mapMarker = {0, 255, 0, 255};  // canvas (100, 100) to (110, 110)

// A marker colour in the top-left 4 x 4 of each sprite; the rest is transparent.
struct SpriteMark {
    ALLEGRO_BITMAP* Assets::*field;
    SpriteId id;
    Rgba colour;
};
const SpriteMark spriteMarks[] = {
    {&Assets::iconHeat, SpriteIconHeat, {10, 20, 30, 255}},
    {&Assets::iconFire, SpriteIconFire, {40, 50, 60, 255}},
    {&Assets::iconFood, SpriteIconFood, {70, 80, 90, 255}},
    {&Assets::iconWater, SpriteIconWater, {100, 110, 120, 255}},
    {&Assets::iconHealth, SpriteIconHealth, {130, 140, 150, 255}},
    {&Assets::actionButton1, SpriteActionButton1, {1, 2, 3, 255}},
    {&Assets::actionButton2, SpriteActionButton2, {4, 5, 6, 255}},
    {&Assets::actionButton3, SpriteActionButton3, {7, 8, 9, 255}},
    {&Assets::actionButton4, SpriteActionButton4, {11, 12, 13, 255}},
    {&Assets::closeIcon, SpriteCloseIcon, {14, 15, 16, 255}},
    {&Assets::chipSprite, SpriteChip, {17, 18, 19, 255}},
};

ALLEGRO_BITMAP* makeSprite(SpriteId id, Rgba marker)
{
    ALLEGRO_BITMAP* sprite = al_create_bitmap(spriteRects[id].w, spriteRects[id].h);
    al_set_target_bitmap(sprite);
    al_clear_to_color(al_map_rgba(0, 0, 0, 0));
    al_draw_filled_rectangle(0, 0, 4, 4, al_map_rgb(marker.r, marker.g, marker.b));
    return sprite;
}

class CareScreen : public testing::Test {
protected:
    void SetUp() override
    {
        font = al_create_builtin_font();
        for (const SpriteMark& mark : spriteMarks) sprites.assets.*mark.field = makeSprite(mark.id, mark.colour);
        sprites.assets.mapBitmap = al_create_bitmap(mapCanvasWidth, mapCanvasHeight);
        al_set_target_bitmap(sprites.assets.mapBitmap);
        al_clear_to_color(al_map_rgb(mapColour.r, mapColour.g, mapColour.b));
        al_draw_filled_rectangle(100, 100, 110, 110, al_map_rgb(mapMarker.r, mapMarker.g, mapMarker.b));
        al_set_target_bitmap(nullptr);
    }
    void TearDown() override
    {
        for (const SpriteMark& mark : spriteMarks) al_destroy_bitmap(sprites.assets.*mark.field);
        al_destroy_bitmap(sprites.assets.mapBitmap);
        al_destroy_font(font);
    }

    // A care screen on a w x h display, fresh progress, chip at (200, 200), panel enabled, no
    // particles.
    std::unique_ptr<GameLoopState> careState(int32_t w, int32_t h)
    {
        auto state = std::make_unique<GameLoopState>();
        startCare(*state, w, h);
        state->assets = sprites.assets;
        state->assets.uiFont = font;
        state->hover = -1;
        state->care.chipX = 200;
        state->care.chipY = 200;
        return state;
    }

    GameLoopState sprites{};
    ALLEGRO_FONT* font = nullptr;
};

const Rgba black = {0, 0, 0, 255};

Rgba panelOver(Rgba under) { return blendOver(255, 127, 127, 127, under); }

bool isColour(Rgba p, Rgba want) { return sameColour(p, want.r, want.g, want.b, 1); }

}  // namespace

TEST_F(CareScreen, MapLayerFillsFromTheTopLeftCornerUnderTheTranslucentPanel)
{
    struct Probe {
        int x, y;
        Rgba want;
    };
    struct Row {
        int32_t w, h;
        Probe probes[6];
    };
    const Row rows[] = {
        {854, 480,
         {{2, 100, mapColour}, {550, 300, mapColour}, {560, 300, panelOver(mapColour)},
          {645, 300, panelOver(black)}, {101, 101, mapMarker}, {111, 111, mapColour}}},
        // Scaled by 1.125: the canvas covers x 0 to 720, and the panel starts at 660.
        {960, 540,
         {{2, 100, mapColour}, {650, 539, mapColour}, {715, 300, panelOver(mapColour)},
          {725, 300, panelOver(black)}, {113, 123, mapMarker}, {125, 111, mapColour}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h);
        auto state = careState(row.w, row.h);
        state->care.chipX = 400;  // away from the probes
        state->care.chipY = 20;
        TargetBitmap target(row.w, row.h);
        drawCareScreen(*state);
        for (const Probe& probe : row.probes) {
            const Rgba got = pixelAt(target.bitmap, probe.x, probe.y);
            EXPECT_TRUE(isColour(got, probe.want))
                << "at (" << probe.x << ", " << probe.y << ") got " << got.r << "," << got.g << "," << got.b;
        }
    }
}

TEST_F(CareScreen, MeterBarsFillFromTheLeftToTheirValue)
{
    struct Row {
        int32_t w;
        float Progress::*meter;
        float value;
        int32_t barY;
        Rgba icon;
        int lastRed;  // last red pixel of the row
    };
    const Row rows[] = {
        {854, &Progress::heat, 127.5f, 10, spriteMarks[0].colour, 715},  // ends at 716.5
        {854, &Progress::fire, 0.0f, 36, spriteMarks[1].colour, 588},  // 1 pixel wide when empty
        {854, &Progress::food, 255.0f, 62, spriteMarks[2].colour, 843},  // fills the background
        {854, &Progress::water, 200.0f, 88, spriteMarks[3].colour, 788},
        {854, &Progress::health, 260.0f, 114, spriteMarks[4].colour, 848},  // past the background
        {960, &Progress::health, 255.0f, 114, spriteMarks[4].colour, 949},
        {960, &Progress::heat, 64.0f, 10, spriteMarks[0].colour, 758},
    };
    const Rgba red = {255, 0, 0, 255};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << " wide, bar at y " << row.barY << ", value " << row.value);
        const int32_t h = row.w == 960 ? 540 : 480;
        auto state = careState(row.w, h);
        progress.heat = progress.fire = progress.food = progress.water = progress.health = 0.0f;
        progress.*row.meter = row.value;
        TargetBitmap target(row.w, h);
        drawCareScreen(*state);
        ALLEGRO_BITMAP* b = target.bitmap;
        const int y = row.barY + 8;
        EXPECT_TRUE(isColour(pixelAt(b, row.w - 290 + 1, row.barY + 1), row.icon)) << "icon";
        EXPECT_TRUE(isColour(pixelAt(b, row.w - 266, y), red)) << "fill start";
        EXPECT_TRUE(isColour(pixelAt(b, row.w - 267, y), panelOver(mapColour))) << "before the bar";
        EXPECT_TRUE(isColour(pixelAt(b, row.lastRed, y), red)) << "fill end";
        const Rgba after = pixelAt(b, row.lastRed + 2, y);
        const Rgba wantAfter = row.lastRed + 2 < row.w - 10 ? black : panelOver(black);
        EXPECT_TRUE(isColour(after, wantAfter)) << "after the fill";
        EXPECT_TRUE(isColour(pixelAt(b, row.w - 266, row.barY + 15), red)) << "16 high";
        EXPECT_FALSE(isColour(pixelAt(b, row.w - 266, row.barY + 16), red)) << "16 high";
    }
}

TEST_F(CareScreen, ControlsAndHighlightsOnlyWhileTheButtonsAreEnabled)
{
    struct Control {
        int hover;
        int fromRight;
        int y;
        bool fromBottom;
        int size;
        Rgba marker;
    };
    const Control controls[] = {
        {1, 290, 140, false, 135, spriteMarks[5].colour},
        {2, 145, 140, false, 135, spriteMarks[6].colour},
        {3, 290, 285, false, 135, spriteMarks[7].colour},
        {4, 145, 285, false, 135, spriteMarks[8].colour},
        {0, 26, 26, true, 16, spriteMarks[9].colour},
    };
    struct Row {
        int32_t w, h;
        bool enabled;
        int32_t hover;
    };
    const Row rows[] = {
        {854, 480, true, -1}, {854, 480, true, 0}, {854, 480, true, 1}, {854, 480, true, 2},
        {854, 480, true, 3}, {854, 480, true, 4}, {960, 540, true, 0}, {960, 540, true, 3},
        {854, 480, false, 2}, {854, 480, false, 0}, {960, 540, false, -1},
    };
    const Rgba white = {255, 255, 255, 255};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h << (row.enabled ? " enabled" : " disabled")
                                        << ", hover " << row.hover);
        auto state = careState(row.w, row.h);
        state->care.buttonsEnabled = row.enabled;
        state->hover = row.hover;
        TargetBitmap target(row.w, row.h);
        drawCareScreen(*state);
        ALLEGRO_BITMAP* b = target.bitmap;
        for (const Control& control : controls) {
            SCOPED_TRACE(control.hover);
            const int x = row.w - control.fromRight;
            const int y = control.fromBottom ? row.h - control.y : control.y;
            EXPECT_EQ(isColour(pixelAt(b, x + 1, y + 1), control.marker), row.enabled) << "sprite";
            const bool lit = row.enabled && row.hover == control.hover;
            EXPECT_EQ(isColour(pixelAt(b, x + control.size / 2, y + control.size / 2), white), lit);
            if (lit) {
                // Exactly behind the sprite.
                EXPECT_TRUE(isColour(pixelAt(b, x + control.size - 1, y + control.size - 1), white));
                EXPECT_FALSE(isColour(pixelAt(b, x + control.size, y + control.size / 2), white));
                EXPECT_FALSE(isColour(pixelAt(b, x + control.size / 2, y + control.size), white));
                EXPECT_FALSE(isColour(pixelAt(b, x - 1, y + control.size / 2), white));
            }
        }
    }
}

TEST_F(CareScreen, CountersBoxAndLines)
{
    struct Row {
        int32_t w, h, good, dead;
    };
    const Row rows[] = {{854, 480, 0, 0}, {960, 540, 12, 345}, {854, 480, -7, 2147483647}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h << " " << row.good << "/" << row.dead);
        auto state = careState(row.w, row.h);
        progress.goodCount = row.good;
        progress.deadCount = row.dead;
        TargetBitmap target(row.w, row.h);
        drawCareScreen(*state);
        ALLEGRO_BITMAP* b = target.bitmap;
        const Rgba box = {255, 127, 127, 255};
        EXPECT_TRUE(isColour(pixelAt(b, 0, 0), box));
        EXPECT_TRUE(isColour(pixelAt(b, 169, 49), box));
        EXPECT_TRUE(isColour(pixelAt(b, 170, 20), mapColour));
        EXPECT_TRUE(isColour(pixelAt(b, 20, 50), mapColour));

        char good[64], dead[64];
        snprintf(good, sizeof good, "Good Chips: %d", row.good);
        snprintf(dead, sizeof dead, "Dead Chips: %d", row.dead);
        TargetBitmap reference(row.w, row.h);
        al_draw_text(font, al_map_rgb(255, 255, 255), 5, 5, 0, good);
        al_draw_text(font, al_map_rgb(255, 0, 0), 5, 25, 0, dead);
        expectSameBounds(boundsOf(b, 255, 255, 255, 0, 0, 300, 50),
                         boundsOf(reference.bitmap, 255, 255, 255, 0, 0, 300, 50));
        expectSameBounds(boundsOf(b, 255, 0, 0, 0, 0, 300, 50), boundsOf(reference.bitmap, 255, 0, 0, 0, 0, 300, 50));
    }
}

TEST_F(CareScreen, ChipRisesAndItsShadowShrinks)
{
    struct Row {
        int32_t w, h, hop;
        double rx, ry;  // display pixels
    };
    const Row rows[] = {
        {854, 480, 0, 43, 12}, {854, 480, 1, 43, 12}, {854, 480, 3, 40.85, 11.4},
        {854, 480, 20, 21.5, 6}, {960, 540, 0, 43 * 1.125, 12 * 1.125}, {960, 540, 20, 21.5 * 1.125, 6 * 1.125},
    };
    const Rgba shadow = blendOver(0, 0, 0, 150, mapColour);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h << ", hop " << row.hop);
        // The chip sprite is clear but for its corner marker, so the whole shadow shows.
        auto state = careState(row.w, row.h);
        state->care.hop = row.hop;
        TargetBitmap target(row.w, row.h);
        drawCareScreen(*state);
        const double scale = row.w == 960 ? 1.125 : 1.0;
        const int top = (int)((200 - row.hop) * scale);
        EXPECT_TRUE(isColour(pixelAt(target.bitmap, (int)(200 * scale), top), spriteMarks[10].colour));
        EXPECT_FALSE(isColour(pixelAt(target.bitmap, (int)(200 * scale), top - 1), spriteMarks[10].colour));

        // The centre stays at the bottom middle of the resting chip: canvas (243, 253).
        const int cx = (int)(243 * scale), cy = (int)(253 * scale);
        const PixelBounds across = boundsOf(target.bitmap, shadow.r, shadow.g, shadow.b, 0, cy, 640, cy + 1);
        const PixelBounds down = boundsOf(target.bitmap, shadow.r, shadow.g, shadow.b, cx, 0, cx + 1, 480);
        EXPECT_NEAR(across.x1 - across.x0 + 1, 2 * row.rx, 1.5);
        EXPECT_NEAR((across.x0 + across.x1 + 1) / 2.0, 243 * scale, 1.0);
        EXPECT_NEAR(down.y1 - down.y0 + 1, 2 * row.ry, 1.5);
        EXPECT_NEAR((down.y0 + down.y1 + 1) / 2.0, 253 * scale, 1.0);
    }
}

TEST_F(CareScreen, ParticlesFadeWithTheirLife)
{
    struct Row {
        int32_t w, h;
        int32_t count;
        int slot;  // the one active particle
        bool active;
        int32_t life, maxLife;
        bool drawn;
        bool underChip;  // the chip's corner marker then covers pixels 298 to 301 both ways
    };
    const Row rows[] = {
        {854, 480, 1, 0, true, 60, 60, true, false},  // just spawned: opaque
        {854, 480, 1, 0, true, 15, 60, true, false},
        {854, 480, 500, 499, true, 1, 4, true, false},
        {960, 540, 1000, 999, true, 30, 40, true, false},
        {854, 480, 0, 0, true, 60, 60, false, false},  // beyond the count
        {854, 480, 500, 500, true, 60, 60, false, false},
        {854, 480, 1, 0, false, 60, 60, false, false},  // inactive
        {854, 480, 1, 0, true, 60, 60, true, true},  // drawn, but hidden by the chip
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "count " << row.count << ", slot " << row.slot << ", life "
                                        << row.life << "/" << row.maxLife);
        auto state = careState(row.w, row.h);
        state->care.chipX = row.underChip ? 298 : 400;
        state->care.chipY = row.underChip ? 298 : 20;
        state->care.particleCount = row.count;
        Particle& p = state->care.particles[row.slot];
        p = Particle{row.active, 300.0f, 300.0f, 0.0f, 0.0f, row.life, row.maxLife};
        TargetBitmap target(row.w, row.h);
        drawCareScreen(*state);
        const double scale = row.w == 960 ? 1.125 : 1.0;
        const int px = (int)(300 * scale);
        Rgba want = row.drawn ? blendOver(255, 255, 255, (int)(255.0 * row.life / row.maxLife + 0.5), mapColour)
                              : mapColour;
        if (row.underChip) want = spriteMarks[10].colour;
        const Rgba got = pixelAt(target.bitmap, px, px);
        EXPECT_TRUE(isColour(got, want)) << got.r << "," << got.g << "," << got.b;
        // A disc of radius 2: covers its neighbours, not pixels 3 away.
        EXPECT_TRUE(isColour(pixelAt(target.bitmap, px - 1, px + 1), want)) << "a neighbour";
        EXPECT_TRUE(isColour(pixelAt(target.bitmap, px + 3, px), mapColour));
    }
}

TEST_F(CareScreen, MissingPicturesAreDrawnAsBoxesOfTheirSize)
{
    auto state = careState(854, 480);
    Assets none{};
    none.uiFont = font;
    state->assets = none;
    state->hover = 2;
    TargetBitmap target(854, 480);
    drawCareScreen(*state);
    ALLEGRO_BITMAP* b = target.bitmap;

    // The map: one plain colour over the whole canvas.
    const Rgba map = pixelAt(b, 100, 300);
    EXPECT_FALSE(isColour(map, black));
    EXPECT_TRUE(isColour(pixelAt(b, 553, 479), map));
    EXPECT_TRUE(isColour(pixelAt(b, 300, 60), map));
    // The chip: a box of 86 x 53 at its place.
    const Rgba chip = pixelAt(b, 200, 200);
    EXPECT_FALSE(isColour(chip, map));
    EXPECT_TRUE(isColour(pixelAt(b, 285, 252), chip));
    EXPECT_TRUE(isColour(pixelAt(b, 286, 230), map));
    // Icons and controls: boxes of the sprite's size that stand out from the panel.
    struct Box {
        int x, y, size;
    };
    const Box boxes[] = {{564, 10, 16}, {564, 114, 16}, {564, 140, 135}, {709, 140, 135},
                         {564, 285, 135}, {709, 285, 135}, {828, 454, 16}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(testing::Message() << "box at (" << box.x << ", " << box.y << ")");
        // Probes in pairs over the same background (the map ends at x 640 under the panel).
        const Rgba inside = pixelAt(b, box.x + 1, box.y + 1);
        EXPECT_TRUE(isColour(pixelAt(b, box.x + 1, box.y + box.size - 1), inside));
        const Rgba beside = pixelAt(b, box.x - 1, box.y + 1);
        EXPECT_FALSE(isColour(inside, beside));
        EXPECT_TRUE(isColour(pixelAt(b, box.x + 1, box.y + box.size), beside));
    }
    // The hovered control still shows its highlight through its box.
    EXPECT_FALSE(isColour(pixelAt(b, 709 + 60, 140 + 60), pixelAt(b, 709 + 60, 285 + 60)));
}

// The map scaled once, when the loop starts, and copied each frame: the same frame as the map
// scaled in every frame, from a bitmap just the size of the scaled canvas, even over what an
// earlier frame left behind (on a 5:4 display the map leaves a strip below it).
TEST_F(CareScreen, MapScaledOnceDrawsTheSameFrame)
{
    const struct {
        int32_t w, h, mapW, mapH;
    } rows[] = {{854, 480, 640, 480}, {960, 540, 720, 540}, {1366, 768, 1024, 768}, {600, 400, 533, 400},
                {640, 512, 640, 480}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h);
        auto state = careState(row.w, row.h);
        TargetBitmap eachFrame(row.w, row.h);
        drawCareScreen(*state);
        state->assets.scaledMap = makeScaledMap(state->assets.mapBitmap, state->worldTransform);
        ASSERT_NE(state->assets.scaledMap, nullptr);
        EXPECT_EQ(al_get_bitmap_width(state->assets.scaledMap), row.mapW);
        EXPECT_EQ(al_get_bitmap_height(state->assets.scaledMap), row.mapH);
        TargetBitmap once(row.w, row.h);
        al_clear_to_color(al_map_rgb(255, 0, 255));  // an earlier frame
        drawCareScreen(*state);
        int differing = 0;
        for (int y = 0; y < row.h; ++y) {
            for (int x = 0; x < row.w; ++x) {
                const Rgba a = pixelAt(eachFrame.bitmap, x, y);
                differing += isColour(pixelAt(once.bitmap, x, y), a) ? 0 : 1;
            }
        }
        EXPECT_EQ(differing, 0);
        al_destroy_bitmap(state->assets.scaledMap);
    }
}
