#include "map_art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/sprite_sheet.h"
#include "paint.h"

namespace {

const float pi = 3.14159265f;
const int supersample = 2;

// Palette: cool water, olive mud, two greens of grass, straw reeds, and one bright moss
// reserved for the hopping place so the eye finds it.
const Rgb waterShallow = rgb8(86, 112, 72);
const Rgb waterMid = rgb8(52, 100, 98);
const Rgb waterDeep = rgb8(28, 66, 76);
const Rgb mudWet = rgb8(58, 46, 32);
const Rgb mudDark = rgb8(84, 66, 44);
const Rgb mudLight = rgb8(128, 106, 74);
const Rgb grassDark = rgb8(58, 92, 40);
const Rgb grassMid = rgb8(92, 126, 52);
const Rgb grassDry = rgb8(150, 150, 78);
const Rgb reedDark = rgb8(70, 96, 40);
const Rgb reedLight = rgb8(176, 170, 96);
const Rgb cattail = rgb8(96, 58, 30);
const Rgb stoneDark = rgb8(78, 80, 84);
const Rgb stoneLight = rgb8(176, 174, 164);
const Rgb rootDark = rgb8(62, 40, 22);
const Rgb rootMid = rgb8(112, 74, 40);
const Rgb rootLight = rgb8(160, 114, 66);
const Rgb mossDark = rgb8(70, 120, 30);
const Rgb mossLight = rgb8(176, 216, 84);
const Rgb padDark = rgb8(52, 104, 40);
const Rgb padLight = rgb8(120, 170, 70);
const Rgb black = {0.0f, 0.0f, 0.0f};
const Rgb white = {1.0f, 1.0f, 1.0f};

enum NoiseSeed : uint32_t {
    seedShore = 11,
    seedShoreFine,
    seedMud,
    seedMudEdge,
    seedGrass,
    seedGrassFine,
    seedRipple,
    seedSpeck,
    seedBumps,
    seedReeds,
    seedPads,
    seedTufts,
    seedFlowers,
    seedPebbles,
    seedRoots,
    seedMoss,
};

struct Point {
    float x, y;
};

// Open water: a pond with two lobes, fed by a brook from the top and draining by a brook to
// the bottom. All of it stays right of the hopping place.
struct Pool {
    float cx, cy, rx, ry;
};
const Pool pools[] = {
    {418.0f, 200.0f, 146.0f, 92.0f},
    {508.0f, 282.0f, 78.0f, 52.0f},
    {318.0f, 176.0f, 52.0f, 42.0f},
};

struct Brook {
    Point p0, c1, c2, p1;
    float width0, width1;
};
const Brook brooks[] = {
    {{300.0f, -20.0f}, {296.0f, 40.0f}, {340.0f, 70.0f}, {372.0f, 126.0f}, 8.0f, 13.0f},
    {{452.0f, 300.0f}, {424.0f, 350.0f}, {372.0f, 380.0f}, {372.0f, 500.0f}, 13.0f, 17.0f},
};

// The trampoline of roots, where the chip hops: the chip's feet are inside this ellipse
// whenever its top-left corner is left of x 213 and below y 285.
const Point trampolineCentre = {138.0f, 404.0f};
const float trampolineRx = 120.0f, trampolineRy = 60.0f;

const int brookSteps = 40;
struct BrookPoint {
    Point p;
    float width;
};

std::vector<BrookPoint> brookPoints(const Brook& b)
{
    std::vector<BrookPoint> points;
    for (int i = 0; i <= brookSteps; ++i) {
        float t = static_cast<float>(i) / brookSteps, u = 1.0f - t;
        float a = u * u * u, c1 = 3 * u * u * t, c2 = 3 * u * t * t, d = t * t * t;
        points.push_back({{a * b.p0.x + c1 * b.c1.x + c2 * b.c2.x + d * b.p1.x,
                           a * b.p0.y + c1 * b.c1.y + c2 * b.c2.y + d * b.p1.y},
                          b.width0 + (b.width1 - b.width0) * t});
    }
    return points;
}

float smoothMin(float a, float b, float k)
{
    float h = clamp01(0.5f + 0.5f * (b - a) / k);
    return b + (a - b) * h - k * h * (1.0f - h);
}

struct Shore {
    std::vector<BrookPoint> brookLines[sizeof brooks / sizeof brooks[0]];
};

Shore makeShore()
{
    Shore shore;
    for (size_t i = 0; i < sizeof brooks / sizeof brooks[0]; ++i)
        shore.brookLines[i] = brookPoints(brooks[i]);
    return shore;
}

// Roughly the distance in canvas pixels to the nearest open water: negative in the water.
float waterDistance(const Shore& shore, float x, float y)
{
    float d = 1000.0f;
    for (const Pool& p : pools) {
        float ex = (x - p.cx) / p.rx, ey = (y - p.cy) / p.ry;
        d = smoothMin(d, (std::sqrt(ex * ex + ey * ey) - 1.0f) * std::min(p.rx, p.ry), 30.0f);
    }
    for (const auto& line : shore.brookLines) {
        float best = 1000.0f;
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const Point a = line[i].p, b = line[i + 1].p;
            float vx = b.x - a.x, vy = b.y - a.y;
            float t = clamp01(((x - a.x) * vx + (y - a.y) * vy) / (vx * vx + vy * vy));
            float dx = x - (a.x + vx * t), dy = y - (a.y + vy * t);
            float width = line[i].width + (line[i + 1].width - line[i].width) * t;
            best = std::min(best, std::sqrt(dx * dx + dy * dy) - width);
        }
        d = smoothMin(d, best, 14.0f);
    }
    d += (fractalNoise(x / 55.0f, y / 55.0f, 4, seedShore) - 0.5f) * 44.0f;
    d += (valueNoise(x / 9.0f, y / 9.0f, seedShoreFine) - 0.5f) * 5.0f;
    return d;
}

