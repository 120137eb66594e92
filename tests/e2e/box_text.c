/* Preloaded into the game by the harness: tells on stderr what an error box says, then shows
   the box as usual. GTK keeps the box's text out of reach of X tools. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>

typedef int ShowBox(void* display, const char* title, const char* heading, const char* text,
                    const char* buttons, int flags);

int al_show_native_message_box(void* display, const char* title, const char* heading,
                               const char* text, const char* buttons, int flags)
{
    fprintf(stderr, "error box: %s: %s: %s\n", title, heading, text);
    fflush(stderr);
    ShowBox* show = (ShowBox*)dlsym(RTLD_NEXT, "al_show_native_message_box");
    return show ? show(display, title, heading, text, buttons, flags) : 0;
}
