#include "geometry/Tokenizer.h"

namespace {
constexpr char quote = '"';
// printable ASCII without the space: a token when no delimiters are given
constexpr unsigned char firstDefaultTokenChar = 0x21;
constexpr unsigned char lastDefaultTokenChar = 0x7E;

// Bytes from 0x80 up, read as signed chars, fall outside like every
// control character: one subtraction and one unsigned compare.
struct DefaultTokenChar {
    bool operator()(char c) const
    {
        return static_cast<unsigned char>(c - firstDefaultTokenChar) <=
               lastDefaultTokenChar - firstDefaultTokenChar;
    }
};

struct ListedTokenChar {
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

bool Tokenizer::nextToken(std::string_view* out, const char* delimiters, int count)
{
    if (delimiters == nullptr || count == 0) {
        return scanToken(text, start, end, out, DefaultTokenChar{});
    }
    return scanToken(text, start, end, out, ListedTokenChar{delimiters, count});
}
