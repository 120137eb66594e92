#include "progress/progress.h"

#include <allegro5/allegro.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "progress/progress_text.h"

Progress progress = defaultProgress();

namespace {

const char* const progressFileName = "qmprogress.dat";
// Written in full beside the real file, then renamed over it, so a save never leaves a
// half-written progress file behind.
const char* const progressTempName = "qmprogress.dat.new";

// The file lives in the parent of the user-settings folder. False when the platform has no
// settings path.
bool progressPaths(std::string& file, std::string& temp)
{
    ALLEGRO_PATH* path = al_get_standard_path(ALLEGRO_USER_SETTINGS_PATH);
    if (!path) return false;
    al_drop_path_tail(path);
    al_set_path_filename(path, progressFileName);
    file = al_path_cstr(path, ALLEGRO_NATIVE_PATH_SEP);
    al_set_path_filename(path, progressTempName);
    temp = al_path_cstr(path, ALLEGRO_NATIVE_PATH_SEP);
    al_destroy_path(path);
    return true;
}

// Allegro's paths are UTF-8 on every platform.
std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::u8path(utf8);
}

Progress readProgressFile()
{
    std::string file, temp;
    if (!progressPaths(file, temp)) return defaultProgress();
    ALLEGRO_FILE* in = al_fopen(file.c_str(), "rb");
    if (!in) return defaultProgress();

    ProgressReader reader{};
    char chunk[512];
    while (progressReaderWantsMore(reader)) {
        const size_t got = al_fread(in, chunk, sizeof chunk);
        if (got == 0) break;
        feedProgressReader(reader, chunk, got);
    }
    // A read error may have stopped inside a line: that line is not trusted.
    if (al_ferror(in)) reader.cut = true;
    al_fclose(in);
    return finishProgressReader(reader);
}

// Every byte must reach the file, including those still buffered when it is closed.
bool writeWholeFile(ALLEGRO_FILE* out, const std::string& text)
{
    bool written = al_fwrite(out, text.data(), text.size()) == text.size();
    written = al_fflush(out) && written;
    written = al_ferror(out) == 0 && written;
    return al_fclose(out) && written;
}

void writeProgressFile(const std::string& text)
{
    std::string file, temp;
    if (!progressPaths(file, temp)) return;

    // A fresh account may not have the settings area yet.
    std::error_code error;
    std::filesystem::create_directories(fsPath(file).parent_path(), error);
    if (error) return;

    ALLEGRO_FILE* out = al_fopen(temp.c_str(), "wb");
    if (!out) return;  // nothing was created, so nothing to clean up
    if (!writeWholeFile(out, text)) {
        std::filesystem::remove(fsPath(temp), error);
        return;
    }
    std::filesystem::rename(fsPath(temp), fsPath(file), error);
    if (error) std::filesystem::remove(fsPath(temp), error);
}

}  // namespace

// The file is a native file, not game data: both operations step around the PhysicsFS file
// interface for their own thread and put it back on every path.
void loadProgress()
{
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_NEW_FILE_INTERFACE);
    al_set_standard_file_interface();
    progress = readProgressFile();
    al_restore_state(&state);
}

void saveProgress()
{
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_NEW_FILE_INTERFACE);
    al_set_standard_file_interface();
    writeProgressFile(formatProgress(progress));
    al_restore_state(&state);
}
