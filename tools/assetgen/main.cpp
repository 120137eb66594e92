// quenmarsh-assetgen DATA_DIR ICON_DIR [WEB_ICON_DIR]
// Draws the game's pictures and synthesises its cry into DATA_DIR (the map, the sprite sheet, the
// cry and the window icon, under the names the build gives as QUENMARSH_<NAME>_FILE) and the
// desktop icon at each of the build's QUENMARSH_ICON_SIZES into
// ICON_DIR/<size>x<size>/apps/quenmarsh.png, the layout of an icon theme, and at all of them into
// the Windows icon file ICON_DIR/quenmarsh.ico; with WEB_ICON_DIR, the browser's home-screen icons
// there: the desktop icon at each of QUENMARSH_WEB_ICON_SIZES as quenmarsh-<size>.png, and a
// maskable one at each of QUENMARSH_MASKABLE_ICON_SIZES as quenmarsh-maskable-<size>.png. Needs no display and no
// sound card, and writes byte-identical
// files on every run.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>

#include "cry_sound.h"
#include "icon_file.h"
#include "map_art.h"
#include "sprite_art.h"

namespace {

// Every size gets its own drawing, so the small ones stay clear.
const int desktopIconSizes[] = {QUENMARSH_ICON_SIZES};
const int webIconSizes[] = {QUENMARSH_WEB_ICON_SIZES};
const int maskableIconSizes[] = {QUENMARSH_MASKABLE_ICON_SIZES};

bool saveBitmap(ALLEGRO_BITMAP* bitmap, const std::filesystem::path& path)
{
    bool ok = al_save_bitmap(path.string().c_str(), bitmap);
    if (!ok)
        std::fprintf(stderr, "quenmarsh-assetgen: cannot write %s\n", path.string().c_str());
    al_destroy_bitmap(bitmap);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quenmarsh-assetgen DATA_DIR ICON_DIR [WEB_ICON_DIR]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1], icons = argv[2], webIcons = argc == 4 ? argv[3] : "";
    for (const std::filesystem::path& folder : {out, icons, webIcons}) {
        if (folder.empty()) continue;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "quenmarsh-assetgen: cannot create %s\n", folder.string().c_str());
            return 1;
        }
    }
    if (!al_init() || !al_init_image_addon() || !al_init_primitives_addon()) {
        std::fprintf(stderr, "quenmarsh-assetgen: Allegro failed to start\n");
        return 1;
    }
    // Memory bitmaps with 8 bits a channel in a known byte order: no display is needed,
    // and the painting code reads and writes pixels directly.
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    // At 85 the marsh shows no blocks, and is a third smaller than at 92: the browser downloads
    // it before the game's first dialog.
    al_set_config_value(al_get_system_config(), "image", "jpeg_quality_level", "85");

    bool ok = saveBitmap(drawMarshMap(), out / QUENMARSH_MAP_FILE);
    ok = saveBitmap(drawSpriteSheet(), out / QUENMARSH_TILES_FILE) && ok;
    ok = saveBitmap(drawDesktopIcon(QUENMARSH_WINDOW_ICON_SIZE), out / QUENMARSH_WINDOW_ICON_FILE) && ok;
    for (int size : desktopIconSizes) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        std::error_code error;
        std::filesystem::create_directories(icons / square / "apps", error);
        ok = saveBitmap(drawDesktopIcon(size), icons / square / "apps" / "quenmarsh.png") && ok;
    }
    ok = writeIconFile(icons / "quenmarsh.ico", desktopIconSizes, int(std::size(desktopIconSizes))) && ok;
    if (!webIcons.empty()) {
        for (int size : webIconSizes)
            ok = saveBitmap(drawDesktopIcon(size), webIcons / ("quenmarsh-" + std::to_string(size) + ".png")) && ok;
        for (int size : maskableIconSizes)
            ok = saveBitmap(drawMaskableIcon(size), webIcons / ("quenmarsh-maskable-" + std::to_string(size) + ".png")) && ok;
    }
    if (!writeOggVorbis((out / QUENMARSH_CRY_FILE).string().c_str(), synthesizeCry(), cryRate)) {
        std::fprintf(stderr, "quenmarsh-assetgen: cannot write %s\n", (out / QUENMARSH_CRY_FILE).string().c_str());
        ok = false;
    }

    al_shutdown_primitives_addon();
    al_shutdown_image_addon();
    al_uninstall_system();
    return ok ? 0 : 1;
}
