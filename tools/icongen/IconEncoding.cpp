#include "tools/icongen/IconEncoding.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstddef>

namespace {
constexpr uint32_t directorySize = 6;       // bytes: reserved, type, count
constexpr uint32_t directoryEntrySize = 16; // bytes per image entry
constexpr uint32_t bitmapHeaderSize = 40;   // bytes, BITMAPINFOHEADER
constexpr uint16_t iconResourceType = 1;    // 2 would be a cursor
constexpr uint16_t bitsPerPixel = 32;

void putU8(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
}

void putU16(std::vector<uint8_t>& out, uint32_t value)
{
    putU8(out, value & 0xFF);
    putU8(out, (value >> 8) & 0xFF);
}

void putU32(std::vector<uint8_t>& out, uint32_t value)
{
    putU16(out, value & 0xFFFF);
    putU16(out, (value >> 16) & 0xFFFF);
}
}

std::vector<uint8_t> encodeIco(const IconCanvas& canvas)
{
    const uint32_t size = static_cast<uint32_t>(canvas.getSize());
    const uint32_t colourBytes = size * size * 4;
    // Mask rows are padded to whole 32-bit words.
    const uint32_t maskRowBytes = (size + 31) / 32 * 4;
    const uint32_t maskBytes = maskRowBytes * size;
    const uint32_t imageBytes = bitmapHeaderSize + colourBytes + maskBytes;
    const uint32_t imageOffset = directorySize + directoryEntrySize;

    std::vector<uint8_t> out;
    out.reserve(imageOffset + imageBytes);
    putU16(out, 0);
    putU16(out, iconResourceType);
    putU16(out, 1);

    // The entry's byte-wide sizes write 256 as 0.
    putU8(out, size & 0xFF);
    putU8(out, size & 0xFF);
    putU8(out, 0); // no palette
    putU8(out, 0);
    putU16(out, 1); // planes
    putU16(out, bitsPerPixel);
    putU32(out, imageBytes);
    putU32(out, imageOffset);

    // The bitmap's height counts the colour image and the mask together.
    putU32(out, bitmapHeaderSize);
    putU32(out, size);
    putU32(out, size * 2);
    putU16(out, 1);
    putU16(out, bitsPerPixel);
    putU32(out, 0); // BI_RGB, uncompressed
    putU32(out, colourBytes + maskBytes);
    putU32(out, 0); // no preferred resolution
    putU32(out, 0);
    putU32(out, 0); // no palette
    putU32(out, 0);

    // each pixel resolves its grid of samples once, for both the colours and the mask
    std::vector<IconColour> pixels;
    pixels.reserve(static_cast<size_t>(size) * size);
    for (uint32_t row = 0; row < size; ++row) {
        for (uint32_t column = 0; column < size; ++column) {
            pixels.push_back(canvas.pixel(static_cast<int>(column), static_cast<int>(row)));
        }
    }
    auto pixelAt = [&](uint32_t column, int row) -> const IconColour& {
        return pixels[static_cast<size_t>(row) * size + column];
    };

    const int lastRow = static_cast<int>(size) - 1;
    for (int row = lastRow; row >= 0; --row) {
        for (uint32_t column = 0; column < size; ++column) {
            const IconColour& colour = pixelAt(column, row);
            putU8(out, colour.blue);
            putU8(out, colour.green);
            putU8(out, colour.red);
            putU8(out, colour.alpha);
        }
    }
    // A set mask bit marks a clear pixel, for readers that ignore alpha.
    for (int row = lastRow; row >= 0; --row) {
        std::vector<uint8_t> maskRow(maskRowBytes, 0);
        for (uint32_t column = 0; column < size; ++column) {
            if (pixelAt(column, row).alpha == 0) {
                maskRow[column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
            }
        }
        out.insert(out.end(), maskRow.begin(), maskRow.end());
    }
    return out;
}

std::vector<uint8_t> encodePng(const IconCanvas& canvas)
{
    const int size = canvas.getSize();
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const IconColour colour = canvas.pixel(x, y);
            rgba.insert(rgba.end(), {colour.red, colour.green, colour.blue, colour.alpha});
        }
    }
    std::vector<uint8_t> out;
    stbi_write_png_to_func(
        [](void* context, void* data, int bytes) {
            const uint8_t* first = static_cast<const uint8_t*>(data);
            static_cast<std::vector<uint8_t>*>(context)->insert(
                static_cast<std::vector<uint8_t>*>(context)->end(), first, first + bytes);
        },
        &out, size, size, 4, rgba.data(), size * 4);
    return out;
}
