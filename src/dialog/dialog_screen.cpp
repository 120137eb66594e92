#include "dialog/dialog_screen.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_primitives.h>

#include "game/screen_flow.h"

namespace {

enum Column { ColumnLeft, ColumnRight, ColumnFull };
enum Row { RowUpper, RowLower };

struct Place {
    Column column;
    Row row;
};

// Where each option goes, by the number of options: fewer answers sit in the lower row.
const Place layouts[4][4] = {
    {{ColumnFull, RowLower}},
    {{ColumnLeft, RowLower}, {ColumnRight, RowLower}},
    {{ColumnLeft, RowUpper}, {ColumnRight, RowUpper}, {ColumnFull, RowLower}},
    {{ColumnLeft, RowUpper}, {ColumnRight, RowUpper}, {ColumnLeft, RowLower},
     {ColumnRight, RowLower}},
};

// The text rows sit at fixed offsets from the middle of the display; an absent line leaves a gap.
const int32_t lineOffsets[4] = {-60, -30, 0, 30};

}  // namespace

int32_t dialogOptionCount(const DialogNode& node)
{
    if (node.labels[3] && node.labels[2] && node.labels[1]) return 4;
    if (node.labels[1] && node.labels[2]) return 3;
    if (node.labels[1]) return 2;
    return 1;
}

OptionBox optionBox(int32_t optionCount, int32_t option, int32_t w, int32_t h)
{
    const Place place = layouts[optionCount - 1][option - 1];
    const int32_t half = w / 2;
    const int32_t quarter = w / 4;
    OptionBox box{};
    switch (place.column) {
    case ColumnLeft: box.x1 = 1; box.x2 = half - 1; box.labelX = quarter; break;
    case ColumnRight: box.x1 = half + 1; box.x2 = w - 1; box.labelX = half + quarter; break;
    case ColumnFull: box.x1 = 1; box.x2 = w - 1; box.labelX = half; break;
    }
    if (place.row == RowUpper) {
        box.y1 = h - 65;
        box.y2 = h - 36;
        box.labelY = h - 60;
    } else {
        box.y1 = h - 34;
        box.y2 = h - 4;
        box.labelY = h - 30;
    }
    return box;
}

bool isOverOption(const OptionBox& box, int32_t x, int32_t y)
{
    return box.x1 < x && x < box.x2 && box.y1 < y && y < box.y2;
}

void dialogTick(GameLoopState& state)
{
    state.hover = 0;
    const DialogNode& node = dialogTable[state.currentNode];
    const int32_t count = dialogOptionCount(node);
    for (int32_t option = 1; option <= count; ++option) {
        const OptionBox box = optionBox(count, option, state.displayWidth, state.displayHeight);
        if (isOverOption(box, state.input.mouseX, state.input.mouseY)) state.hover = option;
    }
    if (!isPressed(state.input.buttons[0]) || state.hover < 1) return;

    const int32_t next = node.next[state.hover - 1];
    if (next == nextCloses) {
        requestFade(state, Screen::Care);
    } else {
        // Node -2 goes the same way: the screen flow quits and resets when the fade switches.
        requestFade(state, Screen::Dialog, next);
    }
    // No outline while the screen fades away.
    state.hover = -1;
}

void drawDialog(const GameLoopState& state)
{
    const int32_t w = state.displayWidth;
    const int32_t h = state.displayHeight;
    const DialogNode& node = dialogTable[state.currentNode];
    ALLEGRO_FONT* font = state.assets.uiFont;
    const ALLEGRO_COLOR white = al_map_rgb(255, 255, 255);
    const ALLEGRO_COLOR grey = al_map_rgb(127, 127, 127);

    // The boxes first, then every text in one batch: the lines lie above the boxes, and each
    // label only over its own box.
    const int32_t count = dialogOptionCount(node);
    for (int32_t option = 1; option <= count; ++option) {
        const OptionBox box = optionBox(count, option, w, h);
        al_draw_filled_rounded_rectangle((float)box.x1, (float)box.y1, (float)box.x2,
                                         (float)box.y2, 3, 3, grey);
        if (state.hover == option) {
            al_draw_rounded_rectangle((float)box.x1, (float)box.y1, (float)box.x2, (float)box.y2,
                                      3, 3, white, 1);
        }
    }

    al_hold_bitmap_drawing(true);
    for (int row = 0; row < 4; ++row) {
        if (!node.lines[row]) continue;
        al_draw_text(font, white, (float)(w / 2), (float)(h / 2 + lineOffsets[row]),
                     ALLEGRO_ALIGN_CENTRE, node.lines[row]);
    }
    for (int32_t option = 1; option <= count; ++option) {
        const OptionBox box = optionBox(count, option, w, h);
        al_draw_text(font, white, (float)box.labelX, (float)box.labelY, ALLEGRO_ALIGN_CENTRE,
                     node.labels[option - 1]);
    }
    al_hold_bitmap_drawing(false);
}
