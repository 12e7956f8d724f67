#include "geometry/ObjLineReader.h"

#include "geometry/ObjScanning.h"

#include <algorithm>
#include <cstring>

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

int64_t ObjLineReader::bytesLeft() const
{
    return std::max<int64_t>(0, windowBase + static_cast<int64_t>(window.size()) + unread - start);
}

// Positions are counted from the start of the text. Where the end of the
// text (n) is not known yet, a test against it is decided only if the
// window already shows the answer; otherwise the turn is repeated after
// reading more, which is harmless as it changes nothing until it ends.
ObjLineReader::Step ObjLineReader::step(std::string_view* line)
{
    const int64_t windowEnd = windowBase + static_cast<int64_t>(window.size());

    if (start >= windowEnd || end >= windowEnd) {
        return complete ? Step::stop : Step::needMore;
    }
    const int64_t lineEnd =
        windowBase +
        static_cast<int64_t>(objScanning::findLineEnd(window, static_cast<size_t>(start - windowBase)));
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
        const auto visible = [](char c) { return objScanning::isVisibleChar(c); };
        const size_t first =
            objScanning::skipToToken(window, static_cast<size_t>(nextStart - windowBase), visible);
        nextStart = windowBase + static_cast<int64_t>(first);
        nextEnd = nextStart + 1;
        if (first < window.size()) {
            nextEnd = windowBase + static_cast<int64_t>(objScanning::tokenEnd(window, first, visible));
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
