// A child process for tests: started with fork and exec, stopped and reaped
// with the object, and killed by the kernel if the test process dies first,
// so that no server or probe outlives a failed or crashed test.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

class SpawnedProcess {
  public:
    struct Options {
        // NAME=value pairs set in the child's environment
        std::vector<std::pair<std::string, std::string>> environment;
        // names removed from the child's environment
        std::vector<std::string> unsetEnvironment;
        // standard output and error go to this file; empty: /dev/null
        std::string outputPath;
        // the output file goes with the object, whatever the test's outcome
        bool removeOutput = false;
        // a descriptor the child keeps open under the same number (-1: none)
        int inheritedFd = -1;
    };

    SpawnedProcess() = default;
    // runs arguments[0], looked up in PATH; isStarted() tells whether it ran
    SpawnedProcess(const std::vector<std::string>& arguments, const Options& options);
    ~SpawnedProcess();
    SpawnedProcess(SpawnedProcess&& other) noexcept;
    SpawnedProcess& operator=(SpawnedProcess&& other) noexcept;
    SpawnedProcess(const SpawnedProcess&) = delete;
    SpawnedProcess& operator=(const SpawnedProcess&) = delete;

    bool isStarted() const { return pid > 0; }
    // what the child has written so far to Options::outputPath
    std::string output() const;
    // waits up to timeoutMs; true with the exit status (128 + signal when a
    // signal ended it)
    bool waitForExit(int timeoutMs, int& exitStatus);
    // SIGTERM, then SIGKILL after a grace period; always reaps the child
    void stop();

  private:
    pid_t pid = -1;
    std::string outputPath;
    bool removeOutput = false;
};
