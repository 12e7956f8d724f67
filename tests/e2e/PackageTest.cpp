// The packages as a user gets them: each unpacked into an empty folder and
// run from there on its own host. The window opens, the yard is drawn with
// every image found, and Escape ends the program with 27.
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

namespace {

constexpr int toolTimeoutMs = 120000; // lintian reads the whole package
constexpr int escapeCode = 0x1B;
const std::filesystem::path packages = BRINDLEMOOR_PACKAGES;

// Runs a tool to its end; a failure naming it when it fails.
void run(const std::vector<std::string>& arguments)
{
    const SpawnedProcess::Outcome outcome = SpawnedProcess::run(arguments, toolTimeoutMs);
    std::string command;
    for (const std::string& argument : arguments) {
        command += argument + " ";
    }
    EXPECT_TRUE(outcome.succeeded) << command << "failed:\n" << outcome.output;
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

// The launcher is started from the session's empty folder, as from a
// terminal somewhere else: it must find the data by its own place.
ProgramSession::Options launchedFrom(const std::filesystem::path& launcher)
{
    ProgramSession::Options options;
    options.program = launcher;
    options.layOut = nullptr;
    return options;
}

TEST(LinuxPackages, DebPassesLintianAndRunsUnpackedFromAnotherFolder)
{
    const std::string deb = (packages / BRINDLEMOOR_DEB).string();
    run({"lintian", "--fail-on", "error", deb});
    TempDirectory unpacked;
    run({"dpkg-deb", "-x", deb, unpacked.path().string()});
    run({"desktop-file-validate", (unpacked.path() / "usr/share/applications/brindlemoor.desktop").string()});
    EXPECT_TRUE(
        std::filesystem::exists(unpacked.path() / "usr/share/icons/hicolor/256x256/apps/brindlemoor.png"));
    expectRunsAsShipped(launchedFrom(unpacked.path() / "usr/bin/brindlemoor"));
}

TEST(LinuxPackages, TarballRunsUnpackedFromAnotherFolder)
{
    TempDirectory unpacked;
    run({"tar", "-xzf", (packages / (BRINDLEMOOR_TARBALL ".tar.gz")).string(), "-C",
         unpacked.path().string()});
    expectRunsAsShipped(launchedFrom(unpacked.path() / BRINDLEMOOR_TARBALL / "bin/brindlemoor"));
}

#endif

} // namespace
