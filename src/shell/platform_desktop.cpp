// The platform layer's part that desktop systems share: the error box, through Allegro's native
// dialog add-on (GTK on Linux, the system's own on Windows).
#include "shell/platform.h"

#include <allegro5/allegro_native_dialog.h>

void showErrorBox(const char* title, const char* heading, const char* message)
{
    al_show_native_message_box(nullptr, title, heading, message, nullptr, ALLEGRO_MESSAGEBOX_ERROR);
}
