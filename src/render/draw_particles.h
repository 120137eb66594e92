// The particle shower in one primitive call: each active particle among the first `count` slots
// is a white disc of radius 2 whose alpha is life / maxLife.
#pragma once
#include <cstdint>

#include "care/care_state.h"

// Corners of the polygon that stands in for each disc: few, since the shower is drawn every frame.
constexpr int particleDiscCorners = 6;

// Through the transform in force; nothing is allocated.
void drawParticles(const Particle* particles, int32_t count);
