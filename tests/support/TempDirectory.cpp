#include "tests/support/TempDirectory.h"

#include <cstdlib>
#include <string>

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
