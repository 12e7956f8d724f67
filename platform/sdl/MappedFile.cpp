// mmap, its pages populated at once: a file the loader reads from end to
// end then takes one fault where it would take one per page.
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const char* path, std::uint64_t largest)
{
    // Without O_NONBLOCK a FIFO in the file's place would hold the open
    // until something wrote to it; a regular file ignores the flag.
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    struct stat status = {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        fileSize = static_cast<std::uint64_t>(status.st_size);
        if (fileSize == 0) {
            read = true;
        } else if (fileSize <= largest) {
            void* mapped = mmap(nullptr, static_cast<std::size_t>(fileSize), PROT_READ,
                                MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (mapped != MAP_FAILED) {
                data = mapped;
                size = static_cast<std::size_t>(fileSize);
                read = true;
            }
        }
    }
    // the mapping outlives the descriptor
    close(fd);
}

MappedFile::~MappedFile()
{
    if (data != nullptr) {
        munmap(const_cast<void*>(data), size);
    }
}
