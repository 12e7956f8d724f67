// The stand-in must leave what the real SOIL leaves: each image is loaded by
// both, in one real context, and the two textures compared.
#include "platform/win32/soil-standin/SoilStandIn.h"
#include "harness/GlTestContext.h"
#include "harness/TempDirectory.h"

#include <SOIL.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace {
// what the program passes: mipmaps, flipped rows, DXT, NTSC-safe colours
constexpr unsigned int programFlags =
    SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB;
// the same without DXT, so that pixels can be compared exactly
constexpr unsigned int uncompressedFlags = programFlags & ~SOIL_FLAG_COMPRESS_TO_DXT;

struct Level {
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
    bool operator==(const Level& other) const
    {
        return width == other.width && height == other.height && internalFormat == other.internalFormat;
    }
};

std::ostream& operator<<(std::ostream& out, const Level& level)
{
    return out << level.width << "x" << level.height << " format 0x" << std::hex << level.internalFormat
               << std::dec;
}

// What a load leaves behind in the context.
struct TextureState {
    GLint bound = 0;
    GLint minFilter = 0;
    GLint magFilter = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
    GLint unpackAlignment = 0;
    std::vector<Level> levels;
};

TextureState captureState()
{
    TextureState state;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &state.bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &state.unpackAlignment);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &state.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &state.magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &state.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &state.wrapT);
    for (GLint level = 0;; ++level) {
        Level entry;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &entry.width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &entry.height);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_INTERNAL_FORMAT, &entry.internalFormat);
        if (entry.width == 0) {
            break;
        }
        state.levels.push_back(entry);
    }
    return state;
}

std::vector<uint8_t> levelPixels(GLuint texture, GLint level)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

struct Difference {
    int largest = 0;
    double mean = 0.0;
};

Difference compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    Difference difference;
    if (a.size() != b.size() || a.empty()) {
        difference.largest = 256;
        return difference;
    }
    long total = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int step = std::abs(a[i] - b[i]);
        difference.largest = std::max(difference.largest, step);
        total += step;
    }
    difference.mean = static_cast<double>(total) / a.size();
    return difference;
}

// Image files of known content in a private folder, removed afterwards.
class SoilStandInAgainstSoil : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.isReady()) << context.failure();
        ASSERT_FALSE(folder.path().empty());
    }

    // a PNG (or, with a .jpg name, a JPEG) of width x height with the given
    // channels, filled with a smooth pattern and some sharp edges
    std::string writeImage(const std::string& name, int width, int height, int channels)
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < channels; ++c) {
                    const int across = x * 255 / std::max(width - 1, 1);
                    const int down = y * 97 / std::max(height - 1, 1);
                    const int smooth = (across + down + c * 60) % 256;
                    const bool edge = (x / 5 + y / 3) % 7 == 0;
                    pixels[(static_cast<size_t>(y) * width + x) * channels + c] =
                        static_cast<uint8_t>(edge ? 255 - smooth : smooth);
                }
            }
        }
        const std::string path = folder.pathOf(name);
        const bool jpeg = name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0;
        const int written =
            jpeg ? stbi_write_jpg(path.c_str(), width, height, channels, pixels.data(), 95)
                 : stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels);
        EXPECT_NE(written, 0) << path;
        return path;
    }

    struct Pair {
        GLuint real = 0;
        GLuint standIn = 0;
        TextureState realState;
        TextureState standInState;
        std::string realResult;
        std::string standInResult;
    };

    // loads the file with both, from the same starting state
    Pair loadWithBoth(const std::string& path, unsigned int flags, int forceChannels = SOIL_LOAD_AUTO)
    {
        Pair pair;
        glBindTexture(GL_TEXTURE_2D, 0);
        pair.real = SOIL_load_OGL_texture(path.c_str(), forceChannels, SOIL_CREATE_NEW_ID, flags);
        pair.realResult = SOIL_last_result();
        pair.realState = captureState();
        glBindTexture(GL_TEXTURE_2D, 0);
        pair.standIn = standIn.loadTexture(path.c_str(), forceChannels, 0, flags);
        pair.standInResult = standIn.getLastResult();
        pair.standInState = captureState();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return pair;
    }

    void expectSameState(const Pair& pair)
    {
        ASSERT_NE(pair.real, 0u) << pair.realResult;
        ASSERT_NE(pair.standIn, 0u) << pair.standInResult;
        EXPECT_EQ(pair.standInResult, pair.realResult);
        // Each leaves its own new texture bound.
        EXPECT_EQ(pair.realState.bound, static_cast<GLint>(pair.real));
        EXPECT_EQ(pair.standInState.bound, static_cast<GLint>(pair.standIn));
        EXPECT_EQ(pair.standInState.minFilter, pair.realState.minFilter);
        EXPECT_EQ(pair.standInState.magFilter, pair.realState.magFilter);
        EXPECT_EQ(pair.standInState.wrapS, pair.realState.wrapS);
        EXPECT_EQ(pair.standInState.wrapT, pair.realState.wrapT);
        EXPECT_EQ(pair.standInState.unpackAlignment, pair.realState.unpackAlignment);
        EXPECT_EQ(pair.standInState.levels, pair.realState.levels);
    }

    GlTestContext context;
    SoilStandIn standIn;
    TempDirectory folder;
};

