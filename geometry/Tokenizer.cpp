#include "geometry/Tokenizer.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr char quote = '"';
// printable ASCII, space included: what a line is made of
constexpr unsigned char firstLineChar = 0x20;
constexpr unsigned char lastLineChar = 0x7E;
// printable ASCII without the space: a token when no delimiters are given
constexpr unsigned char firstDefaultTokenChar = 0x21;

// One subtraction and one unsigned compare: bytes from 0x80 up, read as
// signed chars, fall outside like every control character.
bool isLineChar(char c)
{
    return static_cast<unsigned char>(c - firstLineChar) <= lastLineChar - firstLineChar;
}

// Index of the first byte at or after from that ends a line, or n. Lines
// are most of a model file, so they are searched eight bytes at a time: a
// chunk of line characters has, in every byte, the high bit clear, also
// after subtracting 0x20 (no control character) and adding 1 (no DEL).
int findLineEnd(const char* chars, int from, int n)
{
    constexpr uint64_t everyByte = 0x0101010101010101;
    int i = from;
    while (n - i >= 8) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, chars + i, sizeof chunk);
        if (((chunk | (chunk - firstLineChar * everyByte) | (chunk + everyByte)) & 0x80 * everyByte) != 0) {
            break;
        }
        i += 8;
    }
    while (i < n && isLineChar(chars[i])) {
        ++i;
    }
    return i;
}

struct DefaultTokenChar {
    bool operator()(char c) const
    {
        return static_cast<unsigned char>(c - firstDefaultTokenChar) <= lastLineChar - firstDefaultTokenChar;
    }
};

// The loader's delimiter lists have two and three characters; comparing
// with each held in a register beats walking the list for every character.
template <int count>
struct ListedTokenChar {
    char delimiters[count];

    bool operator()(char c) const
    {
        for (char delimiter : delimiters) {
            if (c == delimiter) {
                return false;
            }
        }
        return true;
    }
};

struct AnyListTokenChar {
    const char* delimiters;
    int count;

    bool operator()(char c) const
    {
        for (int i = 0; i < count; ++i) {
            if (c == delimiters[i]) {
                return false;
            }
        }
        return true;
    }
};

// nextToken's rules for one class of token characters, on local cursors so
// the loops keep them in registers.
template <typename IsTokenChar>
bool scanToken(std::string_view text, int& start, int& end, std::string_view* out, IsTokenChar isTokenChar)
{
    const char* chars = text.data();
    const int n = static_cast<int>(text.size());
    int first = end;
    start = first;
    if (first >= n - 1) {
        return false;
    }
    while (first < n && !isTokenChar(chars[first])) {
        ++first;
    }
    start = first;
    if (first >= n) {
        end = first + 1;
        return false;
    }
    bool inQuotes = chars[first] == quote;
    int last = first + 1;
    while (last < n && (inQuotes || isTokenChar(chars[last]))) {
        if (chars[last] == quote) {
            inQuotes = !inQuotes;
        }
        ++last;
    }
    end = last;
    if (out != nullptr) {
        *out = std::string_view(chars + first, static_cast<size_t>(last - first));
    }
    return true;
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
    const char* chars = text.data();
    const int n = static_cast<int>(text.size());
    if (start >= n || end >= n) {
        return false;
    }
    const int last = findLineEnd(chars, start, n);
    end = last;
    if (last == start) {
        return false;
    }
    // a text with no line end holds no complete line
    if (last - start >= n) {
        return false;
    }
    if (out != nullptr) {
        *out = std::string_view(chars + start, static_cast<size_t>(last - start));
    }
    end = last + 1;
    start = end + 1;
    return true;
}

bool Tokenizer::nextToken(std::string_view* out, const char* delimiters, int count)
{
    if (delimiters == nullptr || count <= 0) {
        return scanToken(text, start, end, out, DefaultTokenChar{});
    }
    if (count == 2) {
        return scanToken(text, start, end, out, ListedTokenChar<2>{{delimiters[0], delimiters[1]}});
    }
    if (count == 3) {
        return scanToken(text, start, end, out,
                         ListedTokenChar<3>{{delimiters[0], delimiters[1], delimiters[2]}});
    }
    return scanToken(text, start, end, out, AnyListTokenChar{delimiters, count});
}
