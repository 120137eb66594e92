// The claim on a progress file, within one process: a second claim on the same file must fail as
// a second copy of the game would, and a folder that cannot hold the lock must not stop the game.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "shell/platform.h"

namespace fs = std::filesystem;

namespace {

TEST(Claim, OneCopyPerProgressFile)
{
    const fs::path scratch = fs::temp_directory_path() / ("quenmarsh-claim-" + std::to_string(std::random_device()()));
    fs::create_directories(scratch / "taken");
    fs::create_directories(scratch / "blocked" / "qmprogress.dat.lock");
    const struct {
        const char* folder;
        Claim first, second;
    } cases[] = {
        {"taken", Claim::Ours, Claim::Theirs},
        {"missing", Claim::Unknown, Claim::Unknown},
        {"blocked", Claim::Unknown, Claim::Unknown},  // a folder where the lock file would go
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string file = (scratch / c.folder / "qmprogress.dat").u8string();
        std::string reason;
        EXPECT_EQ(claimProgressFile(file, reason), c.first);
        EXPECT_EQ(claimProgressFile(file, reason), c.second);
        if (c.second == Claim::Unknown) {
            EXPECT_NE(reason.find("qmprogress.dat.lock"), std::string::npos) << reason;
        }
    }
    EXPECT_FALSE(fs::exists(scratch / "missing")) << "a claim never makes folders";
    // The claim in "taken" lasts as long as this process: Windows may keep that folder until then.
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

}  // namespace
