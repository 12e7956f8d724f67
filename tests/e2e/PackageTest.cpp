// The packages as a user gets them: each unpacked, or installed, into an
// empty place and run from there on its own host. The window opens, the
// yard is drawn with every image found, and Escape ends the program with
// 27. What distributions check of a package is checked with their tools.
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

constexpr int toolTimeoutMs = 120000; // lintian reads the whole package
constexpr int escapeCode = 0x1B;
const std::filesystem::path packages = BRINDLEMOOR_PACKAGES;

// Runs a tool to its end and gives what it printed; a failure naming it
// when it fails.
std::string run(const std::vector<std::string>& arguments)
{
    const SpawnedProcess::Outcome outcome = SpawnedProcess::run(arguments, toolTimeoutMs);
    std::string command;
    for (const std::string& argument : arguments) {
        command += argument + " ";
    }
    EXPECT_TRUE(outcome.succeeded) << command << "failed:\n" << outcome.output;
    return outcome.output;
}

void expectRunsAsShipped(const ProgramSession::Options& options)
{
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    const DisplayDriver::Image frame = session.captureSettled();
    EXPECT_GT(shareNotColour(frame, 0, frame.height * 3 / 4, frame.width, frame.height, 0, 0, 0), 0.9)
        << "no yard below the horizon";
    EXPECT_EQ(session.holdUntilExit(XK_Escape), std::optional<int>(escapeCode));
    EXPECT_EQ(session.standardOutput().find("SOIL loading error"), std::string::npos)
        << session.standardOutput();
}

#ifdef BRINDLEMOOR_TESTED_ON_WINDOWS

constexpr int wineTimeoutMs = 60000;
const std::string zip = (packages / (BRINDLEMOOR_ZIP ".zip")).string();
const std::string installer = (packages / (BRINDLEMOOR_INSTALLER ".exe")).string();
constexpr const char* shortcut = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Brindlemoor.lnk";
constexpr const char* uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brindlemoor";

// Where Wine keeps the prefix's drive C, as its dosdevices link names it.
std::filesystem::path driveC(const WinePrefix& prefix)
{
    return std::filesystem::canonical(prefix.folder() / "dosdevices/c:");
}

// Where Wine keeps a path on drive C.
std::filesystem::path unixPathOf(const WinePrefix& prefix, std::string windowsPath)
{
    std::replace(windowsPath.begin(), windowsPath.end(), '\\', '/');
    return driveC(prefix) / windowsPath.substr(std::string("C:/").size());
}

// A field of lnkinfo's report on a shortcut, e.g. "Local path".
std::string shortcutField(const std::string& report, const std::string& name)
{
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find_first_not_of(" \t");
        const size_t colon = line.find(": ");
        if (start != std::string::npos && line.compare(start, name.size(), name) == 0 &&
            colon != std::string::npos) {
            // Newer lnkinfo (Debian 13's) escapes each backslash; older
            // (Debian 12's) prints the path as stored.
            std::string value = line.substr(colon + 2);
            for (size_t at = value.find("\\\\"); at != std::string::npos; at = value.find("\\\\", at + 1)) {
                value.erase(at, 1);
            }
            return value;
        }
    }
    return {};
}

// Every file and folder under a folder, relative to it.
std::set<std::string> pathsUnder(const std::filesystem::path& folder)
{
    std::set<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        paths.insert(entry.path().lexically_relative(folder).string());
    }
    return paths;
}

