#include <gtest/gtest.h>

#include <allegro5/allegro_primitives.h>
#include <algorithm>
#include <cmath>
#include <vector>

#include "../../support/pixels.h"
#include "render/draw_particles.h"

// The batched discs must look like the round ones the game drew one by one before, at the
// common scales as on a 4K display (4.5x): where they differ, it is only in a thin rim.
TEST(Particles, BatchedDiscsCoverWhatRoundDiscsWould)
{
    struct Row {
        float scale;
        int count;
    };
    const Row rows[] = {{1.0f, 300}, {1.125f, 300}, {2.0f, 100}, {4.5f, 40}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scale);
        std::vector<Particle> particles(row.count);
        uint32_t seed = 12345;
        auto next = [&seed]() { seed = seed * 1664525u + 1013904223u; return (seed >> 8) / 16777216.0f; };
        for (int i = 0; i < row.count; ++i) {
            // Spread on a grid so that the discs do not touch; fractional centres.
            particles[i] = Particle{true, 10.0f + (i % 20) * 12.0f + next() * 4.0f,
                                    10.0f + (i / 20) * 12.0f + next() * 4.0f, 0, 0, 1, 1};
        }
        ALLEGRO_TRANSFORM scale;
        al_identity_transform(&scale);
        al_scale_transform(&scale, row.scale, row.scale);
        const int w = (int)(260 * row.scale), h = (int)(200 * row.scale);

        TargetBitmap batched(w, h);
        al_use_transform(&scale);
        drawParticles(particles.data(), row.count);
        TargetBitmap round(w, h);
        al_use_transform(&scale);
        for (const Particle& p : particles) al_draw_filled_circle(p.x, p.y, 2, al_map_rgba_f(1, 1, 1, 1));

        int covered = 0, differing = 0, offRim = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool a = pixelAt(batched.bitmap, x, y).r == 255;
                const bool b = pixelAt(round.bitmap, x, y).r == 255;
                covered += b;
                differing += a != b;
                if (a == b) continue;
                // Distance of the pixel's centre from the nearest disc's edge, in display pixels.
                float nearest = 1e9f;
                for (const Particle& p : particles) {
                    const float dx = x + 0.5f - p.x * row.scale, dy = y + 0.5f - p.y * row.scale;
                    nearest = std::min(nearest, std::fabs(std::sqrt(dx * dx + dy * dy) - 2.0f * row.scale));
                }
                offRim += nearest > 0.5f;
            }
        }
        EXPECT_EQ(offRim, 0) << "pixels more than half a pixel off the circle's edge";
        EXPECT_GT(covered, 0);
        EXPECT_LT(differing, covered / 12) << differing << " of " << covered;
    }
}