// Where mud gives way to grass, in the same units as waterDistance.
float mudEdge(float x, float y)
{
    return 8.0f + 26.0f * fractalNoise(x / 38.0f, y / 38.0f, 3, seedMudEdge);
}

float trampolineDistance(float x, float y)
{
    float ex = (x - trampolineCentre.x) / trampolineRx, ey = (y - trampolineCentre.y) / trampolineRy;
    return std::sqrt(ex * ex + ey * ey);
}

bool keepClear(float x, float y)
{
    // The hopping place, and the corner under the counters box.
    return trampolineDistance(x, y) < 1.22f || (x < 185.0f && y < 62.0f);
}

Rgb groundColour(float x, float y, float d, int px, int py)
{
    float speck = hashUnit(px, py, seedSpeck) - 0.5f;
    if (d < 0.0f) {
        float depth = smoothStep(0.0f, 48.0f, -d);
        Rgb c = depth < 0.3f ? mix(mix(mudWet, waterShallow, 0.6f), waterShallow, depth / 0.3f)
                             : mix(waterShallow, waterMid, smoothStep(0.3f, 0.6f, depth));
        c = mix(c, waterDeep, smoothStep(0.55f, 1.0f, depth));
        // Wind ripples and the pale sky in the water.
        float ripple = valueNoise(x / 46.0f, y / 5.0f, seedRipple) - 0.5f;
        c = mix(c, rgb8(168, 196, 200), 0.06f + 0.1f * ripple + 0.05f * (1.0f - y / mapCanvasHeight));
        return scaleRgb(c, 1.0f + speck * 0.03f);
    }
    float mudNoise = fractalNoise(x / 24.0f, y / 24.0f, 4, seedMud);
    Rgb mud = mix(mudDark, mudLight, smoothStep(0.35f, 0.75f, mudNoise));
    mud = mix(mudWet, mud, smoothStep(0.0f, 9.0f, d));
    float patches = fractalNoise(x / 95.0f, y / 95.0f, 4, seedGrass);
    float fine = fractalNoise(x / 16.0f, y / 16.0f, 3, seedGrassFine);
    Rgb grass = mix(grassDark, grassMid, smoothStep(0.3f, 0.68f, patches));
    grass = mix(grass, grassDry, 0.45f * smoothStep(0.58f, 0.8f, fine));
    grass = mix(grass, grassDark, 0.35f * smoothStep(0.5f, 0.25f, fine));
    float edge = mudEdge(x, y);
    Rgb c = mix(mud, grass, smoothStep(edge - 5.0f, edge + 5.0f, d));
    return scaleRgb(c, 1.0f + speck * 0.12f);
}

float groundHeight(float x, float y, float d)
{
    float h = 12.0f * smoothStep(-4.0f, 34.0f, d);
    if (d > 0.0f)
        h += 2.2f * fractalNoise(x / 7.0f, y / 7.0f, 2, seedBumps) * smoothStep(0.0f, 10.0f, d);
    return h;
}

