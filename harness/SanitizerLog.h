// Where a sanitized child writes its reports (AddressSanitizer's, leaks
// included, and UndefinedBehaviorSanitizer's): a folder of its own rather
// than its standard error, which a test may never read, and a failure of
// the running test once the child has ended with anything there. In a build
// without the sanitizers it adds nothing and fails nothing.
#pragma once

#include "harness/TempDirectory.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class SanitizerLog {
public:
    SanitizerLog();

    // The sanitizers' options for the child, as the caller's `environment`
    // or else the test process has them, with the log folder added.
    std::vector<std::pair<std::string, std::string>>
    environment(const std::vector<std::pair<std::string, std::string>>& given) const;
    // Fails the running test with whatever the child reported, naming it.
    void failOnReports(const std::string& command) const;

private:
    std::unique_ptr<TempDirectory> folder;
};
