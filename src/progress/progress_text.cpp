#include "progress/progress_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace {

// One line of the file: an integer field, or a meter with its highest loadable value.
// A counter cannot be negative; heat only ever moves in eighths from 0, and any other value
// could step past 0 on cooling and never stop.
struct ProgressField {
    int32_t Progress::*integer;
    float Progress::*meter;
    float maxValue;
    bool counter;
    bool eighths;
};

const ProgressField progressFields[progressLineCount] = {
    {&Progress::phase, nullptr, 0.0f, false, false},
    {&Progress::phaseTick, nullptr, 0.0f, false, false},
    {nullptr, &Progress::heat, maxMeter, false, true},
    {nullptr, &Progress::fire, maxMeter, false, false},
    {nullptr, &Progress::water, maxMeter, false, false},
    {nullptr, &Progress::food, maxMeter, false, false},
    {nullptr, &Progress::health, maxHealth, false, false},
    {&Progress::goodCount, nullptr, 0.0f, true, false},
    {&Progress::deadCount, nullptr, 0.0f, true, false},
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// from_chars takes a minus but no plus; a plus is allowed only before an unsigned number.
bool dropPlusSign(std::string_view& text)
{
    if (text.empty() || text.front() != '+') return true;
    text.remove_prefix(1);
    return !text.empty() && text.front() != '-';
}

bool parseInteger(std::string_view text, int32_t& value)
{
    if (!dropPlusSign(text) || text.empty()) return false;
    int32_t parsed = 0;
    const char* end = text.data() + text.size();
    // Like atoi, the leading number counts and whatever follows it is ignored.
    std::from_chars_result result = std::from_chars(text.data(), end, parsed);
    if (result.ec != std::errc()) return false;
    value = parsed;
    return true;
}

// from_chars reads the C locale's notation whatever the locale is, rounds the decimal text
// straight to the nearest float, and reports numbers a float cannot hold as out of range.
bool parseMeter(std::string_view text, float maxValue, float& value)
{
    if (!dropPlusSign(text) || text.empty()) return false;
    float parsed = 0.0f;
    const char* end = text.data() + text.size();
    std::from_chars_result result = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
    if (parsed <= 0.0f) parsed = 0.0f;  // also turns -0 into 0
    if (parsed > maxValue) parsed = maxValue;
    value = parsed;
    return true;
}

void appendInteger(std::string& out, int32_t value)
{
    char buffer[16];
    std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// to_chars with a precision is defined to print what printf's "%.6f" prints in the C locale,
// so the line matches "%f" byte for byte without depending on the runtime's locale.
void appendMeter(std::string& out, float value)
{
    char buffer[64];  // the largest float prints as 46 characters
    std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, 6);
    out.append(buffer, result.ptr);
}

}  // namespace

Progress defaultProgress()
{
    return Progress{0, 0, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0};
}

std::string formatProgress(const Progress& values)
{
    std::string out;
    for (const ProgressField& field : progressFields) {
        if (field.integer)
            appendInteger(out, values.*field.integer);
        else
            appendMeter(out, values.*field.meter);
        out.push_back('\n');
    }
    return out;
}

bool progressReaderWantsMore(const ProgressReader& reader)
{
    return !reader.cut && reader.lineCount < progressLineCount;
}

bool feedProgressReader(ProgressReader& reader, const char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size && progressReaderWantsMore(reader); ++i) {
        if (reader.bytesTaken == maxProgressFileBytes) {
            reader.cut = true;
            break;
        }
        reader.bytesTaken += 1;
        const int line = reader.lineCount;
        if (bytes[i] == '\n')
            reader.lineCount += 1;
        else if (reader.lines[line].size() < maxProgressLineBytes)
            reader.lines[line].push_back(bytes[i]);
        else
            reader.overlong[line] = true;
    }
    return progressReaderWantsMore(reader);
}

Progress finishProgressReader(const ProgressReader& reader)
{
    Progress values = defaultProgress();
    // A last line without a line feed counts, unless the bytes were cut off inside it.
    const int usable = reader.cut || reader.lineCount == progressLineCount ? reader.lineCount : reader.lineCount + 1;
    for (int i = 0; i < usable; ++i) {
        if (reader.overlong[i]) continue;
        const ProgressField& field = progressFields[i];
        const std::string_view text = trimBlanks(reader.lines[i]);
        if (field.integer) {
            parseInteger(text, values.*field.integer);
            if (field.counter && values.*field.integer < 0) values.*field.integer = 0;
        } else {
            float& meter = values.*field.meter;
            parseMeter(text, field.maxValue, meter);
            // Down to the eighth below: exact, since 255 * 8 fits a float's mantissa many times.
            if (field.eighths) meter = std::floor(meter * 8.0f) / 8.0f;
        }
    }
    return values;
}

Progress parseProgress(std::string_view text)
{
    ProgressReader reader{};
    feedProgressReader(reader, text.data(), text.size());
    return finishProgressReader(reader);
}