// The ground, pixel by pixel at the supersampled size: water, mud and grass, lit from the
// upper left, with the banks casting a little shadow onto the water.
void paintGround(const Shore& shore, ALLEGRO_BITMAP* big)
{
    const int w = al_get_bitmap_width(big), h = al_get_bitmap_height(big);
    const float unit = 1.0f / supersample;
    std::vector<float> dist(static_cast<size_t>(w * h)), height(static_cast<size_t>(w * h));
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            float x = (px + 0.5f) * unit, y = (py + 0.5f) * unit;
            size_t i = static_cast<size_t>(py * w + px);
            dist[i] = waterDistance(shore, x, y);
            height[i] = groundHeight(x, y, dist[i]);
        }

    const float lx = -0.55f, ly = -0.65f, lz = 0.85f;
    ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(big, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    for (int py = 0; py < h; ++py) {
        uint8_t* row = static_cast<uint8_t*>(region->data) + py * region->pitch;
        for (int px = 0; px < w; ++px) {
            float x = (px + 0.5f) * unit, y = (py + 0.5f) * unit;
            size_t i = static_cast<size_t>(py * w + px);
            size_t left = static_cast<size_t>(py * w + std::max(px - 1, 0));
            size_t right = static_cast<size_t>(py * w + std::min(px + 1, w - 1));
            size_t up = static_cast<size_t>(std::max(py - 1, 0) * w + px);
            size_t down = static_cast<size_t>(std::min(py + 1, h - 1) * w + px);
            float d = dist[i];
            Rgb c = groundColour(x, y, d, px, py);
            if (d >= 0.0f) {
                float gx = (height[right] - height[left]) / (2.0f * unit);
                float gy = (height[down] - height[up]) / (2.0f * unit);
                float len = std::sqrt(gx * gx + gy * gy + 1.0f);
                float light = (-gx * lx - gy * ly + lz) / len / lz;
                c = scaleRgb(c, std::min(1.25f, std::max(0.55f, 0.25f + 0.75f * light)));
            } else {
                // The bank on the lit side shades the water next to it.
                float gx = dist[right] - dist[left], gy = dist[down] - dist[up];
                float facing = (gx * -0.7f + gy * -0.7f) / (std::sqrt(gx * gx + gy * gy) + 1e-4f);
                float nearBank = 1.0f - smoothStep(0.0f, 9.0f, -d);
                c = scaleRgb(c, 1.0f - 0.35f * nearBank * std::max(0.0f, facing));
                // Light catches the far side of the water.
                c = mix(c, rgb8(190, 210, 196), 0.25f * nearBank * std::max(0.0f, -facing));
            }
            // A soft vignette draws the eye inwards.
            float vx = x / mapCanvasWidth - 0.45f, vy = y / mapCanvasHeight - 0.5f;
            c = scaleRgb(c, 1.0f - 0.3f * smoothStep(0.3f, 0.75f, std::sqrt(vx * vx + vy * vy)));
            uint8_t* p = row + px * 4;
            p[0] = static_cast<uint8_t>(clamp01(c.r) * 255.0f + 0.5f);
            p[1] = static_cast<uint8_t>(clamp01(c.g) * 255.0f + 0.5f);
            p[2] = static_cast<uint8_t>(clamp01(c.b) * 255.0f + 0.5f);
            p[3] = 255;
        }
    }
    al_unlock_bitmap(big);
}

// ---------------------------------------------------------------- props

enum PropKind { PropReeds, PropStone, PropPad, PropTrampoline, PropLog };

struct Prop {
    PropKind kind;
    float x, y;  // where it meets the ground
    float size;
    uint32_t seed;
};

bool propBefore(const Prop& a, const Prop& b)
{
    if (a.y != b.y)
        return a.y < b.y;
    return a.x < b.x;
}

void drawGroundShadow(float x, float y, float rx, float ry, float alpha)
{
    for (int i = 0; i < 5; ++i) {
        float k = 1.0f - i * 0.12f;
        al_draw_filled_ellipse(x + 3.0f, y + 1.5f, rx * k, ry * k, paint(black, alpha / 5.0f));
    }
}