// The registry keys, in every hive file of the prefix, whose name or values
// name Brindlemoor, each with its values as Wine writes them.
std::map<std::string, std::vector<std::string>> keysNamingBrindlemoor(const WinePrefix& prefix)
{
    const auto names = [](std::string line) {
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return line.find("brindlemoor") != std::string::npos;
    };
    std::map<std::string, std::vector<std::string>> keys;
    for (const char* hive : {"system.reg", "user.reg", "userdef.reg"}) {
        std::istringstream lines(TempDirectory::read(prefix.folder() / hive));
        std::string key;
        std::vector<std::string> values;
        bool named = false;
        const auto keep = [&] {
            if (named) {
                keys[key] = values;
            }
        };
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind('[', 0) == 0) {
                keep();
                // names are written with each backslash doubled
                key = std::regex_replace(line.substr(1, line.find(']') - 1), std::regex(R"(\\\\)"), "\\");
                values.clear();
                named = names(key);
            } else if (line.rfind('"', 0) == 0) {
                values.push_back(line);
                named = named || names(line);
            }
        }
        keep();
    }
    return keys;
}

// Explorer starts a program in its own folder: the unpacked folder is the
// working folder. The program's header holds the time the zip dates its
// files (the commit's), not the time it was packed.
TEST(WindowsZip, RunsInTheFolderItUnpacksTo)
{
    TempDirectory unpacked;
    run({"unzip", "-q", zip, "-d", unpacked.path().string()});
    const std::filesystem::path folder = unpacked.path() / BRINDLEMOOR_ZIP;
    for (const char* shipped : {"README.txt", "LICENSE.txt", "licences/fast_float.txt", "mdl", "img"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / shipped)) << shipped;
    }
    const std::string program = (folder / "brindlemoor.exe").string();
    // both in the format of ctime(3)
    const std::string header =
        run({"env", "TZ=UTC", "LC_ALL=C", "x86_64-w64-mingw32-objdump", "-p", program});
    const std::string zipDate = run({"env", "TZ=UTC", "LC_ALL=C", "date", "-r", program, "+%a %b %e %T %Y"});
    EXPECT_NE(header.find("Time/Date\t\t" + zipDate), std::string::npos) << "zipped " << zipDate << header;
    ProgramSession::Options options;
    options.host = ProgramHost::Windows;
    options.program = program;
    options.workingFolder = folder;
    expectRunsAsShipped(options);
}

// A fresh machine: the installer run silently into Program Files writes the
// zip's files, the uninstaller, one shortcut and the uninstall entry, and
// nothing else, its program the very one the zip holds; the program
// starts from the shortcut as the Start menu starts it; the uninstaller,
// run as "Apps & features" runs it, takes all of that away again.
TEST(WindowsInstaller, InstallsTheZipsFilesRunsFromItsShortcutAndUninstallsWithoutATrace)
{
    TempDirectory scratch;
    WinePrefix prefix(scratch.path() / "wine");
    ASSERT_EQ(prefix.failure(), "");
    const std::set<std::string> before = pathsUnder(driveC(prefix));
    ASSERT_TRUE(
        prefix.runUntilIdle({"wine", installer, "/S", "/D=C:\\Program Files\\Brindlemoor"}, wineTimeoutMs)
            .succeeded);

    std::set<std::string> expected = {"Program Files/Brindlemoor", "Program Files/Brindlemoor/Uninstall.exe",
                                      "ProgramData/Microsoft/Windows/Start Menu/Programs/Brindlemoor.lnk"};
    std::istringstream zipped(run({"unzip", "-Z1", zip}));
    for (std::string entry; std::getline(zipped, entry);) {
        entry = entry.substr(entry.find('/') + 1);
        if (!entry.empty() && entry.back() == '/') {
            entry.pop_back();
        }
        if (!entry.empty()) {
            expected.insert("Program Files/Brindlemoor/" + entry);
        }
    }
    std::set<std::string> added;
    const std::set<std::string> after = pathsUnder(driveC(prefix));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(added, added.end()));
    EXPECT_EQ(added, expected);
    EXPECT_TRUE(TempDirectory::read(driveC(prefix) / "Program Files/Brindlemoor/brindlemoor.exe") ==
                run({"unzip", "-p", zip, BRINDLEMOOR_ZIP "/brindlemoor.exe"}))
        << "the installer's program is not the zip's";

    const auto keys = keysNamingBrindlemoor(prefix);
    ASSERT_EQ(keys.size(), 1u) << "registry keys naming Brindlemoor";
    ASSERT_EQ(keys.begin()->first, uninstallKey);
    const std::vector<std::string>& values = keys.begin()->second;
    for (const std::string value :
         {R"("DisplayName"="Brindlemoor")", R"("DisplayVersion"=")" BRINDLEMOOR_VERSION R"(")",
          R"("Publisher"="The Brindlemoor developers")",
          R"("DisplayIcon"="C:\\Program Files\\Brindlemoor\\brindlemoor.exe,0")",
          R"("UninstallString"="\"C:\\Program Files\\Brindlemoor\\Uninstall.exe\"")"}) {
        EXPECT_NE(std::find(values.begin(), values.end(), value), values.end()) << value;
    }

    const std::string link = run({"lnkinfo", unixPathOf(prefix, shortcut).string()});
    const std::string target = shortcutField(link, "Local path");
    const std::string workingFolder = shortcutField(link, "Working directory");
    ASSERT_EQ(target, "C:\\Program Files\\Brindlemoor\\brindlemoor.exe");
    ASSERT_EQ(workingFolder, "C:\\Program Files\\Brindlemoor");
    ProgramSession::Options options;
    options.host = ProgramHost::Windows;
    options.winePrefix = &prefix;
    options.program = unixPathOf(prefix, target);
    options.workingFolder = unixPathOf(prefix, workingFolder);
    options.layOut = nullptr;
    expectRunsAsShipped(options);

    EXPECT_TRUE(
        prefix.runUntilIdle({"wine", "C:\\Program Files\\Brindlemoor\\Uninstall.exe", "/S"}, wineTimeoutMs)
            .succeeded);
    for (const std::string& path : added) {
        EXPECT_FALSE(std::filesystem::exists(driveC(prefix) / path)) << path << " is left";
    }
    EXPECT_TRUE(keysNamingBrindlemoor(prefix).empty()) << "registry keys naming Brindlemoor are left";
}

