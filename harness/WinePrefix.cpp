#include "harness/WinePrefix.h"

#include "harness/SpawnedProcess.h"

namespace {
constexpr int serverTimeoutMs = 10000;
// Files this large are Wine's program files, which it only ever reads: they
// are shared with the template. Wine rewrites its registry files whole.
constexpr std::uintmax_t sharedFileBytes = 64 * 1024;

// A home of the prefix's own, beside it: Wine links the prefix's document
// folders to the home it is given, and caches there, and the user's own is
// none of a test's business.
std::vector<std::pair<std::string, std::string>> wineEnvironment(const std::filesystem::path& prefix,
                                                                 const std::string& displayName)
{
    const std::filesystem::path home = prefix.string() + "-home";
    std::error_code ignored;
    std::filesystem::create_directories(home, ignored);
    // No Mono or Gecko: nothing asks to download them.
    return {{"WINEPREFIX", prefix.string()},
            {"HOME", home.string()},
            {"WINEDEBUG", "-all"},
            {"WINEDLLOVERRIDES", "mscoree,mshtml="},
            {"DISPLAY", displayName}};
}

bool runWine(const std::vector<std::string>& arguments,
             const std::vector<std::pair<std::string, std::string>>& environment, int timeoutMs)
{
    SpawnedProcess::Options options;
    options.environment = environment;
    SpawnedProcess process(arguments, options);
    int status = 0;
    return process.waitForExit(timeoutMs, status) && status == 0;
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

WinePrefix::WinePrefix(const std::filesystem::path& prefixFolder, const std::string& displayName)
    : variables(wineEnvironment(prefixFolder, displayName))
{
#ifdef BRINDLEMOOR_WINE_TEMPLATE
    if (!std::filesystem::exists(std::filesystem::path(BRINDLEMOOR_WINE_TEMPLATE) / "system.reg")) {
        failureText = "no Wine prefix in " BRINDLEMOOR_WINE_TEMPLATE " (build the wine_prefix target)";
        return;
    }
    try {
        shareTemplate(BRINDLEMOOR_WINE_TEMPLATE, prefixFolder);
    } catch (const std::filesystem::filesystem_error& error) {
        failureText = std::string("cannot make the session's Wine prefix: ") + error.what();
    }
#else
    failureText = "this build has no Windows program (configure with BRINDLEMOOR_WINDOWS_TESTS=ON)";
#endif
}

WinePrefix::~WinePrefix()
{
    if (failureText.empty()) {
        // SIGKILL: the program has ended or failed by now; what is left is
        // Wine's own services, which a gentler signal waits seconds on.
        runWine({"wineserver", "-k9"}, variables, serverTimeoutMs);
        runWine({"wineserver", "-w"}, variables, serverTimeoutMs);
    }
}
