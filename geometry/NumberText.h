// Number conversions for OBJ operands that give exactly what the C library's
// atof and atoi give for the token as a string, without needing the token
// copied out and zero-terminated. Plain decimal text takes a fast exact path;
// anything unusual (a plus sign, hex, inf, nan, overflow, long integers)
// goes to the C library itself, so its results, platform quirks included,
// are kept. The one exception is an integer too large for an int, whose
// atoi differs by host (glibc wraps, the Windows runtime saturates): it
// reads as 0, which names no entry.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <string_view>

// atof of the token
double tokenToDouble(std::string_view token);
// atoi of the token where its number fits an int, else 0
int tokenToInt(std::string_view token);

// The fast paths alone, for callers that scan the text themselves: read a
// number at first, ending at the first character that does not fit, and
// give its value and that character. False when the text there is nothing
// they can be sure of; atof and atoi then decide. Inline, as the loader
// calls them for every number of a file.
inline bool readPlainInt(const char* first, const char* last, int* value, const char** stop);
inline bool readPlainDouble(const char* first, const char* last, double* value, const char** stop);

// readPlainDouble for what the short path below does not take: exponents,
// long mantissas; fast_float, still exact.
bool readPlainDoubleGeneral(const char* first, const char* last, double* value, const char** stop);

namespace numberText {
// at most 999 999 999, so the integer path can never overflow an int
constexpr int maxIntDigits = 9;
// below 2^53, so the mantissa is an exact double
constexpr int maxShortDigits = 15;
// exact doubles, 10^0 to 10^15
constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr uint64_t integerPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
constexpr uint64_t everyByte = 0x0101010101010101;

inline bool isDigit(char c)
{
    return static_cast<unsigned char>(c - '0') <= 9;
}

// Adds the run of digits at p, up to eight of them, to *accumulated and
// returns how many there were. Where eight bytes remain before last they
// are classed and converted together, without a branch per digit: the
// end of a short run of digits is what a byte loop mispredicts.
inline int addDigits(const char* p, const char* last, uint64_t* accumulated)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (last - p >= 8) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, p, sizeof chunk);
        // a byte is a digit when its high nibble is 3, also after adding 6
        const uint64_t nonDigits = ((chunk & 0xF0 * everyByte) ^ 0x30 * everyByte) |
                                   (((chunk + 0x06 * everyByte) & 0xF0 * everyByte) ^ 0x30 * everyByte);
        const int count = nonDigits == 0 ? 8 : __builtin_ctzll(nonDigits) / 8;
        if (count == 0) {
            return 0;
        }
        // the run's first digit is the lowest byte: shift the run to the
        // top, zeros before it, and fold pairs, fours and eights of digits
        uint64_t digits = (chunk - 0x30 * everyByte) << (8 * (8 - count));
        digits = digits * 10 + (digits >> 8);
        digits = (((digits & 0x000000FF000000FF) * 0x000F424000000064) +
                  (((digits >> 16) & 0x000000FF000000FF) * 0x0000271000000001)) >>
                 32;
        *accumulated = *accumulated * integerPowersOfTen[count] + static_cast<uint32_t>(digits);
        return count;
    }
#endif
    int count = 0;
    while (count < 8 && p + count < last && isDigit(p[count])) {
        *accumulated = *accumulated * 10 + static_cast<uint64_t>(p[count] - '0');
        ++count;
    }
    return count;
}

// the whole run of digits at p, counted; stops adding past 16 digits,
// which every caller refuses anyway
inline int addDigitRun(const char* p, const char* last, uint64_t* accumulated)
{
    int count = addDigits(p, last, accumulated);
    if (count == 8) {
        count += addDigits(p + 8, last, accumulated);
        while (p + count < last && isDigit(p[count])) {
            ++count;
        }
    }
    return count;
}
}

inline bool readPlainInt(const char* first, const char* last, int* value, const char** stop)
{
    const char* p = first;
    const bool negative = p < last && *p == '-';
    p += negative ? 1 : 0;
    uint64_t magnitude = 0;
    const int count = numberText::addDigitRun(p, last, &magnitude);
    if (count == 0 || count > numberText::maxIntDigits) {
        return false;
    }
    *value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    *stop = p + count;
    return true;
}

// Digits with an optional point and no exponent, at most 15 of them, are
// an exact integer divided by an exact power of ten: one correctly rounded
// division gives the correctly rounded value strtod gives (Clinger's fast
// path). It needs double arithmetic without excess precision, and the
// default rounding mode, which the program never changes.
inline bool readPlainDouble(const char* first, const char* last, double* value, const char** stop)
{
    const char* p = first;
    const bool negative = p < last && *p == '-';
    p += negative ? 1 : 0;
    uint64_t mantissa = 0;
    // One digit before the point is the commonest form by far (normals,
    // texture coordinates, small models): it needs no folding.
    const bool oneDigit = last - p >= 2 && numberText::isDigit(p[0]) && p[1] == '.';
    const int integerDigits = oneDigit ? 1 : numberText::addDigitRun(p, last, &mantissa);
    mantissa = oneDigit ? static_cast<uint64_t>(p[0] - '0') : mantissa;
    p += integerDigits;
    int fractionDigits = 0;
    if (integerDigits <= numberText::maxShortDigits && p < last && *p == '.') {
        ++p;
        fractionDigits = numberText::addDigitRun(p, last, &mantissa);
        p += fractionDigits;
    }
    const int digitCount = integerDigits + fractionDigits;
    const bool exponentOrHex = p < last && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X');
    if (FLT_EVAL_METHOD != 0 || digitCount == 0 || digitCount > numberText::maxShortDigits || exponentOrHex) {
        // through a local of its own, so that the caller's value is not
        // taken to memory on the common path as well
        double general = 0.0;
        const bool read = readPlainDoubleGeneral(first, last, &general, stop);
        *value = general;
        return read;
    }
    const double magnitude = static_cast<double>(mantissa) / numberText::powersOfTen[fractionDigits];
    *value = negative ? -magnitude : magnitude;
    *stop = p;
    return true;
}
