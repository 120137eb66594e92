#include <gtest/gtest.h>

#include <allegro5/allegro_font.h>
#include <memory>
#include <tuple>

#include "../../support/game_state.h"
#include "../../support/pixels.h"
#include "dialog/dialog_screen.h"

namespace {

std::unique_ptr<GameLoopState> dialogState(int32_t w, int32_t h, int32_t node)
{
    auto state = std::make_unique<GameLoopState>();
    freshGame(*state, w, h);
    state->screen = Screen::Dialog;
    state->currentNode = node;
    return state;
}

// One node for each layout, by option count.
const int32_t nodeWithOptions[5] = {-1, 1, 12, 13, 0};

}  // namespace

TEST(DialogLayout, ButtonsAndLabelsSitInTheirColumnsAndRows)
{
    struct Row {
        int32_t count, option, w, h;
        OptionBox box;
    };
    const Row rows[] = {
        // Four answers: two rows of two.
        {4, 1, 854, 480, {1, 415, 426, 444, 213, 420}},
        {4, 2, 854, 480, {428, 415, 853, 444, 640, 420}},
        {4, 3, 854, 480, {1, 446, 426, 476, 213, 450}},
        {4, 4, 854, 480, {428, 446, 853, 476, 640, 450}},
        // Three: the third spans the lower row.
        {3, 1, 854, 480, {1, 415, 426, 444, 213, 420}},
        {3, 2, 854, 480, {428, 415, 853, 444, 640, 420}},
        {3, 3, 854, 480, {1, 446, 853, 476, 427, 450}},
        // Two: side by side in the lower row.
        {2, 1, 854, 480, {1, 446, 426, 476, 213, 450}},
        {2, 2, 854, 480, {428, 446, 853, 476, 640, 450}},
        // One: the whole lower row.
        {1, 1, 854, 480, {1, 446, 853, 476, 427, 450}},
        {1, 1, 960, 540, {1, 506, 959, 536, 480, 510}},
        {4, 2, 960, 540, {481, 475, 959, 504, 720, 480}},
        // Odd width: the halves and quarters truncate on their own.
        {4, 2, 855, 480, {428, 415, 854, 444, 640, 420}},
        {4, 1, 855, 480, {1, 415, 426, 444, 213, 420}},
        {3, 3, 855, 480, {1, 446, 854, 476, 427, 450}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.count << " options, option " << row.option << ", "
                                        << row.w << "x" << row.h);
        const OptionBox box = optionBox(row.count, row.option, row.w, row.h);
        EXPECT_EQ(std::tie(box.x1, box.y1, box.x2, box.y2, box.labelX, box.labelY),
                  std::tie(row.box.x1, row.box.y1, row.box.x2, row.box.y2, row.box.labelX, row.box.labelY));
    }
}

TEST(DialogTick, PointerIsOverAnAnswerOnlyStrictlyInsideItsBox)
{
    struct Row {
        int32_t options, x, y, hover;
    };
    const Row rows[] = {
        {4, 100, 430, 1}, {4, 600, 430, 2}, {4, 100, 460, 3}, {4, 600, 460, 4},
        // Box edges: x 1, w/2 - 1, w/2 + 1, w - 1; y h - 65, h - 36, h - 34, h - 4.
        {4, 1, 430, 0}, {4, 2, 430, 1}, {4, 426, 430, 0}, {4, 425, 430, 1},
        {4, 428, 430, 0}, {4, 429, 430, 2}, {4, 853, 430, 0}, {4, 852, 430, 2},
        {4, 100, 415, 0}, {4, 100, 416, 1}, {4, 100, 444, 0}, {4, 100, 443, 1},
        {4, 100, 446, 0}, {4, 100, 447, 3}, {4, 100, 476, 0}, {4, 100, 475, 3},
        // The gaps between the columns and between the rows.
        {4, 427, 430, 0}, {4, 427, 460, 0}, {4, 100, 445, 0},
        // Three: the lower button spans the gap between the columns.
        {3, 427, 460, 3}, {3, 427, 430, 0}, {3, 852, 460, 3},
        // Two: nothing in the upper row.
        {2, 100, 430, 0}, {2, 600, 430, 0}, {2, 100, 460, 1}, {2, 600, 460, 2},
        {1, 427, 460, 1}, {1, 427, 430, 0}, {1, 1, 460, 0}, {1, 853, 460, 0},
        // Off the buttons altogether.
        {4, 427, 200, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.options << " options at (" << row.x << ", " << row.y << ")");
        auto state = dialogState(854, 480, nodeWithOptions[row.options]);
        state->hover = 7;
        state->input.mouseX = row.x;
        state->input.mouseY = row.y;
        state->input.buttons[0] = keyHeld | keyPressed;
        dialogTick(*state);
        // A click over no answer does nothing; a click over one is taken.
        EXPECT_EQ(state->hover, row.hover == 0 ? 0 : -1);
        EXPECT_EQ(state->fading, row.hover != 0);

        auto hovering = dialogState(854, 480, nodeWithOptions[row.options]);
        hovering->input.mouseX = row.x;
        hovering->input.mouseY = row.y;
        dialogTick(*hovering);
        EXPECT_EQ(hovering->hover, row.hover);
    }
}

