// The text of the progress file, without any file: nine lines, integers as "%d" and meters as
// "%f", each line ending in a line feed. Plain C++ with no Allegro, so it can be tested and
// fuzzed on its own.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "progress/progress.h"

constexpr int progressLineCount = 9;
// No sound line comes near this; a longer one is damage and loads as its field's default.
constexpr std::size_t maxProgressLineBytes = 1024;
// A bigger file is damage too: reading stops here and the line it cuts is dropped.
constexpr std::size_t maxProgressFileBytes = 1 << 20;

// The highest value each meter may load with; healing lifts health above the others' 255.
constexpr float maxMeter = 255.0f;
constexpr float maxHealth = 265.0f;

// The nine lines in file order, each byte-identical to C's "%d\n" or "%f\n" (the meter widened
// to double) and with a full stop whatever the locale.
std::string formatProgress(const Progress& values);

// Gathers the first nine lines of the file as its bytes arrive, in pieces of any size.
// Start from a value-initialised reader (`ProgressReader reader{};`).
struct ProgressReader {
    std::string lines[progressLineCount];  // each line's text without its line feed
    bool overlong[progressLineCount];      // the line was longer than maxProgressLineBytes
    int lineCount;                         // lines ended by a line feed so far
    std::size_t bytesTaken;
    bool cut;                              // the bytes stopped early (size limit or read error)
};

// Takes the next piece of the file; returns false once the reader needs no more bytes.
bool feedProgressReader(ProgressReader& reader, const char* bytes, std::size_t size);
// True while more bytes could still change the result.
bool progressReaderWantsMore(const ProgressReader& reader);
// The record the gathered lines describe. A line (trimmed of blanks and a carriage return) that
// does not start with a number of its field's type, one not finite or out of 32-bit range, a
// missing line and a cut last line all give that field's default; text after the number is
// ignored, as atoi would. Meters are clamped to 0..maxMeter (health 0..maxHealth), heat rounded
// down to an eighth, and the two counters raised to 0. A last line without its line feed counts.
Progress finishProgressReader(const ProgressReader& reader);

// The whole file text at once.
Progress parseProgress(std::string_view text);

// Whether `text` is a progress file as the game writes it and reads it back unchanged: nine
// lines (the last line feed may be missing; blanks and a carriage return around a value do not
// count), each one whole value of its field that reading neither clamps nor rounds, within
// maxProgressFileBytes. A file the player brings in must be one before it replaces the progress.
bool isProgressText(std::string_view text);
