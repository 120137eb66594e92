#include "game/screen_report.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "care/meters.h"
#include "care/panel_layout.h"
#include "dialog/dialog_screen.h"
#include "progress/progress.h"
#include "shell/platform.h"

namespace {

// Where the game's own rules mark a meter: scalding heat and an empty food or water meter cost
// health every tick, and low health makes the chip cry. The fire harms only through the heat.
bool inDanger(float Progress::*meter, const GameLoopState& state)
{
    if (meter == &Progress::heat) return progress.heat > scaldingHeat;
    if (meter == &Progress::food || meter == &Progress::water) return progress.*meter <= 0.0f;
    if (meter == &Progress::health) return state.care.crying;
    return false;
}

int32_t percentOf(float meter)
{
    const float share = std::floor(meter * 100.0f / meterFull);
    return share < 0.0f ? 0 : share > 100.0f ? 100 : (int32_t)share;
}

void reportDialog(ScreenReport& report, const GameLoopState& state)
{
    const DialogNode& node = dialogTable[state.currentNode];
    for (int row = 0; row < reportedLineCount; ++row) report.lines[row] = node.lines[row];
    report.controlCount = dialogOptionCount(node);
    for (int32_t option = 1; option <= report.controlCount; ++option) {
        const OptionBox box = optionBox(report.controlCount, option, state.displayWidth, state.displayHeight);
        report.controls[option - 1] = {option, node.labels[option - 1], box.x1, box.y1, box.x2, box.y2, false};
    }
}

void reportCareScreen(ScreenReport& report, const GameLoopState& state)
{
    const int32_t w = state.displayWidth;
    const int32_t h = state.displayHeight;
    for (const PanelControl& c : panelControls) {
        const int32_t left = w - c.fromRight;
        const int32_t top = c.yFromBottom ? h - c.y : c.y;
        report.controls[report.controlCount++] = {c.hover, nullptr, left, top, left + c.size, top + c.size,
                                                  !state.care.buttonsEnabled};
    }
    for (int i = 0; i < meterBarCount; ++i) {
        const float Progress::*meter = meterBars[i].meter;
        report.meters[i] = {percentOf(progress.*meter), inDanger(meterBars[i].meter, state)};
    }
    report.goodCount = progress.goodCount;
    report.deadCount = progress.deadCount;
}

void appendText(std::string& json, const char* text)
{
    if (!text) {
        json += "null";
        return;
    }
    json += '"';
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') {
            json += '\\';
            json += *c;
        } else if ((unsigned char)*c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", (unsigned)(unsigned char)*c);
            json += escaped;
        } else {
            json += *c;
        }
    }
    json += '"';
}

void appendCounter(std::string& json, const char* format, int32_t count)
{
    char text[64];
    std::snprintf(text, sizeof text, format, (int)count);
    appendText(json, text);
}

const char* screenName(Screen screen)
{
    switch (screen) {
    case Screen::Care: return "care";
    case Screen::Dialog: return "dialog";
    case Screen::Start: break;
    }
    return "none";
}

// What the page was last told, if anything.
bool told = false;
ScreenReport lastTold;

}  // namespace

ScreenReport screenReport(const GameLoopState& state)
{
    ScreenReport report{};
    report.screen = state.screen;
    switch (state.screen) {
    case Screen::Care: reportCareScreen(report, state); break;
    case Screen::Dialog: reportDialog(report, state); break;
    case Screen::Start: break;
    }
    return report;
}

bool sameReport(const ScreenReport& a, const ScreenReport& b)
{
    // The texts come from the game's tables, so equal texts are the same pointers.
    if (a.screen != b.screen || a.controlCount != b.controlCount || a.goodCount != b.goodCount ||
        a.deadCount != b.deadCount || std::memcmp(a.lines, b.lines, sizeof a.lines) != 0)
        return false;
    for (int i = 0; i < a.controlCount; ++i) {
        const ReportedControl& x = a.controls[i];
        const ReportedControl& y = b.controls[i];
        if (x.id != y.id || x.label != y.label || x.x1 != y.x1 || x.y1 != y.y1 || x.x2 != y.x2 ||
            x.y2 != y.y2 || x.resting != y.resting)
            return false;
    }
    for (int i = 0; i < meterBarCount; ++i) {
        if (a.meters[i].percent != b.meters[i].percent || a.meters[i].danger != b.meters[i].danger) return false;
    }
    return true;
}

std::string reportJson(const ScreenReport& report)
{
    std::string json = "{\"screen\":";
    appendText(json, screenName(report.screen));
    json += ",\"lines\":[";
    const char* separator = "";
    for (const char* line : report.lines) {
        if (!line) continue;
        json += separator;
        appendText(json, line);
        separator = ",";
    }
    json += "],\"controls\":[";
    for (int i = 0; i < report.controlCount; ++i) {
        const ReportedControl& c = report.controls[i];
        char numbers[128];
        std::snprintf(numbers, sizeof numbers, "{\"id\":%d,\"box\":[%d,%d,%d,%d],\"resting\":%s,\"label\":",
                      (int)c.id, (int)c.x1, (int)c.y1, (int)c.x2, (int)c.y2, c.resting ? "true" : "false");
        json += i ? "," : "";
        json += numbers;
        appendText(json, c.label);
        json += '}';
    }
    json += "]";
    if (report.screen == Screen::Care) {
        json += ",\"meters\":[";
        for (int i = 0; i < meterBarCount; ++i) {
            char meter[64];
            std::snprintf(meter, sizeof meter, "%s{\"percent\":%d,\"danger\":%s}", i ? "," : "",
                          (int)report.meters[i].percent, report.meters[i].danger ? "true" : "false");
            json += meter;
        }
        json += "],\"counters\":[";
        appendCounter(json, goodCountText, report.goodCount);
        json += ',';
        appendCounter(json, deadCountText, report.deadCount);
        json += ']';
    }
    json += '}';
    return json;
}

void reportScreenChanges(const GameLoopState& state)
{
    const ScreenReport report = screenReport(state);
    if (told && sameReport(report, lastTold)) return;
    describeScreen(reportJson(report));
    lastTold = report;
    told = true;
}
