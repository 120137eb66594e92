// The data files the build generates load the way the game loads them, hold what the game
// expects at its sprite rectangles, and come out byte-identical from every generator run.
#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/sprite_sheet.h"

namespace {

const std::filesystem::path dataDir = QUENMARSH_DATA_DIR;

std::string dataFile(const char* name)
{
    return (dataDir / name).string();
}

std::vector<char> fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct PixelCount {
    int opaque;
    int transparent;
};

PixelCount countPixels(ALLEGRO_BITMAP* bitmap, int x, int y, int w, int h)
{
    PixelCount count{0, 0};
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px) {
            unsigned char r, g, b, a;
            al_unmap_rgba(al_get_pixel(bitmap, px, py), &r, &g, &b, &a);
            count.opaque += a == 255;
            count.transparent += a == 0;
        }
    return count;
}

}  // namespace

TEST(GeneratedAssets, PicturesAndFontLoadAtTheSizesTheGameUses)
{
    int sheetWidth = 0, sheetHeight = 0;
    for (const SpriteRect& r : spriteRects) {
        sheetWidth = std::max(sheetWidth, r.x + r.w);
        sheetHeight = std::max(sheetHeight, r.y + r.h);
    }
    struct Row {
        const char* file;
        int minWidth, minHeight, maxWidth, maxHeight;
    };
    const Row rows[] = {
        {QUENMARSH_MAP_FILE, mapCanvasWidth, mapCanvasHeight, mapCanvasWidth, mapCanvasHeight},
        {QUENMARSH_TILES_FILE, sheetWidth, sheetHeight, 4096, 4096},
    };
    for (const Row& row : rows) {
        ALLEGRO_BITMAP* bitmap = al_load_bitmap(dataFile(row.file).c_str());
        ASSERT_NE(bitmap, nullptr) << row.file;
        EXPECT_GE(al_get_bitmap_width(bitmap), row.minWidth) << row.file;
        EXPECT_GE(al_get_bitmap_height(bitmap), row.minHeight) << row.file;
        EXPECT_LE(al_get_bitmap_width(bitmap), row.maxWidth) << row.file;
        EXPECT_LE(al_get_bitmap_height(bitmap), row.maxHeight) << row.file;
        al_destroy_bitmap(bitmap);
    }
    // As the game loads it: 20 pixels tall, no autohinting.
    ALLEGRO_FONT* font = al_load_font(dataFile(QUENMARSH_FONT_FILE).c_str(), -20, ALLEGRO_TTF_NO_AUTOHINT);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(al_get_text_width(font, "Good Chips: 0"), 0);
    al_destroy_font(font);
    EXPECT_TRUE(std::filesystem::exists(dataDir / QUENMARSH_FONT_LICENCE_FILE));
}

