// Start-up and shutdown of the platform layer, the display, the timer, the event queue and the
// game data.
#pragma once
#include <allegro5/allegro.h>

extern ALLEGRO_DISPLAY* display;
extern ALLEGRO_TIMER* timer;
extern ALLEGRO_EVENT_QUEUE* eventQueue;
extern ALLEGRO_PATH* basePath;
extern bool audioInstalled;

// The window the game opens when it cannot ask the monitor: the least in which the whole side
// panel fits.
constexpr int windowedWidth = 854;
constexpr int windowedHeight = 480;

struct DisplaySize {
    int width;
    int height;
};

// The display made inside a browser's page whose window is width x height CSS pixels: of the
// window's proportions, or of the fallback window's where the window is taller than wide (the
// page shows it letterboxed), and never shorter than the fallback window. The page scales it to
// its window.
DisplaySize pageDisplaySize(int width, int height);

// True when the game can run; on false an error box has been shown (where there is a reason).
bool startUp(const char* programPath);
// Destroys what start-up created, in reverse order of need.
void shutDown();
