#include "harness/SanitizerLog.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

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

void SanitizerLog::addTo(std::vector<std::pair<std::string, std::string>>& environment) const
{
    if (!folder) {
        return;
    }
    // one file per process, named report.<pid>
    const std::string logPath = ":log_path=" + folder->pathOf("report");
    for (const char* name : optionVariables) {
        const auto given = std::find_if(environment.begin(), environment.end(),
                                        [name](const auto& variable) { return variable.first == name; });
        if (given != environment.end()) {
            given->second += logPath;
        } else {
            const char* inherited = std::getenv(name);
            environment.emplace_back(name, (inherited != nullptr ? inherited : "") + logPath);
        }
    }
}

void SanitizerLog::failOnReports(const std::string& command) const
{
#ifdef BRINDLEMOOR_SANITIZED
    if (!folder) {
        return;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder->path())) {
        ADD_FAILURE() << command << " reported under the sanitizers:\n" << TempDirectory::read(entry.path());
        std::filesystem::remove(entry.path());
    }
#else
    static_cast<void>(command);
#endif
}
