#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../../support/game_state.h"
#include "game/screen_report.h"

namespace {

using Scene = void (*)(GameLoopState&);

void dialogNode(GameLoopState& s, int32_t node)
{
    s.screen = Screen::Dialog;
    s.currentNode = node;
}

}  // namespace

// What the page is told, on the 854 x 480 test display: the same places as the hit tests.
TEST(ScreenReport, TellsWordsPlacesMetersAndCounters)
{
    const struct {
        const char* what;
        Scene scene;
        std::vector<std::string> told;  // each a part of the JSON text
    } cases[] = {
        {"before the first tick", [](GameLoopState&) {}, {R"({"screen":"none","lines":[],"controls":[]})"}},
        {"the first dialog", [](GameLoopState& s) { dialogNode(s, 0); },
         {R"({"screen":"dialog","lines":["Well, I see you have your chip.","Do well to raise it."],"controls":[)"
          R"({"id":1,"box":[1,415,426,444],"resting":false,"label":"Will do!"},)"
          R"({"id":2,"box":[428,415,853,444],"resting":false,"label":"Don't tell me want to do!"},)",
          R"({"id":4,"box":[428,446,853,476],"resting":false,"label":"I'll try."}]})"}},
        {"an empty row between lines", [](GameLoopState& s) { dialogNode(s, 9); },
         {R"("lines":["You could stop playing","the game"])"}},
        {"a fresh chip's care screen", [](GameLoopState& s) { s.screen = Screen::Care; },
         {R"({"screen":"care","lines":[],"controls":[{"id":1,"box":[564,140,699,275],"resting":false,"label":null},)",
          R"({"id":0,"box":[828,454,844,470],"resting":false,"label":null}],"meters":[{"percent":0,"danger":false},)"
          R"({"percent":0,"danger":false},{"percent":100,"danger":false},{"percent":100,"danger":false},)"
          R"({"percent":100,"danger":false}],"counters":["Good Chips: 0","Dead Chips: 0"]})"}},
        {"the panel resting", [](GameLoopState& s) { s.screen = Screen::Care; s.care.buttonsEnabled = false; },
         {R"({"id":4,"box":[709,285,844,420],"resting":true,"label":null},{"id":0,"box":[828,454,844,470],"resting":true)"}},
        {"scalding, half, starving, nearly empty, healed past full",
         [](GameLoopState& s) { s.screen = Screen::Care; progress = withMeters(200.25f, 127.5f, 0, 0.25f, 262); },
         {R"("meters":[{"percent":78,"danger":true},{"percent":50,"danger":false},{"percent":0,"danger":true},)"
          R"({"percent":0,"danger":false},{"percent":100,"danger":false}])"}},
        {"hot but not scalding, crying, counted",
         [](GameLoopState& s) {
             s.screen = Screen::Care;
             s.care.crying = true;
             progress = withMeters(200, 0, 255, 255, 99.75f);
             progress.goodCount = 12;
             progress.deadCount = 3;
         },
         {R"("meters":[{"percent":78,"danger":false},)", R"({"percent":39,"danger":true}],)",
          R"("counters":["Good Chips: 12","Dead Chips: 3"])"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto state = std::make_unique<GameLoopState>();
        freshGame(*state);
        c.scene(*state);
        const std::string json = reportJson(screenReport(*state));
        for (const std::string& part : c.told) EXPECT_NE(json.find(part), std::string::npos) << json;
    }

    ScreenReport quoted{};
    quoted.screen = Screen::Dialog;
    quoted.controlCount = 1;
    quoted.controls[0].label = "say \"hi\" \\\n";
    EXPECT_NE(reportJson(quoted).find(R"("label":"say \"hi\" \\\u000a")"), std::string::npos);
}

// The page hears of what it shows, not of every quarter a meter moves.
TEST(ScreenReport, ChangesOnlyWithWhatItShows)
{
    const struct {
        const char* what;
        Scene change;
        bool changed;
    } cases[] = {
        {"food by a quarter, same percent", [](GameLoopState&) { progress.food -= 0.25f; }, false},
        {"food into the next percent", [](GameLoopState&) { progress.food -= 2.0f; }, true},
        {"the panel rests", [](GameLoopState& s) { s.care.buttonsEnabled = false; }, true},
        {"the chip cries", [](GameLoopState& s) { s.care.crying = true; }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto state = std::make_unique<GameLoopState>();
        startCare(*state);
        progress.food = 200.0f;
        const ScreenReport before = screenReport(*state);
        c.change(*state);
        EXPECT_EQ(!sameReport(before, screenReport(*state)), c.changed);
    }
}
