// Writes the program's icon, app/resources/brindlemoor.ico, which the
// Windows build compiles into the program file:
//   icongen app/resources/brindlemoor.ico
#include "tools/icongen/IconEncoding.h"
#include "tools/icongen/YardIcon.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    const std::vector<uint8_t> icon = encodeIco(drawYardIcon());
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(icon.data()), static_cast<std::streamsize>(icon.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
