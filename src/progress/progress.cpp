#include "progress/progress.h"

#include <allegro5/allegro.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "progress/progress_text.h"
#include "shell/platform.h"

Progress progress = defaultProgress();

namespace {

const char* const progressFileName = "qmprogress.dat";

// A file that exists but could not be read: the session plays from the defaults and its saves
// leave that file alone, so whatever it holds is not replaced by a fresh chip.
std::string refusedPath;
// The reason last told on stderr, so that a save failing at every screen switch is told once.
std::string toldReason;
// The game loop's thread and the thread that notices a lost display may both save; the lock
// also guards the published copy.
std::mutex saveLock;
// `progress` as the game loop last published it, for the saves of other threads.
Progress published = defaultProgress();

// The file lives in the parent of the user-settings folder. False when the platform has no
// settings path.
bool progressPath(std::string& file)
{
    ALLEGRO_PATH* path = al_get_standard_path(ALLEGRO_USER_SETTINGS_PATH);
    if (!path) return false;
    al_drop_path_tail(path);
    al_set_path_filename(path, progressFileName);
    file = al_path_cstr(path, ALLEGRO_NATIVE_PATH_SEP);
    al_destroy_path(path);
    return true;
}

void tellOnce(const std::string& line)
{
    if (line == toldReason) return;
    toldReason = line;
    std::fprintf(stderr, "quenmarsh: %s\n", line.c_str());
}

void refuse(const std::string& file, const std::string& reason)
{
    refusedPath = file;
    tellOnce("cannot read the progress file " + file + " (" + reason +
             "): playing from a fresh start and leaving the file as it is");
}

// The caller holds saveLock.
void saveLocked(const Progress& record)
{
    std::string file, reason;
    if (!progressPath(file) || file == refusedPath) return;
    // The folder may have gone since the game started.
    if (makeFoldersFor(file, reason)) {
        if (fileKind(file, reason) == FileKind::Other)
            reason = "not a regular file";
        else if (replaceFileDurably(file, formatProgress(record), reason) && progressSaved(file, reason))
            return;
    }
    tellOnce("cannot save the progress to " + file + ": " + reason);
}

}  // namespace

bool claimProgress()
{
    std::string file, reason;
    if (!progressPath(file)) return true;
    // A fresh account may not have the settings folder yet: the lock beside the progress file
    // needs it from the very first start, as the first save does.
    if (makeFoldersFor(file, reason)) {
        switch (claimProgressFile(file, reason)) {
        case Claim::Ours: return true;
        case Claim::Theirs: return false;
        case Claim::Unknown: break;
        }
    } else {
        reason = "cannot make the folder of " + file + ": " + reason;
    }
    tellOnce("cannot tell whether the game is already running (" + reason + "): playing on");
    return true;
}

// The file is a native file, not game data: it is read and written through the platform file,
// never through the PhysicsFS file interface that the game data uses.
void loadProgress()
{
    progress = defaultProgress();
    refusedPath.clear();
    std::string file, reason, bytes;
    if (!progressPath(file)) return;
    restoreProgressFile(file);
    switch (fileKind(file, reason)) {
    case FileKind::Missing: return;  // the first run
    case FileKind::Other: refuse(file, "not a regular file"); return;
    case FileKind::Unknown: refuse(file, reason); return;
    case FileKind::Regular: break;
    }
    // One byte past the limit tells the reader that the file was cut there.
    if (!readRegularFile(file, maxProgressFileBytes + 1, bytes, reason)) {
        refuse(file, reason);
        return;
    }
    progress = parseProgress(bytes);
}

void saveProgress()
{
    std::lock_guard<std::mutex> hold(saveLock);
    published = progress;
    saveLocked(published);
}

void publishProgress()
{
    std::lock_guard<std::mutex> hold(saveLock);
    published = progress;
}

void savePublishedProgress()
{
    std::lock_guard<std::mutex> hold(saveLock);
    saveLocked(published);
}
