// Writes the program's icons from one piece of art: the Windows icon, which
// the Windows build compiles into the program file, and the PNGs the Linux
// packages install into the desktop's icon theme.
//   icongen app/resources
// writes brindlemoor.ico and hicolor/<n>x<n>/apps/brindlemoor.png there.
#include "tools/icongen/IconEncoding.h"
#include "tools/icongen/YardIcon.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCE_FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    bool written = writeFile(folder / "brindlemoor.ico", encodeIco(drawYardIcon()));
    for (const int size : desktopIconSizes) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        written = writeFile(folder / "hicolor" / sizeName / "apps" / "brindlemoor.png",
                            encodePng(drawYardIcon(size))) &&
                  written;
    }
    return written ? 0 : 1;
}
