// assetgen: writes the program's images and models, or checks them.
//
//   assetgen [--only PATH]... [ROOT]
//   assetgen --check [--only PATH]... [ROOT]
//
// ROOT is the folder that receives img/ and mdl/ (default: the current
// folder, so run it from the repository root to refresh the committed files).
// --check writes nothing: it generates each file in memory and names every
// one whose bytes differ from the file under ROOT, exiting with 1 if any
// does. The asset tests compare with a tolerance, so that another encoder
// or libm passes them; this is the exact comparison, for whoever regenerates.
#include "AssetSet.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
// true when the file `target` holds exactly `bytes`; `size` receives its
// size, or -1 when it cannot be read
bool holdsBytes(const std::filesystem::path& target, const std::vector<uint8_t>& bytes, long long& size)
{
    std::ifstream in(target, std::ios::binary);
    if (!in) {
        size = -1;
        return false;
    }
    const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size = static_cast<long long>(stored.size());
    return stored == bytes;
}

// generates `path` in memory and says whether the file under `root` holds the same bytes
bool check(const std::string& root, const std::string& path)
{
    const std::vector<uint8_t> bytes = AssetSet::generate(path);
    if (bytes.empty()) {
        std::fprintf(stderr, "assetgen: no generator makes '%s'\n", path.c_str());
        return false;
    }
    long long size = 0;
    if (holdsBytes(std::filesystem::path(root) / path, bytes, size)) {
        std::printf("%-22s %8zu bytes  same\n", path.c_str(), bytes.size());
        return true;
    }
    if (size < 0) {
        std::printf("%-22s %8zu bytes  MISSING under %s\n", path.c_str(), bytes.size(), root.c_str());
    } else {
        std::printf("%-22s %8zu bytes  DIFFERS from the %lld bytes under %s\n", path.c_str(), bytes.size(),
                    size, root.c_str());
    }
    return false;
}

// generates `path` into `root`, naming it with its size and the time it took
bool write(const std::string& root, const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!AssetSet::write(root, path, error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return false;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::error_code code;
    const auto size = std::filesystem::file_size(std::filesystem::path(root) / path, code);
    std::printf("%-22s %8ju bytes  %6.2f s\n", path.c_str(), static_cast<uintmax_t>(size), seconds);
    return true;
}
}

int main(int argc, char** argv)
{
    std::string root = ".";
    std::vector<std::string> only;
    bool checking = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only.push_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--check") == 0) {
            checking = true;
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: assetgen [--check] [--only PATH]... [ROOT]\n");
            return 2;
        } else {
            root = argv[i];
        }
    }
    const std::vector<std::string> paths = only.empty() ? AssetSet::paths() : only;
    int failures = 0;
    for (const std::string& path : paths) {
        if (!(checking ? check(root, path) : write(root, path))) {
            ++failures;
        }
    }
    if (checking && failures == 0) {
        std::printf("every file is what assetgen writes\n");
    } else if (checking) {
        std::printf("%d file(s) differ: run assetgen from the repository root to rewrite them\n", failures);
    }
    return failures == 0 ? 0 : 1;
}
