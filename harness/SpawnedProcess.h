// A child process for tests: started with fork and exec, stopped and reaped
// with the object, and killed by the kernel if the test process dies first,
// so that no server or probe outlives a failed or crashed test.
#pragma once

#include "harness/SanitizerLog.h"

#include <sys/types.h>

#include <chrono>
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
        // standard error goes here instead, when given
        std::string errorPath;
        // the child's working directory; empty: ours
        std::string workingDirectory;
        // a descriptor the child keeps open under the same number (-1: none)
        int inheritedFd = -1;
    };

    // How a command run to its end went.
    struct Outcome {
        // it ended within the time given, with status 0
        bool succeeded = false;
        // what it wrote on standard output and error
        std::string output;
    };
    // Runs a command to its end, or for timeoutMs at most, with the options
    // given but for where its output goes.
    static Outcome run(const std::vector<std::string>& arguments, int timeoutMs, Options options);
    static Outcome run(const std::vector<std::string>& arguments, int timeoutMs);

    SpawnedProcess() = default;
    // runs arguments[0], looked up in PATH; isStarted() tells whether it ran
    SpawnedProcess(const std::vector<std::string>& arguments, const Options& options);
    ~SpawnedProcess();
    SpawnedProcess(SpawnedProcess&& other) noexcept;
    SpawnedProcess& operator=(SpawnedProcess&& other) noexcept;
    SpawnedProcess(const SpawnedProcess&) = delete;
    SpawnedProcess& operator=(const SpawnedProcess&) = delete;

    bool isStarted() const { return pid > 0; }
    // its process id until it is reaped; -1 when there is none
    pid_t processId() const { return pid; }
    // what the child has written so far to Options::outputPath
    std::string output() const;
    // what it has written so far to Options::errorPath
    std::string errorOutput() const;
    // waits up to timeoutMs; true with the exit status (128 + signal when a
    // signal ended it)
    bool waitForExit(int timeoutMs, int& exitStatus);
    // SIGTERM, then SIGKILL after a grace period; always reaps the child
    void stop();
    // SIGKILL at once, and reaps the child
    void kill();
    // the most memory it held at once, in KiB, once it has been reaped
    long peakMemoryKiB() const { return peakResidentKiB; }
    // when it was started, on the monotonic clock
    std::chrono::steady_clock::time_point startTime() const { return startedAt; }

private:
    // a sanitizer report once reaped fails the running test
    void reaped();

    pid_t pid = -1;
    std::string command;
    SanitizerLog sanitizerLog;
    std::string outputPath;
    std::string errorPath;
    long peakResidentKiB = 0;
    std::chrono::steady_clock::time_point startedAt;
};