struct Sample {
    const char* name;
    int width;
    int height;
    int channels;
};

// Each channel count SOIL treats apart, sides that are and are not powers
// of two, and a JPEG.
const Sample samples[] = {
    {"rgb-npot.png", 100, 60, 3}, {"rgba-pot.png", 64, 32, 4}, {"grey-odd.png", 3, 3, 1},
    {"grey-alpha.png", 2, 2, 2},  {"rgb-wide.png", 37, 5, 3},  {"photo.jpg", 48, 40, 3},
};
}

TEST_F(SoilStandInAgainstSoil, ProgramFlagsLeaveSoilsTextureState)
{
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const std::string path = writeImage(sample.name, sample.width, sample.height, sample.channels);
        expectSameState(loadWithBoth(path, programFlags));
    }
}

TEST_F(SoilStandInAgainstSoil, UncompressedPixelsMatchSoilsOnEveryLevel)
{
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const std::string path = writeImage(sample.name, sample.width, sample.height, sample.channels);
        const Pair pair = loadWithBoth(path, uncompressedFlags);
        expectSameState(pair);
        // The largest level is flipped, made NTSC-safe and stretched as SOIL
        // does it; the smaller ones come from GLU's box filter rather than
        // SOIL's, which may round differently.
        const Difference top = compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0));
        EXPECT_LE(top.largest, 1) << "mean " << top.mean;
        for (GLint level = 1; level < static_cast<GLint>(pair.realState.levels.size()); ++level) {
            // SOIL uploads with the default 4-byte row alignment, so a level
            // of several rows that are not whole words (a 2 x 2 RGB level)
            // comes out garbled there; the stand-in packs rows tightly.
            const Level& shape = pair.realState.levels[level];
            if (shape.height > 1 && shape.width * sample.channels % 4 != 0) {
                continue;
            }
            const Difference smaller =
                compare(levelPixels(pair.real, level), levelPixels(pair.standIn, level));
            EXPECT_LE(smaller.largest, 2) << "level " << level << ", mean " << smaller.mean;
        }
    }
}

TEST_F(SoilStandInAgainstSoil, NtscSafeMapMatchesSoilForEveryValue)
{
    std::vector<uint8_t> ramp(256 * 2);
    for (int value = 0; value < 256; ++value) {
        ramp[value * 2] = static_cast<uint8_t>(value);
        ramp[value * 2 + 1] = static_cast<uint8_t>(255 - value); // alpha, which stays
    }
    const std::string path = folder.pathOf("ramp.png");
    ASSERT_NE(stbi_write_png(path.c_str(), 256, 1, 2, ramp.data(), 512), 0);
    const Pair pair = loadWithBoth(path, SOIL_FLAG_NTSC_SAFE_RGB);
    expectSameState(pair);
    const std::vector<uint8_t> real = levelPixels(pair.real, 0);
    const std::vector<uint8_t> standIn = levelPixels(pair.standIn, 0);
    EXPECT_TRUE(real == standIn);
    EXPECT_EQ(standIn[0], 15);
    EXPECT_EQ(standIn[255 * 4], 235);
    EXPECT_EQ(standIn[3], 255) << "alpha is not scaled";
}

