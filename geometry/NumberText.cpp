#include "geometry/NumberText.h"

#include <fast_float/fast_float.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {
// at most 999 999 999, so the fast integer path can never overflow an int
constexpr int maxFastIntDigits = 9;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

double libraryAtof(std::string_view token)
{
    const std::string copy(token);
    return std::atof(copy.c_str());
}

int libraryAtoi(std::string_view token)
{
    const std::string copy(token);
    return std::atoi(copy.c_str());
}

// What fast_float reads the same way as strtod: an optional minus, then a
// digit or a point. Hex ("0x") is the one such prefix strtod reads further.
bool startsPlainDecimal(std::string_view token)
{
    size_t i = 0;
    if (i < token.size() && token[i] == '-') {
        ++i;
    }
    if (i >= token.size() || !(isDigit(token[i]) || token[i] == '.')) {
        return false;
    }
    const bool hexPrefix =
        token[i] == '0' && i + 1 < token.size() && (token[i + 1] == 'x' || token[i + 1] == 'X');
    return !hexPrefix;
}
}

double tokenToDouble(std::string_view token)
{
    if (startsPlainDecimal(token)) {
        double value = 0.0;
        const fast_float::from_chars_result result =
            fast_float::from_chars(token.data(), token.data() + token.size(), value);
        // overflow and underflow go to the library, which knows its own answer
        if (result.ec == std::errc() && std::isfinite(value) && (value == 0.0 || std::isnormal(value))) {
            return value;
        }
    }
    return libraryAtof(token);
}

int tokenToInt(std::string_view token)
{
    size_t i = 0;
    const bool negative = i < token.size() && token[i] == '-';
    if (negative) {
        ++i;
    }
    const size_t firstDigit = i;
    int value = 0;
    while (i < token.size() && isDigit(token[i]) && i - firstDigit < maxFastIntDigits) {
        value = value * 10 + (token[i] - '0');
        ++i;
    }
    const bool moreDigits = i < token.size() && isDigit(token[i]);
    if (i == firstDigit || moreDigits) {
        return libraryAtoi(token);
    }
    return negative ? -value : value;
}
