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

// The rules' own reading of a v, vn or vt line's operands, for the lines
// the fast path leaves. A line that runs short leaves token as it was, so
// its last operand (or the keyword, which reads as 0) repeats: files
// written for the loader rely on that.
void readOperands(std::string_view line, int count, float* values)
{
    Tokenizer lineStream;
    lineStream.setText(line);
    std::string_view token;
    lineStream.nextToken(&token, lineDelimiters, lineDelimiterCount);
    for (int i = 0; i < count; ++i) {
        lineStream.nextToken(&token, lineDelimiters, lineDelimiterCount);
        values[i] = static_cast<float>(tokenToDouble(token));
    }
}

// Always nine integers: "/" and space both delimit and empty fields vanish,
// so only position/texture/normal corners read as meant, and a short face
// repeats its last index.
void readFaceIndices(std::string_view line, int* indices)
{
    Tokenizer faceStream;
    faceStream.setText(line);
    faceStream.nextToken(nullptr, nullptr, 0);
    std::string_view faceIndex;
    for (int i = 0; i < indicesPerFace; ++i) {
        faceStream.nextToken(&faceIndex, faceTokens, faceTokenCount);
        indices[i] = tokenToInt(faceIndex);
    }
}

// The fast paths below read the operands as exporters write them, in one
// pass over the line and without the tokenizers: space-separated plain
// numbers, and corners of three plain indices. They give what the
// tokenizer path gives or, having read anything else (a short list, a
// quote, hex, a sign the fast conversions leave to the C library), return
// false and leave the line to it.

bool isPlainDelimiter(const char* p, const char* end, char alsoDelimiter)
{
    return p == end || *p == ' ' || *p == alsoDelimiter;
}

bool readPlainNumbers(std::string_view operands, int count, float* values)
{
    const char* p = operands.data();
    const char* const end = p + operands.size();
    for (int i = 0; i < count; ++i) {
        while (p < end && *p == ' ') {
            ++p;
        }
        double value = 0.0;
        // the number must be the whole token, so that the next one starts
        // where the tokenizer would start it
        if (p == end || !readPlainDouble(p, end, &value, &p) || !isPlainDelimiter(p, end, ' ')) {
            return false;
        }
        values[i] = static_cast<float>(value);
    }
    return true;
}

bool readPlainFace(std::string_view operands, int* indices)
{
    const char* p = operands.data();
    const char* const end = p + operands.size();
    for (int i = 0; i < indicesPerFace; ++i) {
        while (p < end && (*p == ' ' || *p == '/')) {
            ++p;
        }
        if (p == end || !readPlainInt(p, end, &indices[i], &p) || !isPlainDelimiter(p, end, '/')) {
            return false;
        }
    }
    return true;
}

// The line's first token as the line delimiters cut it, without a
// tokenizer: empty when there is none, as in a line of one character. A
// token holding a quote may be cut shorter here than by the rules, but it
// is no keyword either way.
std::string_view keywordOf(std::string_view line)
{
    if (line.size() < 2) {
        return {};
    }
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = line.find(' ', first);
    return line.substr(first, last == std::string_view::npos ? std::string_view::npos : last - first);
}

// what follows the keyword in its line
std::string_view operandsOf(std::string_view line, std::string_view keyword)
{
    return line.substr(static_cast<size_t>(keyword.data() + keyword.size() - line.data()));
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
        std::string_view tempLine;
        std::vector<Vector3> verts;
        std::vector<Vector3> norms;
        std::vector<Vector3> texC;
        std::vector<int> faces;

        tokenStream.setText(text);
        while (tokenStream.nextLine(&tempLine)) {
            // Leaves the start cursor on the next visible character, passing
            // over CR LF, blank lines and the next line's leading spaces.
            tokenStream.nextToken(nullptr, nullptr, 0);
            const std::string_view keyword = keywordOf(tempLine);
            if (keyword.empty()) {
                continue;
            }
            const std::string_view operands = operandsOf(tempLine, keyword);
            float values[3];
            if (keyword == "v" || keyword == "vn") {
                if (!readPlainNumbers(operands, 3, values)) {
                    readOperands(tempLine, 3, values);
                }
                (keyword == "v" ? verts : norms).emplace_back(values[0], values[1], values[2]);
            } else if (keyword == "vt") {
                if (!readPlainNumbers(operands, 2, values)) {
                    readOperands(tempLine, 2, values);
                }
                texC.emplace_back(values[0], values[1], 0.0f);
            } else if (keyword == "f") {
                int indices[indicesPerFace];
                if (!readPlainFace(operands, indices)) {
                    readFaceIndices(tempLine, indices);
                }
                faces.insert(faces.end(), indices, indices + indicesPerFace);
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
