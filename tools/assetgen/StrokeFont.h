// Block capitals and digits drawn as strokes, for the stencilled names and
// owner codes on the containers.
#pragma once

#include "Image.h"

#include <string>

class StrokeFont {
public:
    // paints `text` in white onto `mask`, left to right from (x, baseline) in
    // pixels, capitals `height` pixels tall, strokes `weight` pixels wide.
    // Characters the font lacks leave a space.
    static void draw(Image& mask, const std::string& text, float x, float baseline, float height,
                     float weight);
    // width in pixels that `draw` covers for `text` at `height`
    static float width(const std::string& text, float height);
};
