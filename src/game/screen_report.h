// What the screen shows, in words and places rather than pixels: the dialog's lines and answers,
// the panel's controls, meters and counters. The browser's page keeps an accessible copy of it
// over the game's canvas (for screen readers and keyboards), told whenever it changes.
// Reading it never changes the state.
#pragma once
#include <cstdint>
#include <string>

#include "game/frame_view.h"
#include "game/game_loop_state.h"

constexpr int reportedLineCount = 4;
constexpr int maxReportedControls = 5;

// Something a click acts on: an answer, a care action or the close button.
struct ReportedControl {
    int32_t id;  // dialog: the answer, 1 to 4; care screen: the action, 1 to 4, or hoverClose
    const char* label;  // an answer's own words; null for the panel's controls, which are pictures
    int32_t x1;  // display pixels: a click strictly inside acts
    int32_t y1;
    int32_t x2;
    int32_t y2;
    bool resting;  // the panel rests after an action: a click does nothing meanwhile
};

struct ReportedMeter {
    int32_t percent;  // 0 to 100, rounded down: never fuller than the meter is
    bool danger;  // the chip is being hurt through it (heat, food, water), or cries (health)
};

struct ScreenReport {
    Screen screen;  // Start: nothing is shown
    const char* lines[reportedLineCount];  // dialog: its rows, null where one is empty
    int32_t controlCount;
    ReportedControl controls[maxReportedControls];
    // Care screen only, top to bottom as the panel shows them.
    ReportedMeter meters[meterBarCount];
    int32_t goodCount;
    int32_t deadCount;
};

ScreenReport screenReport(const GameLoopState& state);
bool sameReport(const ScreenReport& a, const ScreenReport& b);

// As JSON, for the page: {"screen", "lines", "controls": [{"id", "label", "box", "resting"}],
// "meters": [{"percent", "danger"}], "counters"}, the counters in the game's own words.
std::string reportJson(const ScreenReport& report);

// Hands the page the report of what `state` shows, whenever it differs from the one last handed.
void reportScreenChanges(const GameLoopState& state);
