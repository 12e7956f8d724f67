// A copy of decoded pixels for the SOIL stand-in, with the changes SOIL
// makes to them before they become a texture. Rows run top to bottom,
// channels are interleaved one byte each: 1 grey, 2 grey and alpha, 3 RGB,
// 4 RGBA.
#pragma once

#include <vector>

class SoilImage {
public:
    // copies width x height pixels of 1 to 4 channels
    SoilImage(const unsigned char* data, int width, int height, int channels);

    // turns the image upside down, so that its bottom row comes first
    void flipVertically();
    // maps every colour channel linearly onto 16 to 235, as SOIL does for
    // the NTSC-safe range; alpha is kept
    void scaleToNtscSafe();
    // true when both sides are powers of two
    bool isPowerOfTwo() const;
    // stretches each side up to the next power of two, sampling bilinearly
    // with the corners kept in place
    void resizeToPowerOfTwo();

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getChannels() const { return channels; }
    const unsigned char* getPixels() const { return pixels.data(); }

private:
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> pixels;
};
