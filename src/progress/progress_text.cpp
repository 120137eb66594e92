#include "progress/progress_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <clocale>
#include <cstdio>
#include <cstdlib>
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

// Numbers take a minus but no plus; a plus is allowed only before an unsigned number.
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

// The longest leading decimal number, as std::from_chars reads one: an optional minus, digits
// with an optional point (at least one digit), then an exponent only when it has digits.
// `significant` tells whether any mantissa digit is other than 0.
std::string_view leadingDecimal(std::string_view text, bool& significant)
{
    std::size_t at = 0, digits = 0;
    significant = false;
    auto isDigit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    if (at < text.size() && text[at] == '-') ++at;
    for (; isDigit(at); ++at, ++digits) significant |= text[at] != '0';
    if (at < text.size() && text[at] == '.')
        for (++at; isDigit(at); ++at, ++digits) significant |= text[at] != '0';
    if (digits == 0) return {};
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (isDigit(exponent)) {
            for (at = exponent; isDigit(at); ++at) {}
        }
    }
    return text.substr(0, at);
}

// Reads the C locale's notation whatever the C library's locale is (strtof is handed the
// number with the full stop replaced by that locale's decimal point; a C++ stream would bring
// in the whole of the C++ library's locales, several hundred kilobytes in the browser), rounds
// the decimal text straight to the nearest float, and turns away numbers a float cannot hold:
// too large, or so small that they would read as zero. C libraries disagree on whether a
// subnormal result is an error; here it is a number.
bool parseMeter(std::string_view text, float maxValue, float& value)
{
    if (!dropPlusSign(text)) return false;
    bool significant = false;
    const std::string_view number = leadingDecimal(text, significant);
    if (number.empty()) return false;
    std::string local(number);
    const std::size_t point = local.find('.');
    if (point != std::string::npos) local.replace(point, 1, std::localeconv()->decimal_point);
    float parsed = std::strtof(local.c_str(), nullptr);
    if (!std::isfinite(parsed) || (parsed == 0.0f && significant)) return false;
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

// What printf's "%f" prints in the C locale, worked out exactly from the float's bits, so that
// neither the locale nor the C library (MinGW's, Emscripten's) changes a byte: ties round to
// even, as glibc does.
void appendMeter(std::string& out, float value)
{
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
        return;
    }
    if (std::signbit(value)) out.push_back('-');
    if (std::isinf(value)) {
        out += "inf";
        return;
    }
    // |value| = mantissa * 2^exponent exactly, with mantissa below 2^24.
    int exponent = 0;
    const uint64_t mantissa = (uint64_t)std::ldexp(std::frexp(std::fabs(value), &exponent), 24);
    exponent -= 24;
    char digits[16];
    if (exponent >= 0) {
        // A whole number of up to 39 digits: doubled in base 10^9 pieces, lowest piece first.
        uint32_t pieces[5] = {(uint32_t)(mantissa % 1000000000u), (uint32_t)(mantissa / 1000000000u), 0, 0, 0};
        for (int i = 0; i < exponent; ++i) {
            uint32_t carry = 0;
            for (uint32_t& piece : pieces) {
                const uint32_t doubled = piece * 2 + carry;
                carry = doubled >= 1000000000u;
                piece = doubled - carry * 1000000000u;
            }
        }
        int top = 4;
        while (top > 0 && pieces[top] == 0) --top;
        out.append(digits, (std::size_t)std::snprintf(digits, sizeof digits, "%u", (unsigned)pieces[top]));
        while (top-- > 0) out.append(digits, (std::size_t)std::snprintf(digits, sizeof digits, "%09u", (unsigned)pieces[top]));
        out += ".000000";
        return;
    }
    // Millionths, rounded half to even: mantissa * 10^6 / 2^-exponent, below 2^44 / 2.
    const int shift = -exponent;
    const uint64_t scaled = mantissa * 1000000u;
    uint64_t millionths = 0;
    if (shift < 64) {
        millionths = scaled >> shift;
        const uint64_t rest = scaled & ((uint64_t(1) << shift) - 1), half = uint64_t(1) << (shift - 1);
        if (rest > half || (rest == half && (millionths & 1))) ++millionths;
    }
    out.append(digits, (std::size_t)std::snprintf(digits, sizeof digits, "%llu.%06llu",
                                                  (unsigned long long)(millionths / 1000000u),
                                                  (unsigned long long)(millionths % 1000000u)));
}

// One whole value of the field, nothing after it, that reading keeps as it is: a counter not
// below 0, a meter within 0..its highest value, heat in eighths.
bool isFieldValue(const ProgressField& field, std::string_view text)
{
    std::string_view number = text;
    if (!dropPlusSign(number) || number.empty()) return false;
    if (field.integer) {
        int32_t value = 0;
        const std::from_chars_result result = std::from_chars(number.data(), number.data() + number.size(), value);
        return result.ec == std::errc() && result.ptr == number.data() + number.size() && (!field.counter || value >= 0);
    }
    bool significant = false;
    if (leadingDecimal(number, significant).size() != number.size()) return false;
    float value = 0.0f;
    return parseMeter(text, HUGE_VALF, value) && !(number.front() == '-' && significant) && value <= field.maxValue &&
           (!field.eighths || std::floor(value * 8.0f) / 8.0f == value);
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

bool isProgressText(std::string_view text)
{
    if (text.size() > maxProgressFileBytes) return false;
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    for (const ProgressField& field : progressFields) {
        const std::size_t end = text.find('\n');
        if ((end == std::string_view::npos) != (&field == &progressFields[progressLineCount - 1])) return false;
        const std::string_view line = trimBlanks(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!isFieldValue(field, line)) return false;
    }
    return true;
}
