#include "CarModel.h"

#include "CarLayout.h"
#include "LatticeHash.h"
#include "Shaping.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int bodyStations = 36;
constexpr int cabinStations = 16;
constexpr int wheelSegments = 18;
constexpr int tyreRepeats = 3; // times the tread image goes round a tyre
constexpr float pi = 3.14159265f;
constexpr float flatTyreDrop = 0.14f; // units the flat corner has sunk

// soft bump of height 1 at `centre` falling to 0 at `radius`
float bump(const Vec3& p, const Vec3& centre, float radius)
{
    const float d = (p - centre).length() / radius;
    return d < 1.0f ? (1.0f - d * d) * (1.0f - d * d) : 0.0f;
}

// station positions along x, closer together at the nose and tail where the
// body curves most
float stationX(int i, int count, float x0, float x1)
{
    const float t = static_cast<float>(i) / (count - 1);
    const float eased = t - 0.12f * std::sin(2.0f * pi * t) / (2.0f * pi) * 2.0f;
    return x0 + (x1 - x0) * eased;
}

// a rounded rectangle cross-section, counter-clockwise around +x
std::vector<Vec3> roundedSection(float x, float halfWidth, float bottom, float top, float rBottom, float rTop)
{
    std::vector<Vec3> points;
    auto arc = [&](float cz, float cy, float r, float from, float to, int steps) {
        for (int j = 0; j < steps; ++j) {
            const float a = from + (to - from) * j / steps;
            points.emplace_back(x, cy + r * std::sin(a), cz + r * std::cos(a));
        }
    };
    const float crown = 0.06f;
    arc(halfWidth - rBottom, bottom + rBottom, rBottom, -0.5f * pi, 0.0f, 3);
    for (int j = 0; j < 2; ++j) {
        const float t = static_cast<float>(j) / 2;
        points.emplace_back(x, bottom + rBottom + (top - rTop - bottom - rBottom) * t, halfWidth);
    }
    arc(halfWidth - rTop, top - rTop, rTop, 0.0f, 0.5f * pi, 4);
    for (int j = 0; j < 5; ++j) {
        const float z = (halfWidth - rTop) * (1.0f - 2.0f * j / 5.0f);
        points.emplace_back(x, top + crown * (1.0f - (z / halfWidth) * (z / halfWidth)), z);
    }
    arc(-(halfWidth - rTop), top - rTop, rTop, 0.5f * pi, pi, 4);
    for (int j = 0; j < 2; ++j) {
        const float t = static_cast<float>(j) / 2;
        points.emplace_back(x, top - rTop - (top - rTop - bottom - rBottom) * t, -halfWidth);
    }
    arc(-(halfWidth - rBottom), bottom + rBottom, rBottom, pi, 1.5f * pi, 3);
    for (int j = 0; j < 3; ++j) {
        points.emplace_back(x, bottom, -(halfWidth - rBottom) * (1.0f - 2.0f * j / 3.0f));
    }
    return points;
}
}

CarModel::CarModel(uint32_t seedValue) : dents(LatticeHash(seedValue).derived(1), 6, 3, 3) {}

Vec3 CarModel::damage(const Vec3& p) const
{
    Vec3 q = p;
    // small dents all over the panels, pressed inwards
    const float side = q.z >= 0.0f ? 1.0f : -1.0f;
    q.z -= side * 0.07f * std::max(0.0f, dents.at(q.x / 13.0f, q.y / 4.0f));
    if (q.y > CarLayout::belt - 0.4f) {
        q.y -= 0.06f * std::max(0.0f, dents.at(q.x / 13.0f + 0.5f, q.z / 5.0f));
    }
    // the front corner on the +z side pushed in by a collision
    const float crush = bump(p, Vec3(6.6f, 1.7f, 2.6f), 2.4f);
    q = q + Vec3(-0.75f, -0.18f, -0.4f) * crush;
    q.y += 0.12f * crush * dents.at(q.z / 5.0f, q.y / 4.0f);
    // a kicked-in rear door on the -z side and a roof that has been sat on
    q.z += 0.28f * bump(p, Vec3(-1.6f, 1.6f, -2.6f), 1.2f);
    q.y -= 0.2f * bump(p, Vec3(-1.2f, CarLayout::roofHeight, 0.3f), 2.0f);
    // the body settles towards the flat rear tyre on the +z side
    const float sag = Shaping::smoothstep(2.0f, -6.5f, p.x) * Shaping::smoothstep(-2.5f, 2.5f, p.z);
    q.y -= flatTyreDrop * sag;
    return q;
}

