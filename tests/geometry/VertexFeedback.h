// What a drawing really sends through OpenGL, read back from Mesa in
// feedback mode: position, texture coordinate and normal of every vertex,
// in the order they were emitted.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

struct FedVertex {
    std::array<float, 3> position;
    std::array<float, 2> texCoord;
    std::array<float, 3> normal;

    bool operator==(const FedVertex& other) const
    {
        return position == other.position && texCoord == other.texCoord && normal == other.normal;
    }
};

std::ostream& operator<<(std::ostream& out, const FedVertex& vertex);

// Runs draw twice in feedback mode: once as it is, once with the normals
// generated into the texture coordinates. Positions up to 32 units from the
// origin come back exact. draw must bind a complete texture (without one
// Mesa generates no coordinates) and emit GL_TRIANGLES or, with quads set,
// GL_QUADS. On trouble returns nothing and says why in problem.
std::vector<FedVertex> captureVertices(const std::function<void()>& draw, bool quads, std::string* problem);

// a 2 x 2 white RGBA texture, complete without mipmaps
GLuint makeCompleteTexture();
