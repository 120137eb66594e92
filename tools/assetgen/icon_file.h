// The Windows icon file: the desktop icon drawn at several sizes, one PNG-compressed picture
// a size, in the .ico container that resource compilers and Explorer read.
#pragma once
#include <filesystem>

// Sizes in pixels, smallest first.
extern const int iconFileSizes[4];

bool writeIconFile(const std::filesystem::path& path);
