// The Windows icon file: the desktop icon drawn at several sizes, one PNG-compressed picture
// a size, in the .ico container that resource compilers and Explorer read.
#pragma once
#include <filesystem>

// One picture for each of the `count` sizes in pixels, which go from smallest to largest and
// up to 256.
bool writeIconFile(const std::filesystem::path& path, const int* sizes, int count);
