// The platform layer's part for X11 desktops: the game's own handler for a lost display
// connection, and the error box.
#include "shell/platform.h"

#include <X11/Xlib.h>
#include <allegro5/allegro_native_dialog.h>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

namespace {

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

}  // namespace

// No page around the game: the monitor sizes its display, and the system turns taps into
// mouse events, and lets sound play at once. Nor is there a page to describe the screen to, or
// to hand a turn.
bool pageWindow(PageWindow&) { return false; }
bool tapsComeAsTouches() { return false; }
void describeScreen(const std::string&) {}
void yieldToPage() {}

void watchDisplayConnection(void (*lastSave)())
{
    displayLastSave = lastSave;
    XSetIOErrorHandler(onDisplayLost);
}

// The error box's add-on pulls GTK in, megabytes of memory in every run: it is loaded only when
// there is an error to show, and never unloaded. Its function is looked up the way a linked one
// would be, so a preloaded library can still stand in for it. Without the add-on the player
// still has the message on stderr.
void showErrorBox(const char* title, const char* heading, const char* message)
{
    if (!dlopen(QUENMARSH_DIALOG_LIBRARY, RTLD_NOW | RTLD_GLOBAL)) return;
    using MessageBox = int (*)(ALLEGRO_DISPLAY*, const char*, const char*, const char*, const char*, int);
    const auto box = reinterpret_cast<MessageBox>(dlsym(RTLD_DEFAULT, "al_show_native_message_box"));
    if (box) box(nullptr, title, heading, message, nullptr, ALLEGRO_MESSAGEBOX_ERROR);
}

// The progress file is the keeping, and the process ends by itself.
void restoreProgressFile(const std::string&) {}
bool progressSaved(const std::string&, std::string&) { return true; }
void gameEnded(int) {}
