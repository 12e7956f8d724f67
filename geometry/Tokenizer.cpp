#include "geometry/Tokenizer.h"

#include "geometry/ObjScanning.h"

namespace {
struct DefaultTokenChar {
    bool operator()(char c) const { return objScanning::isVisibleChar(c); }
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

// nextToken's rules for one class of token characters, on local cursors.
template <typename IsTokenChar>
bool scanToken(std::string_view text, int& start, int& end, std::string_view* out, IsTokenChar isTokenChar)
{
    const int n = static_cast<int>(text.size());
    start = end;
    if (end >= n - 1) {
        return false;
    }
    const int first = static_cast<int>(objScanning::skipToToken(text, static_cast<size_t>(end), isTokenChar));
    start = first;
    if (first >= n) {
        end = first + 1;
        return false;
    }
    end = static_cast<int>(objScanning::tokenEnd(text, static_cast<size_t>(first), isTokenChar));
    if (out != nullptr) {
        *out = text.substr(static_cast<size_t>(first), static_cast<size_t>(end - first));
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
