#include "AssetSet.h"
#include "geometry/DecodedImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {
// How far a committed image's decoded pixels may lie from the pixels the
// generator paints, in levels (0..255) of one channel.
struct PixelTolerance {
    int largest;      // of any channel of any pixel
    double mean;      // over every channel of every pixel
    double blockMean; // between the means of one channel over one block
};
// pixels a side of a block: a JPEG coding unit with its colour halved, the
// area whose average the encoder keeps
constexpr int blockSize = 16;
// PNG is lossless: only a float change (another compiler or libm) moves a
// pixel, flipping a rounding here and there, never a whole block
constexpr PixelTolerance pngTolerance = {8, 0.05, 1.0};
// JPEG at quality 88 loses detail within a block (on the grass today up to
// 35 levels, 4.9 on average) but keeps each block's mean (today within 0.9)
constexpr PixelTolerance jpegTolerance = {64, 8.0, 2.0};

// an OBJ number may be one step off in its last written decimal (Mesh.cpp
// writes 3 for positions and normals, 4 for texture coordinates), as a float
// change flips the rounding; half a step more absorbs the parse
struct NumberTolerance {
    const char* keyword;
    double tolerance;
};
constexpr NumberTolerance objNumberTolerances[] = {{"v", 1.5e-3}, {"vt", 1.5e-4}, {"vn", 1.5e-3}};

constexpr const char* regenerate = "run build/tools/assetgen/assetgen from the repository root to rewrite "
                                   "it, and assetgen --check to compare the bytes";

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

bool isJpeg(const std::string& path)
{
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0;
}

// an image file as the program decodes it: RGB, rows packed top row first;
// empty when it is not an RGB image, or no image at all
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    std::string failure;
};

RgbImage decode(const std::string& path)
{
    RgbImage image;
    DecodedImage decoded;
    if (!decoded.load(path.c_str(), [] { return 4096; })) {
        image.failure = decoded.getFailure();
    } else if (decoded.getChannels() != 3) {
        image.failure = std::to_string(decoded.getChannels()) + " channels";
    } else {
        image.width = decoded.getWidth();
        image.height = decoded.getHeight();
        image.rgb.assign(decoded.getPixels(), decoded.getPixels() + size_t(image.width) * image.height * 3);
    }
    return image;
}

// where `committed` lies beyond `tolerance` of the same-sized `painted`
// pixels, the first place first; empty when it is within
std::string pixelDifference(const std::vector<uint8_t>& committed, const std::vector<uint8_t>& painted,
                            int width, int height, const PixelTolerance& tolerance)
{
    const int blocksAcross = (width + blockSize - 1) / blockSize;
    const int blocksDown = (height + blockSize - 1) / blockSize;
    std::vector<long> blockSums(static_cast<size_t>(blocksAcross) * blocksDown * 3);
    std::ostringstream out;
    double total = 0.0;
    bool largestReported = false;
    for (size_t i = 0; i < painted.size(); ++i) {
        const int difference = committed[i] - painted[i];
        const int x = static_cast<int>(i / 3 % width);
        const int y = static_cast<int>(i / 3 / width);
        total += std::abs(difference);
        blockSums[(static_cast<size_t>(y / blockSize) * blocksAcross + x / blockSize) * 3 + i % 3] +=
            difference;
        if (std::abs(difference) > tolerance.largest && !largestReported) {
            out << "pixel (" << x << ", " << y << ") channel "
                << "RGB"[i % 3] << " is " << static_cast<int>(committed[i]) << ", the generator paints "
                << static_cast<int>(painted[i]) << " (up to " << tolerance.largest
                << " levels apart allowed); ";
            largestReported = true;
        }
    }
    for (size_t b = 0; b < blockSums.size(); ++b) {
        const int bx = static_cast<int>(b / 3 % blocksAcross) * blockSize;
        const int by = static_cast<int>(b / 3 / blocksAcross) * blockSize;
        const int area = std::min(blockSize, width - bx) * std::min(blockSize, height - by);
        const double shift = static_cast<double>(blockSums[b]) / area;
        if (std::fabs(shift) > tolerance.blockMean) {
            out << "the block at (" << bx << ", " << by << ") is " << shift << " levels off in channel "
                << "RGB"[b % 3] << " (" << tolerance.blockMean << " allowed); ";
            break;
        }
    }
    const double mean = painted.empty() ? 0.0 : total / static_cast<double>(painted.size());
    if (mean > tolerance.mean) {
        out << "the mean difference is " << mean << " levels (" << tolerance.mean << " allowed); ";
    }
    return out.str();
}

