#include "harness/ImageFiles.h"

#include "harness/SpawnedProcess.h"
#include "harness/TempDirectory.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#include <zlib.h>

#include <algorithm>

namespace {
constexpr int toolTimeoutMs = 30000;

void appendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

std::string bigEndian32(uint32_t value)
{
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return bigEndian32(static_cast<uint32_t>(data.size())) + body + bigEndian32(static_cast<uint32_t>(crc));
}

std::string zlibOf(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string compressed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
              reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
              Z_BEST_COMPRESSION);
    compressed.resize(size);
    return compressed;
}
}

namespace ImageFiles {

std::vector<uint8_t> pattern(int width, int height, int channels)
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
    return pixels;
}

std::string png(int width, int height, int channels, const std::vector<uint8_t>& pixels)
{
    std::string out;
    stbi_write_png_to_func(appendBytes, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

std::string jpeg(int width, int height, int channels, const std::vector<uint8_t>& pixels, int quality)
{
    // libjpeg-turbo's cjpeg from a PGM or PPM of the pixels, every channel at
    // full resolution
    const TempDirectory folder;
    const std::string header = std::string(channels == 1 ? "P5" : "P6") + "\n" + std::to_string(width) + " " +
                               std::to_string(height) + "\n255\n";
    const std::string image = folder.write(
        "image.pnm", header + std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size()));
    const std::string output = folder.pathOf("image.jpg");
    const bool made = SpawnedProcess::run({"cjpeg", "-quality", std::to_string(quality), "-sample", "1x1",
                                           "-outfile", output, image},
                                          toolTimeoutMs)
                          .succeeded;
    return made ? TempDirectory::read(output) : std::string();
}

std::string progressive(const std::string& jpeg, bool scanPerCoefficient)
{
    const TempDirectory folder;
    std::vector<std::string> arguments = {"jpegtran", "-progressive"};
    if (scanPerCoefficient) {
        // every component's DC, then each AC coefficient of the first on its
        // own and the other two components' in one scan each
        std::string script = "0,1,2: 0-0, 0, 0;\n";
        for (int k = 1; k < 64; ++k) {
            script += "0: " + std::to_string(k) + "-" + std::to_string(k) + ", 0, 0;\n";
        }
        script += "1: 1-63, 0, 0;\n2: 1-63, 0, 0;\n";
        arguments = {"jpegtran", "-scans", folder.write("scans.txt", script)};
    }
    const std::string output = folder.pathOf("progressive.jpg");
    arguments.insert(arguments.end(), {"-outfile", output, folder.write("baseline.jpg", jpeg)});
    return SpawnedProcess::run(arguments, toolTimeoutMs).succeeded ? TempDirectory::read(output)
                                                                   : std::string();
}

std::string pngWithData(uint32_t width, uint32_t height, const std::string& zlib)
{
    // 8-bit RGB, deflate, no filtering method but the standard one, no interlacing
    const std::string header = bigEndian32(width) + bigEndian32(height) + std::string{8, 2, 0, 0, 0};
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", zlib) +
           chunk("IEND", "");
}

std::string brokenDeflatePng()
{
    // A zlib header, then a final block of dynamic codes (bits 1, 10) with
    // the fewest lengths (HLIT, HDIST, HCLEN all 0) and a code-length code
    // that gives only symbol 16 a length, of one bit; the 1-bits that
    // follow name no code at all.
    const std::string stream = {0x78,       0x01,       0x05,       0x00,       0x02,
                                char(0xe0), char(0xff), char(0xff), char(0xff), char(0xff),
                                char(0xff), char(0xff), char(0xff), 0x1f};
    return pngWithData(16, 16, stream);
}

std::string zerosPng(uint32_t width, uint32_t height, size_t inflatedBytes)
{
    return pngWithData(width, height, zlibOf(std::string(inflatedBytes, '\0')));
}

std::string radianceHdr()
{
    // two scanlines of 16 pixels, each of four new-style run-length
    // channels whose runs of 127 overrun it several times over
    std::string line = {0x02, 0x02, 0x00, 0x10};
    for (int run = 0; run < 4 * 8; ++run) {
        line += {char(0xff), 0x7f};
    }
    return "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 2 +X 16\n" + line + line;
}

} // namespace ImageFiles
