// The Windows program file carries its icon and its manifest, read back
// with icoutils as any resource viewer would read them, and its header
// asks Windows for ASLR and DEP and holds no build time, as binutils'
// objdump reads it.
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

// Windows maps a program anywhere in the 64-bit address space only when
// it asks for ASLR with high entropy and keeps the relocations to move it.
TEST(ProgramHeader, AsksForAslrAndDepAndHoldsNoBuildTime)
{
    // objdump prints the header's time in the local zone
    const std::string header =
        outputOf({"env", "TZ=UTC", "x86_64-w64-mingw32-objdump", "-p", BRINDLEMOOR_WINDOWS_PROGRAM});
    const size_t flags = header.find("DllCharacteristics");
    const size_t flagsEnd = header.find("SizeOfStackReserve");
    ASSERT_LT(flags, flagsEnd) << header;
    const std::string dllCharacteristics = header.substr(flags, flagsEnd - flags);
    for (const char* flag : {"HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT"}) {
        EXPECT_NE(dllCharacteristics.find(flag), std::string::npos) << flag << " in " << dllCharacteristics;
    }
    EXPECT_EQ(header.find("relocations stripped"), std::string::npos);
    EXPECT_NE(header.find("PE File Base Relocations"), std::string::npos) << "no relocations";
    // a time field of 0
    EXPECT_NE(header.find("Time/Date\t\tThu Jan  1 00:00:00 1970"), std::string::npos) << header;
}

} // namespace
