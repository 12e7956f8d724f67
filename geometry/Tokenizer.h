// The cursor tokenizer the OBJ loader splits a line with when the line is
// not in the plain form its fast path reads: the keyword, then operands or
// face indices under a delimiter list. (ObjLineReader finds the lines.)
//
// It keeps a view of the text, not a copy: copying each line and token was
// most of the loading time. The text must outlive the tokenizer's use of it.
//
// A default token runs over 0x21 to 0x7E, so space, control characters,
// DEL and bytes from 0x80 up delimit it; under a delimiter list exactly the
// listed characters delimit. A double quote starts a group that delimiters
// do not split.
#pragma once

#include <string_view>

class Tokenizer {
public:
    // reset(), then split text up to its first NUL
    void setText(std::string_view text);
    // both cursors back to the start of the text
    void reset();
    // the next token after the end cursor; false when none is left, out then
    // untouched. delimiters holds count characters, or is null (or count 0)
    // for the default classes; a negative count lists none. out may be null.
    bool nextToken(std::string_view* out, const char* delimiters, int count);

private:
    std::string_view text;
    // first character of the current token
    int start = 0;
    // just past the current token; up to one place past the text
    int end = 0;
};
