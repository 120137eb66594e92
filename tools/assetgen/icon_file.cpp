#include "icon_file.h"

#include <allegro5/allegro.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sprite_art.h"

namespace {

void putU16(std::string& out, unsigned value)
{
    out += char(value & 0xff);
    out += char((value >> 8) & 0xff);
}

void putU32(std::string& out, std::uint32_t value)
{
    putU16(out, value & 0xffff);
    putU16(out, value >> 16);
}

// Allegro writes PNG only to files, so each size goes through a scratch file beside the icon.
bool pngBytes(int size, const std::filesystem::path& scratch, std::string& png)
{
    ALLEGRO_BITMAP* bitmap = drawDesktopIcon(size);
    bool ok = bitmap && al_save_bitmap(scratch.string().c_str(), bitmap);
    al_destroy_bitmap(bitmap);
    std::ifstream in(scratch, std::ios::binary);
    png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    std::error_code ignored;
    std::filesystem::remove(scratch, ignored);
    return ok && !png.empty();
}

}  // namespace

bool writeIconFile(const std::filesystem::path& path, const int* sizes, int count)
{
    std::vector<std::string> pictures(count);
    std::filesystem::path scratch = path;
    scratch += ".part.png";
    for (int i = 0; i < count; ++i) {
        if (!pngBytes(sizes[i], scratch, pictures[i])) {
            std::fprintf(stderr, "quenmarsh-assetgen: cannot draw the %d-pixel icon\n", sizes[i]);
            return false;
        }
    }
    // Header (reserved, type 1 = icon, count), one 16-byte entry a picture, then the pictures.
    std::string out;
    putU16(out, 0);
    putU16(out, 1);
    putU16(out, count);
    std::uint32_t offset = 6 + 16 * count;
    for (int i = 0; i < count; ++i) {
        const int size = sizes[i];
        out += char(size >= 256 ? 0 : size);  // 0 stands for 256
        out += char(size >= 256 ? 0 : size);
        out += char(0);  // no palette
        out += char(0);
        putU16(out, 1);   // colour planes
        putU16(out, 32);  // bits a pixel
        putU32(out, std::uint32_t(pictures[i].size()));
        putU32(out, offset);
        offset += std::uint32_t(pictures[i].size());
    }
    for (const std::string& picture : pictures)
        out += picture;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), std::streamsize(out.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "quenmarsh-assetgen: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}
