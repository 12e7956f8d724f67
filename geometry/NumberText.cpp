#include "geometry/NumberText.h"

#include <fast_float/fast_float.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
// What fast_float reads the same way as strtod: an optional minus, then a
// digit or a point. Hex ("0x") is the one such prefix strtod reads further.
bool startsPlainDecimal(const char* first, const char* last)
{
    const char* p = first;
    if (p < last && *p == '-') {
        ++p;
    }
    if (p >= last || !(numberText::isDigit(*p) || *p == '.')) {
        return false;
    }
    return !(p[0] == '0' && p + 1 < last && (p[1] == 'x' || p[1] == 'X'));
}

// atoi reads as strtol does; strtol clamps what overflows a long, and a
// long holds every int, so the range check sees every number too large.
int textToInt(const char* text)
{
    const long value = std::strtol(text, nullptr, 10);
    return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}
}

bool readPlainDoubleGeneral(const char* first, const char* last, double* value, const char** stop)
{
    if (!startsPlainDecimal(first, last)) {
        return false;
    }
    const fast_float::from_chars_result result = fast_float::from_chars(first, last, *value);
    // overflow and underflow go to the library, which knows its own answer
    if (result.ec != std::errc() || !std::isfinite(*value) || !(*value == 0.0 || std::isnormal(*value))) {
        return false;
    }
    *stop = result.ptr;
    return true;
}

double tokenToDouble(std::string_view token)
{
    double value = 0.0;
    const char* stop = nullptr;
    if (readPlainDouble(token.data(), token.data() + token.size(), &value, &stop)) {
        return value;
    }
    const std::string copy(token);
    return std::atof(copy.c_str());
}

int tokenToInt(std::string_view token)
{
    int value = 0;
    const char* stop = nullptr;
    if (readPlainInt(token.data(), token.data() + token.size(), &value, &stop)) {
        return value;
    }
    const std::string copy(token);
    return textToInt(copy.c_str());
}
