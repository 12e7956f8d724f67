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

    // Adds the log folder to the sanitizers' options in a child's
    // `environment`: to those it sets, or else to the test process's own.
    void addTo(std::vector<std::pair<std::string, std::string>>& environment) const;
    // Fails the running test with whatever the child reported, naming it.
    void failOnReports(const std::string& command) const;

private:
    std::unique_ptr<TempDirectory> folder;
};
