// The chip's cry: a loop of three different whimpers with pauses, synthesised sample by sample
// (a pulse train and breath shaped by a few resonances) and written as Ogg Vorbis. The game
// plays it looping, so it starts and ends in silence and the seam cannot click.
#pragma once
#include <cstdint>
#include <vector>

constexpr int cryRate = 44100;

// Mono 16-bit samples at cryRate.
std::vector<int16_t> synthesizeCry();
// Encodes mono samples; the stream's serial number is fixed so the file's bytes depend on
// the samples alone.
bool writeOggVorbis(const char* path, const std::vector<int16_t>& samples, int rate);
