#include "render/draw_particles.h"

#include <allegro5/allegro_primitives.h>
#include <cmath>

namespace {

constexpr int trianglesPerDisc = particleDiscCorners - 2;
constexpr int indicesPerDisc = trianglesPerDisc * 3;
// A hexagon per disc keeps the shower to four triangles a particle. Its corners sit outside the
// radius so that it covers as many pixels as the round disc would, and it is turned half a step,
// which matches the disc's pixels best.
constexpr float cornerRadius = 2.199f;

struct DiscShape {
    float dx[particleDiscCorners];
    float dy[particleDiscCorners];
};

DiscShape makeDiscShape()
{
    DiscShape shape{};
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < particleDiscCorners; ++i) {
        const double angle = 2.0 * pi * (i + 0.5) / particleDiscCorners;
        shape.dx[i] = (float)(cornerRadius * std::cos(angle));
        shape.dy[i] = (float)(cornerRadius * std::sin(angle));
    }
    return shape;
}

const DiscShape discShape = makeDiscShape();

// A fan of triangles from each disc's first corner, disc after disc; the same for every frame.
int discIndices[particlePoolSize * indicesPerDisc];

bool fillDiscIndices()
{
    for (int disc = 0; disc < particlePoolSize; ++disc) {
        int* out = discIndices + disc * indicesPerDisc;
        const int first = disc * particleDiscCorners;
        for (int t = 0; t < trianglesPerDisc; ++t) {
            out[t * 3] = first;
            out[t * 3 + 1] = first + t + 1;
            out[t * 3 + 2] = first + t + 2;
        }
    }
    return true;
}

// Refilled every frame; kept static so that drawing allocates nothing.
ALLEGRO_VERTEX vertices[particlePoolSize * particleDiscCorners];

}  // namespace

void drawParticles(const Particle* particles, int32_t count)
{
    static const bool indicesReady = fillDiscIndices();
    (void)indicesReady;
    if (count > particlePoolSize) count = particlePoolSize;
    int discs = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Particle& p = particles[i];
        if (!p.active) continue;
        const ALLEGRO_COLOR colour = al_map_rgba_f(1, 1, 1, (float)p.life / (float)p.maxLife);
        ALLEGRO_VERTEX* v = vertices + discs * particleDiscCorners;
        for (int c = 0; c < particleDiscCorners; ++c) {
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
    al_draw_indexed_prim(vertices, nullptr, nullptr, discIndices, discs * indicesPerDisc,
                         ALLEGRO_PRIM_TRIANGLE_LIST);
}
