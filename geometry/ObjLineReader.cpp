#include "geometry/ObjLineReader.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr char quote = '"';
// printable ASCII, space included: what a line is made of
constexpr unsigned char firstLineChar = 0x20;
constexpr unsigned char lastLineChar = 0x7E;
// printable ASCII without the space: what a token is made of
constexpr unsigned char firstVisibleChar = 0x21;

// One subtraction and one unsigned compare: bytes from 0x80 up, read as
// signed chars, fall outside like every control character.
bool isLineChar(char c)
{
    return static_cast<unsigned char>(c - firstLineChar) <= lastLineChar - firstLineChar;
}

bool isVisibleChar(char c)
{
    return static_cast<unsigned char>(c - firstVisibleChar) <= lastLineChar - firstVisibleChar;
}

// Index of the first byte at or after from that ends a line, or size.
// Lines are most of a model file, so they are searched eight bytes at a
// time: a chunk of line characters has, in every byte, the high bit clear,
// also after subtracting 0x20 (no control character) and adding 1 (no DEL).
size_t findLineEnd(std::string_view text, size_t from)
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
}

ObjLineReader::ObjLineReader(std::string_view text) : window(text.substr(0, text.find('\0'))), complete(true)
{
}

// A small file gets a buffer of its own size, not a whole chunk.
ObjLineReader::ObjLineReader(std::istream& file, int64_t size, size_t chunkBytes)
    : file(&file), unread(size), chunkBytes(static_cast<size_t>(std::clamp<int64_t>(size, 1, chunkBytes))),
      complete(size <= 0)
{
}

bool ObjLineReader::nextLine(std::string_view* line)
{
    for (;;) {
        const Step result = step(line);
        if (result != Step::needMore) {
            return result == Step::line;
        }
        if (!readMore()) {
            return false;
        }
    }
}

// Positions are counted from the start of the text. Where the end of the
// text (n) is not known yet, a test against it is decided only if the
// window already shows the answer; otherwise the turn is repeated after
// reading more, which is harmless as it changes nothing until it ends.
ObjLineReader::Step ObjLineReader::step(std::string_view* line)
{
    const int64_t windowEnd = windowBase + static_cast<int64_t>(window.size());
    const auto at = [this](int64_t position) { return window[static_cast<size_t>(position - windowBase)]; };

    if (start >= windowEnd || end >= windowEnd) {
        return complete ? Step::stop : Step::needMore;
    }
    const int64_t lineEnd =
        windowBase + static_cast<int64_t>(findLineEnd(window, static_cast<size_t>(start - windowBase)));
    if (lineEnd == windowEnd && !complete) {
        return Step::needMore;
    }
    // no line character at the start, or a text that is one line without
    // a line end
    if (lineEnd == start || (complete && lineEnd - start >= windowEnd)) {
        return Step::stop;
    }

    // The line end and the character after it are stepped over; from there
    // the next line starts at the first visible character, and its first
    // token, quotes grouping, decides whether reading ends after it.
    int64_t nextStart = lineEnd + 1;
    int64_t nextEnd = nextStart;
    if (nextStart + 1 >= windowEnd) {
        if (!complete) {
            return Step::needMore;
        }
    } else {
        while (nextStart < windowEnd && !isVisibleChar(at(nextStart))) {
            ++nextStart;
        }
        nextEnd = nextStart + 1;
        if (nextStart < windowEnd) {
            bool inQuotes = at(nextStart) == quote;
            while (nextEnd < windowEnd && (inQuotes || isVisibleChar(at(nextEnd)))) {
                if (at(nextEnd) == quote) {
                    inQuotes = !inQuotes;
                }
                ++nextEnd;
            }
        }
        if (nextEnd >= windowEnd && !complete) {
            return Step::needMore;
        }
    }
    *line = window.substr(static_cast<size_t>(start - windowBase), static_cast<size_t>(lineEnd - start));
    start = nextStart;
    end = nextEnd;
    return Step::line;
}

bool ObjLineReader::readMore()
{
    if (file == nullptr || complete) {
        return false;
    }
    const size_t keepFrom = static_cast<size_t>(start - windowBase);
    const size_t kept = keepFrom < window.size() ? window.size() - keepFrom : 0;
    if (buffer.size() < kept + chunkBytes) {
        // the first chunk, a line longer than a chunk, or a quoted token
        // running on
        std::vector<char> larger(std::max(2 * buffer.size(), kept + chunkBytes));
        if (kept > 0) {
            std::memcpy(larger.data(), window.data() + keepFrom, kept);
        }
        buffer.swap(larger);
    } else if (kept > 0) {
        std::memmove(buffer.data(), window.data() + keepFrom, kept);
    }
    windowBase += static_cast<int64_t>(window.size() - kept);
    const std::streamsize wanted = static_cast<std::streamsize>(std::min<int64_t>(unread, chunkBytes));
    file->read(buffer.data() + kept, wanted);
    const std::streamsize got = file->gcount();
    unread -= got;
    size_t length = kept + static_cast<size_t>(got);
    const void* nul = std::memchr(buffer.data() + kept, '\0', static_cast<size_t>(got));
    if (nul != nullptr) {
        length = static_cast<size_t>(static_cast<const char*>(nul) - buffer.data());
    }
    complete = got == 0 || unread <= 0 || nul != nullptr;
    window = std::string_view(buffer.data(), length);
    return true;
}
