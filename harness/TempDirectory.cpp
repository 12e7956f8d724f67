#include "harness/TempDirectory.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDirectory::TempDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brindlemoor-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        root = pattern;
    }
}

TempDirectory::~TempDirectory()
{
    if (!root.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
}

std::string TempDirectory::pathOf(const std::string& name) const
{
    return (root / name).string();
}

std::string TempDirectory::write(const std::string& name, std::string_view bytes) const
{
    const std::string path = pathOf(name);
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

std::string TempDirectory::read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
