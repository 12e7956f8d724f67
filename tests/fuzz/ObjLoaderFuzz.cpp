// libFuzzer target for the OBJ loader. Any input must load without a
// sanitizer finding, and load exactly as the literal reading of the rules
// (LiteralObjLoader) does: same result, same arrays bit for bit, also when
// appended to a model that already holds one.
#include "geometry/Model.h"
#include "tests/geometry/LiteralObjLoader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
const std::string earlierModel = "v 1 2 3\nvt 4 5\nvn 6 7 8\nf 1/1/1 1/1/1 1/1/1\n";

template <typename T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
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
    return 0;
}
