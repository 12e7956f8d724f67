#include "harness/WinePrefix.h"

#include "harness/TempDirectory.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {
constexpr auto endWait = std::chrono::seconds(5); // for the killed processes to be gone
constexpr auto endPoll = std::chrono::milliseconds(5);
// Files this large are Wine's program files, which it only ever reads: they
// are shared with the template. Wine rewrites its registry files whole.
constexpr std::uintmax_t sharedFileBytes = 64 * 1024;
// the prefix every session's is made from; none in a build without the
// Windows program
#ifdef BRINDLEMOOR_WINE_TEMPLATE
constexpr const char* templateFolder = BRINDLEMOOR_WINE_TEMPLATE;
#else
constexpr const char* templateFolder = nullptr;
#endif

// A home of the prefix's own, beside it: Wine links the prefix's document
// folders to the home it is given, and caches there, and the user's own is
// none of a test's business.
std::filesystem::path homeOf(const std::filesystem::path& prefix)
{
    return prefix.string() + "-home";
}

// Every process of the prefix: the program, the wineserver and Wine's
// services, all of which Wine starts with WINEPREFIX as it was given.
std::vector<pid_t> processesOf(const std::string& prefixVariable)
{
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string environment = TempDirectory::read(entry.path() / "environ");
        if (environment.find('\0' + prefixVariable + '\0') != std::string::npos ||
            environment.rfind(prefixVariable + '\0', 0) == 0) {
            found.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return found;
}

// A process that has ended but is not yet reaped is gone for this purpose.
bool isRunning(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/stat");
    std::string fields;
    std::getline(status, fields);
    const size_t state = fields.rfind(')');
    return state != std::string::npos && state + 2 < fields.size() && fields[state + 2] != 'Z';
}

void shareTemplate(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(from)) {
        const std::filesystem::path target = to / entry.path().lexically_relative(from);
        if (entry.is_symlink()) {
            std::filesystem::copy_symlink(entry.path(), target);
        } else if (entry.is_directory()) {
            std::filesystem::create_directory(target);
        } else if (entry.file_size() >= sharedFileBytes && entry.path().extension() != ".reg") {
            std::filesystem::create_hard_link(entry.path(), target);
        } else {
            std::filesystem::copy_file(entry.path(), target);
        }
    }
}
}

WinePrefix::WinePrefix(const std::filesystem::path& prefixFolder) : prefix(prefixFolder)
{
    if (templateFolder == nullptr) {
        failureText = "this build has no Windows program (configure with BRINDLEMOOR_WINDOWS_TESTS=ON)";
        return;
    }
    if (!std::filesystem::exists(std::filesystem::path(templateFolder) / "system.reg")) {
        failureText = std::string("no Wine prefix in ") + templateFolder + " (build the wine_prefix target)";
        return;
    }
    try {
        shareTemplate(templateFolder, prefixFolder);
        std::filesystem::create_directories(homeOf(prefixFolder));
    } catch (const std::filesystem::filesystem_error& error) {
        failureText = std::string("cannot make the session's Wine prefix: ") + error.what();
    }
}

WinePrefix::~WinePrefix()
{
    endProcesses();
}

std::vector<std::pair<std::string, std::string>> WinePrefix::environment(const std::string& displayName) const
{
    // No Mono or Gecko: nothing asks to download them. No menu entries on
    // the host for the shortcuts an installer makes.
    std::vector<std::pair<std::string, std::string>> variables = {
        {"WINEPREFIX", prefix.string()},
        {"HOME", homeOf(prefix).string()},
        {"WINEDEBUG", "-all"},
        {"WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d"}};
    if (!displayName.empty()) {
        variables.emplace_back("DISPLAY", displayName);
    }
    return variables;
}

SpawnedProcess::Outcome WinePrefix::runUntilIdle(const std::vector<std::string>& arguments,
                                                 int timeoutMs) const
{
    SpawnedProcess::Options options;
    options.environment = environment("");
    options.unsetEnvironment = {"DISPLAY"};
    const SpawnedProcess::Outcome outcome = SpawnedProcess::run(arguments, timeoutMs, options);
    // the server ends once the last process has, and writes the registry
    SpawnedProcess::run({"wineserver", "-w"}, timeoutMs, options);
    return outcome;
}

void WinePrefix::endProcesses()
{
    // The program has ended or failed by now; what is left is Wine's own
    // services, which would take their time going once the program has, and
    // which `wineserver -k` waits on for most of a second.
    const std::vector<pid_t> processes = processesOf("WINEPREFIX=" + prefix.string());
    for (const pid_t pid : processes) {
        kill(pid, SIGKILL);
    }
    const auto deadline = std::chrono::steady_clock::now() + endWait;
    for (const pid_t pid : processes) {
        while (isRunning(pid) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(endPoll);
        }
    }
}
