// quenmarsh-assetgen DATA_DIR ICON_FILE
// Draws the game's pictures and synthesises its cry into DATA_DIR ("map.jpg", "tiles.png",
// "cry.ogg") and the desktop icon into ICON_FILE (PNG). Needs no display and no sound card,
// and writes byte-identical files on every run.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cry_sound.h"
#include "icon_file.h"
#include "map_art.h"
#include "sprite_art.h"

namespace {

const int desktopIconSize = 128;

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
    if (argc != 3) {
        std::fprintf(stderr, "usage: quenmarsh-assetgen DATA_DIR ICON_FILE\n");
        return 2;
    }
    const std::filesystem::path out = argv[1], icon = argv[2];
    std::error_code error;
    std::filesystem::create_directories(out, error);
    if (error) {
        std::fprintf(stderr, "quenmarsh-assetgen: cannot create %s\n", out.string().c_str());
        return 1;
    }
    if (!al_init() || !al_init_image_addon() || !al_init_primitives_addon()) {
        std::fprintf(stderr, "quenmarsh-assetgen: Allegro failed to start\n");
        return 1;
    }
    // Memory bitmaps with 8 bits a channel in a known byte order: no display is needed,
    // and the painting code reads and writes pixels directly.
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    al_set_config_value(al_get_system_config(), "image", "jpeg_quality_level", "92");

    bool ok = saveBitmap(drawMarshMap(), out / "map.jpg");
    ok = saveBitmap(drawSpriteSheet(), out / "tiles.png") && ok;
    ok = saveBitmap(drawDesktopIcon(desktopIconSize), icon) && ok;
    ok = writeIconFile(icon.parent_path() / "quenmarsh.ico") && ok;  // for the Windows build
    if (!writeOggVorbis((out / "cry.ogg").string().c_str(), synthesizeCry(), cryRate)) {
        std::fprintf(stderr, "quenmarsh-assetgen: cannot write %s\n", (out / "cry.ogg").string().c_str());
        ok = false;
    }

    al_shutdown_primitives_addon();
    al_shutdown_image_addon();
    al_uninstall_system();
    return ok ? 0 : 1;
}
