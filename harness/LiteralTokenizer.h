// The tokenizer rules written out the plain way, copying every line and
// token into strings, as the oracle that the loader's view-based Tokenizer
// is held against. Kept deliberately naive: it must not share the fast
// version's shortcuts to be worth comparing with.
#pragma once

#include <string>

class LiteralTokenizer {
public:
    // copies s up to its first NUL
    void setText(const char* s);
    void reset();
    bool nextLine(std::string* out);
    bool nextToken(std::string* out, const char* delimiters, int count);

private:
    bool isLineChar(char c) const;
    bool isTokenChar(char c, const char* delimiters, int count) const;

    int start = 0;
    int end = 0;
    std::string text;
};