void drawReeds(const Prop& p)
{
    const int blades = 7 + static_cast<int>(hashUnit(1, 0, p.seed) * 7.0f);
    drawGroundShadow(p.x, p.y, p.size * 0.45f, p.size * 0.13f, 0.45f);
    for (int i = 0; i < blades; ++i) {
        float r0 = hashUnit(i, 1, p.seed), r1 = hashUnit(i, 2, p.seed), r2 = hashUnit(i, 3, p.seed);
        float baseX = p.x + (r0 - 0.5f) * p.size * 0.55f;
        float height = p.size * (0.55f + 0.5f * r1);
        float lean = (r0 - 0.5f) * p.size * 0.7f + (r2 - 0.5f) * 6.0f;
        Rgb colour = mix(reedDark, reedLight, 0.15f + 0.75f * r2);
        float tipX = baseX + lean, tipY = p.y - height;
        bentStroke(baseX, p.y, tipX, tipY, lean * 0.25f, paint(scaleRgb(colour, 0.55f)), 2.6f);
        bentStroke(baseX, p.y, tipX, tipY, lean * 0.25f, paint(colour), 1.5f);
        // Some blades carry a cattail head.
        if (r1 > 0.62f) {
            float hx = baseX + lean * 0.72f, hy = p.y - height * 0.72f;
            float tx = baseX + lean * 0.86f, ty = p.y - height * 0.86f;
            al_draw_line(hx, hy, tx, ty, paint(scaleRgb(cattail, 0.6f)), 5.0f);
            al_draw_line(hx, hy, tx, ty, paint(cattail), 3.6f);
            al_draw_line(hx - 0.6f, hy, tx - 0.6f, ty, paint(rgb8(150, 100, 56)), 1.0f);
        }
    }
}

void drawStone(const Prop& p)
{
    float rx = p.size, ry = p.size * (0.62f + 0.15f * hashUnit(0, 0, p.seed));
    drawGroundShadow(p.x + rx * 0.15f, p.y - ry * 0.15f, rx * 1.1f, ry * 0.85f, 0.6f);
    Rgb tint = mix(stoneDark, rgb8(92, 86, 72), hashUnit(1, 0, p.seed));
    shadedEllipse(p.x, p.y - ry * 0.6f, rx, ry, scaleRgb(tint, 0.8f), stoneLight, 1.0f, 20);
    // A patch of moss on the stone's crown.
    if (hashUnit(2, 0, p.seed) > 0.4f)
        al_draw_filled_ellipse(p.x - rx * 0.2f, p.y - ry * 1.05f, rx * 0.45f, ry * 0.28f,
                               paint(rgb8(104, 140, 52), 0.85f));
}

void drawLilyPad(const Prop& p)
{
    float rx = p.size, ry = p.size * 0.7f;
    float notch = hashUnit(0, 0, p.seed) * 2.0f * pi;
    al_draw_filled_ellipse(p.x + 2.0f, p.y + 1.8f, rx, ry, paint(black, 0.25f));
    Path pad;
    moveTo(pad, p.x, p.y);
    ellipseTo(pad, p.x, p.y, rx, ry, notch + 0.3f, notch + 2.0f * pi - 0.3f, 28);
    Rgb colour = mix(padDark, padLight, 0.2f + 0.5f * hashUnit(1, 0, p.seed));
    fillPath(pad, paint(scaleRgb(colour, 0.7f)));
    Path inner;
    moveTo(inner, p.x, p.y);
    ellipseTo(inner, p.x - 0.4f, p.y - 0.4f, rx - 1.1f, ry - 1.1f, notch + 0.34f, notch + 2.0f * pi - 0.34f, 28);
    fillPath(inner, paint(colour));
    for (int v = 1; v < 6; ++v) {
        float a = notch + 0.3f + v * (2.0f * pi - 0.6f) / 6.0f;
        al_draw_line(p.x, p.y, p.x + std::cos(a) * rx * 0.8f, p.y + std::sin(a) * ry * 0.8f,
                     paint(scaleRgb(colour, 0.78f)), 0.6f);
    }
    al_draw_filled_ellipse(p.x - rx * 0.3f, p.y - ry * 0.35f, rx * 0.35f, ry * 0.2f, paint(white, 0.18f));
    if (hashUnit(2, 0, p.seed) > 0.72f) {
        // A water lily: pink petals around a golden heart.
        float fx = p.x + rx * 0.15f, fy = p.y - ry * 0.1f;
        for (int k = 0; k < 7; ++k) {
            float a = k * 2.0f * pi / 7.0f + notch;
            al_draw_filled_ellipse(fx + std::cos(a) * 2.6f, fy + std::sin(a) * 1.8f - 1.0f, 2.4f, 1.6f,
                                   paint(rgb8(150, 60, 90)));
            al_draw_filled_ellipse(fx + std::cos(a) * 2.4f, fy + std::sin(a) * 1.6f - 1.2f, 2.0f, 1.3f,
                                   paint(rgb8(246, 176, 200)));
        }
        al_draw_filled_circle(fx, fy - 1.2f, 1.4f, paint(rgb8(250, 210, 70)));
    }
}

