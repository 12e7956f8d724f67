// One textured triangle mesh from a Wavefront OBJ file, kept as flat
// per-corner arrays and drawn in immediate mode.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <string_view>
#include <vector>

class Vector3;

class Model {
public:
    // reads the OBJ file, then its texture; shows "Model failed to load"
    // and returns false when the file cannot be read
    bool load(const char* modelPath, const char* texturePath);
    // appends the file's corners to the arrays; false when it cannot be read
    // or names an entry it does not have, the model then left as it was
    bool loadModel(const char* path);
    // the same for OBJ text already in memory, which ends at its first NUL
    bool loadModelText(std::string_view text);
    void loadTexture(const char* path);
    // sends every corner between glBegin and glEnd; leaves texture 0 bound
    void render() const;

    int getVertexCount() const { return vertexCount; }
    GLuint getTexture() const { return texture; }
    const std::vector<float>& getVertices() const { return vertices; }
    const std::vector<float>& getNormals() const { return normals; }
    const std::vector<float>& getTexCoords() const { return texCoords; }
    const std::vector<int16_t>& getIndices() const { return indices; }

private:
    // flattens the file's faces onto the arrays; false, nothing appended,
    // when a face names an entry its list does not have
    bool appendCorners(const std::vector<Vector3>& verts, const std::vector<Vector3>& norms,
                       const std::vector<Vector3>& texC, const std::vector<int>& faces);

    int vertexCount = 0;
    GLuint texture = 0;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<int16_t> indices;
};
