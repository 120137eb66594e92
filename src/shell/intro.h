// The red emblem that fades in and out on black before the game begins.
#pragma once
#include <allegro5/allegro.h>
#include <cstdint>
#include <vector>

constexpr float emblemCanvasWidth = 207.0f;
constexpr float emblemCanvasHeight = 108.0f;

// The emblem canvas fitted to a display: the scale it is drawn with, the offscreen bitmap's size
// (the scaled canvas, truncated) and where that bitmap goes on the display.
struct IntroLayout {
    ALLEGRO_TRANSFORM scale;
    int32_t bitmapWidth;
    int32_t bitmapHeight;
    float drawX;
    float drawY;
};

IntroLayout introLayout(float displayWidth, float displayHeight);

// One frame of the intro, drawn on black: the emblem (tinted by `level`, or untinted for the
// hold) or nothing, then a flip; the next frame is due `rest` seconds after this one.
struct IntroFrame {
    bool showEmblem;
    bool tinted;
    float level;
    double rest;
};

// Fade in, hold, fade out, then one black frame: 84 frames.
std::vector<IntroFrame> introFrames();

// One filled shape of the emblem, in canvas units relative to its part's position (partX,
// partY) on the 207 x 108 canvas. Rectangles use (x1, y1)-(x2, y2).
struct EmblemShape {
    float partX;
    float partY;
    bool triangle;
    float x1, y1, x2, y2, x3, y3;
};

std::vector<EmblemShape> emblemShapes();

// Draws the emblem in red into the target bitmap, each part through its own translation
// composed with `scale`; leaves the target's transform at the identity.
void drawEmblem(const ALLEGRO_TRANSFORM& scale);

// Shows the intro on the game's display (`display`, startup.h), pacing itself with rests. Does
// nothing if the offscreen bitmap cannot be made.
void runIntro();
