// A read-only view of a file mapping.
#include "platform/MappedFile.h"

#ifndef WIN32_LEAN_AND_MEAN
    #define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

MappedFile::MappedFile(const char* path, std::uint64_t largest)
{
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER length = {};
    if (GetFileSizeEx(file, &length) && GetFileType(file) == FILE_TYPE_DISK) {
        fileSize = static_cast<std::uint64_t>(length.QuadPart);
        // an empty file has nothing to map: Windows refuses a mapping of it
        read = fileSize == 0;
    }
    if (fileSize > 0 && fileSize <= largest) {
        const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping != nullptr) {
            const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view != nullptr) {
                data = view;
                size = static_cast<std::size_t>(fileSize);
                read = true;
            }
            // the view keeps the mapping, and the mapping the file
            CloseHandle(mapping);
        }
    }
    CloseHandle(file);
}

MappedFile::~MappedFile()
{
    if (data != nullptr) {
        UnmapViewOfFile(data);
    }
}
