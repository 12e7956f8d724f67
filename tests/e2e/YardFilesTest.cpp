// The program with missing and spoiled files in its working folder: it
// says what it could not read, draws what it could, and goes on.
#include "harness/ImageFiles.h"
#include "harness/YardTrace.h"
#include "tests/e2e/TestedHost.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <fstream>
#include <map>

namespace {

constexpr int boxTimeoutMs = 20000;
constexpr int walkFrames = 8;
constexpr int escapeCode = 0x1B;

const std::string missingReason = "SOIL loading error: 'cannot open the file'";
const std::string corruptReason = "SOIL loading error: 'not a PNG or JPEG image'";

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void truncateFile(const std::filesystem::path& path, double keptShare)
{
    const auto size = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, static_cast<uintmax_t>(double(size) * keptShare));
}

// every file below a folder with its bytes
std::map<std::filesystem::path, std::string> contentsOf(const std::filesystem::path& folder)
{
    std::map<std::filesystem::path, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        contents[entry.path()] = entry.is_regular_file() ? TempDirectory::read(entry.path()) : std::string();
    }
    return contents;
}

// Keeps only the lines of a file that do not start with `prefix`.
void dropLines(const std::filesystem::path& path, const std::string& prefix)
{
    std::ifstream in(path, std::ios::binary);
    std::string kept;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) != 0) {
            kept += line + "\n";
        }
    }
    in.close();
    writeFile(path, kept);
}

ProgramSession::Options sessionWith(std::function<void(const std::filesystem::path&)> spoil)
{
    ProgramSession::Options options;
    options.host = testedHost;
    options.layOut = [spoil](const std::filesystem::path& folder) {
        ProgramSession::copyProjectFiles(folder);
        spoil(folder);
    };
    return options;
}

// the ground below the horizon is lit, textured or not
bool showsTheYard(const DisplayDriver::Image& frame)
{
    return shareNotColour(frame, 0, frame.height * 3 / 4, frame.width, frame.height, 0, 0, 0) > 0.9;
}

// The model's box shows and goes with Return; then the yard is drawn, W
// walks, and closing ends with 0.
void expectModelBoxThenTheProgramGoesOn(ProgramSession& session)
{
    EXPECT_NE(session.errorBoxText(boxTimeoutMs).find("Model failed to load"), std::string::npos);
    ASSERT_TRUE(session.dismissErrorBox(boxTimeoutMs)) << "no box for the model";
    ASSERT_TRUE(session.driver().focus(session.window()));
    const DisplayDriver::Image before = session.captureSettled();
    EXPECT_TRUE(showsTheYard(before));
    session.holdKey(XK_w, walkFrames);
    EXPECT_GT(differingShare(before, session.captureSettled()), 0.02);
    EXPECT_EQ(session.close(), std::optional<int>(0));
}

TEST(YardFiles, MissingWallImagePrintsOneLineAndDrawsPlainWalls)
{
    ProgramSession::Options options = sessionWith([](const std::filesystem::path& folder) {
        std::filesystem::remove(folder / "img" / "wall.png");
        ProgramSession::writeOneTriangleCar(folder);
    });
    options.traced = true;
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    EXPECT_TRUE(showsTheYard(session.captureSettled()));
    ASSERT_EQ(session.close(), std::optional<int>(0));

    EXPECT_EQ(linesOf(session.standardOutput()), std::vector<std::string>{missingReason});
    const YardTrace::BuiltScene built = YardTrace::builtScene(session.recordedCalls());
    ASSERT_EQ(built.listTextures.size(), 7u);
    for (size_t i = 0; i < built.listTextures.size(); ++i) {
        // the walls' list, second built, binds no texture
        EXPECT_EQ(built.listTextures[i] == 0.0, i == 1) << "list " << i;
    }
}

