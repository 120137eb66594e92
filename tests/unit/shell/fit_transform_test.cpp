#include <gtest/gtest.h>

#include "shell/fit_transform.h"

namespace {

struct FitCase {
    float displayWidth, displayHeight, canvasWidth, canvasHeight;
    float scale, scaledWidth, scaledHeight, offsetX, offsetY;
};

// The canvas takes the largest uniform scale that fits, centred on the axis with room to spare.
TEST(FitTransform, LargestUniformScaleCentredOnTheSpareAxis)
{
    const FitCase cases[] = {
        {960, 540, 640, 480, 1.125f, 720, 540, 120, 0},
        {854, 480, 640, 480, 1.0f, 640, 480, 107, 0},
        {800, 600, 640, 480, 1.25f, 800, 600, 0, 0},  // equal ratios: scaled by width
        {800, 640, 640, 480, 1.25f, 800, 600, 0, 20},
        {960, 540, 207, 108, 960.0f / 207.0f, 959.99993896484375f, 500.86954f, 0, 19.56523f},
        {640, 270, 207, 108, 2.5f, 517.5f, 270, 61.25f, 0},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.displayWidth << "x" << c.displayHeight << " canvas "
                                        << c.canvasWidth << "x" << c.canvasHeight);
        FitTransform fit;
        makeFitTransform(fit, c.displayWidth, c.displayHeight, c.canvasWidth, c.canvasHeight);
        EXPECT_FLOAT_EQ(fit.transform.m[0][0], c.scale);
        EXPECT_FLOAT_EQ(fit.transform.m[1][1], c.scale);
        EXPECT_EQ(fit.transform.m[3][0], 0.0f);  // no translation: callers place the canvas
        EXPECT_EQ(fit.transform.m[3][1], 0.0f);
        float w = c.canvasWidth, h = c.canvasHeight;
        al_transform_coordinates(&fit.transform, &w, &h);
        EXPECT_FLOAT_EQ(w, c.scaledWidth);
        EXPECT_FLOAT_EQ(h, c.scaledHeight);
        EXPECT_NEAR(fit.offsetX, c.offsetX, 1e-4);
        EXPECT_NEAR(fit.offsetY, c.offsetY, 1e-4);
    }
}

}  // namespace
