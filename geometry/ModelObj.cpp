// Model's OBJ reading: the v, vn, vt and triangular f statements of a
// Wavefront file turned into flat per-corner arrays.
#include "geometry/Model.h"

#include "camera/Vector3.h"
#include "geometry/NumberText.h"
#include "geometry/Tokenizer.h"

#include <climits>
#include <fstream>
#include <memory>
#include <new>

namespace {
constexpr char lineDelimiters[] = {'\n', ' '};
constexpr char faceTokens[] = {'\n', ' ', '/'};
constexpr int lineDelimiterCount = 2;
constexpr int faceTokenCount = 3;
// position, texture-coordinate and normal index of each of three corners
constexpr int indicesPerFace = 9;
constexpr int cornersPerFace = 3;

// One operand of a v, vn or vt line. A line that runs short leaves token as
// it was, so its last operand (or the keyword, which reads as 0) repeats:
// files written for the loader rely on that.
float readOperand(Tokenizer& lineStream, std::string_view& token)
{
    lineStream.nextToken(&token, lineDelimiters, lineDelimiterCount);
    return static_cast<float>(tokenToDouble(token));
}

Vector3 readVector3(Tokenizer& lineStream, std::string_view& token)
{
    const float x = readOperand(lineStream, token);
    const float y = readOperand(lineStream, token);
    const float z = readOperand(lineStream, token);
    return Vector3(x, y, z);
}

Vector3 readTexCoord(Tokenizer& lineStream, std::string_view& token)
{
    const float u = readOperand(lineStream, token);
    const float v = readOperand(lineStream, token);
    return Vector3(u, v, 0.0f);
}

// Always nine integers: "/" and space both delimit and empty fields vanish,
// so only position/texture/normal corners read as meant, and a short face
// repeats its last index.
void readFace(Tokenizer& faceStream, std::string_view line, std::vector<int>& faces)
{
    faceStream.setText(line);
    faceStream.nextToken(nullptr, nullptr, 0);
    std::string_view faceIndex;
    for (int i = 0; i < indicesPerFace; ++i) {
        faceStream.nextToken(&faceIndex, faceTokens, faceTokenCount);
        faces.push_back(tokenToInt(faceIndex));
    }
}

// OBJ indices count from 1 over the whole file
bool namesEntry(int index, size_t listSize)
{
    return index >= 1 && static_cast<size_t>(index) <= listSize;
}
}

bool Model::loadModel(const char* path)
{
    // binary, so that both line ends reach the tokenizer alike on every host
    std::ifstream fileStream(path, std::ios::binary);
    if (!fileStream.is_open()) {
        return false;
    }
    fileStream.seekg(0, std::ios::end);
    const std::streamoff size = fileStream.tellg();
    fileStream.seekg(0, std::ios::beg);
    // the cursors are ints, so a text must fit one
    if (size <= 0 || size > INT_MAX) {
        return false;
    }
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(size)]);
    if (!buffer) {
        return false;
    }
    fileStream.read(buffer.get(), size);
    // a path that opens but cannot be read, such as a folder, is no model
    const std::streamsize got = fileStream.gcount();
    if (got <= 0) {
        return false;
    }
    return loadModelText(std::string_view(buffer.get(), static_cast<size_t>(got)));
}

bool Model::loadModelText(std::string_view text)
{
    try {
        Tokenizer tokenStream;
        Tokenizer lineStream;
        Tokenizer faceStream;
        std::string_view tempLine;
        std::string_view token;
        std::vector<Vector3> verts;
        std::vector<Vector3> norms;
        std::vector<Vector3> texC;
        std::vector<int> faces;

        tokenStream.setText(text);
        while (tokenStream.nextLine(&tempLine)) {
            lineStream.setText(tempLine);
            // Leaves the start cursor on the next visible character, passing
            // over CR LF, blank lines and the next line's leading spaces.
            tokenStream.nextToken(nullptr, nullptr, 0);
            if (!lineStream.nextToken(&token, lineDelimiters, lineDelimiterCount)) {
                continue;
            }
            if (token == "v") {
                verts.push_back(readVector3(lineStream, token));
            } else if (token == "vn") {
                norms.push_back(readVector3(lineStream, token));
            } else if (token == "vt") {
                texC.push_back(readTexCoord(lineStream, token));
            } else if (token == "f") {
                readFace(faceStream, tempLine, faces);
            }
        }
        return appendCorners(verts, norms, texC, faces);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Model::appendCorners(const std::vector<Vector3>& verts, const std::vector<Vector3>& norms,
                          const std::vector<Vector3>& texC, const std::vector<int>& faces)
{
    const int cornerCount = cornersPerFace * static_cast<int>(faces.size() / indicesPerFace);
    // Checked before anything is appended, so that a file naming an entry it
    // does not have leaves the model exactly as it was.
    for (int c = 0; c < cornerCount; ++c) {
        if (!namesEntry(faces[3 * c], verts.size()) || !namesEntry(faces[3 * c + 1], texC.size()) ||
            !namesEntry(faces[3 * c + 2], norms.size())) {
            return false;
        }
    }
    // Reserved up front: once all four hold, the appends below cannot fail
    // half-way.
    vertices.reserve(vertices.size() + 3 * static_cast<size_t>(cornerCount));
    texCoords.reserve(texCoords.size() + 2 * static_cast<size_t>(cornerCount));
    normals.reserve(normals.size() + 3 * static_cast<size_t>(cornerCount));
    indices.reserve(indices.size() + static_cast<size_t>(cornerCount));
    for (int c = 0; c < cornerCount; ++c) {
        const Vector3& position = verts[faces[3 * c] - 1];
        const Vector3& texCoord = texC[faces[3 * c + 1] - 1];
        const Vector3& normal = norms[faces[3 * c + 2] - 1];
        vertices.push_back(position.getX());
        vertices.push_back(position.getY());
        vertices.push_back(position.getZ());
        texCoords.push_back(texCoord.getX());
        texCoords.push_back(texCoord.getY());
        normals.push_back(normal.getX());
        normals.push_back(normal.getY());
        normals.push_back(normal.getZ());
        indices.push_back(static_cast<int16_t>(c));
    }
    vertexCount = cornerCount;
    return true;
}
