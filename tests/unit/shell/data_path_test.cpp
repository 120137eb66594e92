#include <gtest/gtest.h>

#include <string>

#include "shell/data_path.h"

namespace {

// An IDE's build-configuration folder is stepped over, exactly one level and case-sensitively.
TEST(DataPath, BuildConfigurationFolderIsStrippedOnce)
{
    const struct {
        const char* programDir;
        const char* baseDir;
    } cases[] = {
        {"/games/quenmarsh/", "/games/quenmarsh/"},
        {"/games/quenmarsh/Release/", "/games/quenmarsh/"},
        {"/games/quenmarsh/Debug/", "/games/quenmarsh/"},
        {"/games/quenmarsh/RelWithDebInfo/", "/games/quenmarsh/"},
        {"/games/quenmarsh/Profile/", "/games/quenmarsh/"},
        {"/games/quenmarsh/release/", "/games/quenmarsh/release/"},
        {"/games/quenmarsh/Release/Debug/", "/games/quenmarsh/Release/"},
        {"/games/Debug/quenmarsh/", "/games/Debug/quenmarsh/"},
        {"/", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programDir);
        ALLEGRO_PATH* path = al_create_path_for_directory(c.programDir);
        stripBuildConfigDir(path);
        EXPECT_EQ(std::string(al_path_cstr(path, '/')), c.baseDir);
        al_destroy_path(path);
    }
}

}  // namespace
