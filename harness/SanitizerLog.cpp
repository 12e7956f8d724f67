#include "harness/SanitizerLog.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef BRINDLEMOOR_SANITIZED
    #include <gtest/gtest.h>
#endif

namespace {
const char* const optionVariables[] = {"ASAN_OPTIONS", "UBSAN_OPTIONS"};
}

SanitizerLog::SanitizerLog()
{
#ifdef BRINDLEMOOR_SANITIZED
    folder = std::make_unique<TempDirectory>();
#endif
}

std::vector<std::pair<std::string, std::string>>
SanitizerLog::environment(const std::vector<std::pair<std::string, std::string>>& given) const
{
    std::vector<std::pair<std::string, std::string>> options;
    if (!folder) {
        return options;
    }
    for (const char* name : optionVariables) {
        const char* inherited = std::getenv(name);
        std::string value = inherited != nullptr ? inherited : "";
        for (const auto& [givenName, givenValue] : given) {
            if (givenName == name) {
                value = givenValue;
            }
        }
        // one file per process, named report.<pid>
        options.emplace_back(name, value + ":log_path=" + folder->pathOf("report"));
    }
    return options;
}

void SanitizerLog::failOnReports(const std::string& command) const
{
#ifdef BRINDLEMOOR_SANITIZED
    if (!folder) {
        return;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder->path())) {
        std::ifstream file(entry.path());
        const std::string report{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        ADD_FAILURE() << command << " reported under the sanitizers:\n" << report;
        std::filesystem::remove(entry.path());
    }
#else
    static_cast<void>(command);
#endif
}