// Whatever a user keeps in the install folder, beside the program's files
// or among them, stays, and so do the folders that hold it.
TEST(WindowsInstaller, UninstallingLeavesWhatTheUserKeptInTheFolder)
{
    TempDirectory scratch;
    WinePrefix prefix(scratch.path() / "wine");
    ASSERT_EQ(prefix.failure(), "");
    const std::filesystem::path folder = unixPathOf(prefix, "C:\\Games\\Brindlemoor");
    std::filesystem::create_directories(folder / "img");
    std::ofstream(folder / "notes.txt") << "the user's own\n";
    std::ofstream(folder / "img" / "holiday.png") << "the user's own\n";
    ASSERT_TRUE(
        prefix.runUntilIdle({"wine", installer, "/S", "/D=C:\\Games\\Brindlemoor"}, wineTimeoutMs).succeeded);
    ASSERT_TRUE(std::filesystem::exists(folder / "brindlemoor.exe"));

    EXPECT_TRUE(prefix.runUntilIdle({"wine", "C:\\Games\\Brindlemoor\\Uninstall.exe", "/S"}, wineTimeoutMs)
                    .succeeded);
    ASSERT_TRUE(std::filesystem::exists(folder)) << "the folder went, and what the user kept in it";
    EXPECT_EQ(pathsUnder(folder), (std::set<std::string>{"img", "img/holiday.png", "notes.txt"}));
    EXPECT_EQ(TempDirectory::read(folder / "notes.txt"), "the user's own\n");
    EXPECT_EQ(TempDirectory::read(folder / "img" / "holiday.png"), "the user's own\n");
}

#else

const std::string deb = (packages / BRINDLEMOOR_DEB).string();

// The launcher is started from the session's empty folder, as from a
// terminal somewhere else: it must find the data by its own place.
ProgramSession::Options launchedFrom(const std::filesystem::path& launcher)
{
    ProgramSession::Options options;
    options.program = launcher;
    options.layOut = nullptr;
    return options;
}

