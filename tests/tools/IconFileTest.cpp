// The icons the packages carry are committed files: these prove they are
// what the generator draws today, and that the Windows icon's layout is what
// the resource compiler and the shell expect.
#include "tools/icongen/IconEncoding.h"
#include "tools/icongen/YardIcon.h"

#include <gtest/gtest.h>

// decoding only, its functions kept to this file
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr const char* committedIcon = "app/resources/brindlemoor.ico";
constexpr uint32_t directoryBytes = 6 + 16;
constexpr uint32_t headerBytes = 40;
constexpr uint32_t size = 64;
constexpr uint32_t colourBytes = size * size * 4;
constexpr uint32_t maskRowBytes = size / 8; // 64 bits, already whole 32-bit words
constexpr uint32_t maskBytes = maskRowBytes * size;

std::vector<uint8_t> readFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t u16(const std::vector<uint8_t>& data, size_t at)
{
    return data.at(at) | data.at(at + 1) << 8;
}

uint32_t u32(const std::vector<uint8_t>& data, size_t at)
{
    return u16(data, at) | u16(data, at + 2) << 16;
}

// Colour rows run bottom-up after the header, four bytes (BGRA) a pixel.
uint8_t alphaAt(const std::vector<uint8_t>& icon, uint32_t x, uint32_t y)
{
    return icon.at(directoryBytes + headerBytes + ((size - 1 - y) * size + x) * 4 + 3);
}

bool maskBitAt(const std::vector<uint8_t>& icon, uint32_t x, uint32_t y)
{
    const size_t maskStart = directoryBytes + headerBytes + colourBytes;
    const uint8_t byte = icon.at(maskStart + (size - 1 - y) * maskRowBytes + x / 8);
    return (byte & (0x80 >> (x % 8))) != 0;
}

class CommittedIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        icon = readFile(committedIcon);
        ASSERT_FALSE(icon.empty()) << committedIcon << " is missing; the tests run from the source root";
    }

    std::vector<uint8_t> icon;
};
}

TEST_F(CommittedIcon, IsWhatTheGeneratorWrites)
{
    const std::vector<uint8_t> generated = encodeIco(drawYardIcon());
    ASSERT_EQ(generated.size(), icon.size());
    EXPECT_TRUE(generated == icon) << "regenerate it: build/tools/icongen/icongen app/resources";
}

// Pixels, not bytes: another PNG encoder may compress them differently.
TEST(CommittedDesktopIcons, AreTheArtAtEverySize)
{
    for (const int size : desktopIconSizes) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::string path = "app/resources/hicolor/" + sizeName + "/apps/brindlemoor.png";
        int width = 0, height = 0, channels = 0;
        const std::unique_ptr<unsigned char, void (*)(void*)> pixels(
            stbi_load(path.c_str(), &width, &height, &channels, 4), stbi_image_free);
        ASSERT_TRUE(pixels) << path << ": " << stbi_failure_reason();
        ASSERT_EQ(width, size) << path;
        ASSERT_EQ(height, size) << path;
        const IconCanvas art = drawYardIcon(size);
        int differing = 0;
        for (int i = 0; i < size * size; ++i) {
            const IconColour expected = art.pixel(i % size, i / size);
            const unsigned char* got = pixels.get() + 4 * i;
            differing += got[0] != expected.red || got[1] != expected.green || got[2] != expected.blue ||
                         got[3] != expected.alpha;
        }
        EXPECT_EQ(differing, 0) << path << ": regenerate with build/tools/icongen/icongen app/resources";
    }
}

TEST_F(CommittedIcon, DirectoryHoldsOne64By64ImageOf32Bits)
{
    EXPECT_EQ(u16(icon, 0), 0u);
    EXPECT_EQ(u16(icon, 2), 1u) << "type 1 is an icon";
    ASSERT_EQ(u16(icon, 4), 1u) << "exactly one image";
    EXPECT_EQ(icon.at(6), size);
    EXPECT_EQ(icon.at(7), size);
    EXPECT_EQ(icon.at(8), 0) << "no palette";
    EXPECT_EQ(icon.at(9), 0);
    EXPECT_EQ(u16(icon, 10), 1u) << "planes";
    EXPECT_EQ(u16(icon, 12), 32u) << "bits per pixel";
    const uint32_t imageBytes = u32(icon, 14);
    const uint32_t imageOffset = u32(icon, 18);
    EXPECT_EQ(imageOffset, directoryBytes);
    EXPECT_EQ(imageOffset + imageBytes, icon.size()) << "the image ends the file";
    EXPECT_EQ(imageBytes, headerBytes + colourBytes + maskBytes);
}

TEST_F(CommittedIcon, BitmapHeaderMatchesTheDirectory)
{
    const size_t header = directoryBytes;
    EXPECT_EQ(u32(icon, header), headerBytes) << "BITMAPINFOHEADER";
    EXPECT_EQ(u32(icon, header + 4), size);
    EXPECT_EQ(u32(icon, header + 8), size * 2) << "colour image and mask together";
    EXPECT_EQ(u16(icon, header + 12), 1u);
    EXPECT_EQ(u16(icon, header + 14), 32u);
    EXPECT_EQ(u32(icon, header + 16), 0u) << "uncompressed";
    const uint32_t imageSize = u32(icon, header + 20);
    EXPECT_TRUE(imageSize == 0 || imageSize == colourBytes + maskBytes) << imageSize;
    EXPECT_EQ(u32(icon, header + 32), 0u) << "no palette";
}

TEST_F(CommittedIcon, MaskMarksExactlyTheClearPixels)
{
    ASSERT_EQ(icon.size(), directoryBytes + headerBytes + colourBytes + maskBytes);
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            EXPECT_EQ(maskBitAt(icon, x, y), alphaAt(icon, x, y) == 0) << x << "," << y;
        }
    }
}

TEST_F(CommittedIcon, ArtIsAntiAliasedOnAClearBackground)
{
    ASSERT_EQ(icon.size(), directoryBytes + headerBytes + colourBytes + maskBytes);
    for (const uint32_t corner : {0u, size - 1}) {
        EXPECT_EQ(alphaAt(icon, corner, 0), 0);
        EXPECT_EQ(alphaAt(icon, corner, size - 1), 0);
    }
    int opaque = 0;
    int partial = 0;
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const uint8_t alpha = alphaAt(icon, x, y);
            opaque += alpha == 255 ? 1 : 0;
            partial += alpha > 0 && alpha < 255 ? 1 : 0;
        }
    }
    // A picture that fills a good part of the square, with soft edges.
    EXPECT_GT(opaque, static_cast<int>(size * size / 5));
    EXPECT_GT(partial, static_cast<int>(size));
    // Its middle is drawn.
    EXPECT_EQ(alphaAt(icon, size / 2, size / 2), 255);
}
