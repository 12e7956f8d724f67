// A private temporary folder for files a test writes and then has the
// program read; removed with everything in it when the test ends.
#pragma once

#include <string>
#include <string_view>

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // writes bytes exactly as given (NULs and CRs included) and returns the
    // file's path
    std::string write(const std::string& name, std::string_view bytes) const;
    // the path a file of that name would have, whether or not it exists
    std::string pathOf(const std::string& name) const;

private:
    std::string folder;
};
