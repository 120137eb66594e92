#include "sprite_art.h"

#include <allegro5/allegro_primitives.h>

#include <algorithm>
#include <cmath>

#include "game/sprite_sheet.h"
#include "paint.h"

namespace {

const float pi = 3.14159265f;

// Ink for outlines: a warm near-black, so nothing looks pasted on.
const Rgb ink = {0.16f, 0.09f, 0.07f};
const Rgb white = {1.0f, 1.0f, 1.0f};

// ---------------------------------------------------------------- the chip (86 x 53 units)

void drawGillFrond(float baseX, float baseY, float tipX, float tipY, float bend)
{
    bentStroke(baseX, baseY, tipX, tipY, bend, paint(ink), 6.4f);
    bentStroke(baseX, baseY, tipX, tipY, bend, paint(rgb8(232, 98, 122)), 4.2f);
    // A paler tip so the frond reads as soft and feathery.
    float mx = tipX + (baseX - tipX) * 0.3f, my = tipY + (baseY - tipY) * 0.3f;
    bentStroke(mx, my, tipX, tipY, bend * 0.3f, paint(rgb8(255, 170, 180)), 2.4f);
}

// The chip: a plump golden marsh creature with coral gill fronds and big eyes. Its feet
// reach below y = 53, so when the sprite is cut at 53 they stand on the bottom edge.
void drawChip()
{
    const float fronds[3][5] = {
        {23.0f, 18.0f, 7.0f, 5.0f, 2.5f},
        {19.5f, 23.5f, 2.5f, 17.0f, 1.5f},
        {19.5f, 29.0f, 4.0f, 30.0f, -1.5f},
    };
    for (const auto& f : fronds) {
        drawGillFrond(f[0], f[1], f[2], f[3], f[4]);
        drawGillFrond(86.0f - f[0], f[1], 86.0f - f[2], f[3], -f[4]);
    }

    // Feet, behind the body; their lower halves fall outside the sprite.
    const Rgb foot = rgb8(214, 116, 40);
    for (float fx : {28.5f, 57.5f}) {
        al_draw_filled_ellipse(fx, 50.0f, 9.4f, 5.4f, paint(ink));
        al_draw_filled_ellipse(fx, 50.3f, 8.3f, 4.4f, paint(foot));
        al_draw_filled_ellipse(fx - 1.0f, 49.3f, 4.5f, 1.6f, paint(rgb8(244, 164, 84)));
        // Toes.
        for (float tx : {-3.2f, 0.0f, 3.2f})
            al_draw_line(fx + tx, 51.2f, fx + tx, 53.0f, paint(ink, 0.8f), 0.8f);
    }

    // Body with a rim of ink, lit from the upper left.
    al_draw_filled_ellipse(43.0f, 28.6f, 31.3f, 21.6f, paint(ink));
    shadedEllipse(43.0f, 28.8f, 30.0f, 20.3f, rgb8(206, 98, 28), rgb8(255, 206, 98), 1.0f, 32);
    // Belly.
    shadedEllipse(43.0f, 39.0f, 17.0f, 9.0f, rgb8(243, 196, 120), rgb8(255, 240, 200), 1.0f, 16);
    // Freckles on the crown.
    const float freckles[3][3] = {{36.0f, 13.5f, 1.6f}, {43.0f, 11.6f, 1.9f}, {50.0f, 13.5f, 1.6f}};
    for (const auto& s : freckles)
        al_draw_filled_circle(s[0], s[1], s[2], paint(rgb8(196, 88, 26), 0.75f));
    // Sheen.
    al_draw_filled_ellipse(29.0f, 17.5f, 6.5f, 3.2f, paint(white, 0.35f));
    // Little paws resting on the belly.
    for (float px : {25.0f, 61.0f}) {
        al_draw_filled_ellipse(px, 40.0f, 5.2f, 4.2f, paint(rgb8(150, 66, 20)));
        al_draw_filled_ellipse(px, 39.6f, 4.2f, 3.3f, paint(rgb8(228, 130, 48)));
    }

    // Cheeks.
    al_draw_filled_ellipse(22.5f, 33.5f, 4.6f, 2.6f, paint(rgb8(240, 96, 110), 0.55f));
    al_draw_filled_ellipse(63.5f, 33.5f, 4.6f, 2.6f, paint(rgb8(240, 96, 110), 0.55f));

    // Eyes: big, dark and glossy.
    for (float ex : {32.5f, 53.5f}) {
        al_draw_filled_ellipse(ex, 25.0f, 7.8f, 8.8f, paint(ink));
        al_draw_filled_ellipse(ex, 25.0f, 6.8f, 7.8f, paint(rgb8(255, 252, 240)));
        al_draw_filled_ellipse(ex + 0.6f, 26.2f, 5.0f, 6.0f, paint(rgb8(40, 28, 48)));
        al_draw_filled_ellipse(ex + 0.6f, 27.6f, 3.4f, 3.6f, paint(rgb8(70, 50, 90)));
        al_draw_filled_circle(ex - 1.6f, 23.2f, 2.0f, paint(white));
        al_draw_filled_circle(ex + 2.6f, 29.0f, 1.0f, paint(white, 0.9f));
    }

    // A small contented smile.
    al_draw_arc(43.0f, 32.0f, 3.4f, 0.35f, pi - 0.7f, paint(ink), 1.3f);
}

// ---------------------------------------------------------------- 16 x 16 icons

// The chip's warmth: a stout thermometer with heat rising beside it in waves; no flame shape,
// so it never reads as the fire meter.
void drawThermometerIcon()
{
    const Rgb glass = rgb8(246, 242, 236), red = rgb8(226, 40, 32), warm = rgb8(255, 150, 40);
    al_draw_line(5.0f, 2.8f, 5.0f, 10.0f, paint(ink), 7.0f);
    al_draw_filled_circle(5.0f, 2.8f, 3.5f, paint(ink));
    al_draw_filled_circle(5.0f, 11.4f, 4.5f, paint(ink));
    al_draw_line(5.0f, 2.8f, 5.0f, 10.0f, paint(glass), 5.0f);
    al_draw_filled_circle(5.0f, 2.8f, 2.5f, paint(glass));
    al_draw_filled_circle(5.0f, 11.4f, 3.5f, paint(red));
    al_draw_line(5.0f, 4.6f, 5.0f, 11.0f, paint(red), 2.6f);
    al_draw_filled_circle(3.8f, 10.3f, 1.1f, paint(white, 0.8f));
    // Two waves of heat rising on the right, dark-edged so they hold on the pink panel.
    for (float x : {10.8f, 14.0f}) {
        Path wave;
        moveTo(wave, x, 12.8f);
        for (int i = 1; i <= 12; ++i) {
            const float y = 12.8f - i * 0.85f;
            lineTo(wave, x + 0.9f * std::sin(i * pi / 6.0f), y);
        }
        strokePath(wave, paint(ink), 2.3f, false);
        strokePath(wave, paint(warm), 1.2f, false);
    }
}

Path flamePath(float cx, float base, float k)
{
    Path p;
    moveTo(p, cx, base);
    curveTo(p, cx - 4.8f * k, base, cx - 5.8f * k, base - 4.8f * k, cx - 3.4f * k, base - 8.1f * k);
    curveTo(p, cx - 2.8f * k, base - 6.5f * k, cx - 1.8f * k, base - 6.1f * k, cx - 1.4f * k, base - 6.3f * k);
    curveTo(p, cx - 2.4f * k, base - 9.8f * k, cx, base - 12.3f * k, cx + 1.0f * k, base - 14.5f * k);
    curveTo(p, cx + 2.0f * k, base - 11.3f * k, cx + 5.8f * k, base - 8.8f * k, cx + 5.2f * k, base - 4.5f * k);
    curveTo(p, cx + 4.8f * k, base - 1.5f * k, cx + 2.8f * k, base, cx, base);
    return p;
}

void drawFlame(float cx, float base, float k, float outline)
{
    inkPath(flamePath(cx, base, k), paint(rgb8(242, 106, 27)), paint(rgb8(92, 22, 10)), outline);
    fillPath(flamePath(cx + 0.2f * k, base - 0.6f * k, k * 0.62f), paint(rgb8(255, 196, 48)));
    fillPath(flamePath(cx + 0.3f * k, base - 0.9f * k, k * 0.3f), paint(rgb8(255, 246, 190)));
}

Path dropPath(float cx, float top, float k)
{
    Path p;
    moveTo(p, cx, top);
    curveTo(p, cx + 1.5f * k, top + 3.5f * k, cx + 5.0f * k, top + 6.5f * k, cx + 5.0f * k, top + 9.5f * k);
    curveTo(p, cx + 5.0f * k, top + 12.4f * k, cx + 2.8f * k, top + 14.2f * k, cx, top + 14.2f * k);
    curveTo(p, cx - 2.8f * k, top + 14.2f * k, cx - 5.0f * k, top + 12.4f * k, cx - 5.0f * k, top + 9.5f * k);
    curveTo(p, cx - 5.0f * k, top + 6.5f * k, cx - 1.5f * k, top + 3.5f * k, cx, top);
    return p;
}

void drawDrop(float cx, float top, float k, float outline)
{
    inkPath(dropPath(cx, top, k), paint(rgb8(58, 146, 226)), paint(rgb8(14, 42, 92)), outline);
    al_draw_filled_ellipse(cx - 2.2f * k, top + 9.6f * k, 1.1f * k, 2.0f * k, paint(white, 0.85f));
}

// A drumstick, meat to the upper left and bone to the lower right, in 16-unit space.
void drawDrumstick(float outline)
{
    const Rgb meat = rgb8(196, 98, 40), bone = rgb8(250, 244, 228);
    // Bone first, in ink then in white, so the meat overlaps its inner end.
    al_draw_line(8.5f, 8.5f, 12.6f, 12.6f, paint(ink), 2.4f + 2 * outline);
    al_draw_filled_circle(13.6f, 11.7f, 1.6f + outline, paint(ink));
    al_draw_filled_circle(11.7f, 13.6f, 1.6f + outline, paint(ink));
    al_draw_line(8.5f, 8.5f, 12.6f, 12.6f, paint(bone), 2.4f);
    al_draw_filled_circle(13.6f, 11.7f, 1.6f, paint(bone));
    al_draw_filled_circle(11.7f, 13.6f, 1.6f, paint(bone));

    ALLEGRO_TRANSFORM saved = placeLocal(6.4f, 6.4f, 1.0f, pi / 4);
    al_draw_filled_ellipse(0.0f, 0.0f, 6.2f + outline, 4.6f + outline, paint(ink));
    al_draw_filled_ellipse(0.0f, 0.0f, 6.2f, 4.6f, paint(meat));
    al_draw_filled_ellipse(-1.0f, -1.4f, 4.0f, 2.2f, paint(rgb8(232, 150, 84)));
    al_draw_filled_ellipse(-1.8f, -2.0f, 1.6f, 0.8f, paint(white, 0.6f));
    restoreTransform(saved);
}

Path heartPath()
{
    Path p;
    moveTo(p, 8.0f, 14.6f);
    curveTo(p, 4.0f, 11.6f, 1.2f, 8.8f, 1.2f, 5.6f);
    curveTo(p, 1.2f, 3.0f, 3.2f, 1.6f, 5.0f, 1.6f);
    curveTo(p, 6.4f, 1.6f, 7.5f, 2.4f, 8.0f, 3.8f);
    curveTo(p, 8.5f, 2.4f, 9.6f, 1.6f, 11.0f, 1.6f);
    curveTo(p, 12.8f, 1.6f, 14.8f, 3.0f, 14.8f, 5.6f);
    curveTo(p, 14.8f, 8.8f, 12.0f, 11.6f, 8.0f, 14.6f);
    return p;
}

void drawHeartIcon()
{
    inkPath(heartPath(), paint(rgb8(224, 36, 58)), paint(rgb8(74, 10, 18)), 1.0f);
    al_draw_filled_ellipse(4.8f, 5.2f, 1.6f, 1.1f, paint(white, 0.8f));
}

void drawCloseIcon()
{
    al_draw_filled_circle(8.0f, 8.0f, 7.6f, paint(rgb8(70, 10, 16)));
    al_draw_filled_circle(8.0f, 8.0f, 6.6f, paint(rgb8(206, 48, 58)));
    al_draw_filled_ellipse(8.0f, 5.5f, 4.5f, 2.6f, paint(rgb8(238, 100, 104), 0.6f));
    al_draw_line(5.2f, 5.2f, 10.8f, 10.8f, paint(white), 2.2f);
    al_draw_line(10.8f, 5.2f, 5.2f, 10.8f, paint(white), 2.2f);
}

// ---------------------------------------------------------------- 135 x 135 action buttons

const float buttonCentre = 67.5f;

// A round wooden medallion with a tinted face; the square's corners stay transparent so
// the hover highlight behind the sprite shows around it.
void drawMedallion(Rgb face)
{
    al_draw_filled_circle(buttonCentre + 1.5f, buttonCentre + 2.5f, 61.5f, paint(Rgb{0, 0, 0}, 0.28f));
    al_draw_filled_circle(buttonCentre, buttonCentre, 61.0f, paint(ink));
    shadedEllipse(buttonCentre, buttonCentre, 59.0f, 59.0f, rgb8(112, 66, 32), rgb8(206, 150, 92), 1.0f, 28);
    al_draw_filled_circle(buttonCentre, buttonCentre, 52.0f, paint(rgb8(74, 42, 20)));
    shadedEllipse(buttonCentre, buttonCentre, 50.5f, 50.5f, scaleRgb(face, 0.86f), mix(face, white, 0.6f), 1.0f, 28);
}

void drawLog(float cx, float cy, float length, float radius, float angle)
{
    ALLEGRO_TRANSFORM saved = placeLocal(cx, cy, 1.0f, angle);
    const float h = length / 2;
    const Rgb bark = rgb8(120, 72, 38), barkLight = rgb8(160, 104, 58);
    al_draw_filled_rounded_rectangle(-h - 1.6f, -radius - 1.6f, h + 1.6f, radius + 1.6f, radius * 0.5f,
                                     radius * 0.5f, paint(ink));
    al_draw_filled_rectangle(-h, -radius, h, radius, paint(bark));
    al_draw_filled_rectangle(-h, -radius * 0.75f, h, -radius * 0.2f, paint(barkLight));
    for (int i = 0; i < 3; ++i) {
        float x = -h + length * (0.2f + 0.28f * i);
        al_draw_line(x, radius * 0.1f, x + length * 0.12f, radius * 0.1f, paint(rgb8(80, 44, 22)), 1.2f);
    }
    // The cut end shows its rings.
    al_draw_filled_ellipse(h, 0.0f, radius * 0.55f + 1.6f, radius + 1.6f, paint(ink));
    al_draw_filled_ellipse(h, 0.0f, radius * 0.55f, radius, paint(rgb8(232, 190, 128)));
    al_draw_ellipse(h, 0.0f, radius * 0.3f, radius * 0.55f, paint(rgb8(176, 124, 70)), 1.0f);
    restoreTransform(saved);
}

void drawCampfire(float cx, float base, float flameSize)
{
    // Stones around the fire pit.
    for (int i = 0; i < 7; ++i) {
        float a = pi * (0.05f + 0.9f * i / 6.0f);
        float x = cx - std::cos(a) * 36.0f, y = base + 4.0f + std::sin(a) * 7.0f;
        al_draw_filled_ellipse(x, y, 7.6f, 5.6f, paint(ink));
        shadedEllipse(x, y, 6.4f, 4.5f, rgb8(96, 98, 104), rgb8(186, 188, 192), 1.0f, 10);
    }
    drawLog(cx, base - 2.0f, 58.0f, 5.5f, -0.28f);
    drawLog(cx, base - 2.0f, 58.0f, 5.5f, pi + 0.28f);
    if (flameSize > 0.0f) {
        // A warm glow behind the flame.
        for (int i = 0; i < 10; ++i)
            al_draw_filled_circle(cx, base - 18.0f * flameSize, (34.0f - i * 2.6f) * flameSize,
                                  paint(rgb8(255, 190, 80), 0.05f));
        drawFlame(cx, base - 2.0f, 3.6f * flameSize, 1.8f);
    }
}

void drawBowl(float cx, float rimY, float rx, Rgb inside)
{
    const float ry = rx * 0.25f;
    Path body;
    moveTo(body, cx - rx, rimY);
    curveTo(body, cx - rx * 0.95f, rimY + rx * 0.62f, cx - rx * 0.55f, rimY + rx * 0.88f, cx, rimY + rx * 0.88f);
    curveTo(body, cx + rx * 0.55f, rimY + rx * 0.88f, cx + rx * 0.95f, rimY + rx * 0.62f, cx + rx, rimY);
    ellipseTo(body, cx, rimY, rx, ry, 0.0f, -pi, 24);
    inkPath(body, paint(rgb8(164, 98, 46)), paint(ink), 1.8f);
    // A painted band around the bowl.
    Path band;
    moveTo(band, cx - rx * 0.93f, rimY + rx * 0.3f);
    curveTo(band, cx - rx * 0.5f, rimY + rx * 0.52f, cx + rx * 0.5f, rimY + rx * 0.52f, cx + rx * 0.93f, rimY + rx * 0.3f);
    strokePath(band, paint(rgb8(222, 160, 80)), 3.0f, false);
    al_draw_filled_ellipse(cx - rx * 0.5f, rimY + rx * 0.5f, rx * 0.16f, rx * 0.1f, paint(white, 0.25f));
    al_draw_filled_ellipse(cx, rimY, rx - 1.0f, ry - 1.0f, paint(inside));
}

// Action 1, feed: a bowl heaped with berries and a drumstick.
void drawFeedButton()
{
    drawMedallion(rgb8(246, 231, 196));
    const float cx = 67.5f, rimY = 76.0f, rx = 36.0f;
    drawBowl(cx, rimY, rx, rgb8(92, 50, 22));
    // The drumstick lies in the heap with its bone sticking out.
    ALLEGRO_TRANSFORM saved = placeLocal(50.0f, 82.0f, 2.7f, -pi / 2);
    drawDrumstick(0.6f);
    restoreTransform(saved);
    const float berries[][4] = {
        {44, 70, 7.5f, 0}, {56, 66, 8.0f, 1}, {68, 70, 7.0f, 2}, {52, 76, 7.0f, 2}, {80, 72, 7.5f, 0},
        {91, 73, 6.5f, 1}, {65, 78, 6.5f, 0}, {40, 77, 5.5f, 1}, {94, 78, 5.0f, 2},
    };
    const Rgb berryColours[3] = {rgb8(210, 42, 64), rgb8(110, 60, 150), rgb8(236, 132, 36)};
    for (const auto& b : berries) {
        al_draw_filled_circle(b[0], b[1], b[2] + 1.5f, paint(ink));
        shadedEllipse(b[0], b[1], b[2], b[2], scaleRgb(berryColours[static_cast<int>(b[3])], 0.7f),
                      mix(berryColours[static_cast<int>(b[3])], white, 0.35f), 1.0f, 10);
        al_draw_filled_circle(b[0] - b[2] * 0.35f, b[1] - b[2] * 0.4f, b[2] * 0.22f, paint(white, 0.8f));
    }
    // A leaf on top.
    Path leaf;
    moveTo(leaf, 50.0f, 60.0f);
    curveTo(leaf, 44.0f, 52.0f, 36.0f, 52.0f, 31.0f, 55.0f);
    curveTo(leaf, 36.0f, 62.0f, 44.0f, 64.0f, 50.0f, 60.0f);
    inkPath(leaf, paint(rgb8(96, 168, 60)), paint(ink), 1.4f);
    al_draw_line(49.0f, 59.5f, 35.0f, 56.0f, paint(rgb8(60, 120, 40)), 1.0f);
    // The front lip of the bowl hides the bottom of the heap.
    al_draw_elliptical_arc(cx, rimY, rx - 0.5f, rx * 0.25f - 0.5f, 0.0f, pi, paint(ink), 3.6f);
    al_draw_elliptical_arc(cx, rimY, rx - 0.5f, rx * 0.25f - 0.5f, 0.15f, pi - 0.3f, paint(rgb8(200, 134, 70)), 1.6f);
}

Path jugPath()
{
    Path p;
    moveTo(p, -13.0f, -17.0f);
    lineTo(p, 9.0f, -17.0f);
    lineTo(p, 18.0f, -22.0f);
    curveTo(p, 17.0f, -16.0f, 14.0f, -13.0f, 12.5f, -10.0f);
    curveTo(p, 21.0f, -3.0f, 21.0f, 14.0f, 10.0f, 21.0f);
    lineTo(p, -10.0f, 21.0f);
    curveTo(p, -21.0f, 14.0f, -21.0f, -3.0f, -12.5f, -10.0f);
    curveTo(p, -15.0f, -13.0f, -15.0f, -15.0f, -13.0f, -17.0f);
    return p;
}

void drawWaterStream(const float* pts, int count, float width)
{
    Path p;
    moveTo(p, pts[0], pts[1]);
    for (int i = 1; i < count; ++i)
        lineTo(p, pts[2 * i], pts[2 * i + 1]);
    strokePath(p, paint(rgb8(14, 42, 92)), width + 3.0f, false);
    strokePath(p, paint(rgb8(64, 150, 230)), width, false);
    strokePath(p, paint(rgb8(190, 228, 255)), width * 0.3f, false);
}

// Action 2, give water: a jug pours water into the bowl.
void drawWaterButton()
{
    drawMedallion(rgb8(214, 234, 244));
    const float cx = 80.0f, rimY = 88.0f, rx = 29.0f;
    drawBowl(cx, rimY, rx, rgb8(58, 140, 214));
    al_draw_filled_ellipse(cx - 6.0f, rimY - 1.0f, 12.0f, 2.2f, paint(rgb8(160, 210, 250)));

    Path stream;
    const float streamPts[] = {71.0f, 44.0f, 76.5f, 50.0f, 79.5f, 60.0f, 80.5f, 72.0f, 80.5f, 87.0f};
    drawWaterStream(streamPts, 5, 5.5f);
    // Splashes where the stream meets the water.
    const float splashes[][3] = {{69, 80, 2.4f}, {92, 79, 2.2f}, {64, 84, 1.6f}, {97, 84, 1.6f}};
    for (const auto& s : splashes) {
        al_draw_filled_circle(s[0], s[1], s[2] + 1.2f, paint(rgb8(14, 42, 92)));
        al_draw_filled_circle(s[0], s[1], s[2], paint(rgb8(120, 190, 245)));
    }

    ALLEGRO_TRANSFORM saved = placeLocal(45.0f, 50.0f, 1.15f, 0.72f);
    // Handle on the jug's back.
    Path handle;
    moveTo(handle, -14.0f, -9.0f);
    curveTo(handle, -30.0f, -10.0f, -30.0f, 12.0f, -14.0f, 11.0f);
    strokePath(handle, paint(ink), 7.0f, false);
    strokePath(handle, paint(rgb8(178, 88, 48)), 4.0f, false);
    inkPath(jugPath(), paint(rgb8(204, 106, 58)), paint(ink), 1.6f);
    al_draw_filled_rectangle(-17.5f, -1.0f, 17.5f, 4.0f, paint(rgb8(240, 190, 110)));
    al_draw_filled_ellipse(-9.0f, 8.0f, 3.0f, 7.0f, paint(white, 0.22f));
    al_draw_line(-13.0f, -17.0f, 9.0f, -17.0f, paint(rgb8(120, 52, 24)), 2.0f);
    restoreTransform(saved);
}

void drawPlusBadge(float cx, float cy, float r)
{
    al_draw_filled_circle(cx, cy, r + 1.8f, paint(ink));
    shadedEllipse(cx, cy, r, r, rgb8(40, 128, 52), rgb8(110, 206, 96), 1.0f, 12);
    al_draw_line(cx - r * 0.55f, cy, cx + r * 0.55f, cy, paint(white), r * 0.34f);
    al_draw_line(cx, cy - r * 0.55f, cx, cy + r * 0.55f, paint(white), r * 0.34f);
}

// Action 3, add fuel: a log goes onto the burning campfire.
void drawFuelButton()
{
    drawMedallion(rgb8(250, 222, 190));
    drawCampfire(67.5f, 98.0f, 1.0f);
    drawLog(42.0f, 42.0f, 34.0f, 5.5f, 0.55f);
    // Motion marks behind the falling log.
    for (int i = 0; i < 3; ++i) {
        float o = i * 6.0f;
        al_draw_line(22.0f + o * 0.5f, 26.0f + o, 28.0f + o * 0.5f, 30.0f + o, paint(rgb8(120, 80, 50), 0.8f), 1.6f);
    }
    drawPlusBadge(98.0f, 38.0f, 12.0f);
}

// Action 4, douse the fire: a bucket pours water onto a shrinking flame, and it steams.
void drawDouseButton()
{
    drawMedallion(rgb8(218, 230, 236));
    drawCampfire(67.5f, 98.0f, 0.55f);
    // Steam.
    const float puffs[][3] = {{88, 66, 6.5f}, {95, 56, 7.5f}, {90, 44, 8.0f}, {100, 40, 6.0f}, {82, 74, 5.0f}};
    for (const auto& s : puffs) {
        al_draw_filled_circle(s[0], s[1], s[2] + 1.2f, paint(rgb8(110, 120, 130), 0.8f));
        al_draw_filled_circle(s[0], s[1], s[2], paint(rgb8(238, 242, 246)));
    }
    const float streamPts[] = {50.0f, 42.0f, 57.0f, 50.0f, 62.5f, 62.0f, 65.5f, 76.0f, 66.5f, 86.0f};
    drawWaterStream(streamPts, 5, 6.0f);
    const float drops[][2] = {{56, 70}, {74, 66}, {52, 84}, {78, 80}};
    for (const auto& d : drops) {
        ALLEGRO_TRANSFORM s = placeLocal(d[0], d[1], 0.55f, 0.0f);
        drawDrop(0.0f, -7.0f, 1.0f, 1.8f);
        restoreTransform(s);
    }

    // The bucket, tipped towards the fire.
    ALLEGRO_TRANSFORM saved = placeLocal(36.0f, 36.0f, 1.0f, -2.2f);
    Path bucket;
    moveTo(bucket, -15.0f, -14.0f);
    lineTo(bucket, 15.0f, -14.0f);
    lineTo(bucket, 11.0f, 15.0f);
    lineTo(bucket, -11.0f, 15.0f);
    lineTo(bucket, -15.0f, -14.0f);
    inkPath(bucket, paint(rgb8(150, 156, 166)), paint(ink), 1.6f);
    al_draw_filled_rectangle(-13.5f, -6.0f, 13.5f, -2.0f, paint(rgb8(96, 100, 110)));
    al_draw_filled_rectangle(-12.0f, 6.0f, 12.0f, 9.0f, paint(rgb8(96, 100, 110)));
    al_draw_filled_ellipse(-6.0f, 0.0f, 2.5f, 10.0f, paint(white, 0.3f));
    al_draw_filled_ellipse(0.0f, -14.0f, 15.5f, 4.2f, paint(ink));
    al_draw_filled_ellipse(0.0f, -14.0f, 13.5f, 2.8f, paint(rgb8(58, 140, 214)));
    al_draw_elliptical_arc(0.0f, -10.0f, 20.0f, 20.0f, pi * 1.1f, pi * 0.8f, paint(ink), 2.4f);
    restoreTransform(saved);
}

// ---------------------------------------------------------------- the sheet

struct SpriteArt {
    SpriteId id;
    int supersample;
};

const SpriteArt spriteArts[spriteCount] = {
    {SpriteIconHeat, 8},      {SpriteIconFire, 8},      {SpriteIconWater, 8},     {SpriteIconFood, 8},
    {SpriteIconHealth, 8},    {SpriteCloseIcon, 8},     {SpriteActionButton1, 4}, {SpriteActionButton2, 4},
    {SpriteActionButton3, 4}, {SpriteActionButton4, 4}, {SpriteChip, 4},
};

void drawSpriteArt(SpriteId id)
{
    switch (id) {
    case SpriteIconHeat:
        drawThermometerIcon();
        break;
    case SpriteIconFire:
        drawFlame(7.6f, 15.4f, 1.0f, 1.0f);
        break;
    case SpriteIconWater:
        drawDrop(8.0f, 1.0f, 1.0f, 1.0f);
        break;
    case SpriteIconFood:
        drawDrumstick(1.0f);
        break;
    case SpriteIconHealth:
        drawHeartIcon();
        break;
    case SpriteCloseIcon:
        drawCloseIcon();
        break;
    case SpriteActionButton1:
        drawFeedButton();
        break;
    case SpriteActionButton2:
        drawWaterButton();
        break;
    case SpriteActionButton3:
        drawFuelButton();
        break;
    case SpriteActionButton4:
        drawDouseButton();
        break;
    case SpriteChip:
        drawChip();
        break;
    case spriteCount:
        break;
    }
}

}  // namespace

