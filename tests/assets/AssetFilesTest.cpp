#include "AssetSet.h"
#include "harness/TempDirectory.h"

#include <SOIL.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> imagePaths()
{
    std::vector<std::string> images;
    for (const std::string& path : AssetSet::paths()) {
        if (path.rfind("img/", 0) == 0) {
            images.push_back(path);
        }
    }
    return images;
}

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

}

TEST(AssetFiles, CommittedFilesAreWhatTheGeneratorWritesToday)
{
    TempDirectory scratch;
    ASSERT_FALSE(scratch.path().empty());
    for (const std::string& path : AssetSet::paths()) {
        std::string error;
        ASSERT_TRUE(AssetSet::write(scratch.path().string(), path, error)) << error;
        const std::vector<uint8_t> committed = readBytes(path);
        const std::vector<uint8_t> generated = readBytes(scratch.path() / path);
        EXPECT_FALSE(generated.empty()) << path;
        EXPECT_TRUE(committed == generated)
            << path << " differs from what tools/assetgen writes (" << committed.size()
            << " committed bytes, " << generated.size()
            << " generated): run build/tools/assetgen/assetgen from the repository root";
    }
}

TEST(AssetFiles, GeneratorKnowsEveryFileTheProgramReads)
{
    const std::vector<std::string> expected = {
        "img/rust.png",      "img/sphereTex.jpg", "img/Grass.jpg",
        "img/wall.png",      "img/skybox.png",    "img/container2.png",
        "img/container.png", "mdl/car_scrap.obj", "mdl/smallSphere.obj"};
    const std::vector<std::string> paths = AssetSet::paths();
    for (const std::string& path : expected) {
        EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end()) << path;
    }
    EXPECT_TRUE(AssetSet::generate("img/none.png").empty());
}

TEST(AssetFiles, EveryImageDecodesWithSoilToPowerOfTwoRgb)
{
    for (const std::string& path : imagePaths()) {
        int width = 0;
        int height = 0;
        int channels = 0;
        unsigned char* data = SOIL_load_image(path.c_str(), &width, &height, &channels, SOIL_LOAD_AUTO);
        ASSERT_NE(data, nullptr) << path << ": " << SOIL_last_result();
        SOIL_free_image_data(data);
        EXPECT_TRUE(isPowerOfTwo(width) && isPowerOfTwo(height))
            << path << " is " << width << " x " << height;
        EXPECT_EQ(channels, 3) << path;
        EXPECT_GE(width, 256) << path;
        EXPECT_LE(width * height, 2048 * 2048) << path;
    }
}

TEST(AssetFiles, PngsAreEightBitRgbNotInterlacedAndJpegsBaseline)
{
    for (const std::string& path : imagePaths()) {
        const std::vector<uint8_t> bytes = readBytes(path);
        ASSERT_GT(bytes.size(), 64u) << path;
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0) {
            const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
            ASSERT_TRUE(std::equal(signature, signature + 8, bytes.begin())) << path;
            // IHDR follows the signature: bit depth, colour type, ..., interlace
            EXPECT_EQ(bytes[24], 8) << path;
            EXPECT_EQ(bytes[25], 2) << path << ": colour type should be RGB";
            EXPECT_EQ(bytes[28], 0) << path << ": interlaced";
        } else {
            ASSERT_EQ(bytes[0], 0xFF) << path;
            ASSERT_EQ(bytes[1], 0xD8) << path;
            bool baseline = false;
            bool progressive = false;
            for (size_t i = 2; i + 1 < bytes.size(); ++i) {
                baseline = baseline || (bytes[i] == 0xFF && bytes[i + 1] == 0xC0);
                progressive = progressive || (bytes[i] == 0xFF && bytes[i + 1] == 0xC2);
            }
            EXPECT_TRUE(baseline) << path;
            EXPECT_FALSE(progressive) << path;
        }
    }
}
