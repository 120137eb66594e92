// The progress text without files: the meter lines against printf, and the reader's limits
// (the fuzz target checks that the bytes may arrive in any pieces), and which files the player
// may bring in as progress.
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

TEST(ProgressText, BroughtInFiles)
{
    const Progress written = {3, 1234, 12.375f, 80.5f, 0.0f, 255.0f, 265.0f, 7, 2147483647};
    const std::string text = formatProgress(written);
    // Each line of `text` given in turn by `with`.
    auto lineSwapped = [&](int line, const std::string& with) {
        std::size_t start = 0;
        for (int i = 0; i < line; ++i) start = text.find('\n', start) + 1;
        return text.substr(0, start) + with + text.substr(text.find('\n', start));
    };
    std::string windowsText;
    for (char c : text) windowsText += c == '\n' ? "\r\n" : std::string(1, c);
    windowsText.resize(windowsText.size() - 2);
    const struct {
        const char* name;
        std::string text;
        bool accepted;
    } cases[] = {
        {"as written", text, true},
        {"a fresh chip", formatProgress(defaultProgress()), true},
        {"Windows line ends, the last one missing", windowsText, true},
        {"blanks around a value", lineSwapped(7, " 9\t"), true},
        {"a hand-written meter", lineSwapped(3, "200"), true},
        {"empty", "", false},
        {"eight lines", text.substr(0, text.rfind('\n', text.size() - 2) + 1), false},
        {"a tenth line", text + "0\n", false},
        {"a blank line after", text + "\n", false},
        {"an empty line", lineSwapped(0, ""), false},
        {"text after a number", lineSwapped(7, "7 chips"), false},
        {"a meter above its highest", lineSwapped(3, "255.5"), false},
        {"health above the others' highest", lineSwapped(6, "265.5"), false},
        {"a negative meter", lineSwapped(4, "-1.000000"), false},
        {"heat between eighths", lineSwapped(2, "12.300000"), false},
        {"a negative counter", lineSwapped(8, "-1"), false},
        {"a counter beyond 32 bits", lineSwapped(8, "2147483648"), false},
        {"a meter not a number", lineSwapped(5, "nan"), false},
        {"a fraction in a counter", lineSwapped(7, "7.5"), false},
        {"too large", text + std::string(maxProgressFileBytes, ' '), false},
    };
    for (const auto& row : cases) EXPECT_EQ(isProgressText(row.text), row.accepted) << row.name;
}

}  // namespace
