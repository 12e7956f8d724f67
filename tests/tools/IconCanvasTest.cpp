#include "tools/icongen/IconCanvas.h"

#include <gtest/gtest.h>

namespace {
constexpr IconColour red = {255, 0, 0, 255};
constexpr IconColour blue = {0, 0, 255, 255};

std::vector<IconPoint> square(float left, float top, float right, float bottom)
{
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

// Expects every pixel opaque where covered(x, y) holds and clear elsewhere.
template <typename Covered>
void expectCoverage(const IconCanvas& canvas, Covered covered)
{
    for (int y = 0; y < canvas.getSize(); ++y) {
        for (int x = 0; x < canvas.getSize(); ++x) {
            EXPECT_EQ(canvas.pixel(x, y).alpha, covered(x, y) ? 255 : 0) << x << "," << y;
        }
    }
}
}

TEST(IconCanvas, StartsFullyClear)
{
    expectCoverage(IconCanvas(8), [](int, int) { return false; });
}

TEST(IconCanvas, PixelAlignedSquareCoversExactlyItsPixels)
{
    IconCanvas canvas(8);
    canvas.fillPolygon(square(2.0f, 3.0f, 5.0f, 6.0f), red);
    expectCoverage(canvas, [](int x, int y) { return x >= 2 && x < 5 && y >= 3 && y < 6; });
    EXPECT_EQ(canvas.pixel(3, 4).red, 255);
    EXPECT_EQ(canvas.pixel(3, 4).blue, 0);
}

TEST(IconCanvas, EdgeThroughAPixelGivesPartialCoverage)
{
    IconCanvas canvas(4);
    // Right edge halfway across column 2; a diagonal through column 0.
    canvas.fillPolygon(square(1.0f, 0.0f, 2.5f, 4.0f), red);
    EXPECT_EQ(canvas.pixel(1, 1).alpha, 255);
    EXPECT_EQ(canvas.pixel(2, 1).alpha, 128);
    EXPECT_EQ(canvas.pixel(3, 1).alpha, 0);
    // The pixel keeps its colour; only its alpha carries the coverage.
    EXPECT_EQ(canvas.pixel(2, 1).red, 255);

    IconCanvas triangle(4);
    triangle.fillPolygon({{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}}, red);
    const int alpha = triangle.pixel(0, 0).alpha;
    EXPECT_GT(alpha, 110);
    EXPECT_LT(alpha, 145);
}

TEST(IconCanvas, NeighbouringPolygonsLeaveNoSeam)
{
    IconCanvas canvas(4);
    // Two triangles sharing a diagonal make one opaque square.
    canvas.fillPolygon({{0.0f, 0.0f}, {4.0f, 0.0f}, {0.0f, 4.0f}}, red);
    canvas.fillPolygon({{4.0f, 0.0f}, {4.0f, 4.0f}, {0.0f, 4.0f}}, red);
    expectCoverage(canvas, [](int, int) { return true; });
}

TEST(IconCanvas, LaterPolygonsCoverEarlierOnes)
{
    IconCanvas canvas(4);
    canvas.fillPolygon(square(0.0f, 0.0f, 4.0f, 4.0f), red);
    canvas.fillPolygon(square(0.0f, 0.0f, 2.0f, 4.0f), blue);
    const IconColour covered = canvas.pixel(1, 1);
    EXPECT_EQ(covered.blue, 255);
    EXPECT_EQ(covered.red, 0);
    EXPECT_EQ(canvas.pixel(3, 1).red, 255);

    // Half-transparent blue over red mixes them and stays opaque.
    canvas.fillPolygon(square(2.0f, 0.0f, 4.0f, 4.0f), {0, 0, 255, 128});
    const IconColour mixed = canvas.pixel(3, 1);
    EXPECT_EQ(mixed.alpha, 255);
    EXPECT_NEAR(mixed.red, 127, 1);
    EXPECT_NEAR(mixed.blue, 128, 1);
}

TEST(IconCanvas, PolygonOutsideTheCanvasIsClipped)
{
    IconCanvas canvas(4);
    canvas.fillPolygon(square(-10.0f, -10.0f, 2.0f, 2.0f), red);
    canvas.fillPolygon(square(6.0f, 6.0f, 9.0f, 9.0f), red);
    EXPECT_EQ(canvas.pixel(0, 0).alpha, 255);
    EXPECT_EQ(canvas.pixel(1, 1).alpha, 255);
    EXPECT_EQ(canvas.pixel(2, 2).alpha, 0);
    EXPECT_EQ(canvas.pixel(3, 3).alpha, 0);
}
