// The cursor tokenizer the OBJ loader splits its text with: lines of
// printable ASCII, and tokens under a caller's delimiter list.
//
// It keeps a view of the text, not a copy: the loader hands it the whole
// file and then every line of it, and copying each line and token was most
// of the loading time. The text must outlive the tokenizer's use of it.
//
// Characters are classed as the loader has always classed them: a line runs
// over 0x20 to 0x7E, so a TAB, CR, LF, DEL or any byte from 0x80 up ends it;
// a default token runs over 0x21 to 0x7E. A double quote inside nextToken
// starts a group that delimiters do not split.
#pragma once

#include <string_view>

class Tokenizer {
public:
    // reset(), then split text up to its first NUL
    void setText(std::string_view text);
    // both cursors back to the start of the text
    void reset();
    // the line that begins at the start cursor; false at the end of the
    // text, when no line character stands there, or when the line would be
    // the whole text. out may be null.
    bool nextLine(std::string_view* out);
    // the next token after the end cursor; false when none is left, out then
    // untouched. delimiters holds count characters, or is null (or count 0)
    // for the default classes. out may be null.
    bool nextToken(std::string_view* out, const char* delimiters, int count);

private:
    std::string_view text;
    // first character of the current line or token
    int start = 0;
    // just past the current line or token; up to two places past the text
    int end = 0;
};
