// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes.
#pragma once

#include <filesystem>

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return root; }

private:
    std::filesystem::path root;
};
