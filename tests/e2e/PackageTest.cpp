// The packages as a user gets them: each unpacked into an empty folder and
// run from there on its own host. The window opens, the yard is drawn with
// every image found, and Escape ends the program with 27. What
// distributions check of a package is checked with their tools.
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <ctime>
#include <fstream>
#include <regex>
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

// Explorer starts a program in its own folder: the unpacked folder is the
// working folder.
TEST(WindowsZip, RunsInTheFolderItUnpacksTo)
{
    TempDirectory unpacked;
    run({"unzip", "-q", (packages / (BRINDLEMOOR_ZIP ".zip")).string(), "-d", unpacked.path().string()});
    const std::filesystem::path folder = unpacked.path() / BRINDLEMOOR_ZIP;
    for (const char* shipped : {"README.txt", "LICENSE.txt", "licences/fast_float.txt", "mdl", "img"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / shipped)) << shipped;
    }
    ProgramSession::Options options;
    options.host = ProgramHost::Windows;
    options.program = folder / "brindlemoor.exe";
    options.workingFolder = folder;
    expectRunsAsShipped(options);
}

#else

const std::string deb = (packages / BRINDLEMOOR_DEB).string();

std::string textOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    // files lack it, so no program linked on Debian 12 has it.
    run({"hardening-check", "--nocfprotection",
         (unpacked.path() / "usr/libexec/brindlemoor/brindlemoor").string()});
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
    const std::string metainfo = textOf(unpacked.path() / "usr/share/metainfo" / BRINDLEMOOR_METAINFO);
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
