#include "Image.h"

#include "Shaping.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cmath>
#include <thread>

namespace {
// rows shaded in parallel; the machine the assets are made on has two cores
constexpr int fillThreads = 2;
constexpr int pngFilterSub = 1;        // PNG row filter: each byte less the one to its left
constexpr int pngCompressionLevel = 9; // deflate's highest

void appendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
}

Image::Image(int widthValue, int heightValue)
    : width(widthValue), height(heightValue), pixels(static_cast<size_t>(widthValue) * heightValue)
{
}

Image Image::fromRgb(int width, int height, const uint8_t* rgb, bool bottomUp)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const int row = bottomUp ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = rgb + (static_cast<size_t>(row) * width + x) * 3;
            image.set(x, y, Color::fromBytes(p[0], p[1], p[2]));
        }
    }
    return image;
}

const Color& Image::at(int x, int y) const
{
    return pixels[static_cast<size_t>(Shaping::wrap(y, height)) * width + Shaping::wrap(x, width)];
}

void Image::set(int x, int y, const Color& color)
{
    pixels[static_cast<size_t>(Shaping::wrap(y, height)) * width + Shaping::wrap(x, width)] = color;
}

Color Image::sample(float u, float v) const
{
    const float x = u * width - 0.5f;
    const float y = v * height - 0.5f;
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    const Color top = at(ix, iy).mix(at(ix + 1, iy), tx);
    const Color bottom = at(ix, iy + 1).mix(at(ix + 1, iy + 1), tx);
    return top.mix(bottom, ty);
}

void Image::fill(const std::function<Color(int x, int y)>& shade)
{
    auto shadeRows = [&](int first) {
        for (int y = first; y < height; y += fillThreads) {
            for (int x = 0; x < width; ++x) {
                pixels[static_cast<size_t>(y) * width + x] = shade(x, y);
            }
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < fillThreads; ++t) {
        workers.emplace_back(shadeRows, t);
    }
    shadeRows(0);
    for (std::thread& worker : workers) {
        worker.join();
    }
}

std::vector<uint8_t> Image::rgbBytes() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels.size() * 3);
    for (const Color& c : pixels) {
        bytes.push_back(Color::toByte(c.r));
        bytes.push_back(Color::toByte(c.g));
        bytes.push_back(Color::toByte(c.b));
    }
    return bytes;
}

// Every row filtered by its left neighbour ("sub") and deflated hard: the
// image library's decoder unfilters sub rows fastest of the five filters,
// and these files come out smaller than with a filter chosen per row.
std::vector<uint8_t> Image::encodePng() const
{
    stbi_write_force_png_filter = pngFilterSub;
    stbi_write_png_compression_level = pngCompressionLevel;
    const std::vector<uint8_t> rgb = rgbBytes();
    std::vector<uint8_t> out;
    stbi_write_png_to_func(appendBytes, &out, width, height, 3, rgb.data(), width * 3);
    return out;
}

std::vector<uint8_t> Image::encodeJpg(int quality) const
{
    const std::vector<uint8_t> rgb = rgbBytes();
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(appendBytes, &out, width, height, 3, rgb.data(), quality);
    return out;
}
