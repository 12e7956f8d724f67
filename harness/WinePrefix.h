// A Wine prefix of a session's own, so that its wineserver, desktop and
// registry serve one program on one display and nothing else. Preparing a
// prefix (wineboot) takes seconds, so the build prepares one, and each
// session's prefix is made from it in moments: the large program files
// hard-linked, the files Wine writes copied.
#pragma once

#include "harness/SpawnedProcess.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class WinePrefix {
public:
    // the prefix in `folder`
    explicit WinePrefix(const std::filesystem::path& folder);
    // ends every process of the prefix and waits for them
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // empty when the prefix is ready
    const std::string& failure() const { return failureText; }
    const std::filesystem::path& folder() const { return prefix; }
    // what a Wine process of this prefix needs in its environment, its
    // windows shown on the X display `displayName` (empty: the caller's)
    std::vector<std::pair<std::string, std::string>> environment(const std::string& displayName) const;
    // Runs a Wine command in the prefix with no display, as a silent
    // installer runs, then waits until every process of the prefix has
    // ended, those it left behind included, so that all they wrote, the
    // registry too, is on disk. Its outcome is the command's.
    SpawnedProcess::Outcome runUntilIdle(const std::vector<std::string>& arguments, int timeoutMs) const;
    // ends every process of the prefix, the wineserver and Wine's services
    // included, and waits for them
    void endProcesses();

private:
    std::filesystem::path prefix;
    std::string failureText;
};