CarModel::Grid CarModel::bodyGrid() const
{
    Grid grid;
    for (int i = 0; i < bodyStations; ++i) {
        const float x = stationX(i, bodyStations, -CarLayout::length * 0.5f, CarLayout::length * 0.5f);
        const float top = CarLayout::bodyTop(x);
        const float bottom = CarLayout::bodyBottom(x);
        const float height = top - bottom;
        std::vector<Vec3> section =
            roundedSection(x, CarLayout::bodyHalfWidth(x), bottom, top, std::min(0.15f, height * 0.25f),
                           std::min(0.4f, height * 0.45f));
        for (Vec3& p : section) {
            p = damage(p);
        }
        grid.push_back(section);
    }
    return grid;
}

CarModel::Grid CarModel::cabinGrid() const
{
    Grid grid;
    for (int i = 0; i < cabinStations; ++i) {
        const float x = CarLayout::rearWindowBase +
                        (CarLayout::windshieldBase - CarLayout::rearWindowBase) * i / (cabinStations - 1);
        const float bottom = CarLayout::belt - 0.12f;
        const float top = std::max(CarLayout::cabinTop(x), CarLayout::belt + 0.03f);
        const float lower = CarLayout::bodyHalfWidth(x) - 0.14f;
        const float upper = lower - 0.45f * std::min(1.0f, (top - bottom) / (CarLayout::roofHeight - bottom));
        const float round = std::min(0.25f, (top - bottom) * 0.3f);
        std::vector<Vec3> section;
        // up the -z side, over the roof, down the +z side: the glasshouse leans in
        for (int j = 0; j < 3; ++j) {
            const float t = static_cast<float>(j) / 3;
            section.emplace_back(x, bottom + (top - round - bottom) * t, -(lower + (upper - lower) * t));
        }
        for (int j = 0; j < 3; ++j) {
            const float a = pi - 0.5f * pi * j / 3;
            section.emplace_back(x, top - round + round * std::sin(a),
                                 -(upper - round) + round * std::cos(a));
        }
        for (int j = 0; j < 4; ++j) {
            section.emplace_back(x, top, -(upper - round) + 2.0f * (upper - round) * j / 4);
        }
        for (int j = 0; j < 3; ++j) {
            const float a = 0.5f * pi - 0.5f * pi * j / 3;
            section.emplace_back(x, top - round + round * std::sin(a), (upper - round) + round * std::cos(a));
        }
        for (int j = 0; j <= 3; ++j) {
            const float t = 1.0f - static_cast<float>(j) / 3;
            section.emplace_back(x, bottom + (top - round - bottom) * t, lower + (upper - lower) * t);
        }
        for (Vec3& p : section) {
            p = damage(p);
        }
        grid.push_back(section);
    }
    return grid;
}

void CarModel::addTriangle(Mesh& mesh, const Vec3 p[3], const Vec3 n[3], Part part) const
{
    const Vec3 facing = (p[1] - p[0]).cross(p[2] - p[0]).normalized();
    const Vec3 outward = (n[0] + n[1] + n[2]).normalized();
    const Vec3 g = facing.dot(outward) >= 0.0f ? facing : -facing;
    const float ax = std::fabs(g.x);
    const float ay = std::fabs(g.y);
    const float az = std::fabs(g.z);
    Mesh::Corner corners[3];
    for (int i = 0; i < 3; ++i) {
        const Vec3& q = p[i];
        float s = 0.0f;
        float t = 0.0f;
        if (part == Part::underside || (part != Part::bumper && g.y < -0.5f)) {
            CarLayout::map(CarLayout::tyre, (q.x + 6.6f) / 13.2f, q.z / 2.6f, s, t);
        } else if (part == Part::bumper) {
            CarLayout::map(CarLayout::rear, q.z, 1.0f + (q.y - 0.75f) * 0.5f, s, t);
        } else if (az >= ax && az >= ay * 0.8f) {
            CarLayout::map(CarLayout::side, q.x, q.y, s, t);
        } else if (part == Part::cabin) {
            if (g.y > 0.9f) {
                CarLayout::map(CarLayout::top, q.x, q.z, s, t);
            } else {
                CarLayout::map(CarLayout::glass, q.z, q.y, s, t);
            }
        } else if (ay >= ax) {
            CarLayout::map(CarLayout::top, q.x, q.z, s, t);
        } else {
            CarLayout::map(g.x > 0.0f ? CarLayout::front : CarLayout::rear, q.z, q.y, s, t);
        }
        corners[i] = {q, s, t, n[i]};
    }
    mesh.addFacing(corners[0], corners[1], corners[2]);
}

