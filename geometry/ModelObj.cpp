// Model's OBJ reading: the v, vn, vt and triangular f statements of a
// Wavefront file turned into flat per-corner arrays.
#include "geometry/Model.h"

#include "camera/Vector3.h"
#include "geometry/NumberText.h"
#include "geometry/ObjLineReader.h"
#include "geometry/Tokenizer.h"
#include "platform/MappedFile.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <new>
#include <stdexcept>

namespace {
constexpr char lineDelimiters[] = {'\n', ' '};
constexpr char faceTokens[] = {'\n', ' ', '/'};
constexpr int lineDelimiterCount = 2;
constexpr int faceTokenCount = 3;
// position, texture-coordinate and normal index of a corner, and of the
// three corners of a face
constexpr int indicesPerCorner = 3;
constexpr int indicesPerFace = 9;
constexpr size_t cornersPerFace = 3;
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

// At a list's first entry, room for as many more as lines of this length
// would fill the rest of the file: it costs nothing until written. A hint
// only, so room that cannot be had is simply not taken.
template <typename Array>
void reserveForTheRest(Array& array, const ObjLineReader& lines, std::string_view line)
{
    if (!array.empty()) {
        return;
    }
    try {
        array.reserve(static_cast<size_t>(lines.bytesLeft()) / (line.size() + 1) + 1);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

// Face indices are kept in blocks, each twice the one before up to a
// limit, so that a large model's faces are never copied to a bigger array
// as they grow: on large files that copying, and the memory it touches,
// cost as much as reading the faces.
void appendFace(std::vector<ModelArray<int>>& faceBlocks, const int* indices)
{
    if (faceBlocks.empty() || faceBlocks.back().size() == faceBlocks.back().capacity()) {
        const size_t faces = faceBlocks.empty()
                                 ? firstBlockFaces
                                 : std::min(2 * faceBlocks.back().size() / indicesPerFace, largestBlockFaces);
        faceBlocks.emplace_back();
        faceBlocks.back().reserve(faces * indicesPerFace);
    }
    faceBlocks.back().insert(faceBlocks.back().end(), indices, indices + indicesPerFace);
}

// Every index of the faces names an entry of its list, of the lengths
// given; OBJ indices count from 1 over the whole file.
bool namesEntries(const int* faceIndices, size_t faces, size_t positions, size_t texCoords, size_t normals)
{
    const size_t lengths[indicesPerCorner] = {positions, texCoords, normals};
    for (size_t i = 0; i < faces * indicesPerFace; ++i) {
        const int index = faceIndices[i];
        if (index < 1 || static_cast<size_t>(index) > lengths[i % indicesPerCorner]) {
            return false;
        }
    }
    return true;
}
}

bool Model::loadModel(const char* path)
{
    // Read in place where the file can be mapped; both line ends reach the
    // reader alike on every host, as the bytes are the file's own.
    const MappedFile mapped(path);
    // the positions the rules work with are 32-bit
    if (mapped.bytes().size() > INT_MAX) {
        return false;
    }
    if (!mapped.bytes().empty()) {
        ObjLineReader lines(mapped.bytes());
        return loadLines(lines);
    }
    // Only a regular file that could not be mapped is read as a stream:
    // anything else (missing, empty, a folder, a FIFO, whose open would
    // wait for a writer) is no model.
    if (mapped.getFileSize() == 0) {
        return false;
    }
    // binary, as the mapping is: the bytes are the file's own
    std::ifstream fileStream(path, std::ios::binary);
    if (!fileStream.is_open()) {
        return false;
    }
    fileStream.seekg(0, std::ios::end);
    const std::streamoff size = fileStream.tellg();
    fileStream.seekg(0, std::ios::beg);
    if (size <= 0 || size > INT_MAX) {
        return false;
    }
    // a file that opens but cannot be read is no model
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
    const size_t first = indices.size();
    size_t corners = first;
    try {
        std::string_view tempLine;
        ModelArray<Vector3> verts;
        ModelArray<Vector3> norms;
        ModelArray<Vector3> texC;
        // Faces go onto the arrays as they come while every index names an
        // entry already read, as in files that list their entries first. A
        // face that does not may name one further on: from there the faces
        // wait in blocks until the lists are complete.
        std::vector<ModelArray<int>> waitingFaces;
        size_t facesPlaced = 0;
        int64_t bytesAtFirstFace = 0;

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
                ModelArray<Vector3>& list = keyword == "v" ? verts : norms;
                reserveForTheRest(list, lines, tempLine);
                list.emplace_back(values[0], values[1], values[2]);
            } else if (keyword == "vt") {
                if (!readPlainNumbers(operands, 2, values)) {
                    readOperands(tempLine, 2, values);
                }
                reserveForTheRest(texC, lines, tempLine);
                texC.emplace_back(values[0], values[1], 0.0f);
            } else if (keyword == "f") {
                int face[indicesPerFace];
                if (!readPlainFace(operands, face)) {
                    readFaceIndices(tempLine, face);
                }
                if (!waitingFaces.empty() ||
                    !namesEntries(face, 1, verts.size(), texC.size(), norms.size())) {
                    appendFace(waitingFaces, face);
                    continue;
                }
                // Room for the faces the rest of the file likely holds, judged
                // by the bytes the faces so far took: the arrays are then
                // seldom copied to a bigger buffer as they grow. Room costs
                // nothing until it is written.
                if (facesPlaced == 0) {
                    bytesAtFirstFace = lines.bytesLeft() + static_cast<int64_t>(tempLine.size()) + 1;
                }
                if (corners + cornersPerFace > indices.size()) {
                    const int64_t faceBytes = facesPlaced == 0 ? static_cast<int64_t>(tempLine.size()) + 1
                                                               : bytesAtFirstFace - lines.bytesLeft();
                    const int64_t bytesPerFace = std::max<int64_t>(
                        1, faceBytes / static_cast<int64_t>(std::max<size_t>(facesPlaced, 1)));
                    resizeCorners(corners + cornersPerFace *
                                                (1 + static_cast<size_t>(lines.bytesLeft() / bytesPerFace)));
                }
                placeFaces(verts, texC, norms, face, 1, first, corners);
                ++facesPlaced;
            }
        }
        for (const ModelArray<int>& block : waitingFaces) {
            if (!namesEntries(block.data(), block.size() / indicesPerFace, verts.size(), texC.size(),
                              norms.size())) {
                resizeCorners(first);
                return false;
            }
        }
        for (const ModelArray<int>& block : waitingFaces) {
            const size_t faces = block.size() / indicesPerFace;
            resizeCorners(corners + cornersPerFace * faces);
            placeFaces(verts, texC, norms, block.data(), faces, first, corners);
        }
        resizeCorners(corners);
        vertexCount = static_cast<int>(corners - first);
        return true;
    } catch (const std::bad_alloc&) {
        resizeCorners(first);
        return false;
    }
}

