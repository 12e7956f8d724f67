// The image decoder on real files: what it reads, exactly, and what it
// refuses, with the reason, before it decodes a pixel. The crafted files are
// the kinds that crashed, hung or exhausted the decoder SOIL carries.
#include "geometry/DecodedImage.h"
#include "harness/ImageFiles.h"
#include "harness/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {
int sidesAsked = 0;

int driverOf2048()
{
    ++sidesAsked;
    return 2048;
}

// a black RGB PNG of any size, quick to make: each row its filter byte and
// zeros
std::string blackPng(uint32_t width, uint32_t height)
{
    return ImageFiles::zerosPng(width, height, (1 + width * 3) * height);
}

// the same file with every Huffman table's code counts raised to 255
std::string withOverfullHuffmanTables(std::string jpeg)
{
    for (size_t at = jpeg.find("\xff\xc4"); at != std::string::npos; at = jpeg.find("\xff\xc4", at + 2)) {
        std::fill(jpeg.begin() + long(at) + 5, jpeg.begin() + long(at) + 21, '\xff');
    }
    return jpeg;
}

std::string reasonFor(const std::string& bytes)
{
    DecodedImage image;
    EXPECT_FALSE(image.decode(bytes, driverOf2048))
        << "decoded " << image.getWidth() << " x " << image.getHeight();
    EXPECT_EQ(image.getPixels(), nullptr);
    return image.getFailure();
}
}

TEST(DecodedImage, PngsOfEveryChannelCountDecodeExactlyWhateverTheFileIsCalled)
{
    const TempDirectory folder;
    for (int channels = 1; channels <= 4; ++channels) {
        SCOPED_TRACE(channels);
        const std::vector<uint8_t> pixels = ImageFiles::pattern(37, 5, channels);
        const std::string path = folder.write("picture.jpg", ImageFiles::png(37, 5, channels, pixels));
        DecodedImage image;
        ASSERT_TRUE(image.load(path.c_str(), driverOf2048)) << image.getFailure();
        EXPECT_EQ(image.getFailure(), "");
        EXPECT_EQ(image.getWidth(), 37);
        EXPECT_EQ(image.getHeight(), 5);
        ASSERT_EQ(image.getChannels(), channels);
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), image.getPixels()));
    }
}

TEST(DecodedImage, ProgressiveJpegsDecodeAsTheirBaselineDoes)
{
    const std::vector<uint8_t> pixels = ImageFiles::pattern(48, 40, 3);
    const std::string baseline = ImageFiles::jpeg(48, 40, 3, pixels);
    const std::string progressive = ImageFiles::progressive(baseline);
    ASSERT_NE(progressive, "") << "jpegtran failed";
    ASSERT_NE(progressive, baseline);
    DecodedImage fromBaseline;
    DecodedImage fromProgressive;
    ASSERT_TRUE(fromBaseline.decode(baseline, driverOf2048)) << fromBaseline.getFailure();
    ASSERT_TRUE(fromProgressive.decode(progressive, driverOf2048)) << fromProgressive.getFailure();
    ASSERT_EQ(fromProgressive.getWidth() * fromProgressive.getHeight() * fromProgressive.getChannels(),
              48 * 40 * 3);
    // jpegtran moves the coefficients without touching them
    EXPECT_EQ(std::memcmp(fromBaseline.getPixels(), fromProgressive.getPixels(), pixels.size()), 0);
    long difference = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        difference += std::abs(pixels[i] - fromProgressive.getPixels()[i]);
    }
    EXPECT_LT(double(difference) / double(pixels.size()), 4.0) << "not the picture encoded";
}