void CarModel::addLoft(Mesh& mesh, const Grid& grid, bool closed, Part part) const
{
    const int rows = static_cast<int>(grid.size());
    const int cols = static_cast<int>(grid[0].size());
    // smooth normals from central differences across the grid
    Grid normals(rows, std::vector<Vec3>(cols));
    Vec3 middle;
    for (const auto& row : grid) {
        for (const Vec3& p : row) {
            middle = middle + p * (1.0f / (rows * cols));
        }
    }
    for (int i = 0; i < rows; ++i) {
        for (int k = 0; k < cols; ++k) {
            const Vec3 along = grid[std::min(i + 1, rows - 1)][k] - grid[std::max(i - 1, 0)][k];
            const int kNext = closed ? (k + 1) % cols : std::min(k + 1, cols - 1);
            const int kPrev = closed ? (k + cols - 1) % cols : std::max(k - 1, 0);
            Vec3 n = along.cross(grid[i][kNext] - grid[i][kPrev]).normalized();
            // outwards: away from the axis of the loft at this station
            const Vec3 axis(grid[i][k].x, middle.y, 0.0f);
            if (n.dot(grid[i][k] - axis) < 0.0f) {
                n = -n;
            }
            normals[i][k] = n;
        }
    }
    const int spans = closed ? cols : cols - 1;
    for (int i = 0; i + 1 < rows; ++i) {
        for (int k = 0; k < spans; ++k) {
            const int k1 = (k + 1) % cols;
            const Vec3 a[3] = {grid[i][k], grid[i + 1][k], grid[i + 1][k1]};
            const Vec3 an[3] = {normals[i][k], normals[i + 1][k], normals[i + 1][k1]};
            addTriangle(mesh, a, an, part);
            const Vec3 b[3] = {grid[i][k], grid[i + 1][k1], grid[i][k1]};
            const Vec3 bn[3] = {normals[i][k], normals[i + 1][k1], normals[i][k1]};
            addTriangle(mesh, b, bn, part);
        }
    }
    // end caps: fans about each end's centre, facing along the loft
    for (const int i : {0, rows - 1}) {
        Vec3 centre;
        for (const Vec3& p : grid[i]) {
            centre = centre + p * (1.0f / cols);
        }
        const Vec3 n = i == 0 ? Vec3(-1, 0, 0) : Vec3(1, 0, 0);
        for (int k = 0; k < cols; ++k) {
            const Vec3 p[3] = {centre, grid[i][k], grid[i][(k + 1) % cols]};
            const Vec3 pn[3] = {n, n, n};
            addTriangle(mesh, p, pn, part);
        }
    }
}

void CarModel::addBox(Mesh& mesh, const Vec3 c[8], Part part) const
{
    // corners: bit 0 selects +x, bit 1 +y, bit 2 +z
    const int faces[6][4] = {{0, 2, 6, 4}, {1, 5, 7, 3}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 6, 7, 5}};
    Vec3 middle;
    for (int i = 0; i < 8; ++i) {
        middle = middle + c[i] * 0.125f;
    }
    for (const auto& f : faces) {
        Vec3 n = (c[f[1]] - c[f[0]]).cross(c[f[2]] - c[f[0]]).normalized();
        if (n.dot(c[f[0]] + c[f[2]] - middle * 2.0f) < 0.0f) {
            n = -n;
        }
        const Vec3 pn[3] = {n, n, n};
        const Vec3 a[3] = {c[f[0]], c[f[1]], c[f[2]]};
        addTriangle(mesh, a, pn, part);
        const Vec3 b[3] = {c[f[0]], c[f[2]], c[f[3]]};
        addTriangle(mesh, b, pn, part);
    }
}