TEST(DialogTick, AClickFollowsTheAnswer)
{
    struct Row {
        int32_t node;
        int32_t option;
        KeyState button;
        bool fades;
        Screen target;
        int32_t targetNode;
        int32_t hover;
    };
    const Row rows[] = {
        {2, 1, keyHeld | keyPressed, true, Screen::Care, 0, -1},  // "Close"
        {12, 2, keyHeld | keyPressed, true, Screen::Dialog, 13, -1},  // "No!"
        {15, 1, keyHeld | keyPressed, true, Screen::Dialog, nextQuitsAndResets, -1},  // "Quit"
        {0, 4, keyHeld | keyPressed, true, Screen::Dialog, 2, -1},  // "I'll try."
        {8, 3, keyHeld | keyPressed, true, Screen::Care, 0, -1},  // "Whatever" closes here
        {13, 3, keyHeld | keyPressed, true, Screen::Care, 0, -1},  // "..."
        {3, 4, keyPressed, true, Screen::Dialog, 7, -1},  // released within the tick: still a click
        // Held since an earlier tick: no click.
        {2, 1, keyHeld, false, Screen::Start, 0, 1},
        {12, 2, 0, false, Screen::Start, 0, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "node " << row.node << " option " << row.option);
        auto state = dialogState(854, 480, row.node);
        const OptionBox box = optionBox(dialogOptionCount(dialogTable[row.node]), row.option, 854, 480);
        state->input.mouseX = (box.x1 + box.x2) / 2;
        state->input.mouseY = (box.y1 + box.y2) / 2;
        state->input.buttons[0] = row.button;
        dialogTick(*state);
        EXPECT_EQ(state->fading, row.fades);
        EXPECT_EQ(state->pendingScreen, row.target);
        if (row.target == Screen::Dialog) {
            EXPECT_EQ(state->pendingNode, row.targetNode);
        }
        EXPECT_EQ(state->hover, row.hover);
        EXPECT_EQ(state->screen, Screen::Dialog);  // the switch waits for the fade
    }
}

class DialogDrawing : public testing::Test {
protected:
    static void SetUpTestSuite() { font = al_create_builtin_font(); }
    static void TearDownTestSuite() { al_destroy_font(font); }
    static ALLEGRO_FONT* font;

    // Where `text` lands when drawn alone, centred at (x, y), in white on black.
    static PixelBounds referenceText(int w, int h, const char* text, int x, int y)
    {
        TargetBitmap reference(w, h);
        al_draw_text(font, al_map_rgb(255, 255, 255), (float)x, (float)y, ALLEGRO_ALIGN_CENTRE, text);
        return boundsOf(reference.bitmap, 255, 255, 255, 0, 0, w, h);
    }
};
ALLEGRO_FONT* DialogDrawing::font = nullptr;