TEST_F(SoilStandInAgainstSoil, CompressedTexturesLookLikeSoils)
{
    // Both compress to DXT, with different encoders: alike, not equal.
    const std::string path = writeImage("smooth.png", 64, 64, 3);
    const Pair pair = loadWithBoth(path, programFlags);
    expectSameState(pair);
    const Difference top = compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0));
    EXPECT_LT(top.mean, 6.0) << "largest " << top.largest;
}

TEST_F(SoilStandInAgainstSoil, OtherFlagCombinationsLeaveSoilsParameters)
{
    const std::string path = writeImage("small.png", 16, 8, 3);
    for (const unsigned int flags :
         {0u, unsigned{SOIL_FLAG_TEXTURE_REPEATS}, unsigned{SOIL_FLAG_MIPMAPS | SOIL_FLAG_TEXTURE_REPEATS},
          unsigned{SOIL_FLAG_POWER_OF_TWO | SOIL_FLAG_INVERT_Y}}) {
        SCOPED_TRACE(flags);
        expectSameState(loadWithBoth(path, flags));
    }
    const std::string odd = writeImage("odd.png", 5, 3, 3);
    SCOPED_TRACE("odd sides with the power-of-two flag");
    const Pair pair = loadWithBoth(odd, SOIL_FLAG_POWER_OF_TWO);
    expectSameState(pair);
    EXPECT_LE(compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0)).largest, 1);
}

TEST_F(SoilStandInAgainstSoil, ForcedChannelsMatchSoil)
{
    const std::string path = writeImage("colour.png", 8, 8, 3);
    for (const int channels : {SOIL_LOAD_L, SOIL_LOAD_RGBA}) {
        SCOPED_TRACE(channels);
        const Pair pair = loadWithBoth(path, uncompressedFlags, channels);
        expectSameState(pair);
        EXPECT_LE(compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0)).largest, 1);
    }
}

TEST_F(SoilStandInAgainstSoil, FailuresGiveSoilsReasonAndNoTexture)
{
    const std::string good = writeImage("good.png", 8, 8, 3);
    std::ifstream goodFile(good, std::ios::binary);
    const std::string goodBytes{std::istreambuf_iterator<char>(goodFile), std::istreambuf_iterator<char>()};

    const std::string cases[] = {
        folder.pathOf("missing.png"),
        folder.pathOf("no-folder/missing.jpg"),
        folder.write("empty.png", ""),
        folder.write("text.png", "not an image at all\n"),
        folder.write("truncated.png", goodBytes.substr(0, 60)),
        folder.path().string(),
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        const Pair pair = loadWithBoth(path, programFlags);
        EXPECT_EQ(pair.real, 0u);
        EXPECT_EQ(pair.standIn, 0u);
        EXPECT_EQ(pair.standInResult, pair.realResult);
        EXPECT_EQ(pair.standInState.bound, 0);
    }
}

TEST_F(SoilStandInAgainstSoil, ReusesTheTextureNameItIsGiven)
{
    const std::string path = writeImage("reuse.png", 4, 4, 4);
    GLuint name = 0;
    glGenTextures(1, &name);
    EXPECT_EQ(standIn.loadTexture(path.c_str(), SOIL_LOAD_AUTO, name, programFlags), name);
    EXPECT_EQ(captureState().bound, static_cast<GLint>(name));
    // A new name each time otherwise, as the program's repeated loads expect.
    const GLuint first = standIn.loadTexture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, programFlags);
    const GLuint second = standIn.loadTexture(path.c_str(), SOIL_LOAD_AUTO, SOIL_CREATE_NEW_ID, programFlags);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_NE(first, name);
}

TEST_F(SoilStandInAgainstSoil, WorkItDoesNotDoIsRefusedWithAReason)
{
    const std::string path = writeImage("flags.png", 4, 4, 4);
    EXPECT_EQ(standIn.loadTexture(path.c_str(), SOIL_LOAD_AUTO, 0, SOIL_FLAG_MULTIPLY_ALPHA), 0u);
    EXPECT_NE(std::string(standIn.getLastResult()).find("stand-in"), std::string::npos);
    for (const int channels : {-1, 5}) {
        EXPECT_EQ(standIn.loadTexture(path.c_str(), channels, 0, programFlags), 0u) << channels;
        EXPECT_STREQ(standIn.getLastResult(), "Invalid number of channels to force");
    }
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "no texture made for a refused load";
}