TEST(GeneratedAssets, EverySpriteIsDrawnWithinItsRectangle)
{
    // Stored values, not premultiplied, so alpha reads back as written.
    ALLEGRO_BITMAP* sheet = al_load_bitmap_flags(dataFile(QUENMARSH_TILES_FILE).c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    ASSERT_NE(sheet, nullptr);
    // cornersClear: the hover highlight is drawn behind the sprite and must show somewhere.
    // feetOnGround: the chip's shadow is centred under its rectangle's bottom edge.
    struct Row {
        SpriteId id;
        bool cornersClear;
        bool feetOnGround;
    };
    const Row rows[] = {
        {SpriteIconHeat, false, false},     {SpriteIconFire, false, false},     {SpriteIconWater, false, false},
        {SpriteIconFood, false, false},     {SpriteIconHealth, false, false},   {SpriteCloseIcon, true, false},
        {SpriteActionButton1, true, false}, {SpriteActionButton2, true, false}, {SpriteActionButton3, true, false},
        {SpriteActionButton4, true, false}, {SpriteChip, false, true},
    };
    ASSERT_EQ(sizeof rows / sizeof rows[0], static_cast<size_t>(spriteCount));
    for (const Row& row : rows) {
        const SpriteRect& r = spriteRects[row.id];
        PixelCount all = countPixels(sheet, r.x, r.y, r.w, r.h);
        EXPECT_GT(all.opaque, r.w * r.h / 4) << r.name << " is mostly empty";
        EXPECT_GT(all.transparent, 0) << r.name << " has no transparent background";
        if (row.cornersClear) {
            const int corners[4][2] = {{0, 0}, {r.w - 1, 0}, {0, r.h - 1}, {r.w - 1, r.h - 1}};
            for (const auto& c : corners)
                EXPECT_EQ(countPixels(sheet, r.x + c[0], r.y + c[1], 1, 1).transparent, 1)
                    << r.name << " corner " << c[0] << "," << c[1];
        }
        if (row.feetOnGround) {
            EXPECT_GT(countPixels(sheet, r.x, r.y + r.h - 1, r.w, 1).opaque, 4) << r.name << " floats";
        }
    }
    al_destroy_bitmap(sheet);
}

TEST(GeneratedAssets, CryIsALoudSeamlessLoopOfSeveralWhimpers)
{
    // Loading a sample needs an attempt to install audio first (without one Allegro crashes);
    // the attempt may fail on a machine with no sound card, and loading still works.
    al_install_audio();
    ASSERT_TRUE(al_init_acodec_addon());
    ALLEGRO_SAMPLE* cry = al_load_sample(dataFile(QUENMARSH_CRY_FILE).c_str());
    ASSERT_NE(cry, nullptr);
    const unsigned rate = al_get_sample_frequency(cry);
    const unsigned length = al_get_sample_length(cry);
    EXPECT_EQ(rate, 44100u);
    EXPECT_EQ(al_get_sample_channels(cry), ALLEGRO_CHANNEL_CONF_1);
    ASSERT_EQ(al_get_sample_depth(cry), ALLEGRO_AUDIO_DEPTH_INT16);
    // Long enough to hold several different whimpers, so the repeat is not obvious.
    EXPECT_GE(length, rate * 3);
    EXPECT_LE(length, rate * 4);

    const int16_t* samples = static_cast<const int16_t*>(al_get_sample_data(cry));
    int peak = 0;
    for (unsigned i = 0; i < length; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    // About -1 dBFS: as loud as other desktop sounds, and no clipping after the lossy encoding.
    EXPECT_GT(peak, 32767 * 8 / 10) << "quieter than -2 dBFS";
    EXPECT_LT(peak, 32767 * 97 / 100) << "louder than -0.3 dBFS";
    // Whimpers with pauses between them: count the silences of 0.2 s or more.
    int pauses = 0;
    for (unsigned i = 0, quietRun = 0; i < length; ++i) {
        quietRun = std::abs(static_cast<int>(samples[i])) < 64 ? quietRun + 1 : 0;
        pauses += quietRun == rate / 5;
    }
    EXPECT_GE(pauses, 3) << "two or three whimpers, each followed by a pause";
    // Played looping, the last sample runs into the first: both ends near silence, so the
    // seam cannot click.
    const int quiet = 32767 / 200;
    for (unsigned i = 0; i < 32; ++i) {
        EXPECT_LE(std::abs(static_cast<int>(samples[i])), quiet) << "start, sample " << i;
        EXPECT_LE(std::abs(static_cast<int>(samples[length - 1 - i])), quiet) << "end, sample " << i;
    }
    al_destroy_sample(cry);
    al_uninstall_audio();
}

TEST(GeneratedAssets, GeneratorRunsGiveIdenticalBytes)
{
    const std::filesystem::path scratch = QUENMARSH_ASSETS_SCRATCH;
    std::filesystem::remove_all(scratch);
    const std::filesystem::path runs[2] = {scratch / "first", scratch / "second"};
    for (const auto& run : runs) {
        std::string command = std::string("\"") + QUENMARSH_ASSETGEN + "\" \"" + run.string() + "\" \"" +
                              (run / "icons").string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const int sizes[] = {QUENMARSH_ICON_SIZES};
    std::vector<std::string> files = {QUENMARSH_MAP_FILE, QUENMARSH_TILES_FILE, QUENMARSH_CRY_FILE,
                                      QUENMARSH_WINDOW_ICON_FILE, "icons/quenmarsh.ico"};
    for (int size : sizes)
        files.push_back("icons/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/quenmarsh.png");
    for (const std::string& file : files) {
        std::vector<char> first = fileBytes(runs[0] / file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_TRUE(first == fileBytes(runs[1] / file)) << file << " differs between runs";
        // The build's data folder came from this same generator.
        if (std::filesystem::exists(dataDir / file)) {
            EXPECT_TRUE(first == fileBytes(dataDir / file)) << file << " in the data folder is stale";
        }
    }
    // The Windows icon: a directory of a picture for each desktop icon size, each a PNG of the
    // size its entry gives.
    const std::vector<char> ico = fileBytes(runs[0] / "icons" / "quenmarsh.ico");
    auto u32 = [&](size_t at) {
        return uint32_t(uint8_t(ico[at])) | uint32_t(uint8_t(ico[at + 1])) << 8 |
               uint32_t(uint8_t(ico[at + 2])) << 16 | uint32_t(uint8_t(ico[at + 3])) << 24;
    };
    const int count = int(std::size(sizes));
    ASSERT_GE(ico.size(), 6u + count * 16);
    EXPECT_EQ(u32(0), 0x10000u) << "an icon file";
    EXPECT_EQ(uint8_t(ico[4]), count);
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i, length = u32(entry + 8), offset = u32(entry + 12);
        EXPECT_EQ(uint8_t(ico[entry]), sizes[i] % 256);
        ASSERT_LE(offset + length, ico.size());
        const std::filesystem::path png = scratch / "entry.png";
        std::ofstream(png, std::ios::binary).write(ico.data() + offset, std::streamsize(length));
        ALLEGRO_BITMAP* picture = al_load_bitmap(png.string().c_str());
        ASSERT_NE(picture, nullptr) << sizes[i];
        EXPECT_EQ(al_get_bitmap_width(picture), sizes[i]);
        EXPECT_EQ(al_get_bitmap_height(picture), sizes[i]);
        al_destroy_bitmap(picture);
    }
    std::filesystem::remove_all(scratch);
}
