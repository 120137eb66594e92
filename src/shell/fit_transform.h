// The largest uniform scale at which a virtual canvas fits the display, and where it would be
// centred.
#pragma once
#include <allegro5/allegro.h>

struct FitTransform {
    ALLEGRO_TRANSFORM transform;  // scale only
    float offsetY;  // top of the centred canvas; 0 when it fills the display's height
    float offsetX;  // left of the centred canvas; 0 when it fills the display's width
};

void makeFitTransform(FitTransform& fit, float displayWidth, float displayHeight,
                      float canvasWidth, float canvasHeight);
