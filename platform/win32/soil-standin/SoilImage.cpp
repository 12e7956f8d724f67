#include "platform/win32/soil-standin/SoilImage.h"

#include <algorithm>

namespace {
// SOIL's NTSC-safe map: 0 to 255 onto 16 to 235, each end widened by just
// under half a step so that truncation lands on both ends.
constexpr float ntscLow = 16.0f - 0.499f;
constexpr float ntscHigh = 235.0f + 0.499f;

int nextPowerOfTwo(int value)
{
    int power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

bool isPowerOfTwoValue(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}
}

SoilImage::SoilImage(const unsigned char* data, int imageWidth, int imageHeight, int imageChannels)
    : width(imageWidth), height(imageHeight), channels(imageChannels),
      pixels(data, data + static_cast<size_t>(imageWidth) * imageHeight * imageChannels)
{
}

void SoilImage::flipVertically()
{
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(pixels.begin() + top * rowBytes, pixels.begin() + (top + 1) * rowBytes,
                         pixels.begin() + bottom * rowBytes);
    }
}

void SoilImage::scaleToNtscSafe()
{
    unsigned char map[256];
    for (int value = 0; value < 256; ++value) {
        map[value] = static_cast<unsigned char>((ntscHigh - ntscLow) * value / 255.0f + ntscLow);
    }
    // With 2 or 4 channels the last one is alpha.
    const int colourChannels = channels % 2 == 0 ? channels - 1 : channels;
    for (size_t pixel = 0; pixel < pixels.size(); pixel += channels) {
        for (int channel = 0; channel < colourChannels; ++channel) {
            pixels[pixel + channel] = map[pixels[pixel + channel]];
        }
    }
}

bool SoilImage::isPowerOfTwo() const
{
    return isPowerOfTwoValue(width) && isPowerOfTwoValue(height);
}

void SoilImage::resizeToPowerOfTwo()
{
    const int newWidth = nextPowerOfTwo(width);
    const int newHeight = nextPowerOfTwo(height);
    std::vector<unsigned char> resized(static_cast<size_t>(newWidth) * newHeight * channels);
    // A side of one pixel has nothing to blend with.
    const float stepX = newWidth > 1 ? static_cast<float>(width - 1) / (newWidth - 1) : 0.0f;
    const float stepY = newHeight > 1 ? static_cast<float>(height - 1) / (newHeight - 1) : 0.0f;
    auto at = [this](int x, int y, int channel) {
        return static_cast<float>(pixels[(static_cast<size_t>(y) * width + x) * channels + channel]);
    };
    for (int y = 0; y < newHeight; ++y) {
        const float sourceY = y * stepY;
        const int y0 = std::min(static_cast<int>(sourceY), height - 1);
        const int y1 = std::min(y0 + 1, height - 1);
        const float fy = sourceY - y0;
        for (int x = 0; x < newWidth; ++x) {
            const float sourceX = x * stepX;
            const int x0 = std::min(static_cast<int>(sourceX), width - 1);
            const int x1 = std::min(x0 + 1, width - 1);
            const float fx = sourceX - x0;
            for (int channel = 0; channel < channels; ++channel) {
                const float top = at(x0, y0, channel) * (1.0f - fx) + at(x1, y0, channel) * fx;
                const float bottom = at(x0, y1, channel) * (1.0f - fx) + at(x1, y1, channel) * fx;
                const float value = top * (1.0f - fy) + bottom * fy;
                resized[(static_cast<size_t>(y) * newWidth + x) * channels + channel] =
                    static_cast<unsigned char>(value + 0.5f);
            }
        }
    }
    pixels.swap(resized);
    width = newWidth;
    height = newHeight;
}