int spriteSheetWidth()
{
    int w = 0;
    for (const SpriteRect& r : spriteRects)
        w = std::max(w, r.x + r.w);
    return w;
}

int spriteSheetHeight()
{
    int h = 0;
    for (const SpriteRect& r : spriteRects)
        h = std::max(h, r.y + r.h);
    return h;
}

ALLEGRO_BITMAP* drawSpriteSheet()
{
    ALLEGRO_BITMAP* sheet = al_create_bitmap(spriteSheetWidth(), spriteSheetHeight());
    al_set_target_bitmap(sheet);
    al_clear_to_color(al_map_rgba(0, 0, 0, 0));
    for (const SpriteArt& art : spriteArts) {
        const SpriteRect& r = spriteRects[art.id];
        Canvas canvas = beginCanvas(r.w, r.h, art.supersample);
        drawSpriteArt(art.id);
        ALLEGRO_BITMAP* sprite = finishCanvas(canvas);
        al_set_target_bitmap(sheet);
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
        al_draw_bitmap(sprite, static_cast<float>(r.x), static_cast<float>(r.y), 0);
        al_destroy_bitmap(sprite);
    }
    return sheet;
}

namespace {

// The icon in a 128-unit square: a disc of marsh water with a lily pad and the chip sitting on
// it. Small icons (below 48 pixels) would make a pixel of mush of the lily pad and the disc's
// rim: the chip alone on plain marsh water, larger, so its eyes and fronds still read at 16.
void drawIconArt(bool small)
{
    al_draw_filled_circle(64.0f, 64.0f, small ? 64.0f : 62.0f, paint(ink));
    shadedEllipse(64.0f, 64.0f, small ? 58.0f : 60.0f, small ? 58.0f : 60.0f, rgb8(30, 84, 88),
                  rgb8(92, 164, 150), 1.0f, 28);
    if (!small) {
        Path pad;
        moveTo(pad, 64.0f, 92.0f);
        ellipseTo(pad, 64.0f, 92.0f, 50.0f, 20.0f, -pi / 2 + 0.28f, 3 * pi / 2 - 0.28f, 40);
        inkPath(pad, paint(rgb8(92, 168, 60)), paint(rgb8(24, 60, 24)), 1.5f);
        al_draw_filled_ellipse(56.0f, 96.0f, 30.0f, 9.0f, paint(rgb8(130, 196, 80), 0.6f));
        al_draw_filled_ellipse(64.0f, 92.0f, 40.0f, 10.0f, paint(Rgb{0, 0, 0}, 0.3f));
    }
    // The chip is 86 x 53 units; small icons let it span the whole width, centred.
    const ALLEGRO_TRANSFORM saved = small ? placeLocal(0.0f, (128.0f - 53.0f * 128.0f / 86.0f) / 2.0f, 128.0f / 86.0f, 0.0f)
                                          : placeLocal(4.0f, 25.0f, 1.4f, 0.0f);
    drawChip();
    restoreTransform(saved);
}

}  // namespace

ALLEGRO_BITMAP* drawDesktopIcon(int size)
{
    // Supersampled more at small sizes, so thin strokes still blend into the right shade.
    Canvas canvas = beginCanvas(size, size, size < 64 ? 8 : 4);
    const ALLEGRO_TRANSFORM saved = placeLocal(0.0f, 0.0f, size / 128.0f, 0.0f);
    drawIconArt(size < 48);
    restoreTransform(saved);
    return finishCanvas(canvas);
}

ALLEGRO_BITMAP* drawMaskableIcon(int size)
{
    Canvas canvas = beginCanvas(size, size, 4);
    al_clear_to_color(paint(rgb8(30, 84, 88)));
    // The disc within the middle 80%, the circle that every home screen's shape keeps.
    const ALLEGRO_TRANSFORM saved = placeLocal(0.1f * size, 0.1f * size, 0.8f * size / 128.0f, 0.0f);
    drawIconArt(false);
    restoreTransform(saved);
    return finishCanvas(canvas);
}
