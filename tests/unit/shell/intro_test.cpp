#include <gtest/gtest.h>

#include "../../support/pixels.h"
#include "shell/intro.h"

TEST(Intro, EmblemBitmapIsTheFittedCanvasTruncated)
{
    struct Row {
        float w, h;
        int32_t bitmapWidth, bitmapHeight;
        float drawX, drawY;
    };
    const Row rows[] = {
        {960, 540, 959, 500, 0.0f, 19.565f},  // 959.99994 wide: truncated, not rounded
        {854, 480, 853, 445, 0.0f, 17.22f},
        {640, 270, 517, 270, 61.25f, 0.0f},  // relatively wider: centred across
        {207, 108, 207, 108, 0.0f, 0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h);
        const IntroLayout layout = introLayout(row.w, row.h);
        EXPECT_EQ(layout.bitmapWidth, row.bitmapWidth);
        EXPECT_EQ(layout.bitmapHeight, row.bitmapHeight);
        EXPECT_NEAR(layout.drawX, row.drawX, 0.01);
        EXPECT_NEAR(layout.drawY, row.drawY, 0.01);
    }
}

TEST(Intro, FadesInHoldsFadesOutThenBlack)
{
    const std::vector<IntroFrame> frames = introFrames();
    ASSERT_EQ(frames.size(), 84u);
    double rests = 0.0;
    for (const IntroFrame& frame : frames) rests += frame.rest;
    EXPECT_NEAR(rests, 82.0 / 60.0 + 1.0, 1e-9);

    struct Row {
        int frame;
        bool showEmblem, tinted;
        float level;
        double rest;
    };
    const Row rows[] = {
        {0, true, true, 0.0f, 1.0 / 60.0},  // fade in starts black
        {1, true, true, 0.025f, 1.0 / 60.0},
        {40, true, true, 0.99999958f, 1.0 / 60.0},
        {41, true, false, 1.0f, 1.0},  // the hold
        {42, true, true, 1.0f, 1.0 / 60.0},  // fade out
        {43, true, true, 0.975f, 1.0 / 60.0},
        {82, true, true, 0.0000004f, 1.0 / 60.0},
        {83, false, false, 0.0f, 0.0},  // black, and no rest
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame);
        const IntroFrame& frame = frames[row.frame];
        EXPECT_EQ(frame.showEmblem, row.showEmblem);
        EXPECT_EQ(frame.tinted, row.tinted);
        EXPECT_NEAR(frame.level, row.level, 1e-6);
        EXPECT_DOUBLE_EQ(frame.rest, row.rest);
    }
    // Steadily brighter, then steadily darker, never quite black before the last frame.
    for (int i = 1; i < 41; ++i) EXPECT_GT(frames[i].level, frames[i - 1].level);
    for (int i = 43; i < 83; ++i) EXPECT_LT(frames[i].level, frames[i - 1].level);
    EXPECT_GT(frames[82].level, 0.0f);
}

TEST(Intro, EmblemIsRedOnBlackAndInsideItsCanvas)
{
    for (const EmblemShape& s : emblemShapes()) {
        const float xs[3] = {s.x1, s.x2, s.triangle ? s.x3 : s.x1};
        const float ys[3] = {s.y1, s.y2, s.triangle ? s.y3 : s.y1};
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(s.partX + xs[i], 0.0f);
            EXPECT_LE(s.partX + xs[i], emblemCanvasWidth);
            EXPECT_GE(s.partY + ys[i], 0.0f);
            EXPECT_LE(s.partY + ys[i], emblemCanvasHeight);
        }
    }

    struct Row {
        float w, h;
    };
    for (const Row& row : {Row{960, 540}, Row{854, 480}, Row{640, 270}}) {
        SCOPED_TRACE(testing::Message() << row.w << "x" << row.h);
        const IntroLayout layout = introLayout(row.w, row.h);
        TargetBitmap target(layout.bitmapWidth, layout.bitmapHeight);
        drawEmblem(layout.scale);
        int red = 0, other = 0;
        for (int y = 0; y < layout.bitmapHeight; ++y) {
            for (int x = 0; x < layout.bitmapWidth; ++x) {
                const Rgba p = pixelAt(target.bitmap, x, y);
                if (sameColour(p, 255, 0, 0)) {
                    ++red;
                } else if (!sameColour(p, 0, 0, 0)) {
                    ++other;
                }
            }
        }
        const int all = layout.bitmapWidth * layout.bitmapHeight;
        EXPECT_EQ(other, 0);
        // A bold mark, not a speck and not a slab.
        EXPECT_GT(red, all / 8);
        EXPECT_LT(red, all / 2);
        // The transform is back to the identity for whoever draws next.
        const ALLEGRO_TRANSFORM* now = al_get_current_transform();
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) EXPECT_EQ(now->m[i][j], i == j ? 1.0f : 0.0f);
        }
    }
}
