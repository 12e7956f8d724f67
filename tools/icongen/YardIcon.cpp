#include "tools/icongen/YardIcon.h"

#include <vector>

namespace {
// The yard is the unit square of (u, v), u running to the lower right and v
// to the lower left of the picture; heights go straight up.
constexpr float backCornerX = 32.0f; // pixels: where u = v = 0 lies
constexpr float backCornerY = 18.0f;
constexpr float stepAcross = 28.0f;    // pixels sideways per yard unit
constexpr float stepDown = 16.0f;      // pixels down per yard unit
constexpr float wallHeight = 5.0f;     // pixels
constexpr float wallThickness = 0.07f; // yard units
constexpr int grassTiles = 4;          // each way

// the container, in yard units, and its height in pixels
constexpr float containerNearU = 0.24f;
constexpr float containerFarU = 0.80f;
constexpr float containerNearV = 0.40f;
constexpr float containerFarV = 0.66f;
constexpr float containerHeight = 9.0f;
constexpr int containerRibs = 8;   // raised ribs along its long side
constexpr float ribWidth = 0.022f; // yard units

// Lit from the upper left: tops brightest, faces turned to the lower left
// next, faces turned to the lower right darkest.
constexpr IconColour outline = {46, 38, 32, 235};
constexpr IconColour grassLight = {122, 190, 70, 255};
constexpr IconColour grassDark = {82, 146, 46, 255};
constexpr IconColour wallTop = {222, 214, 198, 255};
constexpr IconColour wallInnerLeft = {170, 160, 144, 255};
constexpr IconColour wallInnerRight = {146, 136, 122, 255};
constexpr IconColour wallOuterLeft = {160, 148, 130, 255};
constexpr IconColour wallOuterRight = {124, 114, 101, 255};
constexpr IconColour mortar = {96, 88, 78, 200};
constexpr IconColour containerTop = {236, 122, 66, 255};
constexpr IconColour containerSide = {196, 86, 40, 255};
constexpr IconColour containerRib = {160, 64, 28, 255};
constexpr IconColour containerEnd = {150, 60, 26, 255};
constexpr IconColour containerDoorLine = {92, 34, 14, 255};
constexpr IconColour containerEdge = {250, 170, 120, 255};

struct YardPoint {
    float u = 0.0f;
    float v = 0.0f;
    float height = 0.0f; // pixels
};

// where a yard point lies on a canvas `scale` times the size the art is
// laid out at
IconPoint project(const YardPoint& point, float scale)
{
    return {(backCornerX + (point.u - point.v) * stepAcross) * scale,
            (backCornerY + (point.u + point.v) * stepDown - point.height) * scale};
}

void fillFace(IconCanvas& canvas, const std::vector<YardPoint>& corners, IconColour colour)
{
    const float scale = static_cast<float>(canvas.getSize()) / iconSize;
    std::vector<IconPoint> projected;
    for (const YardPoint& corner : corners) {
        projected.push_back(project(corner, scale));
    }
    canvas.fillPolygon(projected, colour);
}

// A face standing on the line from (u0, v0) to (u1, v1), from height
// bottom to top.
void fillUpright(IconCanvas& canvas, float u0, float v0, float u1, float v1, float bottom, float top,
                 IconColour colour)
{
    fillFace(canvas,
             {
                 {u0, v0, bottom},
                 {u1, v1, bottom},
                 {u1, v1, top},
                 {u0, v0, top},
             },
             colour);
}

// A flat rectangle of the yard, at the given height.
void fillLevel(IconCanvas& canvas, float u0, float v0, float u1, float v1, float height, IconColour colour)
{
    fillFace(canvas,
             {
                 {u0, v0, height},
                 {u1, v0, height},
                 {u1, v1, height},
                 {u0, v1, height},
             },
             colour);
}

// The silhouette of the walled yard, grown by about a pixel, drawn first in
// a dark tone so the icon stands out on light and dark desktops alike.
void drawOutline(IconCanvas& canvas)
{
    constexpr float grow = 0.035f; // yard units
    constexpr float lift = 1.2f;   // pixels
    fillFace(canvas,
             {
                 {-grow, -grow, wallHeight + lift},
                 {1.0f + grow, -grow, wallHeight + lift},
                 {1.0f + grow, -grow, -lift},
                 {1.0f + grow, 1.0f + grow, -lift},
                 {-grow, 1.0f + grow, -lift},
                 {-grow, 1.0f + grow, wallHeight + lift},
             },
             outline);
}

// Only inside the walls: grass reaching under a wall's outer foot would
// bleed through its anti-aliased edge.
void drawGrass(IconCanvas& canvas)
{
    constexpr float first = wallThickness;
    constexpr float tile = (1.0f - 2 * wallThickness) / grassTiles;
    for (int row = 0; row < grassTiles; ++row) {
        for (int column = 0; column < grassTiles; ++column) {
            const IconColour colour = (row + column) % 2 == 0 ? grassLight : grassDark;
            fillLevel(canvas, first + column * tile, first + row * tile, first + (column + 1) * tile,
                      first + (row + 1) * tile, 0.0f, colour);
        }
    }
}

// The two far walls, of which the inner faces show.
void drawBackWalls(IconCanvas& canvas)
{
    constexpr float t = wallThickness;
    fillUpright(canvas, t, t, 1.0f - t, t, 0.0f, wallHeight, wallInnerLeft);
    fillUpright(canvas, t, t, t, 1.0f - t, 0.0f, wallHeight, wallInnerRight);
    fillLevel(canvas, 0.0f, 0.0f, 1.0f, t, wallHeight, wallTop);
    fillLevel(canvas, 0.0f, 0.0f, t, 1.0f, wallHeight, wallTop);
}

// The two near walls, of which the outer faces show, with a course of
// mortar along each.
void drawFrontWalls(IconCanvas& canvas)
{
    constexpr float t = wallThickness;
    constexpr float mortarLow = wallHeight * 0.45f;
    constexpr float mortarHigh = mortarLow + 0.8f;
    fillUpright(canvas, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, wallHeight, wallOuterLeft);
    fillUpright(canvas, 0.0f, 1.0f, 1.0f, 1.0f, mortarLow, mortarHigh, mortar);
    fillUpright(canvas, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, wallHeight, wallOuterRight);
    fillUpright(canvas, 1.0f, 0.0f, 1.0f, 1.0f, mortarLow, mortarHigh, mortar);
    fillLevel(canvas, 0.0f, 1.0f - t, 1.0f, 1.0f, wallHeight, wallTop);
    fillLevel(canvas, 1.0f - t, 0.0f, 1.0f, 1.0f, wallHeight, wallTop);
}

void drawContainer(IconCanvas& canvas)
{
    constexpr float u0 = containerNearU;
    constexpr float u1 = containerFarU;
    constexpr float v0 = containerNearV;
    constexpr float v1 = containerFarV;
    constexpr float h = containerHeight;

    fillUpright(canvas, u0, v1, u1, v1, 0.0f, h, containerSide);
    const float ribStep = (u1 - u0) / (containerRibs + 1);
    for (int rib = 1; rib <= containerRibs; ++rib) {
        const float u = u0 + rib * ribStep;
        fillUpright(canvas, u - ribWidth / 2, v1, u + ribWidth / 2, v1, 0.6f, h - 0.6f, containerRib);
    }

    // The doors' end: two leaves meeting in the middle, each with a bar.
    constexpr float vMiddle = (v0 + v1) / 2;
    constexpr float lineWidth = 0.02f; // yard units
    fillUpright(canvas, u1, v0, u1, v1, 0.0f, h, containerEnd);
    fillUpright(canvas, u1, vMiddle - lineWidth, u1, vMiddle + lineWidth, 0.5f, h - 0.5f, containerDoorLine);
    for (const float bar : {(v0 + vMiddle) / 2, (vMiddle + v1) / 2}) {
        fillUpright(canvas, u1, bar - lineWidth / 2, u1, bar + lineWidth / 2, 1.5f, h - 1.5f, containerRib);
    }

    fillLevel(canvas, u0, v0, u1, v1, h, containerTop);
    // A light edge where the top meets the two faces in view.
    constexpr float edge = 0.025f; // yard units
    fillLevel(canvas, u0, v1 - edge, u1, v1, h, containerEdge);
    fillLevel(canvas, u1 - edge, v0, u1, v1, h, containerEdge);
}
}

IconCanvas drawYardIcon(int size)
{
    IconCanvas canvas(size);
    // Back to front, so nearer things cover farther ones.
    drawOutline(canvas);
    drawGrass(canvas);
    drawBackWalls(canvas);
    drawContainer(canvas);
    drawFrontWalls(canvas);
    return canvas;
}
