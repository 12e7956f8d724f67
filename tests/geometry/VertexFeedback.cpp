#include "tests/geometry/VertexFeedback.h"

#include <ostream>

namespace {
// Half the extent of the orthographic box and of the viewport, in units and
// pixels alike: a power of two, so that clip and window coordinates are the
// object coordinates scaled without rounding.
constexpr int halfExtent = 32;
// floats per vertex in GL_4D_COLOR_TEXTURE feedback: xyzw, rgba, strq
constexpr int vertexFloats = 12;
constexpr int texOffset = 8;
constexpr size_t feedbackFloats = 1 << 20;

// Window depth is 0.5 - z / 64 for the box below; undone exactly for the
// small dyadic depths the shapes use.
float objectZ(float windowZ)
{
    return (0.5f - windowZ) * (2.0f * halfExtent);
}

struct Pass {
    std::vector<std::array<float, vertexFloats>> vertices;
    std::string problem;
};

Pass feedbackPass(const std::function<void()>& draw, bool normalsAsTexCoords)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfExtent, halfExtent, -halfExtent, halfExtent, -halfExtent, halfExtent);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(-halfExtent, -halfExtent, 2 * halfExtent, 2 * halfExtent);
    glEnable(GL_TEXTURE_2D);
    for (GLenum coordinate : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R}) {
        if (normalsAsTexCoords) {
            glEnable(coordinate);
        } else {
            glDisable(coordinate);
        }
    }
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
    }

    std::vector<GLfloat> buffer(feedbackFloats);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    for (GLenum coordinate : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R}) {
        glDisable(coordinate);
    }

    Pass pass;
    if (used < 0) {
        pass.problem = "the feedback buffer overflowed";
        return pass;
    }
    for (GLint i = 0; i < used;) {
        if (buffer[i] != GL_POLYGON_TOKEN || i + 1 >= used) {
            pass.problem = "feedback holds something other than polygons, token " + std::to_string(buffer[i]);
            return pass;
        }
        const int count = static_cast<int>(buffer[i + 1]);
        i += 2;
        for (int v = 0; v < count; ++v, i += vertexFloats) {
            std::array<float, vertexFloats> vertex;
            std::copy(buffer.begin() + i, buffer.begin() + i + vertexFloats, vertex.begin());
            pass.vertices.push_back(vertex);
        }
    }
    return pass;
}

// Mesa feeds a quad back as the triangles (0, 1, 3) and (1, 2, 3).
bool reassembleQuads(std::vector<std::array<float, vertexFloats>>& vertices)
{
    if (vertices.size() % 6 != 0) {
        return false;
    }
    std::vector<std::array<float, vertexFloats>> quads;
    for (size_t i = 0; i < vertices.size(); i += 6) {
        const auto* t = &vertices[i];
        if (t[3] != t[1] || t[5] != t[2]) {
            return false;
        }
        quads.insert(quads.end(), {t[0], t[1], t[4], t[2]});
    }
    vertices = quads;
    return true;
}
}

std::ostream& operator<<(std::ostream& out, const FedVertex& vertex)
{
    return out << "position (" << vertex.position[0] << ", " << vertex.position[1] << ", "
               << vertex.position[2] << ") texCoord (" << vertex.texCoord[0] << ", " << vertex.texCoord[1]
               << ") normal (" << vertex.normal[0] << ", " << vertex.normal[1] << ", " << vertex.normal[2]
               << ")";
}

std::vector<FedVertex> captureVertices(const std::function<void()>& draw, bool quads, std::string* problem)
{
    Pass plain = feedbackPass(draw, false);
    Pass normals = feedbackPass(draw, true);
    *problem = plain.problem.empty() ? normals.problem : plain.problem;
    if (problem->empty() && quads &&
        !(reassembleQuads(plain.vertices) && reassembleQuads(normals.vertices))) {
        *problem = "quads did not come back as Mesa's triangle pairs";
    }
    if (problem->empty() && plain.vertices.size() != normals.vertices.size()) {
        *problem = "the two passes fed back different vertex counts";
    }
    if (!problem->empty()) {
        return {};
    }
    std::vector<FedVertex> vertices;
    for (size_t i = 0; i < plain.vertices.size(); ++i) {
        const auto& p = plain.vertices[i];
        const auto& n = normals.vertices[i];
        vertices.push_back({{p[0], p[1], objectZ(p[2])},
                            {p[texOffset], p[texOffset + 1]},
                            {n[texOffset], n[texOffset + 1], n[texOffset + 2]}});
    }
    return vertices;
}

GLuint makeCompleteTexture()
{
    const unsigned char white[2 * 2 * 4] = {255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}
