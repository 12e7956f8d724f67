// A small square RGBA picture that filled polygons are drawn onto,
// anti-aliased by drawing at a grid of samples inside every pixel and
// averaging them. Each sample is painted over on its own, so polygons that
// share an edge leave no seam. Integer arithmetic throughout makes the
// result the same with every compiler and machine, so a generated icon can
// be compared byte for byte with the one committed.
#pragma once

#include <cstdint>
#include <vector>

struct IconPoint {
    float x = 0.0f; // pixels from the left edge
    float y = 0.0f; // pixels from the top edge
};

struct IconColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

class IconCanvas {
public:
    // a fully transparent picture, size x size pixels
    explicit IconCanvas(int size);

    // paints a simple polygon (corners in order, either direction) over what
    // is there, at every sample it covers
    void fillPolygon(const std::vector<IconPoint>& corners, IconColour colour);

    int getSize() const { return size; }
    // the pixel's colour with straight (not premultiplied) alpha
    IconColour pixel(int x, int y) const;

private:
    int size = 0;
    // premultiplied red, green, blue and alpha per sample, each 0 to
    // 255 x 255, rows of samples top to bottom
    std::vector<uint32_t> samples;
};
