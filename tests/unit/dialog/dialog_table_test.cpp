#include <gtest/gtest.h>

#include <cstring>

#include "dialog/dialog_screen.h"
#include "dialog/dialog_table.h"

TEST(DialogTable, EveryNodeHoldsTogether)
{
    // Options per node, as the layouts expect them.
    const int32_t expectedCounts[dialogNodeCount] = {4, 1, 1, 4, 2, 1, 1, 1, 4, 1, 1, 1, 2, 3, 2, 1, 1};
    for (int32_t i = 0; i < dialogNodeCount; ++i) {
        SCOPED_TRACE(i);
        const DialogNode& node = dialogTable[i];
        ASSERT_NE(node.lines[0], nullptr);
        ASSERT_NE(node.labels[0], nullptr);
        EXPECT_EQ(dialogOptionCount(node), expectedCounts[i]);
        for (int option = 0; option < 4; ++option) {
            const bool present = option < expectedCounts[i];
            EXPECT_EQ(node.labels[option] != nullptr, present) << "option " << option;
            if (!present) continue;
            const int32_t next = node.next[option];
            EXPECT_TRUE(next == nextCloses || next == nextQuitsAndResets ||
                        (next >= 0 && next < dialogNodeCount))
                << "option " << option << " next " << next;
            EXPECT_EQ(next == nextQuitsAndResets, i == 15 || i == 16) << "only the two farewells quit";
        }
    }
}

// Texts that no end-to-end scenario shows, and links that none follows: those scenarios check
// the rest on the screen.
TEST(DialogTable, TextsAndAnswersAsTheGameHasThem)
{
    struct Row {
        int32_t node;
        bool isLabel;
        int index;
        const char* text;  // null: absent
        int32_t next;  // for labels only
    };
    const Row rows[] = {
        {0, true, 1, "Don't tell me want to do!", 1},
        {3, true, 2, "BBQ", 6},
        {6, false, 0, "BBQ is yummy!", 0},
        {8, true, 1, "Should of had flaming water", 10},
        {9, false, 1, nullptr, 0},
        {9, false, 2, nullptr, 0},
        {9, false, 3, "the game", 0},
        {13, true, 0, "Alright, whatever", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "node " << row.node << (row.isLabel ? " label " : " line ")
                                        << row.index);
        const DialogNode& node = dialogTable[row.node];
        const char* text = row.isLabel ? node.labels[row.index] : node.lines[row.index];
        if (!row.text) {
            EXPECT_EQ(text, nullptr);
            continue;
        }
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, row.text);
        if (row.isLabel) {
            EXPECT_EQ(node.next[row.index], row.next);
        }
    }
}
