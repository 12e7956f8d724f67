#include "geometry/Tokenizer.h"

#include <cstdint>

namespace {
constexpr char quote = '"';
// printable ASCII, space included: what a line is made of
constexpr unsigned char firstLineChar = 0x20;
constexpr unsigned char lastLineChar = 0x7E;
// printable ASCII without the space: a token when no delimiters are given
constexpr unsigned char firstDefaultTokenChar = 0x21;

bool isLineChar(char c)
{
    return static_cast<unsigned char>(c - firstLineChar) <= lastLineChar - firstLineChar;
}

// The token characters of one nextToken call as a 256-bit set, so that the
// scan tests each character with one lookup instead of walking the
// delimiter list.
struct TokenChars {
    uint64_t words[4] = {};

    constexpr void add(unsigned char c) { words[c >> 6] |= uint64_t(1) << (c & 63); }
    constexpr void remove(unsigned char c) { words[c >> 6] &= ~(uint64_t(1) << (c & 63)); }
    bool has(char c) const
    {
        const unsigned char u = static_cast<unsigned char>(c);
        return (words[u >> 6] >> (u & 63)) & 1;
    }
};

constexpr TokenChars makeDefaultTokenChars()
{
    TokenChars chars;
    for (int c = firstDefaultTokenChar; c <= lastLineChar; ++c) {
        chars.add(static_cast<unsigned char>(c));
    }
    return chars;
}

constexpr TokenChars defaultTokenChars = makeDefaultTokenChars();

TokenChars tokenCharsFor(const char* delimiters, int count)
{
    if (delimiters == nullptr || count <= 0) {
        return defaultTokenChars;
    }
    TokenChars chars;
    for (uint64_t& word : chars.words) {
        word = ~uint64_t(0);
    }
    for (int i = 0; i < count; ++i) {
        chars.remove(static_cast<unsigned char>(delimiters[i]));
    }
    return chars;
}
}

void Tokenizer::setText(std::string_view newText)
{
    reset();
    text = newText.substr(0, newText.find('\0'));
}

void Tokenizer::reset()
{
    start = 0;
    end = 0;
}

bool Tokenizer::nextLine(std::string_view* out)
{
    const int n = static_cast<int>(text.size());
    if (start >= n || end >= n) {
        return false;
    }
    end = start;
    while (end < n && isLineChar(text[end])) {
        ++end;
    }
    if (end == start) {
        return false;
    }
    // a text with no line end holds no complete line
    if (end - start >= n) {
        return false;
    }
    if (out != nullptr) {
        *out = text.substr(start, end - start);
    }
    ++end;
    start = end + 1;
    return true;
}

bool Tokenizer::nextToken(std::string_view* out, const char* delimiters, int count)
{
    start = end;
    bool inQuotes = false;
    const int n = static_cast<int>(text.size());
    if (start >= n - 1) {
        return false;
    }
    const TokenChars tokenChars = tokenCharsFor(delimiters, count);
    while (start < n && !tokenChars.has(text[start])) {
        ++start;
    }
    end = start + 1;
    if (start < n && text[start] == quote) {
        inQuotes = true;
    }
    if (start >= n) {
        return false;
    }
    while (end < n && (inQuotes || tokenChars.has(text[end]))) {
        if (text[end] == quote) {
            inQuotes = !inQuotes;
        }
        ++end;
    }
    if (out != nullptr) {
        *out = text.substr(start, end - start);
    }
    return true;
}
