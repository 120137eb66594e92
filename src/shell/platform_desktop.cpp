// The platform layer's part that desktop systems share: the error box, through Allegro's native
// dialog add-on (GTK on Linux, loaded only when needed; the system's own on Windows).
#include "shell/platform.h"

#include <allegro5/allegro_native_dialog.h>

#ifdef QUENMARSH_DIALOG_LIBRARY
#include <dlfcn.h>
#endif

void showErrorBox(const char* title, const char* heading, const char* message)
{
#ifdef QUENMARSH_DIALOG_LIBRARY
    // The add-on is loaded only now, and never unloaded. Its function is looked up the way a
    // linked one would be, so a preloaded library can still stand in for it. Without the add-on
    // the player still has the message on stderr.
    if (!dlopen(QUENMARSH_DIALOG_LIBRARY, RTLD_NOW | RTLD_GLOBAL)) return;
    using MessageBox = int (*)(ALLEGRO_DISPLAY*, const char*, const char*, const char*, const char*, int);
    const auto box = reinterpret_cast<MessageBox>(dlsym(RTLD_DEFAULT, "al_show_native_message_box"));
    if (box) box(nullptr, title, heading, message, nullptr, ALLEGRO_MESSAGEBOX_ERROR);
#else
    al_show_native_message_box(nullptr, title, heading, message, nullptr, ALLEGRO_MESSAGEBOX_ERROR);
#endif
}