void drawLog(const Prop& p)
{
    const float length = p.size, radius = 6.5f, angle = -0.35f;
    float dx = std::cos(angle) * length / 2, dy = std::sin(angle) * length / 2;
    drawGroundShadow(p.x + 4.0f, p.y + 2.0f, length * 0.5f, 9.0f, 0.5f);
    al_draw_line(p.x - dx, p.y - dy - radius, p.x + dx, p.y + dy - radius, paint(scaleRgb(rootDark, 0.8f)),
                 radius * 2.0f + 2.0f);
    al_draw_line(p.x - dx, p.y - dy - radius, p.x + dx, p.y + dy - radius, paint(rootMid), radius * 2.0f);
    al_draw_line(p.x - dx, p.y - dy - radius * 1.45f, p.x + dx, p.y + dy - radius * 1.45f, paint(rootLight), 3.0f);
    for (int i = 0; i < 6; ++i) {
        float t = -0.4f + 0.16f * i;
        float x = p.x + dx * 2 * t, y = p.y + dy * 2 * t - radius * (0.6f + 0.5f * hashUnit(i, 0, p.seed));
        al_draw_line(x, y, x + 6.0f, y - 2.0f, paint(rootDark, 0.8f), 1.0f);
    }
    al_draw_filled_ellipse(p.x + dx, p.y + dy - radius, radius * 0.55f, radius, paint(rgb8(200, 160, 104)));
    al_draw_ellipse(p.x + dx, p.y + dy - radius, radius * 0.3f, radius * 0.55f, paint(rootMid), 0.8f);
    // Moss along the top.
    al_draw_filled_ellipse(p.x - dx * 0.3f, p.y - dy * 0.3f - radius * 1.7f, length * 0.16f, 2.0f,
                           paint(rgb8(110, 150, 56)));
}

