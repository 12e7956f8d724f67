// The scrap car: a boxy saloon lofted from cross-sections along its length,
// a cabin with windshield and rear window, four wheels, a floor pan behind
// the wheel arches and a hanging rear bumper. It has been dumped a while:
// the front corner is crushed, a door and the roof are dented, one tyre is
// flat and the body sags towards it. Shape and texture layout: CarLayout.
#pragma once

#include "Fbm.h"
#include "Mesh.h"
#include "Vec3.h"

#include <cstdint>
#include <vector>

class CarModel {
public:
    explicit CarModel(uint32_t seedValue);

    // the whole car, a few thousand triangles
    Mesh build() const;

private:
    // which part a surface belongs to decides where it takes its texture
    enum class Part { body, cabin, underside, bumper };
    using Grid = std::vector<std::vector<Vec3>>;

    Vec3 damage(const Vec3& p) const;
    Grid bodyGrid() const;
    Grid cabinGrid() const;
    // skins a grid of stations (rows) by contour points (columns); a closed
    // contour joins its last column to its first; ends are capped with fans
    void addLoft(Mesh& mesh, const Grid& grid, bool closed, Part part) const;
    void addTriangle(Mesh& mesh, const Vec3 p[3], const Vec3 n[3], Part part) const;
    void addBox(Mesh& mesh, const Vec3 corners[8], Part part) const;
    void addWheel(Mesh& mesh, float x, float side, bool flat) const;

    // the small dents pressed into every panel
    Fbm dents;
};
