// assetgen: writes the program's images and models.
//
//   assetgen [--only PATH]... [ROOT]
//
// ROOT is the folder that receives img/ and mdl/ (default: the current
// folder, so run it from the repository root to refresh the committed files).
#include "AssetSet.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::string root = ".";
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: assetgen [--only PATH]... [ROOT]\n");
            return 2;
        } else {
            root = argv[i];
        }
    }
    const std::vector<std::string> paths = only.empty() ? AssetSet::paths() : only;
    int failures = 0;
    for (const std::string& path : paths) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        if (!AssetSet::write(root, path, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            ++failures;
            continue;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::error_code code;
        const auto size = std::filesystem::file_size(std::filesystem::path(root) / path, code);
        std::printf("%-22s %8ju bytes  %6.2f s\n", path.c_str(), static_cast<uintmax_t>(size), seconds);
    }
    return failures == 0 ? 0 : 1;
}
