// The character classes and scans OBJ text is read by, for the line reader
// and the tokenizer alike: a line is a run of printable ASCII, space
// included; a token a run of printable ASCII without the space (or of what
// a delimiter list leaves), in which a double quote starts a group that
// delimiters do not split. Bytes from 0x80 up, read as signed chars, fall
// outside every class, like control characters and DEL.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace objScanning {

constexpr char quote = '"';
constexpr unsigned char firstLineChar = 0x20;    // the space
constexpr unsigned char firstVisibleChar = 0x21; // what follows it
constexpr unsigned char lastLineChar = 0x7E;     // the tilde, before DEL

// One subtraction and one unsigned compare each.
inline bool isLineChar(char c)
{
    return static_cast<unsigned char>(c - firstLineChar) <= lastLineChar - firstLineChar;
}

inline bool isVisibleChar(char c)
{
    return static_cast<unsigned char>(c - firstVisibleChar) <= lastLineChar - firstVisibleChar;
}

// Index of the first byte at or after from that ends a line, or the text's
// size. Lines are most of a model file, so they are searched eight bytes at
// a time: a chunk of line characters has, in every byte, the high bit
// clear, also after subtracting 0x20 (no control character) and adding 1
// (no DEL).
inline size_t findLineEnd(std::string_view text, size_t from)
{
    constexpr uint64_t everyByte = 0x0101010101010101;
    size_t i = from;
    while (text.size() - i >= 8) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, text.data() + i, sizeof chunk);
        if (((chunk | (chunk - firstLineChar * everyByte) | (chunk + everyByte)) & 0x80 * everyByte) != 0) {
            break;
        }
        i += 8;
    }
    while (i < text.size() && isLineChar(text[i])) {
        ++i;
    }
    return i;
}

// Index of the first token character at or after from, or the text's size.
template <typename IsTokenChar>
size_t skipToToken(std::string_view text, size_t from, IsTokenChar isTokenChar)
{
    while (from < text.size() && !isTokenChar(text[from])) {
        ++from;
    }
    return from;
}

// Index just past the token that starts at first, a token character: its
// token characters, and inside quotes any character at all.
template <typename IsTokenChar>
size_t tokenEnd(std::string_view text, size_t first, IsTokenChar isTokenChar)
{
    bool inQuotes = text[first] == quote;
    size_t last = first + 1;
    while (last < text.size() && (inQuotes || isTokenChar(text[last]))) {
        if (text[last] == quote) {
            inQuotes = !inQuotes;
        }
        ++last;
    }
    return last;
}

} // namespace objScanning
