// A file's bytes mapped read-only into memory, and unmapped with the object:
// the model loader reads a large file in place, with no copy of it made
// and no buffer of its own to fill.
#pragma once

#include <cstddef>
#include <string_view>

class MappedFile {
public:
    explicit MappedFile(const char* path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // the whole file; empty when it could not be mapped: missing,
    // unreadable, not a regular file, or empty
    std::string_view bytes() const { return std::string_view(static_cast<const char*>(data), size); }

private:
    const void* data = nullptr;
    std::size_t size = 0;
};
