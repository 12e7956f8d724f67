// An RGB picture in floats, filled by a generator and encoded to PNG or JPEG
// bytes with stb_image_write, the forms SOIL's 2008 decoder reads.
#pragma once

#include "Color.h"

#include <cstdint>
#include <functional>
#include <vector>

class Image {
public:
    Image(int widthValue, int heightValue);
    // the picture in `rgb`, three bytes a pixel, rows packed; `bottomUp` when
    // the first row is the bottom one, as OpenGL reads pixels back
    static Image fromRgb(int width, int height, const uint8_t* rgb, bool bottomUp);

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // pixel in row y from the top; coordinates wrap, so filters can read
    // across the edge of a tiling texture
    const Color& at(int x, int y) const;
    void set(int x, int y, const Color& color);
    // bilinear read at (u, v) in 0..1 over the image, wrapping; v = 0 is the top row
    Color sample(float u, float v) const;

    // evaluates `shade(x, y)` for every pixel, rows split over two threads
    // (each pixel depends only on its own coordinates, so the result does not
    // depend on the split)
    void fill(const std::function<Color(int x, int y)>& shade);

    // the pixels as the encoders receive them: three bytes a pixel, rounded
    // and clamped, rows packed top row first
    std::vector<uint8_t> rgbBytes() const;
    // 8-bit RGB PNG, not interlaced
    std::vector<uint8_t> encodePng() const;
    // baseline JPEG at `quality` 1..100
    std::vector<uint8_t> encodeJpg(int quality) const;

private:
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;
};
