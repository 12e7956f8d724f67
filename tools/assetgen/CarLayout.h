// The scrap car's shape and the layout of rust.png, shared by the model that
// maps its faces onto the texture and the texture that is painted to fit.
//
// The car is 13 units long along x, nose towards +x, 5 units wide across z,
// wheels standing on y = 0: drawn at 0.3 scale it is 3.9 units long. Along x
// it lies parallel to the right wall once the frame turns it by 75 degrees.
//
// rust.png holds, with t = 1 the image's top row: the side seen square-on
// (both sides share it), the top seen from above, the front and the rear,
// the glass, the tyre and the wheel rim, each in its own rectangle.
#pragma once

#include "Vec3.h"

class CarLayout {
public:
    // an atlas rectangle and the span of the car it shows
    struct Region {
        float s0, t0, s1, t1; // texture rectangle
        float a0, a1;         // car coordinate along s
        float b0, b1;         // car coordinate along t
    };

    static constexpr float length = 13.0f;      // along x, units
    static constexpr float halfWidth = 2.5f;    // across z, units
    static constexpr float wheelRadius = 0.85f; // units
    static constexpr float wheelWidth = 0.7f;   // units
    static constexpr float frontAxle = 4.0f;    // x of the front wheels
    static constexpr float rearAxle = -3.9f;    // x of the rear wheels
    static constexpr float wheelTrack = 2.08f;  // |z| of the wheel centres
    static constexpr float sill = 0.75f;        // y of the body's lower edge
    static constexpr float archRadius = 1.08f;  // units
    static constexpr float belt = 2.55f;        // y where the cabin starts
    // windshield from its base to the roof, roof, then the rear window
    static constexpr float windshieldBase = 2.2f;
    static constexpr float roofFront = 0.55f;
    static constexpr float roofRear = -2.6f;
    static constexpr float rearWindowBase = -3.9f;
    static constexpr float roofHeight = 3.85f;
    // door shut lines, x
    static constexpr float frontDoorFront = 2.05f;
    static constexpr float bPillar = -0.75f;
    static constexpr float rearDoorRear = -3.05f;

    // top of the body (hood, belt, boot) at x
    static float bodyTop(float x);
    // the body's half-width at x, narrowing at the rounded ends
    static float bodyHalfWidth(float x);
    // lower edge of the body's side at x: the sill, or the wheel arch
    static float bodyBottom(float x);
    // roof line of the cabin at x, at or below the belt outside the cabin
    static float cabinTop(float x);

    static const Region side;
    static const Region top;
    static const Region front;
    static const Region rear;
    static const Region glass;
    static const Region tyre;
    static const Region rim;

    // texture coordinates of the car coordinates (a, b) in `region`
    static void map(const Region& region, float a, float b, float& s, float& t);
    // true when (s, t) lies in `region`; then (a, b) are its car coordinates
    static bool unmap(const Region& region, float s, float t, float& a, float& b);
};
