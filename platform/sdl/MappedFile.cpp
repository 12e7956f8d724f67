// mmap, its pages populated at once: a file the loader reads from end to
// end then takes one fault where it would take one per page.
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const char* path)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat status = {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        void* mapped = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ,
                            MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapped != MAP_FAILED) {
            data = mapped;
            size = static_cast<std::size_t>(status.st_size);
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
