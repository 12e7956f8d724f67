#include "harness/ObjOracle.h"

#include "geometry/ObjLineReader.h"
#include "harness/LiteralTokenizer.h"

#include <cstring>
#include <sstream>

namespace {
// NaN read from "nan" must compare equal to itself
template <typename Model, typename Literal>
bool sameBits(const Model& a, const Literal& b)
{
    return a.size() == b.size() &&
           (a.empty() ||
            std::memcmp(a.data(), b.data(), a.size() * sizeof(typename Literal::value_type)) == 0);
}
}

std::vector<std::string> literalLines(const std::string& bytes)
{
    LiteralTokenizer tokenStream;
    tokenStream.setText(bytes.c_str());
    std::vector<std::string> lines;
    std::string line;
    while (tokenStream.nextLine(&line)) {
        lines.push_back(line);
        tokenStream.nextToken(nullptr, nullptr, 0);
    }
    return lines;
}

std::vector<std::string> allLines(ObjLineReader& reader)
{
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.nextLine(&line)) {
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string> linesInChunks(const std::string& bytes, size_t chunkBytes)
{
    std::istringstream file(bytes);
    ObjLineReader reader(file, static_cast<int64_t>(bytes.size()), chunkBytes);
    return allLines(reader);
}

std::string firstDifference(const Model& model, const LiteralObjLoader& literal)
{
    if (model.getVertexCount() != literal.vertexCount) {
        return "vertexCount";
    }
    if (!sameBits(model.getVertices(), literal.vertices)) {
        return "the positions";
    }
    if (!sameBits(model.getTexCoords(), literal.texCoords)) {
        return "the texture coordinates";
    }
    if (!sameBits(model.getNormals(), literal.normals)) {
        return "the normals";
    }
    if (!sameBits(model.getIndices(), literal.indices)) {
        return "the indices";
    }
    return "";
}
