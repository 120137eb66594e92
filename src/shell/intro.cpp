#include "shell/intro.h"

#include <allegro5/allegro_primitives.h>
#include <cmath>

#include "shell/fit_transform.h"
#include "shell/startup.h"

namespace {

constexpr double fadeStep = 0.025;
constexpr double fadeRest = 1.0 / 60.0;
constexpr double holdRest = 1.0;

// The emblem: a sun rising over the marsh between two clumps of cattails, the name below.
constexpr float horizonY = 66.0f;
constexpr float sunX = 103.5f;
constexpr float sunRadius = 30.0f;
constexpr int sunSlices = 18;
constexpr int rayCount = 7;
constexpr float rayInner = 35.0f;
constexpr float rayOuter = 48.0f;
constexpr double rayHalfWidth = 0.07;  // radians

struct EmblemBar {
    float x, y, x1, y1, x2, y2;
};

// The horizon and the ripples under the sun.
const EmblemBar emblemBars[] = {
    {20.0f, horizonY, 0.0f, 0.0f, 167.0f, 4.0f},
    {sunX, horizonY + 7.0f, -44.0f, 0.0f, 44.0f, 2.5f},
};

struct Cattail {
    float x;  // stem centre, relative to its clump
    float height;  // from the horizon to the tip
};

const Cattail cattails[] = {{0.0f, 34.0f}, {8.0f, 44.0f}, {16.0f, 28.0f}};
const float clumpX[] = {36.0f, 171.0f};
constexpr float stemWidth = 1.6f;
constexpr float headWidth = 4.4f;
constexpr float headLength = 11.0f;
constexpr float tipLength = 5.0f;

// The name in a blocky five-by-seven hand.
const char* const emblemName = "QUENMARSH";
struct Glyph {
    char letter;
    const char* rows[7];
};
const Glyph glyphs[] = {
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
};
constexpr float cell = 3.5f;
constexpr float nameY = 80.0f;

EmblemShape rectangle(float partX, float partY, float x1, float y1, float x2, float y2)
{
    return EmblemShape{partX, partY, false, x1, y1, x2, y2, 0.0f, 0.0f};
}

EmblemShape triangle(float partX, float partY, float x1, float y1, float x2, float y2, float x3,
                     float y3)
{
    return EmblemShape{partX, partY, true, x1, y1, x2, y2, x3, y3};
}

const Glyph* findGlyph(char letter)
{
    for (const Glyph& glyph : glyphs) {
        if (glyph.letter == letter) return &glyph;
    }
    return nullptr;
}

void addSun(std::vector<EmblemShape>& shapes)
{
    const double pi = 3.14159265358979323846;
    // A half disc as a fan above the horizon (y grows downwards).
    for (int i = 0; i < sunSlices; ++i) {
        const double a0 = pi + pi * i / sunSlices;
        const double a1 = pi + pi * (i + 1) / sunSlices;
        shapes.push_back(triangle(sunX, horizonY, 0.0f, 0.0f,
                                  (float)(sunRadius * std::cos(a0)), (float)(sunRadius * std::sin(a0)),
                                  (float)(sunRadius * std::cos(a1)), (float)(sunRadius * std::sin(a1))));
    }
    for (int i = 1; i <= rayCount; ++i) {
        const double a = pi + pi * i / (rayCount + 1);
        shapes.push_back(triangle(
            sunX, horizonY, (float)(rayInner * std::cos(a - rayHalfWidth)),
            (float)(rayInner * std::sin(a - rayHalfWidth)), (float)(rayInner * std::cos(a + rayHalfWidth)),
            (float)(rayInner * std::sin(a + rayHalfWidth)), (float)(rayOuter * std::cos(a)),
            (float)(rayOuter * std::sin(a))));
    }
}

void addCattails(std::vector<EmblemShape>& shapes)
{
    for (float clump : clumpX) {
        for (const Cattail& c : cattails) {
            // Mirror the right clump so that the tallest stem leans towards the sun.
            const float x = clump < sunX ? c.x : -c.x;
            const float top = -c.height;
            const float headTop = top + tipLength;
            shapes.push_back(rectangle(clump, horizonY, x - stemWidth / 2, headTop + headLength,
                                       x + stemWidth / 2, 0.0f));
            shapes.push_back(rectangle(clump, horizonY, x - headWidth / 2, headTop, x + headWidth / 2,
                                       headTop + headLength));
            shapes.push_back(triangle(clump, horizonY, x - stemWidth / 2, headTop, x + stemWidth / 2,
                                      headTop, x, top));
        }
    }
}

void addName(std::vector<EmblemShape>& shapes)
{
    const int letters = 9;
    const float nameWidth = (letters * 6 - 1) * cell;
    const float left = (emblemCanvasWidth - nameWidth) / 2;
    for (int i = 0; i < letters; ++i) {
        const Glyph* glyph = findGlyph(emblemName[i]);
        if (!glyph) continue;
        const float partX = left + i * 6 * cell;
        // Each run of filled cells in a row is one rectangle.
        for (int row = 0; row < 7; ++row) {
            const char* cells = glyph->rows[row];
            int col = 0;
            while (col < 5) {
                if (cells[col] != '#') {
                    ++col;
                    continue;
                }
                int end = col;
                while (end < 5 && cells[end] == '#') ++end;
                shapes.push_back(rectangle(partX, nameY, col * cell, row * cell, end * cell,
                                           (row + 1) * cell));
                col = end;
            }
        }
    }
}

}  // namespace

