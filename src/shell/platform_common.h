// What the per-system platform files (platform_posix.cpp, platform_windows.cpp, ...) share.
// Only they include it; the game sees platform.h alone.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>

// Paths travel as UTF-8 text; the standard library takes them in the system's own form.
std::filesystem::path nativePath(const std::string& utf8);
std::string utf8Path(const std::filesystem::path& path);

std::string errnoText();

// The lock file that keeps a claim on a progress file: beside the file the progress is really
// written to, so that two links to one progress file share one claim.
std::string claimLockPath(const std::string& progressFile);

// The end-signal handler each system installs: raises the flag endSignalled() reads.
void onEndSignal(int);

// One read of at most `want` bytes from an open file: the count, 0 at its end, or -1 with errno
// set. Each system's file has its own.
long readSome(int fd, char* into, std::size_t want);

// Reads from `fd` until its end or maxBytes, whichever comes first.
bool readUpTo(int fd, std::size_t maxBytes, std::string& bytes, std::string& reason);
