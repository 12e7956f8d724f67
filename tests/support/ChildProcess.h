// A program run as a child process for end-to-end tests and benchmarks: its
// own working directory and environment, standard output and error captured
// to files, and never left running after the object is gone.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

class ChildProcess {
public:
    struct Options {
        std::vector<std::string> arguments; // program path first
        std::string workingDirectory;       // empty: the current one
        std::map<std::string, std::string> environment; // added to or replacing ours
    };

    explicit ChildProcess(const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid > 0; }
    const std::string& failure() const { return failureText; }
    // the exit status once it has ended within the timeout; nothing if it
    // is still running or was ended by a signal
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool isRunning();
    // true when it ended by a signal rather than an exit status
    bool endedBySignal() const { return signalled; }
    void kill();
    std::string standardOutput() const;
    std::string standardError() const;
    // the most memory it held at once, in KiB, once it has ended
    long peakMemoryKiB() const { return peakResidentKiB; }
    // when it started, on the monotonic clock
    std::chrono::steady_clock::time_point startTime() const { return startedAt; }

private:
    bool reap(bool block);

    pid_t pid = -1;
    bool ended = false;
    bool signalled = false;
    int status = 0;
    long peakResidentKiB = 0;
    std::string outputPath;
    std::string errorPath;
    std::string failureText;
    std::chrono::steady_clock::time_point startedAt;
};
