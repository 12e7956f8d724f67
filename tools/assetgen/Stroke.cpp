#include "Stroke.h"

#include <algorithm>
#include <cmath>

float Stroke::distanceTo(float px, float py, float& t) const
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const float lengthSquared = dx * dx + dy * dy;
    t = lengthSquared > 0.0f ? std::clamp(((px - x0) * dx + (py - y0) * dy) / lengthSquared, 0.0f, 1.0f)
                             : 0.0f;
    const float cx = x0 + dx * t - px;
    const float cy = y0 + dy * t - py;
    return std::sqrt(cx * cx + cy * cy);
}

float Stroke::coverageAt(float px, float py, float& t) const
{
    const float d = distanceTo(px, py, t);
    const float halfWidth = 0.5f * (width0 + (width1 - width0) * t);
    return std::clamp(halfWidth - d + 0.5f, 0.0f, 1.0f);
}

void Stroke::paint(Image& image, const Color& color, float opacity) const
{
    paintGraded(image, color, color, opacity);
}

void Stroke::paintGraded(Image& image, const Color& from, const Color& to, float opacity) const
{
    const float reach = 0.5f * std::max(width0, width1) + 1.0f;
    const int left = static_cast<int>(std::floor(std::min(x0, x1) - reach));
    const int right = static_cast<int>(std::ceil(std::max(x0, x1) + reach));
    const int top = static_cast<int>(std::floor(std::min(y0, y1) - reach));
    const int bottom = static_cast<int>(std::ceil(std::max(y0, y1) + reach));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            float t = 0.0f;
            const float cover = coverageAt(x + 0.5f, y + 0.5f, t) * opacity;
            if (cover > 0.0f) {
                image.set(x, y, image.at(x, y).mix(from.mix(to, t), cover));
            }
        }
    }
}