// What Debian checks of a source package and its binaries, and of what a
// desktop and a software centre read from the .deb; then the program
// itself, hardened as Debian builds it.
TEST(LinuxPackages, DebianPackagesPassDebiansChecksAndTheDebRunsUnpacked)
{
    run({"lintian", "--fail-on", "error,warning", (packages / BRINDLEMOOR_CHANGES).string()});
    TempDirectory unpacked;
    run({"dpkg-deb", "-x", deb, unpacked.path().string()});
    const std::filesystem::path share = unpacked.path() / "usr/share";
    run({"desktop-file-validate", (share / "applications/brindlemoor.desktop").string()});
    run({"appstreamcli", "validate", "--no-net", (share / "metainfo" / BRINDLEMOOR_METAINFO).string()});
    EXPECT_TRUE(std::filesystem::exists(share / "icons/hicolor/256x256/apps/brindlemoor.png"));
    // Control flow integrity (CET) is left out: Debian 12's C start-up
    // files lack it, so no program linked on Debian 12 has it. Branch
    // protection is an ARM feature, yet Debian 13's hardening-check asks
    // for it everywhere unless told not to (Debian 12's knows no such check).
    std::vector<std::string> check = {"hardening-check", "--nocfprotection"};
    #if !defined(__aarch64__) && !defined(__arm__)
    if (SpawnedProcess::run({"hardening-check", "--help"}, toolTimeoutMs)
            .output.find("--nobranchprotection") != std::string::npos) {
        check.push_back("--nobranchprotection");
    }
    #endif
    check.push_back((unpacked.path() / "usr/libexec/brindlemoor/brindlemoor").string());
    run(check);
    expectRunsAsShipped(launchedFrom(unpacked.path() / "usr/bin/brindlemoor"));
}

// The release software centres show is the one the changelogs name, and
// the Debian package's version is the project's with a Debian revision.
TEST(LinuxPackages, MetainfoNamesTheReleaseTheChangelogsDo)
{
    TempDirectory unpacked;
    run({"dpkg-deb", "-x", deb, unpacked.path().string()});
    const std::string changelog = unpacked.write(
        "changelog", run({"zcat", (unpacked.path() / "usr/share/doc/brindlemoor/changelog.gz").string()}));
    const std::string version = run({"dpkg-parsechangelog", "-l", changelog, "-S", "Version"});
    const std::time_t timestamp = std::stol(run({"dpkg-parsechangelog", "-l", changelog, "-S", "Timestamp"}));
    char date[11] = {};
    std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&timestamp));
    EXPECT_EQ(version, BRINDLEMOOR_VERSION "\n");

    std::smatch release;
    const std::string metainfo =
        TempDirectory::read(unpacked.path() / "usr/share/metainfo" / BRINDLEMOOR_METAINFO);
    ASSERT_TRUE(
        std::regex_search(metainfo, release, std::regex(R"re(<release version="([^"]+)" date="([^"]+)")re")));
    EXPECT_EQ(release[1].str() + "\n", version);
    EXPECT_EQ(release[2].str(), date);
    EXPECT_EQ(std::string(BRINDLEMOOR_DEBIAN_VERSION).rfind(BRINDLEMOOR_VERSION "-", 0), 0u)
        << BRINDLEMOOR_DEBIAN_VERSION;
}

TEST(LinuxPackages, TarballRunsUnpackedFromAnotherFolder)
{
    TempDirectory unpacked;
    run({"tar", "-xzf", (packages / (BRINDLEMOOR_TARBALL ".tar.gz")).string(), "-C",
         unpacked.path().string()});
    const std::filesystem::path tree = unpacked.path() / BRINDLEMOOR_TARBALL;
    EXPECT_TRUE(std::filesystem::exists(tree / "share/metainfo" / BRINDLEMOOR_METAINFO));
    expectRunsAsShipped(launchedFrom(tree / "bin/brindlemoor"));
}

#endif

} // namespace
