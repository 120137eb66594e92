#include "paint.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>

Rgb rgb8(int r, int g, int b)
{
    return Rgb{r / 255.0f, g / 255.0f, b / 255.0f};
}

Rgb mix(Rgb a, Rgb b, float t)
{
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaleRgb(Rgb c, float k)
{
    return Rgb{c.r * k, c.g * k, c.b * k};
}

ALLEGRO_COLOR paint(Rgb c, float a)
{
    a = clamp01(a);
    return al_map_rgba_f(clamp01(c.r) * a, clamp01(c.g) * a, clamp01(c.b) * a, a);
}

uint32_t hash3(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hashUnit(int32_t x, int32_t y, uint32_t seed)
{
    return (hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float smoothStep(float edge0, float edge1, float x)
{
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float clamp01(float x)
{
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}

float valueNoise(float x, float y, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    float a = hashUnit(ix, iy, seed), b = hashUnit(ix + 1, iy, seed);
    float c = hashUnit(ix, iy + 1, seed), d = hashUnit(ix + 1, iy + 1, seed);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int octaves, uint32_t seed)
{
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + static_cast<uint32_t>(i) * 101u) * amplitude;
        total += amplitude;
        // Rotate a little between octaves so the grid of the value noise never lines up.
        float nx = x * 1.6f - y * 1.2f, ny = x * 1.2f + y * 1.6f;
        x = nx + 17.0f;
        y = ny + 31.0f;
        amplitude *= 0.5f;
    }
    return sum / total;
}

void usePaintBlender()
{
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
}

Canvas beginCanvas(int width, int height, int factor)
{
    Canvas canvas{al_create_bitmap(width * factor, height * factor), width, height, factor};
    al_set_target_bitmap(canvas.big);
    al_clear_to_color(al_map_rgba(0, 0, 0, 0));
    ALLEGRO_TRANSFORM scale;
    al_identity_transform(&scale);
    al_scale_transform(&scale, static_cast<float>(factor), static_cast<float>(factor));
    al_use_transform(&scale);
    usePaintBlender();
    return canvas;
}

ALLEGRO_BITMAP* finishCanvas(Canvas& canvas)
{
    ALLEGRO_BITMAP* small = al_create_bitmap(canvas.width, canvas.height);
    ALLEGRO_LOCKED_REGION* src =
        al_lock_bitmap(canvas.big, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    ALLEGRO_LOCKED_REGION* dst =
        al_lock_bitmap(small, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    const int f = canvas.factor;
    const uint32_t n = static_cast<uint32_t>(f * f);
    for (int y = 0; y < canvas.height; ++y) {
        uint8_t* out = static_cast<uint8_t*>(dst->data) + y * dst->pitch;
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t sum[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < f; ++sy) {
                const uint8_t* in = static_cast<const uint8_t*>(src->data) + (y * f + sy) * src->pitch + x * f * 4;
                for (int sx = 0; sx < f * 4; ++sx)
                    sum[sx & 3] += in[sx];
            }
            uint8_t* px = out + x * 4;
            uint32_t alphaSum = sum[3];
            if (alphaSum == 0) {
                px[0] = px[1] = px[2] = px[3] = 0;
                continue;
            }
            // The big bitmap holds premultiplied colour; the saved pictures hold straight colour.
            for (int c = 0; c < 3; ++c)
                px[c] = static_cast<uint8_t>(std::min<uint32_t>(255, (sum[c] * 255 + alphaSum / 2) / alphaSum));
            px[3] = static_cast<uint8_t>((alphaSum + n / 2) / n);
        }
    }
    al_unlock_bitmap(small);
    al_unlock_bitmap(canvas.big);
    al_destroy_bitmap(canvas.big);
    canvas.big = nullptr;
    return small;
}

void moveTo(Path& p, float x, float y)
{
    p.xy.clear();
    p.xy.push_back(x);
    p.xy.push_back(y);
}

void lineTo(Path& p, float x, float y)
{
    p.xy.push_back(x);
    p.xy.push_back(y);
}

void curveTo(Path& p, float c1x, float c1y, float c2x, float c2y, float x, float y, int segments)
{
    float x0 = p.xy[p.xy.size() - 2], y0 = p.xy[p.xy.size() - 1];
    for (int i = 1; i <= segments; ++i) {
        float t = static_cast<float>(i) / segments, u = 1.0f - t;
        float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        lineTo(p, a * x0 + b * c1x + c * c2x + d * x, a * y0 + b * c1y + c * c2y + d * y);
    }
}

void ellipseTo(Path& p, float cx, float cy, float rx, float ry, float fromAngle, float toAngle, int segments)
{
    for (int i = 0; i <= segments; ++i) {
        float a = fromAngle + (toAngle - fromAngle) * i / segments;
        lineTo(p, cx + rx * std::cos(a), cy + ry * std::sin(a));
    }
}

void fillPath(const Path& p, ALLEGRO_COLOR c)
{
    // Allegro's triangulator wants the outline counter-clockwise on screen and no repeated
    // closing point; paths are written in whichever direction is natural, so fix that here.
    std::vector<float> xy = p.xy;
    size_t n = xy.size() / 2;
    if (n > 1 && xy[0] == xy[2 * n - 2] && xy[1] == xy[2 * n - 1]) {
        xy.resize(xy.size() - 2);
        --n;
    }
    float area = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        area += xy[2 * i] * xy[2 * j + 1] - xy[2 * j] * xy[2 * i + 1];
    }
    if (area > 0.0f) {
        for (size_t i = 0; i < n / 2; ++i) {
            std::swap(xy[2 * i], xy[2 * (n - 1 - i)]);
            std::swap(xy[2 * i + 1], xy[2 * (n - 1 - i) + 1]);
        }
    }
    al_draw_filled_polygon(xy.data(), static_cast<int>(n), c);
}

void strokePath(const Path& p, ALLEGRO_COLOR c, float thickness, bool closed)
{
    al_draw_polyline(p.xy.data(), 2 * sizeof(float), static_cast<int>(p.xy.size() / 2), ALLEGRO_LINE_JOIN_ROUND,
                     closed ? ALLEGRO_LINE_CAP_CLOSED : ALLEGRO_LINE_CAP_ROUND, c, thickness, 1.0f);
}

void inkPath(const Path& p, ALLEGRO_COLOR body, ALLEGRO_COLOR edge, float edgeWidth)
{
    strokePath(p, edge, edgeWidth * 2.0f, true);
    fillPath(p, body);
}

void shadedEllipse(float cx, float cy, float rx, float ry, Rgb dark, Rgb light, float alpha, int layers)
{
    const float hx = cx - rx * 0.35f, hy = cy - ry * 0.42f;
    for (int i = 0; i < layers; ++i) {
        float t = static_cast<float>(i) / (layers - 1);
        float shrink = 1.0f - 0.88f * t;
        float x = cx + (hx - cx) * t, y = cy + (hy - cy) * t;
        al_draw_filled_ellipse(x, y, rx * shrink, ry * shrink, paint(mix(dark, light, std::pow(t, 0.7f)), alpha));
    }
}

void bentStroke(float x0, float y0, float x1, float y1, float bend, ALLEGRO_COLOR c, float thickness)
{
    float dx = x1 - x0, dy = y1 - y0;
    float len = std::sqrt(dx * dx + dy * dy);
    if (len <= 0.0f)
        return;
    float nx = -dy / len * bend, ny = dx / len * bend;
    Path p;
    moveTo(p, x0, y0);
    curveTo(p, x0 + dx / 3 + nx, y0 + dy / 3 + ny, x0 + 2 * dx / 3 + nx, y0 + 2 * dy / 3 + ny, x1, y1, 10);
    strokePath(p, c, thickness, false);
}

ALLEGRO_TRANSFORM placeLocal(float x, float y, float k, float angle)
{
    ALLEGRO_TRANSFORM saved;
    al_copy_transform(&saved, al_get_current_transform());
    ALLEGRO_TRANSFORM local;
    al_identity_transform(&local);
    al_rotate_transform(&local, angle);
    al_scale_transform(&local, k, k);
    al_translate_transform(&local, x, y);
    al_compose_transform(&local, &saved);
    al_use_transform(&local);
    return saved;
}

void restoreTransform(const ALLEGRO_TRANSFORM& saved)
{
    al_use_transform(&saved);
}
