#include "harness/SpawnedProcess.h"

#include "harness/TempDirectory.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace {
constexpr int pollIntervalMs = 10;
constexpr int terminateGraceMs = 3000; // before SIGTERM becomes SIGKILL
constexpr int execFailedStatus = 127;

std::vector<std::string> childEnvironment(SpawnedProcess::Options options, const SanitizerLog& sanitizerLog)
{
    sanitizerLog.addTo(options.environment);
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& unset : options.unsetEnvironment) {
            replaced = replaced || unset == name;
        }
        for (const auto& set : options.environment) {
            replaced = replaced || set.first == name;
        }
        if (!replaced) {
            result.push_back(text);
        }
    }
    for (const auto& set : options.environment) {
        result.push_back(set.first + "=" + set.second);
    }
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int statusOf(int waitStatus)
{
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}
}

SpawnedProcess::SpawnedProcess(const std::vector<std::string>& arguments, const Options& options)
    : outputPath(options.outputPath), errorPath(options.errorPath)
{
    if (arguments.empty()) {
        return;
    }
    for (const std::string& argument : arguments) {
        command += (command.empty() ? "" : " ") + argument;
    }
    // Everything the child needs is made before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environmentTexts = childEnvironment(options, sanitizerLog);
    std::vector<char*> argv = pointersTo(argumentTexts);
    std::vector<char*> envp = pointersTo(environmentTexts);
    const char* outputPath = options.outputPath.empty() ? "/dev/null" : options.outputPath.c_str();
    const int output = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) {
        return;
    }
    const int error = options.errorPath.empty()
                          ? output
                          : open(options.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (error < 0) {
        close(output);
        return;
    }
    const char* workingDirectory =
        options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();
    const pid_t parent = getpid();

    startedAt = std::chrono::steady_clock::now();
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(execFailedStatus);
        }
        dup2(output, STDOUT_FILENO);
        dup2(error, STDERR_FILENO);
        if (workingDirectory != nullptr && chdir(workingDirectory) != 0) {
            _exit(execFailedStatus);
        }
        const int input = open("/dev/null", O_RDONLY);
        dup2(input, STDIN_FILENO);
        // Nothing of the test process leaks in, its X connections least of all.
        const unsigned int firstFree = STDERR_FILENO + 1;
        const int kept = options.inheritedFd;
        if (kept >= static_cast<int>(firstFree)) {
            close_range(firstFree, static_cast<unsigned int>(kept) - 1, 0);
            close_range(static_cast<unsigned int>(kept) + 1, ~0U, 0);
        } else {
            close_range(firstFree, ~0U, 0);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(execFailedStatus);
    }
    close(output);
    if (error != output) {
        close(error);
    }
}

SpawnedProcess::Outcome SpawnedProcess::run(const std::vector<std::string>& arguments, int timeoutMs,
                                            Options options)
{
    const TempDirectory scratch;
    options.outputPath = scratch.pathOf("output");
    options.errorPath.clear();
    SpawnedProcess process(arguments, options);
    int status = 0;
    Outcome outcome;
    outcome.succeeded = process.waitForExit(timeoutMs, status) && status == 0;
    outcome.output = process.output();
    return outcome;
}

SpawnedProcess::Outcome SpawnedProcess::run(const std::vector<std::string>& arguments, int timeoutMs)
{
    return run(arguments, timeoutMs, Options());
}

SpawnedProcess::~SpawnedProcess()
{
    stop();
}

SpawnedProcess::SpawnedProcess(SpawnedProcess&& other) noexcept
    : pid(other.pid), command(std::move(other.command)), sanitizerLog(std::move(other.sanitizerLog)),
      outputPath(std::move(other.outputPath)), errorPath(std::move(other.errorPath)),
      peakResidentKiB(other.peakResidentKiB), startedAt(other.startedAt)
{
    other.pid = -1;
}

SpawnedProcess& SpawnedProcess::operator=(SpawnedProcess&& other) noexcept
{
    if (this != &other) {
        stop();
        pid = other.pid;
        command = std::move(other.command);
        sanitizerLog = std::move(other.sanitizerLog);
        outputPath = std::move(other.outputPath);
        errorPath = std::move(other.errorPath);
        peakResidentKiB = other.peakResidentKiB;
        startedAt = other.startedAt;
        other.pid = -1;
    }
    return *this;
}

std::string SpawnedProcess::output() const
{
    return TempDirectory::read(outputPath);
}

std::string SpawnedProcess::errorOutput() const
{
    return TempDirectory::read(errorPath);
}

bool SpawnedProcess::waitForExit(int timeoutMs, int& exitStatus)
{
    if (!isStarted()) {
        return false;
    }
    for (int waited = 0;; waited += pollIntervalMs) {
        int waitStatus = 0;
        rusage usage = {};
        if (wait4(pid, &waitStatus, WNOHANG, &usage) == pid) {
            exitStatus = statusOf(waitStatus);
            peakResidentKiB = usage.ru_maxrss;
            reaped();
            return true;
        }
        if (waited >= timeoutMs) {
            return false;
        }
        usleep(pollIntervalMs * 1000);
    }
}

void SpawnedProcess::stop()
{
    if (!isStarted()) {
        return;
    }
    int exitStatus = 0;
    ::kill(pid, SIGTERM);
    if (!waitForExit(terminateGraceMs, exitStatus)) {
        kill();
    }
}

void SpawnedProcess::kill()
{
    if (!isStarted()) {
        return;
    }
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    reaped();
}

void SpawnedProcess::reaped()
{
    pid = -1;
    sanitizerLog.failOnReports(command);
}
