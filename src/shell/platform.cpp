#include "shell/platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef QUENMARSH_X11
#include <X11/Xlib.h>
#endif

namespace {

volatile std::sig_atomic_t endSignal = 0;

void onEndSignal(int) { endSignal = 1; }

std::filesystem::path nativePath(const std::string& utf8)
{
    return std::filesystem::u8path(utf8);
}

std::string utf8Path(const std::filesystem::path& path)
{
    return path.u8string();
}

std::string errnoText() { return std::strerror(errno); }

// One read of at most `want` bytes from an open file: the count, 0 at its end, or -1 with errno
// set. Each platform's section below has its own.
long readSome(int fd, char* into, std::size_t want);

// Reads from `fd` until its end or maxBytes, whichever comes first.
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

#ifdef QUENMARSH_X11
void (*displayLastSave)() = nullptr;

// Xlib ends the process when this returns, so it never does. Two threads may notice the loss at
// once: the first saves and ends the process, the second waits on the lock until that happens.
int onDisplayLost(Display*)
{
    static std::mutex once;
    once.lock();
    if (displayLastSave) displayLastSave();
    static const char message[] = "quenmarsh: lost the connection to the display\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(displayLostStatus);
}
#endif

}  // namespace

#ifdef _WIN32

void watchEndSignals()
{
    std::signal(SIGINT, onEndSignal);
    std::signal(SIGTERM, onEndSignal);
    std::signal(SIGBREAK, onEndSignal);
}

#else

void watchEndSignals()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int s : signals) sigaction(s, &action, nullptr);
}

#endif

bool endSignalled() { return endSignal != 0; }

void watchDisplayConnection(void (*lastSave)())
{
#ifdef QUENMARSH_X11
    displayLastSave = lastSave;
    XSetIOErrorHandler(onDisplayLost);
#else
    (void)lastSave;
#endif
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

#ifdef _WIN32

namespace {

std::string windowsErrorText(DWORD code)
{
    char text[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) --n;
    return n ? std::string(text, n) : "error " + std::to_string(code);
}

long readSome(int fd, char* into, std::size_t want) { return _read(fd, into, (unsigned)want); }

bool writeAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        if (!WriteFile(file, bytes.data() + done, (DWORD)(bytes.size() - done), &wrote, nullptr)) return false;
        done += wrote;
    }
    return true;
}

}  // namespace

FileKind fileKind(const std::string& path, std::string& reason)
{
    const DWORD attributes = GetFileAttributesW(nativePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return FileKind::Missing;
        reason = windowsErrorText(code);
        return FileKind::Unknown;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return FileKind::Other;
    return FileKind::Regular;
}

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& reason)
{
    const int fd = _wopen(nativePath(path).c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        reason = errnoText();
        return false;
    }
    const bool ok = readUpTo(fd, maxBytes, bytes, reason);
    _close(fd);
    return ok;
}

bool replaceFileDurably(const std::string& path, const std::string& bytes, std::string& reason)
{
    const std::wstring target = nativePath(resolveLinks(path)).wstring();
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    std::wstring temp = target + L".new";
    HANDLE file = INVALID_HANDLE_VALUE;
    // A stale temporary file is replaced; a folder or a file we may not replace there makes way
    // for a name of this process's own.
    for (int attempt = 0; attempt < 2 && file == INVALID_HANDLE_VALUE; ++attempt) {
        if (attempt == 1) temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        reason = windowsErrorText(GetLastError());
        return false;
    }
    bool ok = writeAll(file, bytes) && FlushFileBuffers(file);
    DWORD code = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (ok && oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY);
    if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        if (oldAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), oldAttributes);
        reason = windowsErrorText(code);
        return false;
    }
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), oldAttributes);
    return true;
}

#else

namespace {

long readSome(int fd, char* into, std::size_t want)
{
    ssize_t got;
    do got = read(fd, into, want);
    while (got < 0 && errno == EINTR);
    return (long)got;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += (std::size_t)wrote;
    }
    return true;
}

// A new file of our own at `temp`: whatever was left there (a stale file, a link, a FIFO) goes
// first, and O_EXCL with O_NOFOLLOW makes sure nothing else is written through.
int createTemp(const std::string& temp)
{
    unlink(temp.c_str());
    return open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

// The rename is durable only once the folder holding the new entry is on disk too.
bool syncFolder(const std::string& file, std::string& reason)
{
    std::string folder = utf8Path(nativePath(file).parent_path());
    if (folder.empty()) folder = ".";
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        reason = "cannot open its folder: " + errnoText();
        return false;
    }
    // Some file systems cannot sync a folder and say so; that is no failure of ours.
    const bool ok = fsync(fd) == 0 || errno == EINVAL;
    if (!ok) reason = "cannot sync its folder: " + errnoText();
    close(fd);
    return ok;
}

}  // namespace

FileKind fileKind(const std::string& path, std::string& reason)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return FileKind::Missing;
        reason = errnoText();
        return FileKind::Unknown;
    }
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& reason)
{
    // O_NONBLOCK: should a FIFO have taken the file's place since it was looked at, the open
    // returns at once and the check below turns it away.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = errnoText();
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "not a regular file";
        close(fd);
        return false;
    }
    const bool ok = readUpTo(fd, maxBytes, bytes, reason);
    close(fd);
    return ok;
}

bool replaceFileDurably(const std::string& path, const std::string& bytes, std::string& reason)
{
    const std::string target = resolveLinks(path);
    struct stat old;
    const bool keepMode = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

    std::string temp = target + ".new";
    int fd = createTemp(temp);
    if (fd < 0) {
        // Something we cannot remove holds the name (a folder, say): use a name of our own.
        temp = target + "." + std::to_string(getpid()) + ".new";
        fd = createTemp(temp);
    }
    if (fd < 0) {
        reason = "cannot create " + temp + ": " + errnoText();
        return false;
    }
    bool ok = writeAll(fd, bytes);
    if (!ok) reason = "cannot write " + temp + ": " + errnoText();
    if (ok && keepMode && fchmod(fd, old.st_mode & 07777) != 0) {
        ok = false;
        reason = "cannot set the mode of " + temp + ": " + errnoText();
    }
    if (ok && fsync(fd) != 0) {
        ok = false;
        reason = "cannot sync " + temp + ": " + errnoText();
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        reason = "cannot write " + temp + ": " + errnoText();
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        reason = errnoText();
    }
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    return syncFolder(target, reason);
}

#endif
