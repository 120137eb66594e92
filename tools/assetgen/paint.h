// Small painting kit for the asset generator: colours, deterministic noise, paths and
// supersampled canvases. Everything is drawn premultiplied (blender ONE, INVERSE_ALPHA) so
// that translucent strokes over transparent pixels keep correct colour and alpha; a canvas
// is drawn at several times its final size and boxed down at the end, which antialiases it.
#pragma once
#include <allegro5/allegro.h>

#include <cstdint>
#include <vector>

struct Rgb {
    float r, g, b;
};

// A colour from 0..255 components, the way palettes are written down.
Rgb rgb8(int r, int g, int b);
Rgb mix(Rgb a, Rgb b, float t);
Rgb scaleRgb(Rgb c, float k);
// The premultiplied Allegro colour for c at opacity a.
ALLEGRO_COLOR paint(Rgb c, float a = 1.0f);

// Noise from a small integer hash: the same arguments always give the same value.
uint32_t hash3(int32_t x, int32_t y, uint32_t seed);
float hashUnit(int32_t x, int32_t y, uint32_t seed);  // 0 .. 1
float valueNoise(float x, float y, uint32_t seed);    // smooth, 0 .. 1
float fractalNoise(float x, float y, int octaves, uint32_t seed);  // 0 .. 1
float smoothStep(float edge0, float edge1, float x);
float clamp01(float x);

// A supersampled drawing surface: draw in final-size units while it is the target.
struct Canvas {
    ALLEGRO_BITMAP* big;
    int width, height;  // final size
    int factor;         // supersampling factor
};
Canvas beginCanvas(int width, int height, int factor);
// Boxes the big bitmap down to the final size (straight alpha) and frees it.
ALLEGRO_BITMAP* finishCanvas(Canvas& canvas);
// Sets the premultiplied blender used by every drawing helper.
void usePaintBlender();

// A polygon or polyline in drawing units, built from straight and cubic segments.
struct Path {
    std::vector<float> xy;
};
void moveTo(Path& p, float x, float y);
void lineTo(Path& p, float x, float y);
void curveTo(Path& p, float c1x, float c1y, float c2x, float c2y, float x, float y, int segments = 16);
void ellipseTo(Path& p, float cx, float cy, float rx, float ry, float fromAngle, float toAngle,
               int segments = 24);
void fillPath(const Path& p, ALLEGRO_COLOR c);
void strokePath(const Path& p, ALLEGRO_COLOR c, float thickness, bool closed);
// Strokes the outline thickly in `edge`, then fills with `body`: a shape with an outline of
// half that thickness.
void inkPath(const Path& p, ALLEGRO_COLOR body, ALLEGRO_COLOR edge, float edgeWidth);

// An ellipse lit from the upper left: concentric layers from `dark` at the rim to `light`
// near the highlight point.
void shadedEllipse(float cx, float cy, float rx, float ry, Rgb dark, Rgb light, float alpha = 1.0f,
                   int layers = 24);
// Puts local drawing coordinates in place: turned by `angle` (radians, clockwise on screen)
// about the local origin, scaled by k, moved to (x, y), all within the current transform.
// Returns the transform to hand back to restoreTransform afterwards.
ALLEGRO_TRANSFORM placeLocal(float x, float y, float k, float angle);
void restoreTransform(const ALLEGRO_TRANSFORM& saved);
// A stroke from (x0, y0) to (x1, y1) bending through the given sideways offset.
void bentStroke(float x0, float y0, float x1, float y1, float bend, ALLEGRO_COLOR c, float thickness);
