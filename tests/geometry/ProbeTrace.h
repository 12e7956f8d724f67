// The OpenGL calls geometry_gl_probe makes, recorded with apitrace, so that
// a test sees the exact commands and their order, which no read-back from
// OpenGL shows.
#pragma once

#include "tests/geometry/VertexFeedback.h"

#include <string>
#include <vector>

// Runs the probe with these arguments, one word each, under apitrace and
// returns the calls it made once its own context was current, each written
// "glName(arg, arg)" as apitrace prints them (floats to 7 significant
// digits, enums by name). Empty, with problem set, when that fails.
std::vector<std::string> traceProbe(const std::vector<std::string>& arguments, std::string* problem);

// the calls that send these vertices one after the other, as traceProbe
// writes them: normal, texture coordinate and position, or with normalFirst
// false the texture coordinate ahead of the normal
std::vector<std::string> vertexCalls(const std::vector<FedVertex>& vertices, bool normalFirst);
