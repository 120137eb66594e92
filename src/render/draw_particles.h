// The particle shower in one primitive call: each active particle among the first `count` slots
// is a white disc of radius 2 whose alpha is life / maxLife.
#pragma once
#include <cstdint>

#include "care/care_state.h"

// Corners of the polygon that stands in for each disc at a given scale of the transform: like
// Allegro's own circles, they grow with the square root of the radius on screen, but from a
// hexagon at the common sizes (up to about 1.5x), since the shower is drawn every frame.
constexpr int particleDiscMinCorners = 6;
constexpr int particleDiscMaxCorners = 32;
int particleDiscCorners(float scale);

// Through the transform in force; nothing is allocated.
void drawParticles(const Particle* particles, int32_t count);
