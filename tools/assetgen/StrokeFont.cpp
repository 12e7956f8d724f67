#include "StrokeFont.h"

#include "Stroke.h"

#include <cstdio>

namespace {
// glyphs on a 4 x 6 grid, y up: pairs of points, one segment each
struct Glyph {
    char letter;
    const char* segments; // "x0 y0 x1 y1;" repeated
};

const Glyph glyphs[] = {
    {'B', "0 0 0 6;0 6 3 6;3 6 4 5;4 5 4 4;4 4 3 3;0 3 3 3;3 3 4 2;4 2 4 1;4 1 3 0;3 0 0 0"},
    {'D', "0 0 0 6;0 6 2.5 6;2.5 6 4 4.5;4 4.5 4 1.5;4 1.5 2.5 0;2.5 0 0 0"},
    {'E', "4 6 0 6;0 6 0 0;0 0 4 0;0 3 3 3"},
    {'G', "4 5 3 6;3 6 1 6;1 6 0 5;0 5 0 1;0 1 1 0;1 0 3 0;3 0 4 1;4 1 4 3;4 3 2 3"},
    {'I', "2 0 2 6;1 0 3 0;1 6 3 6"},
    {'K', "0 0 0 6;4 6 0 2.5;1.3 3.7 4 0"},
    {'L', "0 6 0 0;0 0 4 0"},
    {'N', "0 0 0 6;0 6 4 0;4 0 4 6"},
    {'R', "0 0 0 6;0 6 3 6;3 6 4 5;4 5 4 4;4 4 3 3;3 3 0 3;2 3 4 0"},
    {'S', "4 5 3 6;3 6 1 6;1 6 0 5;0 5 0 4;0 4 1 3;1 3 3 3;3 3 4 2;4 2 4 1;4 1 3 0;3 0 1 0;1 0 0 1"},
    {'T', "0 6 4 6;2 6 2 0"},
    {'U', "0 6 0 1;0 1 1 0;1 0 3 0;3 0 4 1;4 1 4 6"},
    {'0', "1 0 3 0;3 0 4 1;4 1 4 5;4 5 3 6;3 6 1 6;1 6 0 5;0 5 0 1;0 1 1 0"},
    {'1', "1 5 2 6;2 6 2 0;1 0 3 0"},
    {'2', "0 5 1 6;1 6 3 6;3 6 4 5;4 5 4 4;4 4 0 0;0 0 4 0"},
    {'3', "0 5 1 6;1 6 3 6;3 6 4 5;4 5 4 4;4 4 3 3;3 3 1.5 3;3 3 4 2;4 2 4 1;4 1 3 0;3 0 1 0;1 0 0 1"},
    {'4', "3 0 3 6;3 6 0 2;0 2 4 2"},
    {'5', "4 6 0 6;0 6 0 3.5;0 3.5 3 3.5;3 3.5 4 2.5;4 2.5 4 1;4 1 3 0;3 0 0 0"},
    {'6', "3.5 6 1 6;1 6 0 5;0 5 0 1;0 1 1 0;1 0 3 0;3 0 4 1;4 1 4 2.5;4 2.5 3 3.5;3 3.5 0 3.5"},
    {'7', "0 6 4 6;4 6 1.5 0"},
    {'8', "1 3 0 4;0 4 0 5;0 5 1 6;1 6 3 6;3 6 4 5;4 5 4 4;4 4 3 3;3 3 1 3;1 3 0 2;0 2 0 1;0 1 1 0;1 0 3 0;"
          "3 0 4 1;4 1 4 2;4 2 3 3"},
    {'9', "0.5 0 3 0;3 0 4 1;4 1 4 5;4 5 3 6;3 6 1 6;1 6 0 5;0 5 0 3.5;0 3.5 1 2.5;1 2.5 4 2.5"},
};
constexpr float glyphAdvance = 5.5f; // grid units from one letter to the next
constexpr float glyphRows = 6.0f;    // grid units of a capital's height

const Glyph* find(char letter)
{
    for (const Glyph& glyph : glyphs) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}
}

void StrokeFont::draw(Image& mask, const std::string& text, float x, float baseline, float height,
                      float weight)
{
    const float unit = height / glyphRows;
    float penX = x;
    for (char letter : text) {
        const Glyph* glyph = find(letter);
        if (glyph != nullptr) {
            const char* cursor = glyph->segments;
            float p[4];
            int read = 0;
            while (std::sscanf(cursor, "%f %f %f %f%n", &p[0], &p[1], &p[2], &p[3], &read) == 4) {
                const Stroke stroke{penX + p[0] * unit,
                                    baseline - p[1] * unit,
                                    penX + p[2] * unit,
                                    baseline - p[3] * unit,
                                    weight,
                                    weight};
                stroke.paint(mask, Color(1.0f, 1.0f, 1.0f));
                cursor += read;
                if (*cursor == ';') {
                    ++cursor;
                }
            }
        }
        penX += glyphAdvance * unit;
    }
}

float StrokeFont::width(const std::string& text, float height)
{
    const float unit = height / glyphRows;
    return text.empty() ? 0.0f : ((text.size() - 1) * glyphAdvance + 4.0f) * unit;
}