TEST(DecodedImage, OtherFormatsAndCraftedFilesAreRefusedWithTheirReasonAndNothingLarge)
{
    const std::string other = "not a PNG or JPEG image";
    const std::string jpeg = ImageFiles::jpeg(48, 40, 3, ImageFiles::pattern(48, 40, 3));
    const std::string png = ImageFiles::png(8, 8, 3, ImageFiles::pattern(8, 8, 3));
    const std::string manyScans = ImageFiles::progressive(jpeg, true);
    ASSERT_NE(manyScans, "") << "jpegtran failed";
    const std::pair<std::string, std::string> cases[] = {
        {"", other},
        {"not a picture at all\n", other},
        {std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18), other},     // BMP
        {"GIF89a\x01\0\x01\0\0\0\0;", other},                                     // GIF
        {std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x02\0\x02\0\x18\0", 18), other}, // TGA
        {std::string("8BPS\0\x01\0\0\0\0\0\0\0\x03", 14), other},                 // Photoshop
        {ImageFiles::radianceHdr(), other},
        {std::string("\x89PNG", 4), other}, // a signature cut short
        {ImageFiles::brokenDeflatePng(), "corrupt PNG"},
        {ImageFiles::pngWithData(16, 16, ""), "corrupt PNG"},
        {png.substr(0, png.size() / 2), "corrupt PNG"},
        {png.substr(0, 20), "corrupt PNG: no image header"},
        {jpeg.substr(0, 20), "corrupt JPEG: no image header"},
        {ImageFiles::zerosPng(30000, 30000, 1000), "image too large: 30000 x 30000 (at most 4096 x 4096)"},
        {ImageFiles::zerosPng(4294967295u, 1, 1000), "image too large: 4294967295 x 1 (at most 4096 x 4096)"},
        // stretched to 8192 x 4096
        {ImageFiles::zerosPng(4097, 4096, 1000), "image too large: 4097 x 4096 (at most 4096 x 4096)"},
        {ImageFiles::zerosPng(16, 16, 8 << 20), "corrupt PNG: more data than a 16 x 16 image holds"},
        {withOverfullHuffmanTables(jpeg), "corrupt JPEG"},
        {manyScans, "JPEG with too many scans: 66 (at most 32)"},
    };
    for (const auto& [bytes, reason] : cases) {
        EXPECT_EQ(reasonFor(bytes), reason) << bytes.substr(0, 12);
    }
}

TEST(DecodedImage, TheDriverIsAskedOnlyOfSidesOverTheOnesEveryDriverTakes)
{
    struct Case {
        uint32_t width, height;
        int asked;
        std::string failure;
    };
    const Case cases[] = {
        {1024, 16, 0, ""},
        {16, 2048, 1, ""},
        {2049, 16, 1, "image too large: 2049 x 16 (at most 2048 a side)"},
        {4096, 16, 1, "image too large: 4096 x 16 (at most 2048 a side)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        sidesAsked = 0;
        DecodedImage image;
        EXPECT_EQ(image.decode(blackPng(c.width, c.height), driverOf2048), c.failure.empty());
        EXPECT_EQ(image.getFailure(), c.failure);
        EXPECT_EQ(sidesAsked, c.asked);
    }
    // the largest texture a file may make
    DecodedImage largest;
    ASSERT_TRUE(largest.decode(blackPng(4096, 4096), [] { return 16384; })) << largest.getFailure();
    EXPECT_EQ(largest.getWidth(), 4096);
    EXPECT_EQ(largest.getChannels(), 3);
}

TEST(DecodedImage, FilesThatAreNoImageOrTooLargeAreNeverRead)
{
    const TempDirectory folder;
    const std::string fifo = folder.pathOf("pipe.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = folder.write("huge.png", ImageFiles::png(8, 8, 3, ImageFiles::pattern(8, 8, 3)));
    std::filesystem::resize_file(huge, 300ull << 20); // sparse: nothing is written
    const std::pair<std::string, std::string> cases[] = {
        {folder.pathOf("missing.png"), "cannot open the file"},
        {folder.path().string(), "cannot open the file"},
        // would block an open until something wrote to it
        {fifo, "cannot open the file"},
        {huge, "file too large: 300 MiB (at most 256 MiB)"},
        {folder.write("empty.png", ""), "not a PNG or JPEG image"},
    };
    for (const auto& [path, reason] : cases) {
        DecodedImage image;
        EXPECT_FALSE(image.load(path.c_str(), driverOf2048)) << path;
        EXPECT_EQ(image.getFailure(), reason) << path;
    }
}
