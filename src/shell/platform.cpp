// The parts of the platform layer that every system shares: they use only the C++ standard
// library. Each system's own calls live in a file of its own (platform_posix.cpp,
// platform_windows.cpp, platform_x11.cpp, platform_web.cpp), and the build picks the ones that
// apply.
#include "shell/platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>

#include "shell/platform_common.h"

namespace {

volatile std::sig_atomic_t endSignal = 0;

}  // namespace

void onEndSignal(int) { endSignal = 1; }

bool endSignalled() { return endSignal != 0; }

std::filesystem::path nativePath(const std::string& utf8)
{
    return std::filesystem::u8path(utf8);
}

std::string utf8Path(const std::filesystem::path& path)
{
    return path.u8string();
}

std::string errnoText() { return std::strerror(errno); }

bool readUpTo(int fd, std::size_t maxBytes, std::string& bytes, std::string& reason)
{
    bytes.clear();
    char chunk[4096];
    while (bytes.size() < maxBytes) {
        const std::size_t want = maxBytes - bytes.size() < sizeof chunk ? maxBytes - bytes.size() : sizeof chunk;
        const long got = readSome(fd, chunk, want);
        if (got < 0) {
            reason = errnoText();
            return false;
        }
        if (got == 0) break;
        bytes.append(chunk, (std::size_t)got);
    }
    return true;
}

std::string claimLockPath(const std::string& progressFile)
{
    return resolveLinks(progressFile) + ".lock";
}

bool makeFoldersFor(const std::string& path, std::string& reason)
{
    const std::filesystem::path folder = nativePath(path).parent_path();
    if (folder.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) reason = error.message();
    return !error;
}

std::string resolveLinks(const std::string& path)
{
    std::filesystem::path p = nativePath(path);
    std::error_code error;
    // A loop of links stops here and fails later, at the write.
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(p, error); ++hops) {
        std::filesystem::path target = std::filesystem::read_symlink(p, error);
        if (error) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return utf8Path(p);
}