TEST(YardFiles, EveryImageUnreadablePrintsNineLinesInLoadOrderAndStillDrawsTheYard)
{
    // Missing and corrupt files alternate in load order, so the reasons show
    // the order: rust, sphereTex, Grass, wall, skybox, container2 twice,
    // container twice.
    ProgramSession session(sessionWith([](const std::filesystem::path& folder) {
        std::filesystem::remove(folder / "img" / "rust.png");
        writeFile(folder / "img" / "sphereTex.jpg", "not a picture");
        std::filesystem::remove(folder / "img" / "Grass.jpg");
        writeFile(folder / "img" / "wall.png", "");
        std::filesystem::remove(folder / "img" / "skybox.png");
        writeFile(folder / "img" / "container2.png", std::string(64, '\x7f'));
        std::filesystem::remove(folder / "img" / "container.png");
    }));
    ASSERT_EQ(session.failure(), "");
    const DisplayDriver::Image frame = session.captureSettled();
    ASSERT_EQ(session.close(), std::optional<int>(0));

    EXPECT_EQ(
        linesOf(session.standardOutput()),
        (std::vector<std::string>{missingReason, corruptReason, missingReason, corruptReason, missingReason,
                                  corruptReason, corruptReason, missingReason, missingReason}));
    EXPECT_TRUE(showsTheYard(frame)) << "untextured, the yard should still be lit";
}

TEST(YardFiles, CraftedImagesEachPrintTheirReasonWhileAProgressiveJpegAndAPngCalledJpgLoad)
{
    // The first three crashed or exhausted the decoder SOIL carries.
    const TempDirectory folder;
    ProgramSession::copyProjectFiles(folder.path());
    const std::filesystem::path img = folder.path() / "img";
    writeFile(img / "rust.png", ImageFiles::zerosPng(30000, 30000, 1000));
    writeFile(img / "wall.png", ImageFiles::brokenDeflatePng());
    writeFile(img / "skybox.png", ImageFiles::radianceHdr());
    const std::string progressive = ImageFiles::progressive(TempDirectory::read(img / "Grass.jpg"));
    ASSERT_NE(progressive, "") << "jpegtran failed";
    writeFile(img / "Grass.jpg", progressive);
    writeFile(img / "sphereTex.jpg", ImageFiles::png(64, 32, 3, ImageFiles::pattern(64, 32, 3)));
    const auto laidOut = contentsOf(folder.path());

    ProgramSession::Options options;
    options.host = testedHost;
    options.workingFolder = folder.path();
    ProgramSession session(options);
    ASSERT_EQ(session.failure(), "");
    EXPECT_TRUE(showsTheYard(session.captureSettled()));
    EXPECT_EQ(session.holdUntilExit(XK_Escape), std::optional<int>(escapeCode));

    EXPECT_EQ(linesOf(session.standardOutput()),
              (std::vector<std::string>{
                  "SOIL loading error: 'image too large: 30000 x 30000 (at most 4096 x 4096)'",
                  "SOIL loading error: 'corrupt PNG'", corruptReason}));
    EXPECT_TRUE(contentsOf(folder.path()) == laidOut) << "the working folder changed";
}

TEST(YardFiles, MissingModelShowsItsBoxAndTheProgramGoesOn)
{
    ProgramSession session(sessionWith([](const std::filesystem::path& folder) {
        std::filesystem::remove(folder / "mdl" / "smallSphere.obj");
    }));
    ASSERT_EQ(session.failure(), "");
    expectModelBoxThenTheProgramGoesOn(session);
}

TEST(YardFiles, SpoiledImagesAndAModelNamingMissingNormalsNeverCrashTheProgram)
{
    ProgramSession session(sessionWith([](const std::filesystem::path& folder) {
        truncateFile(folder / "img" / "container.png", 0.5);
        truncateFile(folder / "img" / "Grass.jpg", 0.3);
        std::string noise(4096, '\0');
        for (size_t i = 0; i < noise.size(); ++i) {
            noise[i] = char((i * 2654435761u) >> 13);
        }
        writeFile(folder / "img" / "skybox.png", "\x89PNG\r\n\x1a\n" + noise);
        // every face of the car names normals the file no longer has
        dropLines(folder / "mdl" / "car_scrap.obj", "vn ");
    }));
    ASSERT_EQ(session.failure(), "");
    expectModelBoxThenTheProgramGoesOn(session);
}

} // namespace
