// Start-up and shutdown of the platform layer, the display, the timer, the event queue and the
// game data.
#pragma once
#include <allegro5/allegro.h>

extern ALLEGRO_DISPLAY* display;
extern ALLEGRO_TIMER* timer;
extern ALLEGRO_EVENT_QUEUE* eventQueue;
extern ALLEGRO_PATH* basePath;
extern bool audioInstalled;

// True when the game can run; on false an error box has been shown (where there is a reason).
bool startUp(const char* programPath);
// Destroys what start-up created, in reverse order of need.
void shutDown();
