#include "render/draw_particles.h"

#include <allegro5/allegro_primitives.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr float discRadius = 2.0f;
constexpr int maxIndicesPerDisc = (particleDiscMaxCorners - 2) * 3;

// One disc's corners around its centre. They sit outside the radius so that the polygon covers
// as much as the round disc would, and are turned half a step, which matches its pixels best.
struct DiscShape {
    int corners;
    float dx[particleDiscMaxCorners];
    float dy[particleDiscMaxCorners];
};

void makeDiscShape(DiscShape& shape, int corners)
{
    const double pi = 3.14159265358979323846;
    const double cornerRadius = discRadius * std::sqrt(2.0 * pi / (corners * std::sin(2.0 * pi / corners)));
    shape.corners = corners;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2.0 * pi * (i + 0.5) / corners;
        shape.dx[i] = (float)(cornerRadius * std::cos(angle));
        shape.dy[i] = (float)(cornerRadius * std::sin(angle));
    }
}

// A fan of triangles from each disc's first corner, disc after disc; rebuilt only when the
// number of corners changes, which is once for a run at a fixed display size.
void fillDiscIndices(int* indices, int corners)
{
    const int triangles = corners - 2;
    for (int disc = 0; disc < particlePoolSize; ++disc) {
        int* out = indices + disc * triangles * 3;
        const int first = disc * corners;
        for (int t = 0; t < triangles; ++t) {
            out[t * 3] = first;
            out[t * 3 + 1] = first + t + 1;
            out[t * 3 + 2] = first + t + 2;
        }
    }
}

// Refilled every frame; kept static so that drawing allocates nothing.
DiscShape discShape{0, {}, {}};
int discIndices[particlePoolSize * maxIndicesPerDisc];
ALLEGRO_VERTEX vertices[particlePoolSize * particleDiscMaxCorners];

}  // namespace

int particleDiscCorners(float scale)
{
    // Allegro gives a circle 10 * sqrt(radius on screen) segments; 4 * sqrt keeps today's
    // hexagon up to 1.5x and still leaves no corner more than a third of a pixel off the circle.
    const int corners = (int)(4.0f * std::sqrt(std::fabs(scale) * discRadius));
    return std::min(std::max(corners, particleDiscMinCorners), particleDiscMaxCorners);
}

void drawParticles(const Particle* particles, int32_t count)
{
    // Every disc has the same radius, and the transform is uniform: one count serves them all.
    const ALLEGRO_TRANSFORM* t = al_get_current_transform();
    const float scale = std::sqrt(std::fabs(t->m[0][0] * t->m[1][1] - t->m[0][1] * t->m[1][0]));
    const int corners = particleDiscCorners(scale);
    if (corners != discShape.corners) {
        makeDiscShape(discShape, corners);
        fillDiscIndices(discIndices, corners);
    }
    if (count > particlePoolSize) count = particlePoolSize;
    int discs = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Particle& p = particles[i];
        if (!p.active) continue;
        const ALLEGRO_COLOR colour = al_map_rgba_f(1, 1, 1, (float)p.life / (float)p.maxLife);
        ALLEGRO_VERTEX* v = vertices + discs * corners;
        for (int c = 0; c < corners; ++c) {
            v[c].x = p.x + discShape.dx[c];
            v[c].y = p.y + discShape.dy[c];
            v[c].z = 0;
            v[c].u = 0;
            v[c].v = 0;
            v[c].color = colour;
        }
        ++discs;
    }
    if (discs == 0) return;
    al_draw_indexed_prim(vertices, nullptr, nullptr, discIndices, discs * (corners - 2) * 3,
                         ALLEGRO_PRIM_TRIANGLE_LIST);
}