TEST_F(DialogDrawing, LinesAreCentredOnFixedRows)
{
    struct Row {
        int32_t node, w, h;
    };
    const Row rows[] = {{9, 854, 480}, {15, 854, 480}, {3, 960, 540}, {0, 960, 540}, {16, 855, 480}};
    const int offsets[4] = {-60, -30, 0, 30};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "node " << row.node << " at " << row.w << "x" << row.h);
        auto state = dialogState(row.w, row.h, row.node);
        state->assets.uiFont = font;
        TargetBitmap target(row.w, row.h);
        drawDialog(*state);
        for (int line = 0; line < 4; ++line) {
            SCOPED_TRACE(line + 1);
            const int y = row.h / 2 + offsets[line];
            const PixelBounds got = boundsOf(target.bitmap, 255, 255, 255, 0, y, row.w, y + 16);
            const char* text = dialogTable[row.node].lines[line];
            if (!text) {
                EXPECT_TRUE(got.empty()) << "an absent line leaves its row empty";
                continue;
            }
            expectSameBounds(got, referenceText(row.w, row.h, text, row.w / 2, y));
        }
    }
}

TEST_F(DialogDrawing, ButtonsOutlinesAndLabels)
{
    struct Row {
        int32_t options, w, h, hover;
    };
    const Row rows[] = {
        {1, 854, 480, 0}, {1, 854, 480, 1}, {2, 854, 480, 2}, {3, 854, 480, 3}, {3, 960, 540, 1},
        {3, 854, 480, 0}, {4, 854, 480, 4}, {4, 960, 540, 2}, {4, 960, 540, 0}, {4, 855, 480, 0},
        {2, 855, 480, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.options << " options at " << row.w << "x" << row.h
                                        << ", hover " << row.hover);
        const int32_t node = nodeWithOptions[row.options];
        auto state = dialogState(row.w, row.h, node);
        state->assets.uiFont = font;
        state->hover = row.hover;
        TargetBitmap target(row.w, row.h);
        drawDialog(*state);
        ALLEGRO_BITMAP* b = target.bitmap;

        // The 2-pixel gaps stay black wherever there are two columns or two rows. (A hovered
        // outline runs along the outside of its box's left and top edges, into a gap.)
        if (row.hover <= 0) {
            if (row.options != 1 && row.options != 3) {
                EXPECT_TRUE(sameColour(pixelAt(b, row.w / 2, row.h - 20), 0, 0, 0));
            }
            if (row.options >= 3) {
                EXPECT_TRUE(sameColour(pixelAt(b, row.w / 2, row.h - 50), 0, 0, 0));
                EXPECT_TRUE(sameColour(pixelAt(b, 100, row.h - 35), 0, 0, 0));
            }
        }
        if (row.options < 3) {
            EXPECT_TRUE(sameColour(pixelAt(b, 100, row.h - 50), 0, 0, 0)) << "no upper row";
        }

        for (int32_t option = 1; option <= row.options; ++option) {
            SCOPED_TRACE(option);
            const OptionBox box = optionBox(row.options, option, row.w, row.h);
            // Grey inside, clear of the rounded corners and the label.
            EXPECT_TRUE(sameColour(pixelAt(b, box.x1 + 4, box.y1 + 4), 127, 127, 127));
            EXPECT_TRUE(sameColour(pixelAt(b, box.x2 - 5, box.y2 - 5), 127, 127, 127));
            if (row.hover <= 0) {
                EXPECT_TRUE(sameColour(pixelAt(b, box.x2 + 1, box.y1 + 10), 0, 0, 0));
                EXPECT_TRUE(sameColour(pixelAt(b, box.x1 + 10, box.y2 + 1), 0, 0, 0));
            }
            // The outline follows the box's edges: white on the hovered answer only.
            const PixelBounds outline = boundsOf(b, 255, 255, 255, box.x1 - 1, box.y1 - 1, box.x1 + 2, box.y2 + 1);
            EXPECT_EQ(!outline.empty(), row.hover == option) << "left edge";
            const PixelBounds top = boundsOf(b, 255, 255, 255, box.x1 + 5, box.y1 - 1, box.x1 + 30, box.y1 + 2);
            EXPECT_EQ(!top.empty(), row.hover == option) << "top edge";
            // The label, centred on its column and hanging from its row.
            const char* label = dialogTable[node].labels[option - 1];
            expectSameBounds(boundsOf(b, 255, 255, 255, box.x1 + 2, box.y1 + 2, box.x2 - 1, box.y2 - 1),
                             referenceText(row.w, row.h, label, box.labelX, box.labelY));
        }
    }
}
