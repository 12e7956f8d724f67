// libFuzzer target for the OBJ loader. Any input must load without a
// sanitizer finding, and load exactly as the literal reading of the rules
// (LiteralObjLoader) does: same result, same arrays bit for bit, also when
// appended to a model that already holds one. Read as a file in small
// chunks, it must give the lines of the rules however the chunks cut it.
#include "geometry/Model.h"
#include "geometry/ObjLineReader.h"
#include "tests/geometry/LiteralObjLoader.h"
#include "tests/geometry/LiteralTokenizer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {
const std::string earlierModel = "v 1 2 3\nvt 4 5\nvn 6 7 8\nf 1/1/1 1/1/1 1/1/1\n";

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
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

std::vector<std::string> chunkedLines(const std::string& bytes, size_t chunkBytes)
{
    std::istringstream file(bytes);
    ObjLineReader reader(file, static_cast<int64_t>(bytes.size()), chunkBytes);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.nextLine(&line)) {
        lines.emplace_back(line);
    }
    return lines;
}

void require(bool agreed, const char* what)
{
    if (!agreed) {
        std::fprintf(stderr, "the loader and the literal rules disagree on %s\n", what);
        std::abort();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Model model;
    LiteralObjLoader literal;
    // the first byte's low bit chooses a fresh model or one to append to
    if (size > 0 && (data[0] & 1) != 0) {
        model.loadModelText(earlierModel);
        literal.load(earlierModel);
    }
    require(model.loadModelText(bytes) == literal.load(bytes), "the result");
    require(model.getVertexCount() == literal.vertexCount, "vertexCount");
    require(sameBits(model.getVertices(), literal.vertices), "the positions");
    require(sameBits(model.getTexCoords(), literal.texCoords), "the texture coordinates");
    require(sameBits(model.getNormals(), literal.normals), "the normals");
    require(sameBits(model.getIndices(), literal.indices), "the indices");
    // chunks of 1 to 16 bytes, chosen by the first byte's upper bits
    const size_t chunkBytes = size > 0 ? 1 + (data[0] >> 4) : 1;
    require(chunkedLines(bytes, chunkBytes) == literalLines(bytes), "the lines of a file read in chunks");
    return 0;
}
