#include "harness/LiteralTokenizer.h"

void LiteralTokenizer::setText(const char* s)
{
    reset();
    text = s;
}

void LiteralTokenizer::reset()
{
    start = 0;
    end = 0;
}

bool LiteralTokenizer::isLineChar(char c) const
{
    const signed char value = static_cast<signed char>(c);
    return value >= 0x20 && value <= 0x7E;
}

bool LiteralTokenizer::isTokenChar(char c, const char* delimiters, int count) const
{
    if (delimiters == nullptr || count == 0) {
        const signed char value = static_cast<signed char>(c);
        return value >= 0x21 && value <= 0x7E;
    }
    for (int i = 0; i < count; ++i) {
        if (delimiters[i] == c) {
            return false;
        }
    }
    return true;
}

bool LiteralTokenizer::nextLine(std::string* out)
{
    const int n = static_cast<int>(text.length());
    if (start >= n || end >= n) {
        return false;
    }
    end = start;
    while (end < n && isLineChar(text[end])) {
        end++;
    }
    if (end == start) {
        return false;
    }
    if (end - start >= n) {
        return false;
    }
    if (out != nullptr) {
        *out = text.substr(start, end - start);
    }
    end++;
    start = end + 1;
    return true;
}

bool LiteralTokenizer::nextToken(std::string* out, const char* delimiters, int count)
{
    start = end;
    bool inQuotes = false;
    const int n = static_cast<int>(text.length());
    if (start >= n - 1) {
        return false;
    }
    while (start < n && !isTokenChar(text[start], delimiters, count)) {
        start++;
    }
    end = start + 1;
    if (start < n && text[start] == '"') {
        inQuotes = true;
    }
    if (start >= n) {
        return false;
    }
    while (end < n && (isTokenChar(text[end], delimiters, count) || inQuotes)) {
        if (text[end] == '"') {
            inQuotes = !inQuotes;
        }
        end++;
    }
    if (out != nullptr) {
        *out = text.substr(start, end - start);
    }
    return true;
}
