// The platform layer on Windows: console control signals, files through the Win32 API, and the
// system's own error box.
#include "shell/platform.h"

#include <windows.h>
#include <allegro5/allegro_native_dialog.h>
#include <csignal>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <sys/stat.h>

#include "shell/platform_common.h"

void watchEndSignals()
{
    std::signal(SIGINT, onEndSignal);
    std::signal(SIGTERM, onEndSignal);
    std::signal(SIGBREAK, onEndSignal);
}

// No page around the game: the monitor sizes its display, and the system turns taps into
// mouse events, and lets sound play at once. Nor is there a page to describe the screen to, or
// to hand a turn.
bool pageWindow(PageWindow&) { return false; }
bool tapsComeAsTouches() { return false; }
void describeScreen(const std::string&) {}
void yieldToPage() {}

// Windows has no display connection to lose.
void watchDisplayConnection(void (*)()) {}

// The progress file is the keeping, and the process ends by itself.
void restoreProgressFile(const std::string&) {}
bool progressSaved(const std::string&, std::string&) { return true; }
void gameEnded(int) {}

long readSome(int fd, char* into, std::size_t want) { return _read(fd, into, (unsigned)want); }

namespace {

std::string windowsErrorText(DWORD code)
{
    char text[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == '.')) --n;
    return n ? std::string(text, n) : "error " + std::to_string(code);
}

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

Claim claimProgressFile(const std::string& progressFile, std::string& reason)
{
    const std::string lock = claimLockPath(progressFile);
    // Others may open, change or remove the file meanwhile: only the lock below keeps the claim.
    // The handle is not inherited, so no program the game might start keeps the claim alive.
    HANDLE file = CreateFileW(nativePath(lock).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = "cannot open " + lock + ": " + windowsErrorText(GetLastError());
        return Claim::Unknown;
    }
    // The lock belongs to the handle, which stays open for the process's life: the system
    // releases it when the process ends, however it ends. A second handle conflicts too.
    OVERLAPPED whole = {};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) return Claim::Ours;
    const DWORD code = GetLastError();
    CloseHandle(file);
    if (code == ERROR_LOCK_VIOLATION) return Claim::Theirs;
    reason = "cannot lock " + lock + ": " + windowsErrorText(code);
    return Claim::Unknown;
}

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

void showErrorBox(const char* title, const char* heading, const char* message)
{
    al_show_native_message_box(nullptr, title, heading, message, nullptr, ALLEGRO_MESSAGEBOX_ERROR);
}