// A raised mat of woven roots, its top a springy cushion of bright moss.
void drawTrampoline(const Prop&)
{
    const float cx = trampolineCentre.x, cy = trampolineCentre.y, rx = trampolineRx, ry = trampolineRy;
    const float lift = 9.0f;
    drawGroundShadow(cx + 4.0f, cy + lift + 4.0f, rx * 1.05f, ry * 1.05f, 0.6f);

    // Roots reaching from the mat into the ground, tapering and wandering as they go.
    for (int i = 0; i < 9; ++i) {
        float a = pi * (0.05f + 0.9f * i / 8.0f) + (hashUnit(i, 0, seedRoots) - 0.5f) * 0.2f;
        float sx = cx + std::cos(a) * rx * 0.95f, sy = cy + lift + std::sin(a) * ry * 0.95f;
        float reach = 14.0f + 16.0f * hashUnit(i, 1, seedRoots);
        float ex = sx + std::cos(a) * reach * 1.6f, ey = sy + std::sin(a) * reach * 0.6f + 4.0f;
        float wander = (hashUnit(i, 2, seedRoots) - 0.5f) * 16.0f;
        const int pieces = 6;
        for (int k = 0; k < pieces; ++k) {
            float t0 = static_cast<float>(k) / pieces, t1 = static_cast<float>(k + 1) / pieces;
            float x0 = sx + (ex - sx) * t0, y0 = sy + (ey - sy) * t0 + std::sin(t0 * pi) * wander * 0.4f;
            float x1 = sx + (ex - sx) * t1, y1 = sy + (ey - sy) * t1 + std::sin(t1 * pi) * wander * 0.4f;
            float width = 5.5f * (1.0f - 0.75f * t0);
            al_draw_line(x0, y0, x1, y1, paint(rootDark), width);
            al_draw_line(x0, y0 - width * 0.15f, x1, y1 - width * 0.15f, paint(rootMid), width * 0.5f);
        }
    }

    // The side of the mat: woven roots seen edge-on.
    al_draw_filled_ellipse(cx, cy + lift, rx, ry, paint(rootDark));
    for (int i = 0; i < 70; ++i) {
        float a = pi * (i / 69.0f);
        float x = cx + std::cos(a) * (rx - 2.0f), y = cy + lift + std::sin(a) * (ry - 2.0f);
        float tilt = (i % 2 == 0 ? 1.0f : -1.0f) * 4.0f;
        al_draw_line(x - tilt, y - lift - 1.0f, x + tilt, y + 1.0f,
                     paint(mix(rootMid, rootLight, hashUnit(i, 3, seedRoots))), 2.2f);
    }

    // The rim: thick roots twisted around the edge.
    for (int layer = 0; layer < 3; ++layer) {
        for (int i = 0; i < 34; ++i) {
            float a0 = 2.0f * pi * (i + layer * 0.37f) / 34.0f;
            float a1 = a0 + 2.0f * pi / 34.0f * 1.6f;
            float r = 1.0f - layer * 0.012f;
            Rgb colour = mix(rootMid, rootLight, hashUnit(i, 10 + layer, seedRoots) * 0.8f);
            bentStroke(cx + std::cos(a0) * rx * r, cy + std::sin(a0) * ry * r, cx + std::cos(a1) * rx * r,
                       cy + std::sin(a1) * ry * r, (layer - 1) * 2.5f, paint(rootDark), 7.5f - layer);
            bentStroke(cx + std::cos(a0) * rx * r, cy + std::sin(a0) * ry * r, cx + std::cos(a1) * rx * r,
                       cy + std::sin(a1) * ry * r, (layer - 1) * 2.5f, paint(colour), 5.0f - layer);
        }
    }

    // The moss cushion, sunk a little in the middle like a stretched mat.
    const float mrx = rx - 9.0f, mry = ry - 7.0f;
    shadedEllipse(cx, cy, mrx, mry, mossDark, mossLight, 1.0f, 30);
    // Spokes of root under the moss: the weave that makes it spring.
    for (int i = 0; i < 12; ++i) {
        float a = 2.0f * pi * i / 12.0f + 0.13f;
        bentStroke(cx + std::cos(a) * mrx * 0.2f, cy + std::sin(a) * mry * 0.2f, cx + std::cos(a) * mrx * 0.96f,
                   cy + std::sin(a) * mry * 0.96f, 3.0f, paint(rootMid, 0.55f), 2.0f);
    }
    for (int ring = 1; ring <= 3; ++ring) {
        float k = ring / 3.6f;
        al_draw_ellipse(cx, cy, mrx * k, mry * k, paint(rootMid, 0.4f), 1.6f);
    }
    // Tufts of moss, lit from the upper left.
    for (int i = 0; i < 520; ++i) {
        float a = hashUnit(i, 0, seedMoss) * 2.0f * pi;
        float r = std::sqrt(hashUnit(i, 1, seedMoss)) * 0.97f;
        float x = cx + std::cos(a) * mrx * r, y = cy + std::sin(a) * mry * r;
        float size = 1.6f + 2.2f * hashUnit(i, 2, seedMoss);
        float lit = 0.5f + 0.5f * clamp01(0.5f - (std::cos(a) + std::sin(a)) * r * 0.35f + hashUnit(i, 3, seedMoss) * 0.3f);
        al_draw_filled_circle(x + 0.6f, y + 0.6f, size, paint(scaleRgb(mossDark, 0.8f), 0.7f));
        al_draw_filled_circle(x, y, size * 0.8f, paint(mix(mossDark, mossLight, lit)));
    }
    // The sunken middle where the chip lands.
    al_draw_filled_ellipse(cx, cy + 2.0f, mrx * 0.3f, mry * 0.3f, paint(mossDark, 0.35f));
    al_draw_elliptical_arc(cx, cy + 2.0f, mrx * 0.3f, mry * 0.3f, 0.2f, pi - 0.4f, paint(mossLight, 0.8f), 1.4f);
    // Little flowers and mushrooms on the rim.
    const float blooms[][2] = {{-2.2f, 0.0f}, {-1.2f, 0.0f}, {-0.5f, 0.0f}, {0.35f, 0.0f}, {2.6f, 0.0f}};
    for (int i = 0; i < 5; ++i) {
        float a = blooms[i][0];
        float x = cx + std::cos(a) * rx, y = cy + std::sin(a) * ry;
        if (i % 2 == 0) {
            al_draw_filled_rectangle(x - 1.0f, y - 6.0f, x + 1.0f, y, paint(rgb8(236, 226, 200)));
            al_draw_filled_ellipse(x, y - 6.0f, 4.4f, 3.0f, paint(rgb8(120, 30, 24)));
            al_draw_filled_ellipse(x, y - 6.4f, 3.6f, 2.2f, paint(rgb8(214, 64, 44)));
            al_draw_filled_circle(x - 1.4f, y - 7.0f, 0.7f, paint(white));
            al_draw_filled_circle(x + 1.5f, y - 6.0f, 0.6f, paint(white));
        } else {
            for (int k = 0; k < 5; ++k) {
                float b = k * 2.0f * pi / 5.0f;
                al_draw_filled_circle(x + std::cos(b) * 1.8f, y - 2.0f + std::sin(b) * 1.4f, 1.4f,
                                      paint(rgb8(250, 246, 230)));
            }
            al_draw_filled_circle(x, y - 2.0f, 1.0f, paint(rgb8(250, 200, 60)));
        }
    }
}

