// An anti-aliased line segment with a width that tapers from one end to the
// other: a grass blade, a scratch, a lettering stroke. Drawn with wrap-around
// so strokes across a tile's edge continue on the opposite side.
#pragma once

#include "Color.h"
#include "Image.h"

class Stroke {
public:
    float x0 = 0.0f; // start, in pixels
    float y0 = 0.0f;
    float x1 = 0.0f; // end, in pixels
    float y1 = 0.0f;
    float width0 = 1.0f; // full width at the start, in pixels
    float width1 = 1.0f; // full width at the end, in pixels

    // blends `color` over the image with the stroke's coverage times `opacity`
    void paint(Image& image, const Color& color, float opacity = 1.0f) const;
    // blends `from` at the start shading into `to` at the end
    void paintGraded(Image& image, const Color& from, const Color& to, float opacity = 1.0f) const;

private:
    // distance of (px, py) to the segment and the position t along it
    float distanceTo(float px, float py, float& t) const;
    // coverage of (px, py) and the position t along the stroke
    float coverageAt(float px, float py, float& t) const;
};