void Model::resizeCorners(size_t corners)
{
    vertices.resize(3 * corners);
    texCoords.resize(2 * corners);
    normals.resize(3 * corners);
    indices.resize(corners);
}

void Model::placeFaces(const ModelArray<Vector3>& verts, const ModelArray<Vector3>& texC,
                       const ModelArray<Vector3>& norms, const int* faceIndices, size_t faces, size_t first,
                       size_t& corners)
{
    // Written through pointers, which is measurably faster than a
    // push_back per float.
    float* vertex = vertices.data() + 3 * corners;
    float* texCoord = texCoords.data() + 2 * corners;
    float* normal = normals.data() + 3 * corners;
    int16_t* index = indices.data() + corners;
    for (size_t i = 0; i < faces * indicesPerFace; i += indicesPerCorner) {
        const Vector3& position = verts[faceIndices[i] - 1];
        const Vector3& uv = texC[faceIndices[i + 1] - 1];
        const Vector3& direction = norms[faceIndices[i + 2] - 1];
        *vertex++ = position.getX();
        *vertex++ = position.getY();
        *vertex++ = position.getZ();
        *texCoord++ = uv.getX();
        *texCoord++ = uv.getY();
        *normal++ = direction.getX();
        *normal++ = direction.getY();
        *normal++ = direction.getZ();
        *index++ = static_cast<int16_t>(corners - first);
        ++corners;
    }
}
