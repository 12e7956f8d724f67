// Model's OBJ reading: the v, vn, vt and triangular f statements of a
// Wavefront file turned into flat per-corner arrays.
#include "geometry/Model.h"

#include "camera/Vector3.h"
#include "geometry/NumberText.h"
#include "geometry/ObjLineReader.h"
#include "geometry/Tokenizer.h"
#include "platform/PageAdvice.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <new>

namespace {
constexpr char lineDelimiters[] = {'\n', ' '};
constexpr char faceTokens[] = {'\n', ' ', '/'};
constexpr int lineDelimiterCount = 2;
constexpr int faceTokenCount = 3;
// position, texture-coordinate and normal index of a corner, and of the
// three corners of a face
constexpr int indicesPerCorner = 3;
constexpr int indicesPerFace = 9;
// how much of a model file is read at a time (bytes)
constexpr size_t fileChunkBytes = 1 << 20;
// faces in the first block of face indices, and the most in any block
constexpr size_t firstBlockFaces = 16;
constexpr size_t largestBlockFaces = 262144;

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
    size_t first = 0;
    while (first < line.size() && line[first] == ' ') {
        ++first;
    }
    size_t last = first;
    while (last < line.size() && line[last] != ' ') {
        ++last;
    }
    return line.substr(first, last - first);
}

// what follows the keyword in its line
std::string_view operandsOf(std::string_view line, std::string_view keyword)
{
    return line.substr(static_cast<size_t>(keyword.data() + keyword.size() - line.data()));
}

// Room for `more` elements at the end of an array; where that takes a new
// buffer, its pages are asked to be huge before they are first touched.
template <typename T>
void reserveMore(std::vector<T>& array, size_t more)
{
    const size_t capacity = array.capacity();
    array.reserve(array.size() + more);
    if (array.capacity() != capacity) {
        adviseHugePages(array.data(), array.capacity() * sizeof(T));
    }
}

// Face indices are kept in blocks, each twice the one before up to a
// limit, so that a large model's faces are never copied to a bigger array
// as they grow: on large files that copying, and the memory it touches,
// cost as much as reading the faces.
void appendFace(std::vector<std::vector<int>>& faceBlocks, const int* indices)
{
    if (faceBlocks.empty() || faceBlocks.back().size() == faceBlocks.back().capacity()) {
        const size_t faces = faceBlocks.empty()
                                 ? firstBlockFaces
                                 : std::min(2 * faceBlocks.back().size() / indicesPerFace, largestBlockFaces);
        faceBlocks.emplace_back();
        reserveMore(faceBlocks.back(), faces * indicesPerFace);
    }
    faceBlocks.back().insert(faceBlocks.back().end(), indices, indices + indicesPerFace);
}

// OBJ indices count from 1 over the whole file
bool namesEntry(int index, size_t listSize)
{
    return index >= 1 && static_cast<size_t>(index) <= listSize;
}
}

bool Model::loadModel(const char* path)
{
    // binary, so that both line ends reach the reader alike on every host
    std::ifstream fileStream(path, std::ios::binary);
    if (!fileStream.is_open()) {
        return false;
    }
    fileStream.seekg(0, std::ios::end);
    const std::streamoff size = fileStream.tellg();
    fileStream.seekg(0, std::ios::beg);
    // the positions the rules work with are 32-bit
    if (size <= 0 || size > INT_MAX) {
        return false;
    }
    // a path that opens but cannot be read, such as a folder, is no model
    if (fileStream.peek() == std::ifstream::traits_type::eof()) {
        return false;
    }
    ObjLineReader lines(fileStream, size, fileChunkBytes);
    return loadLines(lines);
}

bool Model::loadModelText(std::string_view text)
{
    ObjLineReader lines(text);
    return loadLines(lines);
}

bool Model::loadLines(ObjLineReader& lines)
{
    try {
        std::string_view tempLine;
        std::vector<Vector3> verts;
        std::vector<Vector3> norms;
        std::vector<Vector3> texC;
        std::vector<std::vector<int>> faceBlocks;

        while (lines.nextLine(&tempLine)) {
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
                appendFace(faceBlocks, indices);
            }
        }
        return appendCorners(verts, norms, texC, faceBlocks);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Model::appendCorners(const std::vector<Vector3>& verts, const std::vector<Vector3>& norms,
                          const std::vector<Vector3>& texC, const std::vector<std::vector<int>>& faceBlocks)
{
    size_t cornerCount = 0;
    // Checked before anything is appended, so that a file naming an entry it
    // does not have leaves the model exactly as it was.
    for (const std::vector<int>& block : faceBlocks) {
        for (size_t i = 0; i < block.size(); i += indicesPerCorner) {
            if (!namesEntry(block[i], verts.size()) || !namesEntry(block[i + 1], texC.size()) ||
                !namesEntry(block[i + 2], norms.size())) {
                return false;
            }
        }
        cornerCount += block.size() / indicesPerCorner;
    }
    // Reserved first: once all four hold, the resizes cannot fail and the
    // model cannot be left half appended. Written through pointers, which
    // is measurably faster than a push_back per float.
    const size_t first = indices.size();
    reserveMore(vertices, 3 * cornerCount);
    reserveMore(texCoords, 2 * cornerCount);
    reserveMore(normals, 3 * cornerCount);
    reserveMore(indices, cornerCount);
    vertices.resize(vertices.size() + 3 * cornerCount);
    texCoords.resize(texCoords.size() + 2 * cornerCount);
    normals.resize(normals.size() + 3 * cornerCount);
    indices.resize(indices.size() + cornerCount);
    float* vertex = vertices.data() + 3 * first;
    float* texCoord = texCoords.data() + 2 * first;
    float* normal = normals.data() + 3 * first;
    int16_t* index = indices.data() + first;
    int corner = 0;
    for (const std::vector<int>& block : faceBlocks) {
        for (size_t i = 0; i < block.size(); i += indicesPerCorner) {
            const Vector3& position = verts[block[i] - 1];
            const Vector3& uv = texC[block[i + 1] - 1];
            const Vector3& direction = norms[block[i + 2] - 1];
            *vertex++ = position.getX();
            *vertex++ = position.getY();
            *vertex++ = position.getZ();
            *texCoord++ = uv.getX();
            *texCoord++ = uv.getY();
            *normal++ = direction.getX();
            *normal++ = direction.getY();
            *normal++ = direction.getZ();
            *index++ = static_cast<int16_t>(corner);
            ++corner;
        }
    }
    vertexCount = corner;
    return true;
}
