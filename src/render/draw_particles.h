// The particle shower in one primitive call: each active particle among the first `count` slots
// is a white disc of radius 2 whose alpha is life / maxLife.
#pragma once
#include <cstdint>

#include "care/care_state.h"

// Corners of the polygon that stands in for each disc.
constexpr int particleDiscCorners = 8;

// Through the transform in force; nothing is allocated.
void drawParticles(const Particle* particles, int32_t count);
