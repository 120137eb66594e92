#include "render/rect_batch.h"

void addRect(RectBatch& batch, float x1, float y1, float x2, float y2, ALLEGRO_COLOR colour)
{
    if (batch.count == rectBatchSize) drawRects(batch);
    // The two triangles of al_draw_filled_rectangle's fan, so that the edges fall alike.
    const float corners[6][2] = {{x1, y1}, {x1, y2}, {x2, y2}, {x1, y1}, {x2, y2}, {x2, y1}};
    ALLEGRO_VERTEX* v = batch.vertices + batch.count * 6;
    for (int i = 0; i < 6; ++i) {
        v[i].x = corners[i][0];
        v[i].y = corners[i][1];
        v[i].z = 0;
        v[i].u = 0;
        v[i].v = 0;
        v[i].color = colour;
    }
    batch.count += 1;
}

void drawRects(RectBatch& batch)
{
    if (batch.count > 0)
        al_draw_prim(batch.vertices, nullptr, nullptr, 0, batch.count * 6, ALLEGRO_PRIM_TRIANGLE_LIST);
    batch.count = 0;
}