void drawProp(const Prop& p)
{
    switch (p.kind) {
    case PropReeds:
        drawReeds(p);
        break;
    case PropStone:
        drawStone(p);
        break;
    case PropPad:
        drawLilyPad(p);
        break;
    case PropTrampoline:
        drawTrampoline(p);
        break;
    case PropLog:
        drawLog(p);
        break;
    }
}

// One point per cell of a grid laid over the canvas, jittered within its cell, row by row. The
// cell's indices come along so that callers draw further values for it from the same hash.
struct GridPoint {
    int gx, gy;
    float x, y;
};

std::vector<GridPoint> jitteredGrid(float cell, uint32_t seed)
{
    const int columns = (int)std::ceil(mapCanvasWidth / cell);
    const int rows = (int)std::ceil(mapCanvasHeight / cell);
    std::vector<GridPoint> points;
    points.reserve((size_t)(columns * rows));
    for (int gy = 0; gy < rows; ++gy)
        for (int gx = 0; gx < columns; ++gx)
            points.push_back({gx, gy, gx * cell + hashUnit(gx, gy, seed) * cell,
                              gy * cell + hashUnit(gx, gy, seed + 100) * cell});
    return points;
}

// Hand-placed things: boulders, stepping stones over the brook, a fallen log.
const Prop placedProps[] = {
    {PropTrampoline, trampolineCentre.x, trampolineCentre.y + trampolineRy, 0.0f, 0},
    {PropStone, 70.0f, 170.0f, 17.0f, 901},
    {PropStone, 92.0f, 182.0f, 9.0f, 902},
    {PropStone, 238.0f, 262.0f, 12.0f, 903},
    {PropStone, 300.0f, 44.0f, 8.0f, 904},
    {PropStone, 316.0f, 60.0f, 7.5f, 905},
    {PropStone, 333.0f, 72.0f, 8.0f, 906},
    {PropStone, 560.0f, 120.0f, 14.0f, 907},
    {PropStone, 300.0f, 330.0f, 8.0f, 908},
    {PropLog, 196.0f, 214.0f, 58.0f, 909},
};

std::vector<Prop> collectProps(const Shore& shore)
{
    std::vector<Prop> props(std::begin(placedProps), std::end(placedProps));
    // Reeds stand where land and water meet.
    for (const auto& [gx, gy, x, y] : jitteredGrid(16.0f, seedReeds)) {
        float d = waterDistance(shore, x, y);
        if (d < -9.0f || d > 7.0f || keepClear(x, y) || hashUnit(gx, gy, seedReeds + 200) > 0.42f)
            continue;
        props.push_back({PropReeds, x, y, 20.0f + 20.0f * hashUnit(gx, gy, seedReeds + 300), hash3(gx, gy, seedReeds)});
    }
    // Lily pads float on the open water.
    for (const auto& [gx, gy, x, y] : jitteredGrid(20.0f, seedPads)) {
        float d = waterDistance(shore, x, y);
        if (d > -14.0f || hashUnit(gx, gy, seedPads + 200) > 0.3f)
            continue;
        props.push_back({PropPad, x, y, 6.0f + 7.0f * hashUnit(gx, gy, seedPads + 300), hash3(gx, gy, seedPads)});
    }
    // Pebbles on the mud.
    for (const auto& [gx, gy, x, y] : jitteredGrid(10.0f, seedPebbles)) {
        float d = waterDistance(shore, x, y);
        if (d < 2.0f || d > mudEdge(x, y) || keepClear(x, y) || hashUnit(gx, gy, seedPebbles + 200) > 0.12f)
            continue;
        props.push_back({PropStone, x, y, 2.0f + 2.5f * hashUnit(gx, gy, seedPebbles + 300),
                         hash3(gx, gy, seedPebbles)});
    }
    std::stable_sort(props.begin(), props.end(), propBefore);
    return props;
}

