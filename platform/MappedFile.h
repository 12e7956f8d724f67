// A file's bytes mapped read-only into memory, and unmapped with the object:
// the model loader reads a large file in place, with no copy of it made
// and no buffer of its own to fill, and the image decoder reads an image
// straight from the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class MappedFile {
public:
    // maps the whole file; one larger than `largest` bytes is measured but
    // left unmapped, so that no file makes the reader touch more than it
    // means to
    explicit MappedFile(const char* path, std::uint64_t largest = UINT64_MAX);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // the whole file; empty when it could not be mapped: missing,
    // unreadable, not a regular file, empty, or over the size asked for
    std::string_view bytes() const { return std::string_view(static_cast<const char*>(data), size); }
    // true when bytes() is the whole of a regular file, which may be empty
    bool isRead() const { return read; }
    // the size of the regular file found, mapped or not; 0 when none was
    std::uint64_t getFileSize() const { return fileSize; }

private:
    const void* data = nullptr;
    std::size_t size = 0;
    std::uint64_t fileSize = 0;
    bool read = false;
};
