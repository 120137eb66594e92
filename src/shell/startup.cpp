#include "shell/startup.h"

#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_physfs.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <physfs.h>

#include <cstdio>
#include <string>

#include "progress/progress.h"
#include "shell/data_path.h"
#include "shell/platform.h"

ALLEGRO_DISPLAY* display = nullptr;
ALLEGRO_TIMER* timer = nullptr;
ALLEGRO_EVENT_QUEUE* eventQueue = nullptr;
ALLEGRO_PATH* basePath = nullptr;
bool audioInstalled = false;

namespace {

constexpr int fullscreenFlags = ALLEGRO_FULLSCREEN | ALLEGRO_OPENGL | ALLEGRO_GENERATE_EXPOSE_EVENTS;
constexpr int windowedFlags = ALLEGRO_WINDOWED | ALLEGRO_OPENGL | ALLEGRO_GENERATE_EXPOSE_EVENTS;
constexpr int reservedSamples = 16;
constexpr double tickSeconds = 1.0 / 60.0;

// Start-up failures are told once, in the error box, before the game ends, and on stderr. A
// full-screen window stays on top of a native box: it goes first.
bool fail(const char* message)
{
    std::fprintf(stderr, "quenmarsh: %s\n", message);
    if (display) al_destroy_display(display);
    display = nullptr;
    showErrorBox("Error", "Cannot run", message);
    return false;
}

// Full screen at the monitor's size; a window when the monitor cannot be asked or the full-screen
// display cannot be made. In a browser's page, a window inside the page.
bool createDisplay()
{
    PageWindow page;
    if (pageWindow(page)) {
        const DisplaySize size = pageDisplaySize(page.width, page.height);
        al_set_new_display_option(ALLEGRO_OPENGL_MAJOR_VERSION, page.glesVersion, ALLEGRO_SUGGEST);
        al_set_new_display_option(ALLEGRO_OPENGL_MINOR_VERSION, 0, ALLEGRO_SUGGEST);
        al_set_new_display_flags(windowedFlags);
        display = al_create_display(size.width, size.height);
        return display != nullptr;
    }
    ALLEGRO_MONITOR_INFO monitor;
    if (al_get_monitor_info(0, &monitor)) {
        al_set_new_display_flags(fullscreenFlags);
        display = al_create_display(monitor.x2 - monitor.x1, monitor.y2 - monitor.y1);
        if (display) return true;
    }
    al_set_new_display_flags(windowedFlags);
    display = al_create_display(windowedWidth, windowedHeight);
    return display != nullptr;
}

void installAudio()
{
    // With no sound device the install fails, and reserving samples then would abort the process.
    if (!al_install_audio()) return;
    audioInstalled = al_reserve_samples(reservedSamples);
    al_init_acodec_addon();
}

// The data folder beside the program (or beside its build-configuration folder), then the
// optional archive in the same folder. Files in the folder win over the archive's.
bool mountGameData()
{
    basePath = al_get_standard_path(ALLEGRO_RESOURCES_PATH);
    if (!basePath) return fail("Can not find the folder the game was started from.");
    stripBuildConfigDir(basePath);

    al_append_path_component(basePath, "data");
    const std::string dataDir = al_path_cstr(basePath, ALLEGRO_NATIVE_PATH_SEP);
    al_drop_path_tail(basePath);
    if (!PHYSFS_mount(dataDir.c_str(), nullptr, 1)) {
        const std::string message = "Can not open the game data in " + dataDir + ": " +
                                    PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
        return fail(message.c_str());
    }

    al_set_path_filename(basePath, "extradata.zip");
    const std::string archive = al_path_cstr(basePath, ALLEGRO_NATIVE_PATH_SEP);
    al_set_path_filename(basePath, nullptr);
    if (al_filename_exists(archive.c_str())) PHYSFS_mount(archive.c_str(), nullptr, 1);
    return true;
}

}  // namespace

DisplaySize pageDisplaySize(int width, int height)
{
    if (height > width) height = width * windowedHeight / windowedWidth;  // landscape, letterboxed
    if (width <= 0 || height <= 0) return {windowedWidth, windowedHeight};  // a window of nothing
    if (height >= windowedHeight) return {width, height};
    return {(width * windowedHeight + height / 2) / height, windowedHeight};
}

bool startUp(const char* programPath)
{
    if (!al_init()) return fail("al_init() failed!");
    // A second copy for the same player would write its progress over the first one's when it
    // ends. It stops here, before it has a window, so its box is in sight and the first copy's
    // window is left as it was, and before it has written anything.
    if (!claimProgress()) return fail("Quenmarsh is already running.");

    al_install_keyboard();
    al_install_mouse();
    if (tapsComeAsTouches()) al_install_touch_input();
    al_install_joystick();  // never registered: the game takes no joystick input

    yieldToPage();
    if (!createDisplay()) return fail("Can not create the display.");
    yieldToPage();
    al_inhibit_screensaver(true);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    // An OpenGL display keeps its pictures for the whole run, so Allegro need not hold a copy
    // of each in memory against their loss.
    al_set_new_bitmap_flags(al_get_new_bitmap_flags() | ALLEGRO_NO_PRESERVE_TEXTURE);
    al_set_window_title(display, "Quenmarsh");

    installAudio();
    yieldToPage();
    al_init_primitives_addon();
    al_init_font_addon();
    al_init_ttf_addon();
    al_init_image_addon();

    timer = al_create_timer(tickSeconds);
    if (!timer) return fail("Can not create the timer.");
    eventQueue = al_create_event_queue();
    if (!eventQueue) return fail("Can not create the event queue.");
    // Registered before the intro, so input given during it waits for the game loop.
    if (al_is_keyboard_installed()) al_register_event_source(eventQueue, al_get_keyboard_event_source());
    al_register_event_source(eventQueue, al_get_display_event_source(display));
    al_register_event_source(eventQueue, al_get_timer_event_source(timer));
    if (al_is_mouse_installed()) al_register_event_source(eventQueue, al_get_mouse_event_source());
    if (al_is_touch_input_installed()) al_register_event_source(eventQueue, al_get_touch_input_event_source());

    if (!PHYSFS_init(programPath)) return fail("Can not init PHYSFS.");
    // Installed as a Debian package, data/ and the font in it are links into /usr/share.
    PHYSFS_permitSymbolicLinks(1);
    if (!mountGameData()) return false;

    // From here on pictures, font and sound are opened by bare name from the game data.
    al_set_physfs_file_interface();
    // The chip for task switchers; without the picture the window keeps the default icon.
    if (ALLEGRO_BITMAP* icon = al_load_bitmap(QUENMARSH_WINDOW_ICON_FILE)) {
        al_set_display_icon(display, icon);
        al_destroy_bitmap(icon);
    }
    return true;
}

void shutDown()
{
    if (al_is_system_installed()) al_inhibit_screensaver(false);
    if (timer) al_destroy_timer(timer);
    if (display) al_destroy_display(display);
    if (eventQueue) al_destroy_event_queue(eventQueue);
    if (basePath) al_destroy_path(basePath);
    timer = nullptr;
    display = nullptr;
    eventQueue = nullptr;
    basePath = nullptr;
}
