// Filled rectangles gathered and drawn in one call, each over the ones added before it: the
// same pixels as drawing them one by one, for one draw call instead of many.
#pragma once
#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

constexpr int rectBatchSize = 16;

struct RectBatch {
    int count;
    ALLEGRO_VERTEX vertices[rectBatchSize * 6];
};

// From (x1, y1) to (x2, y2), as al_draw_filled_rectangle takes them. A full batch is drawn first.
void addRect(RectBatch& batch, float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour);

// Draws the rectangles through the transform in force and empties the batch.
void drawRects(RectBatch& batch);
