// The progress file on disk: a scratch folder below the user's settings area stands in for it.
#include <allegro5/allegro.h>
#include <allegro5/allegro_physfs.h>
#include <gtest/gtest.h>
#include <physfs.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "../../support/game_state.h"
#include "progress/progress_text.h"

namespace fs = std::filesystem;

namespace {

const char* const defaultText = "0\n0\n0.000000\n0.000000\n255.000000\n255.000000\n255.000000\n0\n0\n";

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::set<std::string> entries(const fs::path& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// Something no load would produce, to show that every field was written.
const Progress junk{-99, -99, -99.0f, -99.0f, -99.0f, -99.0f, -99.0f, -99, -99};

class ProgressFile : public ::testing::Test {
protected:
    fs::path folder;

    fs::path base;

    void SetUp() override
    {
        al_set_org_name("");
        ALLEGRO_PATH* settings = al_get_standard_path(ALLEGRO_USER_SETTINGS_PATH);
        ASSERT_NE(settings, nullptr);
        al_drop_path_tail(settings);
        base = fs::u8path(al_path_cstr(settings, ALLEGRO_NATIVE_PATH_SEP));
        al_destroy_path(settings);
        std::random_device random;
        folder = base / ("quenmarsh-progress-" + std::to_string(random()));
        fs::create_directories(folder);
        useSettingsParent(folder);
    }

    void TearDown() override
    {
        al_set_org_name("");
        fs::remove_all(folder);
    }

    // The settings folder is <base>/<organisation>/progress_tests/ and the file goes into its
    // parent, so the organisation's name moves the file below <base>. That works alike on
    // every platform; no environment variable moves the Windows settings folder.
    void useSettingsParent(const fs::path& parent)
    {
        al_set_org_name(parent.lexically_relative(base).u8string().c_str());
    }

    fs::path file() const { return folder / "qmprogress.dat"; }
};

struct LoadCase {
    const char* name;
    bool exists;
    std::string content;
    Progress expected;
};

TEST_F(ProgressFile, LoadsEveryLineOnItsOwn)
{
    const Progress defaults = defaultProgress();
    const LoadCase cases[] = {
        {"no file", false, "", defaults},
        {"the default content", true, defaultText, defaults},
        {"lines past the ninth are ignored", true, std::string(defaultText) + "5\nx\n", defaults},
        {"meters keep their fractions", true,
         "3\n1200\n127.750000\n-0.250000\n254.999999\n0.500000\n264.500000\n7\n2147483647\n",
         {3, 1200, 127.75f, 0.0f, 254.999999f, 0.5f, 264.5f, 7, INT_MAX}},
        {"heat no game could write rounds down to an eighth, counters below 0 load as 0", true,
         "0\n0\n100.3\n0\n0\n0\n0\n-7\n-1\n", {0, 0, 100.25f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0}},
        {"heat 0.1 cannot cool below 0", true, "0\n0\n0.1\n", {0, 0, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0}},
        {"carriage returns before the line feeds", true, "42\r\n-3\r\n1.5\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n",
         {42, -3, 1.5f, 2.0f, 3.0f, 4.0f, 5.0f, 6, 7}},
        {"an overlong line is one field", true,
         std::string(200, ' ') + "5\n" + std::string(3000, '7') + "\n1\n2\n3\n4\n5\n6\n7\n",
         {5, 0, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6, 7}},
        {"blanks and a plus sign around a number", true, " \t+5 \n\t-6\t\n +1.25 \n 2e1\n3.\n.5\n7\n +8\n-0\n",
         {5, -6, 1.25f, 20.0f, 3.0f, 0.5f, 7.0f, 8, 0}},
        {"a short file keeps what it read", true, "7\n8\n12.5\n", {7, 8, 12.5f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0}},
        {"a last line without its line feed", true, "7\n8", {7, 8, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0}},
        {"an empty file", true, "", defaults},
        {"no number at all takes the default", true, "abc\n\n \n+-3\n--1\n-\n.\ne5\nx1\n", defaults},
        {"a leading number counts as atoi reads it", true, "12abc\n1.5\n1,5\n7 8\n2e1x\n1e\n0x10\n4!2\n3-\n",
         {12, 1, 1.0f, 7.0f, 20.0f, 1.0f, 0.0f, 4, 3}},
        {"a NUL ends a number", true, std::string("4\0" "2\n", 4), {4, 0, 0.0f, 0.0f, 255.0f, 255.0f, 255.0f, 0, 0}},
        {"meters that are not finite", true, "0\n0\nnan\n-nan\ninf\n-inf\ninfinity\n0\n0\n", defaults},
        {"out of range", true, "2147483648\n-2147483649\n1e39\n-5\n300\n1e30\n300\n99999999999\n-2147483648\n",
         {0, 0, 0.0f, 0.0f, 255.0f, 255.0f, 265.0f, 0, 0}},
        {"a meter too small for a float takes the default, a subnormal one counts", true,
         "0\n0\n0\n1.5e+\n1e-50\n1e-40\n0e-999\n0\n0\n", {0, 0, 0.0f, 1.5f, 255.0f, 1e-40f, 0.0f, 0, 0}},
        {"a negative zero meter loads as zero", true, "0\n0\n-0.000000\n-0.000001\n0\n0\n0\n0\n0\n",
         {0, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0}},
    };
    for (const LoadCase& row : cases) {
        fs::remove(file());
        if (row.exists) writeBytes(file(), row.content);
        progress = junk;
        loadProgress();
        expectSameProgress(progress, row.expected, row.name);
    }

    fs::remove(file());
    fs::create_directory(file());
    progress = junk;
    loadProgress();
    expectSameProgress(progress, defaults, "the file is a folder");
}

struct SaveCase {
    const char* name;
    Progress saved;
    const char* text;
    Progress loaded;
};

TEST_F(ProgressFile, SavesPrintfLinesThatLoadBack)
{
    const SaveCase cases[] = {
        {"defaults", defaultProgress(), defaultText, defaultProgress()},
        {"negative and fractional values", {-3, -3599, 127.75f, 0.25f, 99.9f, 1.0f / 3.0f, 264.999f, -1, INT_MIN},
         "-3\n-3599\n127.750000\n0.250000\n99.900002\n0.333333\n264.998993\n-1\n-2147483648\n",
         {-3, -3599, 127.75f, 0.25f, 99.9f, 0.333333f, 264.999f, 0, 0}},
        {"meters out of range load clamped", {1, 2, -0.25f, 256.0f, 0.0f, 255.0f, 300.0f, INT_MAX, 0},
         "1\n2\n-0.250000\n256.000000\n0.000000\n255.000000\n300.000000\n2147483647\n0\n",
         {1, 2, 0.0f, 255.0f, 0.0f, 255.0f, 265.0f, INT_MAX, 0}},
    };
    writeBytes(file(), "old content that is longer than any new one\n");
    for (const SaveCase& row : cases) {
        progress = row.saved;
        saveProgress();
        EXPECT_EQ(readBytes(file()), row.text) << row.name;
        progress = junk;
        loadProgress();
        expectSameProgress(progress, row.loaded, row.name);
    }
    EXPECT_EQ(entries(folder), std::set<std::string>{"qmprogress.dat"});
}

enum class Obstacle { MissingFolders, TempNameTaken, FileNameTaken, FolderIsAFile };

struct FailureCase {
    const char* name;
    Obstacle obstacle;
    bool saved;  // the new content arrived
    std::set<std::string> left;
};

TEST_F(ProgressFile, SaveReplacesTheOldFileOnlyWhenComplete)
{
    const std::string oldText = "1\n1\n1.000000\n1.000000\n1.000000\n1.000000\n1.000000\n1\n1\n";
    const FailureCase cases[] = {
        {"missing folders are created", Obstacle::MissingFolders, true, {"a"}},
        {"a folder at the temporary name", Obstacle::TempNameTaken, true, {"qmprogress.dat", "qmprogress.dat.new"}},
        {"the file name is a folder", Obstacle::FileNameTaken, false, {"qmprogress.dat"}},
        {"the settings parent is a file", Obstacle::FolderIsAFile, false, {"qmprogress.dat"}},
    };
    const Progress fresh{2, 10, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f, 3, 4};
    for (const FailureCase& row : cases) {
        SCOPED_TRACE(row.name);
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
        fs::path target = file();
        useSettingsParent(folder);
        switch (row.obstacle) {
        case Obstacle::MissingFolders:
            target = folder / "a" / "b" / "qmprogress.dat";
            useSettingsParent(target.parent_path());
            break;
        case Obstacle::TempNameTaken:
            writeBytes(file(), oldText);
            fs::create_directory(folder / "qmprogress.dat.new");
            break;
        case Obstacle::FileNameTaken:
            fs::create_directory(file());
            writeBytes(file() / "keep", "keep");
            break;
        case Obstacle::FolderIsAFile:
            writeBytes(file(), oldText);
            useSettingsParent(file());
            break;
        }

        progress = fresh;
        saveProgress();

        EXPECT_EQ(entries(folder), row.left);
        if (row.saved) {
            EXPECT_EQ(readBytes(target), "2\n10\n5.500000\n6.500000\n7.500000\n8.500000\n9.500000\n3\n4\n");
            progress = junk;
            loadProgress();
            expectSameProgress(progress, fresh, "loaded back");
        } else if (fs::is_regular_file(file())) {
            EXPECT_EQ(readBytes(file()), oldText);
        } else {
            EXPECT_EQ(readBytes(file() / "keep"), "keep");
        }
    }
}

// A lost display is noticed on any thread while the game loop's ticks change `progress`: its
// save holds the record published last, whole, never a mix of two.
TEST_F(ProgressFile, ALostDisplaySavesTheLastPublishedRecordWhole)
{
    const auto record = [](int k) {
        const float meter = (float)k;
        return Progress{k, k, meter, meter, meter, meter, meter, k, k};
    };
    progress = record(1);
    publishProgress();
    progress = record(2);  // a tick not yet over
    savePublishedProgress();
    expectSameProgress(parseProgress(readBytes(file())), record(1), "the published record");

    std::atomic<bool> over{false};
    std::thread loop([&] {
        for (int k = 0; !over; k = (k + 1) % 200) {
            progress = record(k);
            publishProgress();
        }
    });
    for (int save = 0; save < 10; ++save) {
        savePublishedProgress();
        const Progress saved = parseProgress(readBytes(file()));
        expectSameProgress(saved, record(saved.phase), "save " + std::to_string(save));
    }
    over = true;
    loop.join();
}

// Start-up installs PhysicsFS's file interface for the game data; the progress file is native
// and the game data must still load by name afterwards.
TEST_F(ProgressFile, PhysfsFileInterfaceStaysCurrent)
{
    ASSERT_NE(PHYSFS_init(nullptr), 0);
    al_set_physfs_file_interface();
    const ALLEGRO_FILE_INTERFACE* physfs = al_get_new_file_interface();

    progress = junk;
    loadProgress();
    expectSameProgress(progress, defaultProgress(), "no file");
    EXPECT_EQ(al_get_new_file_interface(), physfs);

    const Progress saved{4, 3599, 1.5f, 2.5f, 3.5f, 4.5f, 260.5f, 9, 8};
    progress = saved;
    useSettingsParent(folder / "new");
    saveProgress();
    EXPECT_EQ(al_get_new_file_interface(), physfs);
    progress = junk;
    loadProgress();
    EXPECT_EQ(al_get_new_file_interface(), physfs);
    expectSameProgress(progress, saved, "through the native file");

    al_set_standard_file_interface();
    al_set_standard_fs_interface();
    PHYSFS_deinit();
}

}  // namespace
