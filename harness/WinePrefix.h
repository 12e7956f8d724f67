// A Wine prefix of a session's own, so that its wineserver, desktop and
// registry serve one program on one display and nothing else. Preparing a
// prefix (wineboot) takes seconds, so the build prepares one, and each
// session's prefix is made from it in moments: the large program files
// hard-linked, the files Wine writes copied.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class WinePrefix {
public:
    // the prefix in `folder`, its programs shown on the X display `displayName`
    WinePrefix(const std::filesystem::path& folder, const std::string& displayName);
    // ends every process of the prefix and waits for them
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // empty when the prefix is ready
    const std::string& failure() const { return failureText; }
    // what a Wine process of this prefix needs in its environment
    const std::vector<std::pair<std::string, std::string>>& environment() const { return variables; }

private:
    std::filesystem::path prefix;
    std::vector<std::pair<std::string, std::string>> variables;
    std::string failureText;
};
