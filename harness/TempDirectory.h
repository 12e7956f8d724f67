// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return root; }
    // the path a file of that name would have, whether or not it exists
    std::string pathOf(const std::string& name) const;
    // writes the bytes exactly as given (NULs and CRs included) and returns
    // the file's path
    std::string write(const std::string& name, std::string_view bytes) const;
    // the bytes of any file, exactly; empty when it cannot be read
    static std::string read(const std::filesystem::path& file);

private:
    std::filesystem::path root;
};
