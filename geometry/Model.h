// One textured triangle mesh from a Wavefront OBJ file, kept as flat
// per-corner arrays and drawn in immediate mode.
#pragma once

#include "geometry/ModelArray.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string_view>
#include <vector>

class ObjLineReader;
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
    const ModelArray<float>& getVertices() const { return vertices; }
    const ModelArray<float>& getNormals() const { return normals; }
    const ModelArray<float>& getTexCoords() const { return texCoords; }
    const ModelArray<int16_t>& getIndices() const { return indices; }

private:
    // reads the statements of every line and flattens the faces onto the
    // arrays; false, the arrays as they were, when a face names an entry
    // the file does not have
    bool loadLines(ObjLineReader& lines);
    // each array holding exactly `corners` corners, the new ones unset
    void resizeCorners(size_t corners);
    // writes the corners of `faces` faces (nine indices each, every one
    // naming an entry of its list) from corner `corners` on, which the
    // arrays must hold, numbered from `first`; moves `corners` past them
    void placeFaces(const ModelArray<Vector3>& verts, const ModelArray<Vector3>& texC,
                    const ModelArray<Vector3>& norms, const int* faceIndices, size_t faces, size_t first,
                    size_t& corners);

    int vertexCount = 0;
    GLuint texture = 0;
    ModelArray<float> vertices;
    ModelArray<float> normals;
    ModelArray<float> texCoords;
    ModelArray<int16_t> indices;
};
