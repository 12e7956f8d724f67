#include "harness/LiteralObjLoader.h"

#include "harness/LiteralTokenizer.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {
struct Entry {
    float x;
    float y;
    float z;
};
}

bool LiteralObjLoader::load(const std::string& fileBytes)
{
    LiteralTokenizer tokenStream;
    LiteralTokenizer lineStream;
    LiteralTokenizer faceStream;
    std::string tempLine;
    std::string token;
    std::vector<Entry> verts;
    std::vector<Entry> norms;
    std::vector<Entry> texC;
    std::vector<int> faces;
    const char lineDelimiters[2] = {'\n', ' '};
    const char faceTokens[3] = {'\n', ' ', '/'};

    tokenStream.setText(fileBytes.c_str());
    tokenStream.reset();
    while (tokenStream.nextLine(&tempLine)) {
        lineStream.setText(tempLine.c_str());
        tokenStream.nextToken(nullptr, nullptr, 0);
        if (!lineStream.nextToken(&token, lineDelimiters, 2)) {
            continue;
        }
        if (strcmp(token.c_str(), "v") == 0 || strcmp(token.c_str(), "vn") == 0) {
            std::vector<Entry>& list = strcmp(token.c_str(), "vn") == 0 ? norms : verts;
            Entry entry{};
            lineStream.nextToken(&token, lineDelimiters, 2);
            entry.x = static_cast<float>(atof(token.c_str()));
            lineStream.nextToken(&token, lineDelimiters, 2);
            entry.y = static_cast<float>(atof(token.c_str()));
            lineStream.nextToken(&token, lineDelimiters, 2);
            entry.z = static_cast<float>(atof(token.c_str()));
            list.push_back(entry);
        } else if (strcmp(token.c_str(), "vt") == 0) {
            Entry entry{};
            lineStream.nextToken(&token, lineDelimiters, 2);
            entry.x = static_cast<float>(atof(token.c_str()));
            lineStream.nextToken(&token, lineDelimiters, 2);
            entry.y = static_cast<float>(atof(token.c_str()));
            texC.push_back(entry);
        } else if (strcmp(token.c_str(), "f") == 0) {
            std::string faceIndex;
            faceStream.setText(tempLine.c_str());
            faceStream.nextToken(nullptr, nullptr, 0);
            for (int i = 0; i < 9; ++i) {
                faceStream.nextToken(&faceIndex, faceTokens, 3);
                // atoi, but a number too large for an int names no entry
                const long index = strtol(faceIndex.c_str(), nullptr, 10);
                faces.push_back(index < INT_MIN || index > INT_MAX ? 0 : static_cast<int>(index));
            }
        }
    }

    const int count = 3 * static_cast<int>(faces.size() / 9);
    std::vector<float> newVertices;
    std::vector<float> newNormals;
    std::vector<float> newTexCoords;
    try {
        for (int c = 0; c < count; ++c) {
            const Entry& position = verts.at(static_cast<size_t>(faces[3 * c]) - 1);
            const Entry& texCoord = texC.at(static_cast<size_t>(faces[3 * c + 1]) - 1);
            const Entry& normal = norms.at(static_cast<size_t>(faces[3 * c + 2]) - 1);
            newVertices.insert(newVertices.end(), {position.x, position.y, position.z});
            newTexCoords.insert(newTexCoords.end(), {texCoord.x, texCoord.y});
            newNormals.insert(newNormals.end(), {normal.x, normal.y, normal.z});
        }
    } catch (const std::out_of_range&) {
        return false;
    }
    vertices.insert(vertices.end(), newVertices.begin(), newVertices.end());
    normals.insert(normals.end(), newNormals.begin(), newNormals.end());
    texCoords.insert(texCoords.end(), newTexCoords.begin(), newTexCoords.end());
    for (int c = 0; c < count; ++c) {
        indices.push_back(static_cast<int16_t>(c));
    }
    vertexCount = count;
    return true;
}
