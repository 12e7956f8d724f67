// A read-only view of a file mapping.
#include "platform/MappedFile.h"

#ifndef WIN32_LEAN_AND_MEAN
    #define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

MappedFile::MappedFile(const char* path)
{
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER length = {};
    if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && GetFileType(file) == FILE_TYPE_DISK) {
        const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping != nullptr) {
            const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view != nullptr) {
                data = view;
                size = static_cast<std::size_t>(length.QuadPart);
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