void CarModel::addWheel(Mesh& mesh, float x, float side, bool flat) const
{
    // lathe profile from the inner face to the outer, as (radius, offset
    // across the tyre): sidewall, shoulder, tread, shoulder, sidewall, rim, hub
    const float half = CarLayout::wheelWidth * 0.5f;
    const float r = CarLayout::wheelRadius;
    const struct {
        float radius;
        float offset;
    } profile[] = {{0.05f, -half + 0.06f}, {r * 0.62f, -half},        {r * 0.94f, -half},
                   {r, -half + 0.07f},     {r, half - 0.07f},         {r * 0.94f, half},
                   {r * 0.62f, half},      {r * 0.56f, half - 0.06f}, {r * 0.2f, half - 0.1f},
                   {0.05f, half - 0.05f}};
    constexpr int profileCount = sizeof profile / sizeof profile[0];
    const float centreY = flat ? r - flatTyreDrop : r;
    const Vec3 centre(x, centreY, side * CarLayout::wheelTrack);
    std::vector<std::vector<Vec3>> ring(profileCount, std::vector<Vec3>(wheelSegments));
    for (int j = 0; j < profileCount; ++j) {
        for (int k = 0; k < wheelSegments; ++k) {
            // segment 0 starts straight down, so the tyre stands on y = 0
            const float a = 2.0f * pi * k / wheelSegments - 0.5f * pi;
            Vec3 p = centre + Vec3(std::cos(a) * profile[j].radius, std::sin(a) * profile[j].radius,
                                   side * profile[j].offset);
            if (p.y < 0.0f) {
                // the flat tyre's tread spreads on the ground
                p.y = 0.0f;
                p.z += side * 0.06f * (profile[j].offset / half);
            }
            ring[j][k] = p;
        }
    }
    for (int j = 0; j + 1 < profileCount; ++j) {
        for (int k = 0; k < wheelSegments; ++k) {
            const int k1 = (k + 1) % wheelSegments;
            const Vec3 quad[4] = {ring[j][k], ring[j + 1][k], ring[j + 1][k1], ring[j][k1]};
            const Vec3 facing = (quad[1] - quad[0]).cross(quad[2] - quad[0]);
            Vec3 n[4];
            for (int q = 0; q < 4; ++q) {
                // tread faces out from the axle, the sides face along it
                const Vec3 radial = Vec3(quad[q].x - centre.x, quad[q].y - centre.y, 0.0f).normalized();
                const bool tread = j >= 2 && j <= 4;
                n[q] = tread ? radial : (facing.length() > 0.0f ? facing.normalized() : radial);
                if (!tread && n[q].z * side * (j < 2 ? -1.0f : 1.0f) < 0.0f) {
                    n[q] = -n[q];
                }
            }
            const bool rimFace = j >= 6;
            Mesh::Corner c[4];
            for (int q = 0; q < 4; ++q) {
                const int kk = (q == 2 || q == 3) ? k + 1 : k;
                const int jj = (q == 1 || q == 2) ? j + 1 : j;
                float s = 0.0f;
                float t = 0.0f;
                if (rimFace) {
                    CarLayout::map(CarLayout::rim, (quad[q].x - centre.x) / r * side,
                                   (quad[q].y - centre.y) / r, s, t);
                } else {
                    // the tread pattern goes three times round; each quad
                    // measures from the start of its own repeat
                    const float repeat = std::floor(static_cast<float>(k) * tyreRepeats / wheelSegments);
                    CarLayout::map(CarLayout::tyre,
                                   static_cast<float>(kk) * tyreRepeats / wheelSegments - repeat,
                                   -1.0f + 2.0f * jj / 6.0f, s, t);
                }
                c[q] = {quad[q], s, t, n[q]};
            }
            mesh.addFacing(c[0], c[1], c[2]);
            mesh.addFacing(c[0], c[2], c[3]);
        }
    }
}

Mesh CarModel::build() const
{
    Mesh mesh;
    addLoft(mesh, bodyGrid(), true, Part::body);
    addLoft(mesh, cabinGrid(), false, Part::cabin);

    // floor pan: closes the gap under the body between the wheel arches
    const float panHalf = CarLayout::wheelTrack - CarLayout::wheelWidth * 0.5f - 0.15f;
    Vec3 pan[8];
    for (int i = 0; i < 8; ++i) {
        pan[i] = damage(Vec3(i & 1 ? 5.4f : -5.6f, i & 2 ? 1.9f : 0.7f, i & 4 ? panHalf : -panHalf));
    }
    addBox(mesh, pan, Part::underside);

    // the rear bumper, torn loose at one end
    Vec3 bumper[8];
    for (int i = 0; i < 8; ++i) {
        const float z = i & 4 ? 2.3f : -2.3f;
        const float droop = z > 0.0f ? 0.45f : 0.0f;
        bumper[i] = damage(Vec3(i & 1 ? -6.35f : -6.75f, (i & 2 ? 1.3f : 0.9f) - droop, z));
    }
    addBox(mesh, bumper, Part::bumper);

    addWheel(mesh, CarLayout::frontAxle, 1.0f, false);
    addWheel(mesh, CarLayout::frontAxle, -1.0f, false);
    addWheel(mesh, CarLayout::rearAxle, 1.0f, true);
    addWheel(mesh, CarLayout::rearAxle, -1.0f, false);
    return mesh;
}
