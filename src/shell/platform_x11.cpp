// The platform layer's part for X11 desktops: the game's own handler for a lost display
// connection.
#include "shell/platform.h"

#include <X11/Xlib.h>
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

void watchDisplayConnection(void (*lastSave)())
{
    displayLastSave = lastSave;
    XSetIOErrorHandler(onDisplayLost);
}