// Short tufts and small flowers over the grass, drawn before anything that stands up.
void drawGrassDetail(const Shore& shore)
{
    for (const auto& [gx, gy, x, y] : jitteredGrid(6.0f, seedTufts)) {
        float d = waterDistance(shore, x, y);
        if (d < mudEdge(x, y) + 4.0f || trampolineDistance(x, y) < 1.12f || hashUnit(gx, gy, seedTufts + 200) > 0.55f)
            continue;
        float patches = fractalNoise(x / 95.0f, y / 95.0f, 4, seedGrass);
        Rgb base = mix(grassDark, grassMid, smoothStep(0.3f, 0.68f, patches));
        for (int b = 0; b < 4; ++b) {
            float r = hashUnit(gx * 4 + b, gy, seedTufts + 300);
            float lean = (r - 0.5f) * 5.0f;
            float height = 3.0f + 3.5f * hashUnit(gx * 4 + b, gy, seedTufts + 400);
            Rgb c = mix(scaleRgb(base, 0.7f), mix(base, grassDry, 0.6f), r);
            bentStroke(x + b - 1.5f, y, x + b - 1.5f + lean, y - height, lean * 0.3f, paint(c, 0.9f), 0.8f);
        }
    }
    const Rgb petals[] = {rgb8(250, 246, 232), rgb8(250, 214, 80), rgb8(190, 150, 220)};
    for (const auto& [gx, gy, x, y] : jitteredGrid(20.0f, seedFlowers)) {
        float d = waterDistance(shore, x, y);
        if (d < mudEdge(x, y) + 8.0f || keepClear(x, y) || hashUnit(gx, gy, seedFlowers + 200) > 0.3f)
            continue;
        Rgb c = petals[hash3(gx, gy, seedFlowers) % 3];
        for (int k = 0; k < 3; ++k) {
            float fx = x + (hashUnit(k, gx, seedFlowers + gy) - 0.5f) * 8.0f;
            float fy = y + (hashUnit(k, gy, seedFlowers + gx) - 0.5f) * 5.0f;
            al_draw_filled_circle(fx + 0.5f, fy + 0.5f, 1.5f, paint(black, 0.3f));
            al_draw_filled_circle(fx, fy, 1.3f, paint(c));
        }
    }
}

// Ripples and glints on open water.
void drawWaterDetail(const Shore& shore)
{
    for (int i = 0; i < 260; ++i) {
        float x = hashUnit(i, 0, seedRipple) * mapCanvasWidth, y = hashUnit(i, 1, seedRipple) * mapCanvasHeight;
        float d = waterDistance(shore, x, y);
        if (d > -6.0f)
            continue;
        float len = 3.0f + 7.0f * hashUnit(i, 2, seedRipple);
        al_draw_line(x - len, y, x + len, y, paint(rgb8(210, 232, 230), 0.22f + 0.2f * hashUnit(i, 3, seedRipple)), 0.8f);
    }
    for (int i = 0; i < 14; ++i) {
        float x = hashUnit(i, 4, seedRipple) * mapCanvasWidth, y = hashUnit(i, 5, seedRipple) * mapCanvasHeight;
        if (waterDistance(shore, x, y) > -16.0f)
            continue;
        for (int r = 0; r < 3; ++r)
            al_draw_ellipse(x, y, 4.0f + r * 5.0f, (4.0f + r * 5.0f) * 0.5f, paint(white, 0.22f - r * 0.06f), 0.8f);
    }
}

}  // namespace

ALLEGRO_BITMAP* drawMarshMap()
{
    const Shore shore = makeShore();
    Canvas canvas = beginCanvas(mapCanvasWidth, mapCanvasHeight, supersample);
    paintGround(shore, canvas.big);
    usePaintBlender();
    drawWaterDetail(shore);
    drawGrassDetail(shore);
    for (const Prop& p : collectProps(shore))
        drawProp(p);
    return finishCanvas(canvas);
}
