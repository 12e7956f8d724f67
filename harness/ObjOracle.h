// Comparisons of the loader with the literal reading of its rules, shared
// by the differential tests and the fuzz target.
#pragma once

#include "geometry/Model.h"
#include "harness/LiteralObjLoader.h"

#include <string>
#include <vector>

class ObjLineReader;

// every line the reader has left, in order
std::vector<std::string> allLines(ObjLineReader& reader);
// the lines the rules' line loop (nextLine, then nextToken) finds in bytes
std::vector<std::string> literalLines(const std::string& bytes);
// the lines ObjLineReader finds in bytes read as a file, chunkBytes at a time
std::vector<std::string> linesInChunks(const std::string& bytes, size_t chunkBytes);
// the first of the model's fields that differs from the literal loader's,
// bit for bit; empty when none does
std::string firstDifference(const Model& model, const LiteralObjLoader& literal);
