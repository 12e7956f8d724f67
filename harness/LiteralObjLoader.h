// The OBJ reading rules done the straightforward way: whole-line string
// copies, atof and atoi on each token, checked element access. It keeps the
// same fields as Model so that the two can be compared after the same loads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LiteralObjLoader {
public:
    // appends the corners of the file's bytes (which end at their first
    // NUL); false, and nothing changed, when a face names a missing entry
    bool load(const std::string& fileBytes);

    int vertexCount = 0;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<int16_t> indices;
};
