// The platform layer on POSIX systems: end signals, and files through POSIX calls.
#include "shell/platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/platform_common.h"

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

Claim claimProgressFile(const std::string& progressFile, std::string& reason)
{
    const std::string lock = claimLockPath(progressFile);
    // O_NONBLOCK: a FIFO at that name must not hold up the start. O_CLOEXEC: no program the
    // game might start keeps the claim alive after the game has ended.
    const int fd = open(lock.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        reason = "cannot open " + lock + ": " + errnoText();
        return Claim::Unknown;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = lock + " is not a regular file";
        close(fd);
        return Claim::Unknown;
    }
    // flock belongs to the open file, not to the process: a second claim from this process
    // conflicts as well. The descriptor stays open for the process's life, and the file is
    // never removed, so there is no moment at which two copies could both hold it.
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return Claim::Ours;
    const bool taken = errno == EWOULDBLOCK;
    if (!taken) reason = "cannot lock " + lock + ": " + errnoText();
    close(fd);
    return taken ? Claim::Theirs : Claim::Unknown;
}

long readSome(int fd, char* into, std::size_t want)
{
    ssize_t got;
    do got = read(fd, into, want);
    while (got < 0 && errno == EINTR);
    return (long)got;
}

namespace {

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
