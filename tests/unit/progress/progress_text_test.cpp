// The progress text without files: the meter lines against printf, and the reader's limits
// (the fuzz target checks that the bytes may arrive in any pieces).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "progress/progress_text.h"

namespace {

// glibc's printf, which the file follows on every platform; MinGW's drops a NaN's sign.
std::string printfMeter(float value)
{
    if (value != value) return std::signbit(value) ? "-nan\n" : "nan\n";
    char line[400];
    std::snprintf(line, sizeof line, "%f\n", static_cast<double>(value));
    return line;
}

std::string formattedMeter(float value)
{
    Progress values = defaultProgress();
    values.heat = value;
    std::string text = formatProgress(values);
    const size_t start = text.find('\n', text.find('\n') + 1) + 1;  // the third line
    return text.substr(start, text.find('\n', start) + 1 - start);
}

TEST(ProgressText, MeterLinesMatchPrintf)
{
    const float picked[] = {0.0f,   -0.0f,      127.75f,   -0.25f,    254.999999f, 0.0000005f, 0.0000015f,
                            1e-7f,  FLT_MIN,    FLT_MAX,   -FLT_MAX,  1e-45f,      16777217.0f, 265.0f};
    for (float value : picked) EXPECT_EQ(formattedMeter(value), printfMeter(value)) << value;

    // A spread over every exponent and sign, infinities and NaNs included.
    int differing = 0;
    for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65521) {
        const uint32_t pattern = static_cast<uint32_t>(bits);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (formattedMeter(value) != printfMeter(value) && ++differing < 5)
            ADD_FAILURE() << "bits " << pattern << ": " << formattedMeter(value) << " vs " << printfMeter(value);
    }
    EXPECT_EQ(differing, 0);
}

struct ReaderCase {
    const char* name;
    std::string text;
    int32_t phase;
    int32_t phaseTick;
    int32_t deadCount;
};

TEST(ProgressText, ReaderLimits)
{
    const std::string tail = "0\n0\n0\n0\n0\n0\n";
    const ReaderCase cases[] = {
        {"a line just under the limit", std::string(maxProgressLineBytes - 1, ' ') + "5\n6\n" + tail + "7\n", 5, 6, 7},
        {"a line just over the limit", std::string(maxProgressLineBytes, ' ') + "5\n6\n" + tail + "7\n", 0, 6, 7},
        {"the size limit cuts a line", "5\n" + std::string(maxProgressFileBytes, ' ') + "6\n" + tail + "7\n", 5, 0, 0},
        {"a number cut by the size limit", std::string(maxProgressFileBytes - 3, 'x') + "\n67\n" + tail + "7\n", 0, 0, 0},
        {"an unended last line at the size limit",
         std::string(maxProgressFileBytes - 2, ' ') + "\n4", 0, 4, 0},
    };
    for (const ReaderCase& row : cases) {
        SCOPED_TRACE(row.name);
        const Progress loaded = parseProgress(row.text);
        EXPECT_EQ(loaded.phase, row.phase);
        EXPECT_EQ(loaded.phaseTick, row.phaseTick);
        EXPECT_EQ(loaded.deadCount, row.deadCount);
    }
}

}  // namespace