IntroLayout introLayout(float displayWidth, float displayHeight)
{
    FitTransform fit;
    makeFitTransform(fit, displayWidth, displayHeight, emblemCanvasWidth, emblemCanvasHeight);
    IntroLayout layout{};
    al_copy_transform(&layout.scale, &fit.transform);
    float scaledWidth = emblemCanvasWidth;
    float scaledHeight = emblemCanvasHeight;
    al_transform_coordinates(&layout.scale, &scaledWidth, &scaledHeight);
    layout.bitmapWidth = (int32_t)scaledWidth;
    layout.bitmapHeight = (int32_t)scaledHeight;
    layout.drawX = fit.offsetX;
    layout.drawY = fit.offsetY;
    return layout;
}

std::vector<IntroFrame> introFrames()
{
    std::vector<IntroFrame> frames;
    // The levels step in single precision, as the tint takes them.
    float level = 0.0f;
    do {
        frames.push_back(IntroFrame{true, true, level, fadeRest});
        level = (float)(level + fadeStep);
    } while (1.0f > level);
    frames.push_back(IntroFrame{true, false, 1.0f, holdRest});
    level = 1.0f;
    do {
        frames.push_back(IntroFrame{true, true, level, fadeRest});
        level = (float)(level - fadeStep);
    } while (level > 0.0f);
    frames.push_back(IntroFrame{false, false, 0.0f, 0.0});
    return frames;
}

std::vector<EmblemShape> emblemShapes()
{
    std::vector<EmblemShape> shapes;
    addSun(shapes);
    for (const EmblemBar& bar : emblemBars) {
        shapes.push_back(rectangle(bar.x, bar.y, bar.x1, bar.y1, bar.x2, bar.y2));
    }
    addCattails(shapes);
    addName(shapes);
    return shapes;
}

void drawEmblem(const ALLEGRO_TRANSFORM& scale)
{
    const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
    for (const EmblemShape& shape : emblemShapes()) {
        ALLEGRO_TRANSFORM place;
        al_identity_transform(&place);
        al_translate_transform(&place, shape.partX, shape.partY);
        al_compose_transform(&place, &scale);
        al_use_transform(&place);
        if (shape.triangle) {
            al_draw_filled_triangle(shape.x1, shape.y1, shape.x2, shape.y2, shape.x3, shape.y3, red);
        } else {
            al_draw_filled_rectangle(shape.x1, shape.y1, shape.x2, shape.y2, red);
        }
    }
    ALLEGRO_TRANSFORM identity;
    al_identity_transform(&identity);
    al_use_transform(&identity);
}

void runIntro()
{
    const IntroLayout layout =
        introLayout((float)al_get_display_width(display), (float)al_get_display_height(display));
    ALLEGRO_BITMAP* emblem = al_create_bitmap(layout.bitmapWidth, layout.bitmapHeight);
    if (!emblem) return;

    // The shapes are drawn once, at display resolution; every frame only draws this bitmap.
    al_set_target_bitmap(emblem);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    drawEmblem(layout.scale);
    al_set_target_backbuffer(display);

    // Each frame is due a set time after the first, however long drawing and showing it took:
    // the intro lasts as long wherever it runs, the browser's page included, where handing over
    // each frame and waking from each rest take a little time of their own.
    double due = al_get_time();
    for (const IntroFrame& frame : introFrames()) {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        if (frame.showEmblem && frame.tinted) {
            al_draw_tinted_bitmap(emblem, al_map_rgba_f(1, 1, 1, frame.level), layout.drawX,
                                  layout.drawY, 0);
        } else if (frame.showEmblem) {
            al_draw_bitmap(emblem, layout.drawX, layout.drawY, 0);
        }
        al_flip_display();
        due += frame.rest;
        const double left = due - al_get_time();
        if (left > 0.0) al_rest(left);
    }
    al_destroy_bitmap(emblem);
}
