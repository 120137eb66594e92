#include "shell/data_path.h"

#include <cstring>

void stripBuildConfigDir(ALLEGRO_PATH* dir)
{
    static const char* const buildConfigNames[] = {"Debug", "RelWithDebInfo", "Release", "Profile"};
    const int count = al_get_path_num_components(dir);
    if (count == 0) return;
    const char* last = al_get_path_component(dir, -1);
    for (const char* name : buildConfigNames) {
        if (std::strcmp(last, name) == 0) {
            al_drop_path_tail(dir);
            return;
        }
    }
}
