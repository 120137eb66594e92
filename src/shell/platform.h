// The game's only calls into the operating system (and the X library, and the browser's page):
// how the game learns it must end, how it tells the player it cannot run, what the browser's page
// offers its display and input, the claim that keeps a second copy off a progress file in use,
// the file operations a progress file needs to survive crashes and power cuts, and where the
// browser keeps the progress and hears the end.
// Paths are UTF-8 text in the platform's native notation. Free of Allegro.
#pragma once
#include <cstddef>
#include <string>

// SIGTERM, SIGINT and SIGHUP (on Windows: SIGINT, SIGTERM and SIGBREAK) no longer end the
// process; each raises a flag that the game loop reads once per pass.
void watchEndSignals();
bool endSignalled();

// Exit status after the display connection was lost.
constexpr int displayLostStatus = 3;

// On X11, losing the display connection would make Xlib end the process from whichever thread
// noticed it, crashing or hanging in the exit handlers. Instead `lastSave` runs once and the
// process ends at once with displayLostStatus. In the browser `lastSave` runs whenever the page
// is hidden or closed, and the game goes on should the page come back. Nothing to do elsewhere.
void watchDisplayConnection(void (*lastSave)());

// Tells the player why the game cannot run, and returns once told: on desktops a native box
// with no parent window, titled `title`, with `heading` above the message, that the player
// dismisses; in the browser the page shows the message in place of the game.
void showErrorBox(const char* title, const char* heading, const char* message);

// In the browser the progress file lives in memory and goes with the page, so the page keeps its
// text in the browser's own storage. Desktops keep the file itself: these do nothing there.
// Before the progress file at `path` is read: the text the page keeps is written there.
void restoreProgressFile(const std::string& path);
// After each save of the progress file at `path`: false with a reason when the browser refused
// to keep its text (the page tells the player at once).
bool progressSaved(const std::string& path, std::string& reason);
// The game has ended with main()'s `status`: the page says what that means to the player and
// takes no more saves from it.
void gameEnded(int status);

// In the browser the game lives in a page: its display is a window inside that page, and the
// page scales it to its own window. Desktops have no page (false): there the game asks the
// monitor for its size.
struct PageWindow {
    int width;  // the page's window when the game starts, in CSS pixels
    int height;
    int glesVersion;  // OpenGL ES version to ask for: 3 (WebGL 2) where the browser has it, else 2
};
bool pageWindow(PageWindow& window);

// In the browser the page keeps an accessible copy of what the game shows, over its canvas, for
// screen readers and keyboards: the game hands it each new description of the screen, as JSON
// text (game/screen_report.h). Desktops have no page: nothing to do there.
void describeScreen(const std::string& description);

// In the browser the game shares the page's one thread: until it rests, the page neither draws
// nor hears the player. Start-up calls this between its longer steps, so that no step holds the
// page for long: in the browser it hands the page a turn. Desktops run the game in a process of
// its own: nothing to do there.
void yieldToPage();

// Whether a tap on a touch screen reaches the game only as a touch: in the browser, where
// Allegro drops the mouse events SDL makes of touches. Desktop systems turn taps into mouse
// events themselves, so there the game does not listen for touches (it would see taps twice).
bool tapsComeAsTouches();

// Whether this copy of the game may play on a progress file.
enum class Claim {
    Ours,  // this copy holds it from now until the process ends
    Theirs,  // another running copy holds it
    Unknown,  // cannot tell (nowhere to keep the claim): play as if alone
};

// Claims the progress file at `progressFile` for the rest of this process's life. The system
// drops the claim when the process ends, however it ends (a crash, SIGKILL, a lost display
// included), so no claim ever outlives its copy. Desktop systems keep it as a lock on a file
// beside the progress file (its name with ".lock" added); a second claim on the same file from
// this process is Theirs too. `reason` says why when the result is Unknown. In the browser the
// page itself keeps a second tab from starting the game (packaging/web/index.html), and the
// lock here, on Emscripten's in-memory files, always holds.
Claim claimProgressFile(const std::string& progressFile, std::string& reason);

enum class FileKind {
    Missing,  // nothing there (a dangling symbolic link included)
    Regular,
    Other,  // a directory, FIFO, device or socket: never opened
    Unknown,  // cannot even be looked at (a folder without search permission)
};

// Follows symbolic links; `reason` says why when the result is Unknown.
FileKind fileKind(const std::string& path, std::string& reason);

// Reads at most maxBytes of a regular file, without ever blocking on something else that has
// taken its place. False with a reason when it cannot be opened or read.
bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& reason);

// Creates the folder that is to hold the file at `path`, and any missing folder above it. False
// with a reason when it cannot.
bool makeFoldersFor(const std::string& path, std::string& reason);

// Where a chain of symbolic links ends (the path itself when it is no link).
std::string resolveLinks(const std::string& path);

// Replaces the file at `path` (after resolveLinks) with `bytes` so that after a crash or power
// cut it holds either the old or the new content: a temporary file beside it is written and
// synced, renamed over it, and the folder synced. The old file's permissions are kept; a stale
// or foreign entry at the temporary name does not stop the save. False with a reason on failure,
// leaving the old file as it was.
bool replaceFileDurably(const std::string& path, const std::string& bytes, std::string& reason);
