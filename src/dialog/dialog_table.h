// Every conversation of the game: seventeen fixed nodes.
#pragma once
#include <cstdint>

constexpr int32_t dialogNodeCount = 17;
constexpr int32_t nextCloses = -1;  // fade back to the care screen
constexpr int32_t nextQuitsAndResets = -2;  // a new chip, both counters zero, and quit

struct DialogNode {
    const char* lines[4];  // null: the row stays empty
    const char* labels[4];  // options are filled from the first; null: absent
    int32_t next[4];
};

extern const DialogNode dialogTable[dialogNodeCount];
