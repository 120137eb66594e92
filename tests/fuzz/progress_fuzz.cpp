// libFuzzer target for the progress-file parser. Besides crashes and sanitizer reports it
// checks what every load must give: finite meters in range, the same record however the bytes
// arrive, and text that loads back to itself.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "progress/progress_text.h"

namespace {

void require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "progress fuzz: %s\n", what);
    std::abort();
}

bool sameBits(const Progress& a, const Progress& b)
{
    return std::memcmp(&a, &b, sizeof(Progress)) == 0;
}

void requireMeter(float value, float maxValue)
{
    require(std::isfinite(value), "a meter is not finite");
    require(!std::signbit(value) && value <= maxValue, "a meter is out of range");
}

}  // namespace

static_assert(sizeof(Progress) == 36, "Progress has no padding, so its bytes can be compared");

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const Progress loaded = parseProgress(std::string_view(bytes, size));

    requireMeter(loaded.heat, maxMeter);
    requireMeter(loaded.fire, maxMeter);
    requireMeter(loaded.water, maxMeter);
    requireMeter(loaded.food, maxMeter);
    requireMeter(loaded.health, maxHealth);

    // The loader reads in pieces of whatever size the file gives.
    ProgressReader halves{};
    feedProgressReader(halves, bytes, size / 2);
    feedProgressReader(halves, bytes + size / 2, size - size / 2);
    require(sameBits(finishProgressReader(halves), loaded), "two pieces load differently");
    if (size <= 512) {
        ProgressReader single{};
        for (size_t i = 0; i < size; ++i) feedProgressReader(single, bytes + i, 1);
        require(sameBits(finishProgressReader(single), loaded), "single bytes load differently");
    }

    // What is saved is nine plain lines that load back to the same counters and meters that
    // print the same; from then on save and load change nothing.
    const std::string text = formatProgress(loaded);
    size_t lineFeeds = 0;
    for (char c : text) {
        require(c == '\n' || c == '-' || c == '.' || (c >= '0' && c <= '9'), "a stray character in the text");
        lineFeeds += c == '\n';
    }
    require(lineFeeds == progressLineCount && text.back() == '\n', "the text is not nine lines");

    const Progress reloaded = parseProgress(text);
    require(reloaded.phase == loaded.phase && reloaded.phaseTick == loaded.phaseTick &&
                reloaded.goodCount == loaded.goodCount && reloaded.deadCount == loaded.deadCount,
            "a counter changed on reload");
    require(formatProgress(reloaded) == text, "the reloaded record prints differently");
    require(sameBits(parseProgress(formatProgress(reloaded)), reloaded), "a second reload changed the record");
    // From 16 up a float is coarser than six decimals, so those meters come back exactly.
    const float Progress::*meters[] = {&Progress::heat, &Progress::fire, &Progress::water, &Progress::food,
                                       &Progress::health};
    for (const float Progress::*meter : meters)
        require(loaded.*meter < 16.0f || reloaded.*meter == loaded.*meter, "a meter above 16 changed on reload");
    return 0;
}