double numberTolerance(const std::string& keyword)
{
    for (const NumberTolerance& entry : objNumberTolerances) {
        if (keyword == entry.keyword) {
            return entry.tolerance;
        }
    }
    return -1.0;
}

// one OBJ statement against another: the same keyword and operands, the
// numbers of v, vt and vn within their tolerance, everything else exact
bool statementsAgree(const std::string& committed, const std::string& generated)
{
    std::istringstream a(committed);
    std::istringstream b(generated);
    std::string keyword;
    std::string otherKeyword;
    a >> keyword;
    b >> otherKeyword;
    if (keyword != otherKeyword) {
        return false;
    }
    const double tolerance = numberTolerance(keyword);
    std::string x;
    std::string y;
    while (true) {
        const bool more = static_cast<bool>(a >> x);
        if (more != static_cast<bool>(b >> y)) {
            return false;
        }
        if (!more) {
            return true;
        }
        if (tolerance < 0.0) {
            if (x != y) {
                return false;
            }
            continue;
        }
        char* endX = nullptr;
        char* endY = nullptr;
        const double valueX = std::strtod(x.c_str(), &endX);
        const double valueY = std::strtod(y.c_str(), &endY);
        if (*endX != '\0' || *endY != '\0' || !(std::fabs(valueX - valueY) <= tolerance)) {
            return false;
        }
    }
}

// the first line where the committed OBJ text is not the generated one
// within tolerance, quoting both; empty when none
std::string objDifference(const std::string& committed, const std::string& generated)
{
    std::istringstream a(committed);
    std::istringstream b(generated);
    std::string lineA;
    std::string lineB;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) {
            return {};
        }
        if (moreA != moreB || !statementsAgree(lineA, lineB)) {
            return "line " + std::to_string(number) + " is \"" + (moreA ? lineA : "(the end)") +
                   "\", the generator writes \"" + (moreB ? lineB : "(the end)") + "\"";
        }
    }
}

std::string textOf(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
}
// The committed files are checked as what they hold, decoded pixels and OBJ
// statements, so another encoder, compiler or libm passes; assetgen --check
// compares the bytes.
TEST(AssetFiles, CommittedImagesAreWhatTheGeneratorPaintsToday)
{
    for (const std::string& path : AssetSet::imagePaths()) {
        const RgbImage committed = decode(path);
        ASSERT_FALSE(committed.rgb.empty()) << path << ": " << committed.failure;
        const Image painted = AssetSet::paint(path);
        ASSERT_EQ(committed.width, painted.getWidth()) << path << ": " << regenerate;
        ASSERT_EQ(committed.height, painted.getHeight()) << path << ": " << regenerate;
        const std::string difference =
            pixelDifference(committed.rgb, painted.rgbBytes(), committed.width, committed.height,
                            isJpeg(path) ? jpegTolerance : pngTolerance);
        EXPECT_TRUE(difference.empty()) << path << ": " << difference << regenerate;
    }
}

TEST(AssetFiles, CommittedModelsAreWhatTheGeneratorWritesToday)
{
    for (const std::string& path : AssetSet::paths()) {
        if (path.rfind("mdl/", 0) != 0) {
            continue;
        }
        const std::string committed = textOf(readBytes(path));
        ASSERT_FALSE(committed.empty()) << path << " cannot be read";
        const std::string difference = objDifference(committed, textOf(AssetSet::generate(path)));
        EXPECT_TRUE(difference.empty()) << path << ": " << difference << "; " << regenerate;
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

TEST(AssetFiles, EveryImageDecodesToPowerOfTwoRgb)
{
    for (const std::string& path : AssetSet::imagePaths()) {
        const RgbImage image = decode(path);
        ASSERT_FALSE(image.rgb.empty()) << path << ": " << image.failure;
        EXPECT_TRUE(isPowerOfTwo(image.width) && isPowerOfTwo(image.height))
            << path << " is " << image.width << " x " << image.height;
        EXPECT_GE(image.width, 256) << path;
        EXPECT_LE(image.width * image.height, 2048 * 2048) << path;
    }
}

TEST(AssetFiles, PngsAreEightBitRgbNotInterlacedAndJpegsBaseline)
{
    for (const std::string& path : AssetSet::imagePaths()) {
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
