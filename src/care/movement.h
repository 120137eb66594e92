// The chip's walk over the 640 x 480 map canvas and its hops in the lower-left zone.
#pragma once
#include <cstdint>

#include "care/care_state.h"

// Targets are drawn below these bounds, so the chip stays within 0..571 x 0..426. 572 is the
// game's own bound, not the map less the sprite: at x = 571 the 86-pixel chip sprite reaches
// 17 pixels past the map's right edge.
constexpr uint64_t wanderRangeX = 572;
constexpr uint64_t wanderRangeY = 427;
constexpr int32_t wanderMinTicks = 120;
constexpr uint64_t wanderExtraTicks = 60;

// The chip hops while it stands left of zoneRight and below zoneTop.
constexpr int32_t hopZoneRight = 213;
constexpr int32_t hopZoneTop = 285;
constexpr int32_t hopHeight = 20;

// wanderTimer 0: a new target, the panel enabled again; above 0: one step of the walk;
// below 0: one tick of a cool-down.
void wanderStep(CareState& care, Rng& rng);

// Moves hop one pixel towards hopTarget; a landed chip in the zone starts the next hop.
void hopStep(CareState& care);
