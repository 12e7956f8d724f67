// libFuzzer target for the OBJ loader. Any input must load without a
// sanitizer finding, and load exactly as the literal reading of the rules
// (LiteralObjLoader) does: same result, same arrays bit for bit, also when
// appended to a model that already holds one. Read as a file in small
// chunks, it must give the lines of the rules however the chunks cut it.
#include "geometry/Model.h"
#include "harness/LiteralObjLoader.h"
#include "harness/ObjOracle.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const std::string earlierModel = "v 1 2 3\nvt 4 5\nvn 6 7 8\nf 1/1/1 1/1/1 1/1/1\n";

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
    const std::string difference = firstDifference(model, literal);
    require(difference.empty(), difference.c_str());
    // chunks of 1 to 16 bytes, chosen by the first byte's upper bits
    const size_t chunkBytes = size > 0 ? 1 + (data[0] >> 4) : 1;
    require(linesInChunks(bytes, chunkBytes) == literalLines(bytes), "the lines of a file read in chunks");
    return 0;
}
