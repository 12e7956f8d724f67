// The stand-in must leave what the real SOIL leaves: each image is decoded
// as the program decodes it, made a texture by both in one real context,
// and the two textures compared.
#include "platform/win32/soil-standin/SoilStandIn.h"
#include "geometry/DecodedImage.h"
#include "harness/GlTestContext.h"
#include "harness/ImageFiles.h"

#include <SOIL.h>

#include <gtest/gtest.h>

#include <cstdlib>
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

// Decoded images of known content, made textures by both.
class SoilStandInAgainstSoil : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(context.isReady()) << context.failure(); }

    // width x height pixels of the given channels, filled with a smooth
    // pattern and some sharp edges, decoded from a PNG (or a JPEG)
    DecodedImage decodedImage(int width, int height, int channels, bool jpeg = false)
    {
        const std::vector<uint8_t> pixels = ImageFiles::pattern(width, height, channels);
        DecodedImage image;
        EXPECT_TRUE(image.decode(jpeg ? ImageFiles::jpeg(width, height, channels, pixels)
                                      : ImageFiles::png(width, height, channels, pixels),
                                 [] { return 4096; }))
            << image.getFailure();
        return image;
    }

    struct Pair {
        GLuint real = 0;
        GLuint standIn = 0;
        TextureState realState;
        TextureState standInState;
        std::string realResult;
        std::string standInResult;
    };

    // makes the image a texture with both, from the same starting state and
    // with rows packed tightly, as the program calls them
    Pair createWithBoth(const DecodedImage& image, unsigned int flags)
    {
        Pair pair;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, 0);
        pair.real = SOIL_create_OGL_texture(image.getPixels(), image.getWidth(), image.getHeight(),
                                            image.getChannels(), SOIL_CREATE_NEW_ID, flags);
        pair.realResult = SOIL_last_result();
        pair.realState = captureState();
        glBindTexture(GL_TEXTURE_2D, 0);
        pair.standIn = standIn.createTexture(image.getPixels(), image.getWidth(), image.getHeight(),
                                             image.getChannels(), 0, flags);
        pair.standInResult = standIn.getLastResult();
        pair.standInState = captureState();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
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
};

struct Sample {
    const char* name;
    int width;
    int height;
    int channels;
    bool jpeg;
};

// Each channel count SOIL treats apart, sides that are and are not powers
// of two, and a JPEG.
const Sample samples[] = {
    {"rgb-npot", 100, 60, 3, false}, {"rgba-pot", 64, 32, 4, false}, {"grey-odd", 3, 3, 1, false},
    {"grey-alpha", 2, 2, 2, false},  {"rgb-wide", 37, 5, 3, false},  {"photo", 48, 40, 3, true},
};
}

TEST_F(SoilStandInAgainstSoil, ProgramFlagsLeaveSoilsTextureState)
{
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        expectSameState(createWithBoth(
            decodedImage(sample.width, sample.height, sample.channels, sample.jpeg), programFlags));
    }
}

TEST_F(SoilStandInAgainstSoil, UncompressedPixelsMatchSoilsOnEveryLevel)
{
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const Pair pair = createWithBoth(
            decodedImage(sample.width, sample.height, sample.channels, sample.jpeg), uncompressedFlags);
        expectSameState(pair);
        // The largest level is flipped, made NTSC-safe and stretched as SOIL
        // does it; the smaller ones come from GLU's box filter rather than
        // SOIL's, which may round differently.
        const Difference top = compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0));
        EXPECT_LE(top.largest, 1) << "mean " << top.mean;
        for (GLint level = 1; level < static_cast<GLint>(pair.realState.levels.size()); ++level) {
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
    DecodedImage image;
    ASSERT_TRUE(image.decode(ImageFiles::png(256, 1, 2, ramp), [] { return 4096; })) << image.getFailure();
    const Pair pair = createWithBoth(image, SOIL_FLAG_NTSC_SAFE_RGB);
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
    const Pair pair = createWithBoth(decodedImage(64, 64, 3), programFlags);
    expectSameState(pair);
    const Difference top = compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0));
    EXPECT_LT(top.mean, 6.0) << "largest " << top.largest;
}

TEST_F(SoilStandInAgainstSoil, OtherFlagCombinationsLeaveSoilsParameters)
{
    const DecodedImage small = decodedImage(16, 8, 3);
    for (const unsigned int flags :
         {0u, unsigned{SOIL_FLAG_TEXTURE_REPEATS}, unsigned{SOIL_FLAG_MIPMAPS | SOIL_FLAG_TEXTURE_REPEATS},
          unsigned{SOIL_FLAG_POWER_OF_TWO | SOIL_FLAG_INVERT_Y}}) {
        SCOPED_TRACE(flags);
        expectSameState(createWithBoth(small, flags));
    }
    SCOPED_TRACE("odd sides with the power-of-two flag");
    const Pair pair = createWithBoth(decodedImage(5, 3, 3), SOIL_FLAG_POWER_OF_TWO);
    expectSameState(pair);
    EXPECT_LE(compare(levelPixels(pair.real, 0), levelPixels(pair.standIn, 0)).largest, 1);
}

TEST_F(SoilStandInAgainstSoil, ReusesTheTextureNameItIsGiven)
{
    const DecodedImage image = decodedImage(4, 4, 4);
    const auto create = [&](GLuint reuse) {
        return standIn.createTexture(image.getPixels(), 4, 4, 4, reuse, programFlags);
    };
    GLuint name = 0;
    glGenTextures(1, &name);
    EXPECT_EQ(create(name), name);
    EXPECT_EQ(captureState().bound, static_cast<GLint>(name));
    // A new name each time otherwise, as the program's repeated loads expect.
    const GLuint first = create(SOIL_CREATE_NEW_ID);
    const GLuint second = create(SOIL_CREATE_NEW_ID);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_NE(first, name);
}

TEST_F(SoilStandInAgainstSoil, WorkItDoesNotDoIsRefusedWithAReason)
{
    const DecodedImage image = decodedImage(4, 4, 4);
    EXPECT_EQ(standIn.createTexture(image.getPixels(), 4, 4, 4, 0, SOIL_FLAG_MULTIPLY_ALPHA), 0u);
    EXPECT_NE(std::string(standIn.getLastResult()).find("stand-in"), std::string::npos);
    struct Shape {
        const unsigned char* pixels;
        int width, height, channels;
    };
    for (const Shape& shape :
         {Shape{nullptr, 4, 4, 4}, Shape{image.getPixels(), 0, 4, 4}, Shape{image.getPixels(), 4, -1, 4},
          Shape{image.getPixels(), 4, 4, 0}, Shape{image.getPixels(), 1, 1, 5}}) {
        EXPECT_EQ(
            standIn.createTexture(shape.pixels, shape.width, shape.height, shape.channels, 0, programFlags),
            0u);
        EXPECT_STREQ(standIn.getLastResult(), "Invalid image data");
    }
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "no texture made for a refused load";
}
