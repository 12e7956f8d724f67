// The lines of an OBJ text as the loader's line loop finds them: a run of
// characters from 0x20 to 0x7E is a line, the character that ends it is
// stepped over, and the next line starts at the first visible character
// after it; reading stops early where the rules say (a text that is one
// line without a line end, a line whose first token runs to the end of the
// text, the first NUL).
//
// A file is read a chunk at a time into a window that holds the current
// line and whatever its rules still have to look at, so a large model is
// never held whole and its pages are never all touched at once.
#pragma once

#include <cstdint>
#include <istream>
#include <string_view>
#include <vector>

class ObjLineReader {
public:
    // the lines of a text already in memory, which must outlive the reader
    explicit ObjLineReader(std::string_view text);
    // the lines of the first size bytes of file, read chunkBytes at a time
    ObjLineReader(std::istream& file, int64_t size, size_t chunkBytes);

    // the next line, valid until the next call; false where reading stops
    bool nextLine(std::string_view* line);
    // how much of the text lies after the last line given
    int64_t bytesLeft() const;

private:
    enum class Step { line, stop, needMore };

    // one turn of the line loop on the window, or needMore when its rules
    // look past the window before the end of the text is known
    Step step(std::string_view* line);
    // moves the current line to the front of the buffer and reads a chunk
    // after it; false when there is no file to read from
    bool readMore();

    std::istream* file = nullptr;
    int64_t unread = 0;
    size_t chunkBytes = 0;
    std::vector<char> buffer;
    // the text from windowBase on, as far as it has been read
    std::string_view window;
    int64_t windowBase = 0;
    // the window reaches the end of the text
    bool complete = false;
    // first character of the next line, and just past its first token
    int64_t start = 0;
    int64_t end = 0;
};
