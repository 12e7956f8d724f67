// The Windows program file carries its icon and its manifest, read back
// with icoutils as any resource viewer would read them.
#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"

#include <gtest/gtest.h>

namespace {

constexpr int toolTimeoutMs = 20000;

// What a tool printed, or nothing, and a failure, if it failed.
std::string outputOf(const std::vector<std::string>& arguments)
{
    const SpawnedProcess::Outcome outcome = SpawnedProcess::run(arguments, toolTimeoutMs);
    if (!outcome.succeeded) {
        ADD_FAILURE() << arguments[0] << " failed: " << outcome.output;
        return {};
    }
    return outcome.output;
}

TEST(ProgramResources, IconGroup101HoldsOne64By64ImageOf32Bits)
{
    TempDirectory scratch;
    const std::string icon = scratch.pathOf("101.ico");
    outputOf({"wrestool", "--extract", "--type=group_icon", "--name=101", "--output=" + icon,
              BRINDLEMOOR_WINDOWS_PROGRAM});
    EXPECT_EQ(outputOf({"icotool", "--list", icon}),
              "--icon --index=1 --width=64 --height=64 --bit-depth=32 --palette-size=0\n");
}

TEST(ProgramResources, ManifestAsksToRunAsInvokerWithoutUiAccess)
{
    const std::string manifest =
        outputOf({"wrestool", "--extract", "--raw", "--type=24", "--name=1", BRINDLEMOOR_WINDOWS_PROGRAM});
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\""),
              std::string::npos)
        << manifest;
}

TEST(ProgramResources, VersionResourceCarriesTheProjectVersionAndTheProductsName)
{
    const std::string resource =
        outputOf({"wrestool", "--extract", "--raw", "--type=16", "--name=1", BRINDLEMOOR_WINDOWS_PROGRAM});
    // The strings are UTF-16 with the padding between a name and its value
    // all zeros: without the zero bytes each pair reads as one word.
    std::string text;
    for (const char c : resource) {
        if (c != '\0') {
            text += c;
        }
    }
    for (const std::string pair : {"FileVersion" BRINDLEMOOR_VERSION, "ProductVersion" BRINDLEMOOR_VERSION,
                                   "ProductNameBrindlemoor", "FileDescriptionBrindlemoor: "}) {
        EXPECT_NE(text.find(pair), std::string::npos) << pair << " in " << text;
    }
}

} // namespace
