#include "tests/support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
constexpr auto pollInterval = std::chrono::milliseconds(5);

std::string readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string makeTempFile(const char* pattern)
{
    std::string path = std::string(P_tmpdir) + "/" + pattern;
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        return {};
    }
    close(fd);
    return path;
}

// Our environment with the overrides applied, as "NAME=value" strings.
std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& overrides)
{
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals != nullptr) {
            merged[std::string(*entry, static_cast<size_t>(equals - *entry))] = equals + 1;
        }
    }
    for (const auto& [name, value] : overrides) {
        merged[name] = value;
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : merged) {
        result.push_back(name + "=" + value);
    }
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

ChildProcess::ChildProcess(const Options& options)
{
    if (options.arguments.empty()) {
        failureText = "no program given";
        return;
    }
    outputPath = makeTempFile("child-stdout-XXXXXX");
    errorPath = makeTempFile("child-stderr-XXXXXX");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_TRUNC, 0);
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }

    std::vector<std::string> arguments = options.arguments;
    std::vector<std::string> environment = mergedEnvironment(options.environment);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);

    startedAt = std::chrono::steady_clock::now();
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid = -1;
        failureText = std::string("cannot start ") + argv[0] + ": " + std::strerror(error);
    }
}

ChildProcess::~ChildProcess()
{
    kill();
    if (!outputPath.empty()) {
        unlink(outputPath.c_str());
    }
    if (!errorPath.empty()) {
        unlink(errorPath.c_str());
    }
}

bool ChildProcess::reap(bool block)
{
    if (pid <= 0 || ended) {
        return ended;
    }
    int waitStatus = 0;
    rusage usage = {};
    const pid_t result = wait4(pid, &waitStatus, block ? 0 : WNOHANG, &usage);
    if (result == pid) {
        ended = true;
        peakResidentKiB = usage.ru_maxrss;
        signalled = WIFSIGNALED(waitStatus);
        status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    }
    return ended;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        if (pid <= 0 || std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    if (signalled) {
        return std::nullopt;
    }
    return status;
}

bool ChildProcess::isRunning()
{
    return pid > 0 && !reap(false);
}

void ChildProcess::kill()
{
    if (isRunning()) {
        ::kill(pid, SIGKILL);
        reap(true);
    }
}

std::string ChildProcess::standardOutput() const
{
    return readWholeFile(outputPath);
}

std::string ChildProcess::standardError() const
{
    return readWholeFile(errorPath);
}
