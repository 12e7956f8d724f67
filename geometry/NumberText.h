// Number conversions for OBJ operands that give exactly what the C library's
// atof and atoi give for the token as a string, without needing the token
// copied out and zero-terminated. Plain decimal text takes a fast exact path;
// anything unusual (a plus sign, hex, inf, nan, overflow, long integers)
// goes to the C library itself, so its results, platform quirks included,
// are kept.
#pragma once

#include <string_view>

// atof of the token
double tokenToDouble(std::string_view token);
// atoi of the token
int tokenToInt(std::string_view token);
