// Where the game's data lives: "data" beside the program, or beside the build-configuration
// folder (Debug, RelWithDebInfo, Release, Profile) that an IDE puts the program in.
#pragma once
#include <allegro5/allegro.h>

// Removes one trailing build-configuration component (exact case) from a directory path.
void stripBuildConfigDir(ALLEGRO_PATH* dir);
